// A whole compiler process on a 2,730-point FOF tone list, from its start to its end (the render
// batch started). Csound is replaced by a stand-in on PATH so that no render runs alongside.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../temp_folder.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// A list line as the converter writes it: the keyword in column 1, value k from column 12 k.
std::string ListLine(const char* keyword, int count, double first, double step) {
  std::string line = keyword;
  line.resize(11, ' ');
  for (int k = 0; k < count; ++k) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", first + k * step);
    std::string v = buf;
    if (k + 1 < count) v.resize(12, ' ');
    line += v;
  }
  return line;
}

void CompilerPass(benchmark::State& state) {
  const testing_support::TempFolder temp("ormila-bench-drive");
  const fs::path root = temp.path();
  const std::string setup = std::string("'") + ORMILA_SOURCE_DIR + "/tools/setup-drive.sh' '" +
                            root.string() + "' '" + ORMILA_BINARY_DIR + "' >/dev/null";
  if (std::system(setup.c_str()) != 0) {
    state.SkipWithError("setup-drive.sh failed");
    return;
  }
  const fs::path arbeit = root / "c" / "Arbeit";
  const int points = 2730;
  std::ofstream(arbeit / "Tesu.rsz", std::ios::binary)
      << " Benchmark: 2730 Punkte\r\n"
      << ListLine("ZP", points, 0.0, 0.05) << "\r\n"
      << ListLine("HT", points, 220.0, 0.1) << "\r\n"
      << ListLine("LT", points, 0.0, 5.0) << "\r\n"
      << ListLine("KL", points, 600.0, 0.2) << "\r\n";
  // A csound stand-in found before the real one.
  const fs::path bin = root / "bin";
  fs::create_directories(bin);
  std::ofstream(bin / "csound") << "#!/bin/sh\nexit 0\n";
  fs::permissions(bin / "csound", fs::perms::owner_all);
  std::ofstream(root / "c" / "cool" / "COOL96.exe") << "#!/bin/sh\nexit 0\n";

  const std::string program = (arbeit / "VB" / "Tesu01" / "TalvikTe.exe").string();
  std::vector<std::string> env = {"ORMILA_DRIVES=" + root.string(),
                                  "PATH=" + bin.string() + ":" + std::getenv("PATH"),
                                  "HOME=" + root.string()};
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string arg0 = program;
  char* argv[] = {arg0.data(), nullptr};

  for (auto _ : state) {
    pid_t pid;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()) != 0) {
      state.SkipWithError("cannot start TalvikTe");
      break;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("TalvikTe failed");
      break;
    }
  }
  if (fs::file_size(arbeit / "Dozudava.sco") < 2730 * 80) state.SkipWithError("score too short");
}

BENCHMARK(CompilerPass)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
