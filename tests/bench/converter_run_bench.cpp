// A "Cso1" run on a project of 1,000,000 lines with an envelope of 2,730 points and 2,000 markers
// near its end, up to the tone list written and the compiler build started (a fake starter).
// Beside it the yardstick: the same file read into one buffer and split into lines held as
// views, the least any reader of the project has to do. The run reports its time and peak memory
// and both as a ratio to the yardstick's.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "../temp_folder.h"
#include "envelope/converter_window.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/drive_map.h"
#include "platform/program_start.h"
#include "platform/window_closing.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPoints = 2730;
constexpr int kMarkers = 2000;
constexpr long kLines = 1000000;

void WriteProject(const fs::path& file) {
  std::ofstream out(file, std::ios::binary);
  long lines = 0;
  auto line = [&](const std::string& text) {
    out << text << '\n';
    ++lines;
  };
  line("<REAPER_PROJECT 0.1 \"7.27/linux-x86_64\" 1733820000");
  line("  SELECTION 1 5.5");
  line("  <TRACK {0ABDCEC9-CD19-4648-A83C-2DD844D93945}");
  line("    NAME Lang");
  line("    <VOLENV2");
  line("      ACT 1 -1");
  line("      PT 0 1 0");
  char buf[96];
  for (int k = 1; k <= kPoints; ++k) {
    const bool selected = k == 1 || k == kPoints;
    std::snprintf(buf, sizeof buf, "      PT %.8g %.8f 0%s", k * 0.1, 0.2 + 0.5 * (k % 7) / 7.0,
                  selected ? " 0 1" : "");
    line(buf);
  }
  line("    >");
  // Items and their source lines fill the project up to the markers near its end.
  while (lines < kLines - kMarkers - 2) line("      SOURCE WAVE FILE \"Media/aufnahme-01.wav\" 0");
  line("  >");
  for (int m = 1; m <= kMarkers; ++m) {
    // Markers on every point of the range, a single number or a quoted pitch and timbre.
    std::snprintf(buf, sizeof buf, "  MARKER %d %.8g %s 0 0 1 B {3B4F52A5-68D2-4A37-905F-D86B1C5A8EB6} 0",
                  m, m * 0.1, m % 2 ? "440" : "\"330 990\"");
    line(buf);
  }
  line(">");
}

// Peak resident memory of the process in MB since the last ResetPeak. Linux resets the peak on
// request; where it cannot, the peak is the process's since its start.
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

double PeakMegabytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmHWM:")) return std::stod(line.substr(6)) / 1024.0;
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// The yardstick: the whole file in one buffer, its lines as views into it.
size_t ReadAndSplit(const fs::path& file) {
  std::string text(static_cast<size_t>(fs::file_size(file)), '\0');
  std::ifstream in(file, std::ios::binary);
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  std::vector<std::string_view> lines;
  for (std::string_view rest = text; !rest.empty();) {
    const size_t end = rest.find('\n');
    lines.push_back(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  }
  benchmark::DoNotOptimize(lines.data());
  return lines.size();
}

struct Cost {
  double ms = 0;  // all passes timed
  double peakMB = 0;
};

void Cso1Run(benchmark::State& state) {
  const testing_support::TempFolder temp("ormila-bench-converter");
  const fs::path root = temp.path();
  fs::create_directories(root / "c" / "Arbeit");
  platform::SetDrives(platform::DriveMap(root));
  const fs::path project = root / "c" / "Arbeit" / "Lang.rpp";
  WriteProject(project);

  // The yardstick's peak, before the window exists, so that only its own memory counts.
  Cost yardstick, run;
  ResetPeak();
  if (ReadAndSplit(project) != static_cast<size_t>(kLines)) {
    state.SkipWithError("the yardstick did not find every line");
    return;
  }
  yardstick.peakMB = PeakMegabytes();

  platform::FixedClock clock("10.12.2026", "08:15:00");
  platform::FakeProgramStarter starter;
  platform::FakeWindowSystem windows;
  platform::ScriptedDialogs dialogs;
  envelope::ConverterWindow window({clock, starter, windows, dialogs, dialogs, dialogs});
  window.Form_Load();
  window.Text[1]->SetText("Lang");
  window.Text[2]->SetText("Lang");
  window.Text[3]->SetText("n");
  // The settings of the example's Tesu.ini: FUA to HTS, then the three factors.
  const char* const settings[] = {"1", "2", "0.01", "0.001", "50", "1", "0", "1", "1", "1", "1"};
  for (int box = 4; box <= 14; ++box) window.Text[box]->SetText(settings[box - 4]);
  auto cso1 = [&] {
    starter.starts.clear();
    window.Command3_Click();
    if (starter.starts.size() == 1 && dialogs.messages.empty()) return true;
    state.SkipWithError(dialogs.messages.empty() ? "no build started"
                                                 : dialogs.messages.front().text.c_str());
    return false;
  };

  // The run's peak: a run on a window that holds the project of a run before, as every run but
  // the first does.
  if (!cso1()) return;
  ResetPeak();
  if (!cso1()) return;
  run.peakMB = PeakMegabytes();

  // Times: a yardstick pass (not timed by the framework) before each run, so that both meet the
  // same load of the machine.
  for (auto _ : state) {
    state.PauseTiming();
    auto start = std::chrono::steady_clock::now();
    ReadAndSplit(project);
    yardstick.ms += Milliseconds(std::chrono::steady_clock::now() - start);
    state.ResumeTiming();
    start = std::chrono::steady_clock::now();
    if (!cso1()) break;
    run.ms += Milliseconds(std::chrono::steady_clock::now() - start);
  }
  state.counters["points"] = static_cast<double>(window.state.RangeEndLine - window.state.RangeStartLine + 1);
  state.counters["peak_MB"] = run.peakMB;
  state.counters["yardstick_ms"] = yardstick.ms / static_cast<double>(state.iterations());
  state.counters["yardstick_MB"] = yardstick.peakMB;
  state.counters["time_ratio"] = run.ms / yardstick.ms;
  state.counters["peak_ratio"] = run.peakMB / yardstick.peakMB;
  fs::remove_all(root);
}

BENCHMARK(Cso1Run)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
