// The random-composition generator with the platform's random source (one reseed from the clock
// per draw): the start values with a total duration of 120 s, and the worst case, whose time draw
// runs through all of its 10,000,000 tries. Each run writes Zufall.rsz and appends the listing.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "../temp_folder.h"
#include "common/errors.h"
#include "compiler/compiler_window.h"
#include "platform/clock.h"
#include "platform/drive_map.h"
#include "platform/program_start.h"
#include "platform/window_closing.h"

namespace {

namespace fs = std::filesystem;

struct Bench {
  Bench() {
    fs::create_directories(root / "c" / "Arbeit");
    std::ofstream(root / "c" / "Arbeit" / "Talvik.ini", std::ios::binary)
        << "0.05\r\n1\r\n1\r\n1\r\n1\r\n2\r\n0.01\r\n0.001\r\n50\r\n 1 \r\n 1 \r\n 1 \r\n 0 \r\n";
    platform::SetDrives(platform::DriveMap(root));
    window = std::make_unique<compiler::CompilerWindow>(
        compiler::BuildSettings::TalvikTe(), compiler::CompilerServices{clock, starter, windows});
    try {
      window->Form_Load();  // the first pass gives the panel its start texts
    } catch (const common::ProgramEnd&) {
    }
  }

  // Runs the draw with the rows' texts (nullptr: start text) and reports its points.
  void Run(benchmark::State& state, std::initializer_list<std::pair<int, const char*>> rows) {
    for (const auto& [row, text] : rows)
      window->Box(compiler::CompilerWindow::PanelRowBoxes(row).second).SetText(text);
    for (auto _ : state) {
      state.PauseTiming();
      window->Testliste.Clear();
      state.ResumeTiming();
      window->Zufallsliste_Click();
    }
    state.counters["points"] = window->composition.n;
  }

  testing_support::TempFolder temp{"ormila-bench-random"};
  fs::path root = temp.path();
  platform::FixedClock clock{"10.12.2026", "08:15:00"};
  platform::FakeProgramStarter starter;
  platform::FakeWindowSystem windows;
  std::unique_ptr<compiler::CompilerWindow> window;
};

void DefaultsFor120Seconds(benchmark::State& state) {
  Bench bench;
  bench.Run(state, {{1, "120"}});
}

// A total of 10^9 s and gaps of 1 to 2 ms: a candidate passes about once in 5 * 10^11 tries.
void TenMillionTimeTries(benchmark::State& state) {
  Bench bench;
  bench.Run(state, {{1, "1000000000"}, {2, "0.001"}, {3, "0.002"}});
}

BENCHMARK(DefaultsFor120Seconds)->Unit(benchmark::kMillisecond);
BENCHMARK(TenMillionTimeTries)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
