// Shared helpers of the Csound writer tests: a tone list parsed by the real parser after the
// pass's resets, a writer context on a temporary folder with a fixed clock, and golden files.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "temp_folder.h"
#include "common/codec.h"
#include "csound/writers.h"
#include "platform/clock.h"
#include "platform/drive_map.h"
#include "platform/file_table.h"
#include "tonelist/tone_list.h"

namespace csound_test {

namespace fs = std::filesystem;

inline std::string ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline void WriteBytes(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary);
  out << bytes;
}

// The lines of a written file (CR LF ends), decoded from Windows-1252.
inline std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string text = common::Cp1252ToUtf8(bytes);
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) {
      lines.push_back(text.substr(pos));
      break;
    }
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

inline fs::path GoldenPath(const std::string& name) {
  return fs::path(ORMILA_TEST_DATA) / "golden" / "csound" / name;
}

// Compares bytes with the golden file byte for byte. ORMILA_UPDATE_GOLDEN=1 rewrites the file
// instead (then read the new file line by line before committing it).
inline void ExpectGolden(const std::string& name, const std::string& bytes) {
  const fs::path path = GoldenPath(name);
  if (const char* u = std::getenv("ORMILA_UPDATE_GOLDEN"); u && std::string(u) == "1") {
    WriteBytes(path, bytes);
    std::cout << "[golden] rewrote " << path << "\n";
    return;
  }
  ASSERT_TRUE(fs::exists(path)) << "missing golden file " << path
                                << " (ORMILA_UPDATE_GOLDEN=1 writes it)";
  const std::string golden = ReadBytes(path);
  if (golden == bytes) return;
  std::vector<std::string> want = Lines(golden), got = Lines(bytes);
  for (size_t i = 0; i < std::max(want.size(), got.size()); ++i) {
    std::string w = i < want.size() ? want[i] : "<none>", g = i < got.size() ? got[i] : "<none>";
    if (w != g) {
      ADD_FAILURE() << name << " differs from its golden file at line " << i + 1 << ":\n  want ["
                    << w << "]\n  got  [" << g << "]";
      return;
    }
  }
  ADD_FAILURE() << name << " differs from its golden file in its bytes (line ends?)";
}

// A tone list as the pass leaves it: the resets of every pass, the preset 1 of LTF/LTS/HTS,
// then ParseToneList over the given lines.
inline void ParseList(tonelist::ToneListState& s, const std::vector<std::string>& lines) {
  s.RoundingFactor = 10000;
  s.FofMode = false;
  for (auto* v : {&s.ListFua, &s.ListFub, &s.ListDel, &s.ListEnte, &s.ListFom, &s.ListFrv})
    *v = tonelist::ToneValue::Integer(0);
  for (auto* v : {&s.ListLtf, &s.ListLts, &s.ListHts}) *v = tonelist::ToneValue::Integer(1);
  s.LineCount = 0;
  for (const std::string& l : lines) s.ToneListLines.at(static_cast<size_t>(++s.LineCount)) = l;
  tonelist::ParseToneList(s);
}

inline constexpr const char* kDriveRoot = "/nonexistent/ormila-drives";

class WriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Never the user's drive root: a root that does not exist keeps every spelling.
    platform::SetDrives(platform::DriveMap(kDriveRoot));
  }

  csound::WriterContext Context(const tonelist::ToneListState& list,
                                const std::string& batchPath = "C:\\Arbeit\\cs06b.bat") {
    csound::WriterContext c{files_, list, clock_};
    c.ScorePath = "C:\\Arbeit\\Dozudava.sco";
    c.OrchestraPath = "C:\\Arbeit\\Dozudava.orc";
    c.BatchPath = batchPath;
    c.SourceDescription = "T A L V I K  -  Tonverlaufsliste: Tesu.rsz";
    c.OriginNote = "Diese Tonverlaufsliste habe ich von Hand eingegeben.";
    return c;
  }

  // Opens the file number for output in the temporary folder, runs the writer, closes, returns
  // the bytes written.
  std::string Write(int number, const std::function<void()>& writer) {
    const fs::path p = dir_ / ("out" + std::to_string(number) + "_" + std::to_string(++count_));
    files_.OpenOutput(number, p.string());
    writer();
    files_.Close(number);
    return ReadBytes(p);
  }

  testing_support::TempFolder temp_{"ormila_csound"};
  fs::path dir_ = temp_.path();
  platform::FileTable files_;
  platform::FixedClock clock_{"24.05.2024", "14:03:07"};
  int count_ = 0;
};

}  // namespace csound_test
