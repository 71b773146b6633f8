// Reading and parsing a full tone list as TalvikTe does: 10,000 lines (PointCapacity 10000), four
// list lines of 2,730 values on the writers' 12-column grid and 9,996 comment lines of 80
// characters, opened as file number 1 from a temporary drive root.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "../tonelist/temp_drive_root.h"
#include "common/codec.h"
#include "platform/drive_map.h"
#include "platform/file_table.h"
#include "tonelist/tone_list.h"

namespace {

constexpr int kCapacity = 10000;
constexpr int kPoints = 2730;  // the most the 12-column grid holds in a 16-bit line
constexpr int kLines = 10000;
constexpr const char* kPath = "C:\\Arbeit\\Tesu.rsz";

// The keyword in column 1, the value of point k from column 12·k.
template <class Value>
std::string ListLine(const char* keyword, Value value) {
  std::string line = keyword;
  for (int k = 1; k <= kPoints; ++k) {
    line.resize(static_cast<size_t>(12 * k - 1), ' ');
    line += value(k);
  }
  return line;
}

std::string CommentLine(int n) {
  char head[32];
  std::snprintf(head, sizeof head, "; Zeile %05d: ", n);
  std::string line = head;
  while (line.size() < 80) line += "Tonhöhenverlauf, Glissando und Lautstärke ";
  line = common::Utf8ToCp1252(line);
  line.resize(80);
  return line;
}

std::string ToneListText() {
  std::string text;
  auto add = [&](const std::string& line) { text += line + "\r\n"; };
  add(CommentLine(1));
  add(CommentLine(2));
  add(ListLine("ZP", [](int k) {
    char v[16];
    std::snprintf(v, sizeof v, "%d.%02d", k / 100, k % 100);
    return std::string(v);
  }));
  add(ListLine("HT", [](int k) { return std::to_string(220 + k % 200); }));
  add(ListLine("LT", [](int k) { return k == 1 || k == kPoints ? "0" : "20000"; }));
  add(ListLine("KL", [](int k) { return std::to_string(600 + k % 300); }));
  for (int n = 3; n <= kLines - 4; ++n) add(CommentLine(n));
  return text;
}

struct Drive {
  Drive() { root.Write("Tesu.rsz", ToneListText()); }
  testing_support::TempDriveRoot root;
  platform::DriveMap drives{root.root()};
};

void BM_ReadAndParseToneList(benchmark::State& state) {
  static Drive drive;
  tonelist::ToneListState s(kCapacity);
  for (auto _ : state) {
    platform::FileTable files(drive.drives);
    files.OpenInput(tonelist::kToneListFile, kPath);
    tonelist::ReadToneListLines(s, files);
    tonelist::ParseToneList(s);
    files.Close(tonelist::kToneListFile);
    benchmark::DoNotOptimize(s.PointCount);
  }
  if (s.LineCount != kLines || s.PointCount != kPoints || !s.FofMode ||
      s.TimePoints[kPoints] != 27.3f || s.Pitches[kPoints].text() != std::to_string(220 + kPoints % 200))
    state.SkipWithError("the tone list was not parsed as written");
}

BENCHMARK(BM_ReadAndParseToneList)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
