// The compiler pass on a temporary drive: what it writes, starts and lists, and its error trap.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "temp_folder.h"
#include "write_faults.h"
#include "common/codec.h"
#include "common/errors.h"
#include "compiler/compiler_window.h"
#include "platform/clock.h"
#include "platform/drive_map.h"
#include "platform/file_table.h"
#include "platform/program_start.h"
#include "platform/window_closing.h"

namespace compiler {
namespace {

namespace fs = std::filesystem;

const char* const kSettings = "0.05\r\n1\r\n1\r\n1\r\n1\r\n2\r\n0.01\r\n0.001\r\n50\r\n 1 \r\n 1 \r\n 1 \r\n 0 \r\n";

class PassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = temp_.path();
    fs::create_directories(root_ / "c" / "Arbeit");
    platform::SetDrives(platform::DriveMap(root_));
    windows_.windows = {{1, "x Dozudava.WAV - Cool Edit y"}, {2, "Anderes Fenster"}};
  }

  fs::path Arbeit() const { return root_ / "c" / "Arbeit"; }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(Arbeit() / name, std::ios::binary) << bytes;
  }
  // The file's text, decoded from Windows-1252.
  std::string Read(const std::string& name) {
    std::ifstream in(Arbeit() / name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return common::Cp1252ToUtf8(ss.str());
  }
  bool Exists(const std::string& name) { return fs::exists(Arbeit() / name); }

  // Runs the pass of a fresh program of the given build; returns the error that ended it, or 0.
  int RunPass(const BuildSettings& build, std::function<void(CompilerWindow&)> prepare = {}) {
    window_ = std::make_unique<CompilerWindow>(build, CompilerServices{clock_, starter_, windows_});
    if (prepare) prepare(*window_);
    try {
      window_->Form_Load();
    } catch (const common::ProgramEnd&) {
      return 0;
    } catch (const common::RuntimeError& e) {
      return e.number();
    }
    ADD_FAILURE() << "the pass returned instead of ending the program";
    return -1;
  }

  testing_support::TempFolder temp_{"ormila-pass"};
  fs::path root_;
  platform::FixedClock clock_{"10.12.2026", "08:15:00"};
  platform::FakeProgramStarter starter_;
  platform::FakeWindowSystem windows_;
  std::unique_ptr<CompilerWindow> window_;
};

TEST_F(PassTest, DefaultRunWritesListsClosesTheEditorAndStartsTheBatch) {
  Write("Talvik.ini", kSettings);
  Write("Tesu.rsz", "ZP 0 1 2\r\nHT 440 . 220\r\nLT 0 1000 0\r\n");
  ASSERT_EQ(RunPass(BuildSettings::TalvikTe()), 0);

  EXPECT_TRUE(Exists("cs06b.bat"));
  EXPECT_NE(Read("Dozudava.orc").find("(einfacher Generator)"), std::string::npos);
  EXPECT_NE(Read("Dozudava.sco").find("SINUS - Dauerton"), std::string::npos);
  ASSERT_EQ(starter_.starts.size(), 1u);
  EXPECT_EQ(starter_.starts[0].commandLine, "C:\\Arbeit\\cs06b.bat");
  EXPECT_EQ(starter_.starts[0].windowStyle, 2);
  EXPECT_EQ(windows_.closeMessages, std::vector<platform::WindowId>{1});
  EXPECT_FALSE(window_->frmDatei.visible());
  EXPECT_EQ(window_->frmDatei.caption(),
            "T A L V I K  -  Tonverlaufsliste: Tesu.rsz  -  von Hand eingegeben");

  // The listing: the manual, then the score, 14 empty entries and the orchestra.
  const auto& items = window_->Testliste.items();
  std::vector<std::string> score, orchestra;
  {
    std::istringstream in(Read("Dozudava.sco"));
    for (std::string l; std::getline(in, l);) score.push_back(l.substr(0, l.size() - 1));
    std::istringstream in2(Read("Dozudava.orc"));
    for (std::string l; std::getline(in2, l);) orchestra.push_back(l.substr(0, l.size() - 1));
  }
  ASSERT_GE(items.size(), score.size() + 14 + orchestra.size());
  size_t start = items.size() - orchestra.size() - 14 - score.size();
  EXPECT_GT(start, 0u) << "the manual comes first";
  EXPECT_EQ(std::vector<std::string>(items.begin() + start, items.begin() + start + score.size()), score);
  EXPECT_EQ(std::vector<std::string>(items.end() - orchestra.size(), items.end()), orchestra);
  for (size_t i = start + score.size(); i < start + score.size() + 14; ++i) EXPECT_EQ(items[i], "");
}

TEST_F(PassTest, KlLineChoosesTheFofWriters) {
  Write("Talvik.ini", kSettings);
  Write("Tesu.rsz", "ZP 0 1\r\nHT 440 220\r\nLT 0 0\r\nKL\r\n");
  ASSERT_EQ(RunPass(BuildSettings::TalvikTe()), 0);
  EXPECT_NE(Read("Dozudava.orc").find("(FOF-Generator mit SAMPLE-Option)"), std::string::npos);
  EXPECT_NE(Read("Dozudava.sco").find("FOF - Dauerton"), std::string::npos);
}

TEST_F(PassTest, MissingSettingsFileEndsBeforeAnythingIsWrittenOrStarted) {
  Write("Tesu.rsz", "ZP 0 1\r\n");
  EXPECT_EQ(RunPass(BuildSettings::TalvikTe()), 53);
  EXPECT_FALSE(Exists("cs06b.bat"));
  EXPECT_FALSE(Exists("Dozudava.sco"));
  EXPECT_FALSE(Exists("Dozudava.orc"));
  EXPECT_TRUE(starter_.starts.empty());
  EXPECT_TRUE(windows_.closeMessages.empty());
}

TEST_F(PassTest, BadSettingsNumberEndsBeforeAnythingIsWritten) {
  Write("Talvik.ini", "0.05\r\n1\r\n1\r\n1\r\n1\r\n2\r\n0.01\r\n0.001\r\n50\r\n\r\n 1 \r\n 1 \r\n 0 \r\n");
  EXPECT_EQ(RunPass(BuildSettings::TalvikTe()), 13);
  EXPECT_FALSE(Exists("cs06b.bat"));
  EXPECT_TRUE(starter_.starts.empty());
}

TEST_F(PassTest, MissingToneListStillWritesAndStarts) {
  Write("Talvik.ini", kSettings);
  ASSERT_EQ(RunPass(BuildSettings::TalvikTe()), 0);
  EXPECT_TRUE(Exists("cs06b.bat"));
  EXPECT_NE(Read("Dozudava.orc").find("(einfacher Generator)"), std::string::npos);
  EXPECT_TRUE(Exists("Dozudava.sco"));
  EXPECT_EQ(starter_.starts.size(), 1u);
  // Caption, SourceDescription and OriginNote were skipped with the list.
  EXPECT_EQ(window_->state.OriginNote, "");
  EXPECT_TRUE(window_->state.ListLtf.IsUnset());
}

TEST_F(PassTest, ParseErrorKeepsWhatWasReadAndStillRenders) {
  Write("Talvik.ini", kSettings);
  Write("Tesu.rsz", "HT 440 330\r\nZP 0 1 3x 4\r\nLT 0 100\r\n");
  ASSERT_EQ(RunPass(BuildSettings::TalvikTe()), 0);
  EXPECT_EQ(window_->state.PointCount, 2);
  EXPECT_TRUE(window_->files.IsOpen(1)) << "the tone list stays open after the error";
  EXPECT_TRUE(window_->state.Loudnesses[2].IsUnset()) << "lines after the error are not parsed";
  EXPECT_EQ(starter_.starts.size(), 1u);
}

TEST_F(PassTest, TalvikTe2WithoutUserBatchRunsTheWritingStepsTwiceThenFails) {
  Write("Talvik.ini", kSettings);
  Write("Tesu.rsz", "ZP 0 1\r\nHT 440 220\r\nLT 0 0\r\n");
  starter_.missing = {"C:\\Arbeit\\cs06b2.bat"};
  EXPECT_EQ(RunPass(BuildSettings::TalvikTe2()), 53);
  EXPECT_TRUE(starter_.starts.empty());
  EXPECT_TRUE(Exists("cs06b.bat")) << "TalvikTe2 writes cs06b.bat";
  // Each run of the writing steps closed the editor's window once and listed the score once.
  EXPECT_EQ(windows_.closeMessages.size(), 1u);
  const auto& items = window_->Testliste.items();
  EXPECT_EQ(std::count(items.begin(), items.end(), std::string(" e")), 2);
}

TEST_F(PassTest, BuildBKeepsTheOrchestraAndTheScoreHead) {
  Write("Talvik.ini", kSettings);
  Write("Tesu.rsz", "ZP 0 1 2\r\nHT 440 . 220\r\nLT 0 1000 0\r\nKL 500 600 700\r\nFUA 3\r\n");
  ASSERT_EQ(RunPass(BuildSettings::TalvikTe()), 0);
  const std::string orchestra = Read("Dozudava.orc");
  const std::string score = Read("Dozudava.sco");

  Write("Tesu.rsz", "ZP 0 2 3\r\nHT 330 . 220\r\nLT 0 2000 0\r\n");  // now a sine list
  starter_.starts.clear();
  ASSERT_EQ(RunPass(BuildSettings::TalvikTe3()), 0);
  EXPECT_EQ(Read("Dozudava.orc"), orchestra);
  const std::string rewritten = Read("Dozudava.sco");
  const std::string head = score.substr(0, score.find(" i96"));
  EXPECT_EQ(rewritten.substr(0, rewritten.find("\r\n") + 2),
            " ;10.12.2026, 08:15:00  -  zweiten Teil der Partitur neu geschrieben.\r\n");
  EXPECT_EQ(rewritten.substr(rewritten.find("\r\n") + 2, head.size()), head);
  EXPECT_NE(rewritten.find(" i01    2.0001    -1   220"), std::string::npos) << rewritten;
  EXPECT_TRUE(Exists("cs06b3.bat"));
  ASSERT_EQ(starter_.starts.size(), 1u);
  EXPECT_EQ(starter_.starts[0].commandLine, "C:\\Arbeit\\cs06b3.bat");
}

TEST_F(PassTest, BuildBInAFreshFolderWritesNothingAndStartsNothing) {
  Write("Talvik.ini", kSettings);
  Write("Tesu.rsz", "ZP 0 1\r\nHT 440 220\r\nLT 0 0\r\n");
  EXPECT_EQ(RunPass(BuildSettings::TalvikTe3()), 53);
  // The batch is put in place only with a complete score.
  EXPECT_FALSE(Exists("cs06b3.bat"));
  EXPECT_FALSE(Exists("Dozudava.sco"));
  EXPECT_FALSE(Exists("Dozudava.orc"));
  EXPECT_TRUE(starter_.starts.empty());
}

TEST_F(PassTest, BuildBWithoutOrchestraFailsInTheListingTwice) {
  Write("Talvik.ini", kSettings);
  Write("Tesu.rsz", "ZP 0 1\r\nHT 440 220\r\nLT 0 0\r\n");
  Write("Dozudava.sco", " ;alt\r\n i96   0.00   2\r\n e\r\n");
  EXPECT_EQ(RunPass(BuildSettings::TalvikTe4()), 53);
  EXPECT_TRUE(Exists("cs06b.bat")) << "TalvikTe4 writes cs06b.bat";
  EXPECT_TRUE(starter_.starts.empty());
  // The score was rewritten twice: two dated lines above the old head.
  const std::string score = Read("Dozudava.sco");
  EXPECT_EQ(score.rfind(" ;10.12.2026, 08:15:00  -  zweiten Teil", 0), 0u);
  EXPECT_NE(score.find("geschrieben.\r\n ;10.12.2026, 08:15:00  -  zweiten Teil"), std::string::npos);
  EXPECT_NE(score.find("geschrieben.\r\n ;alt\r\n"), std::string::npos);
}

// A tone list whose values fail while the Csound files are written, or a target that cannot be
// written (a folder, a file made read-only, a full disk met at its close): the old batch,
// orchestra and score stay byte for byte (and keep their modes), nothing is started, the error
// is the one that failed first, and no half-written file is left beside them.
struct WriteFailureCase {
  const char* name;
  const char* lastLine;  // appended to a good tone list
  bool buildA;           // build A, or build B (which keeps the orchestra)
  int error;
  const char* readOnly = nullptr;     // an old file given mode 0444
  const char* fullAtClose = nullptr;  // an old file whose new text meets a full disk at the close
};

class WriteFailureTest : public PassTest, public ::testing::WithParamInterface<WriteFailureCase> {};

TEST_P(WriteFailureTest, OldFilesStayAsTheyWere) {
  const WriteFailureCase& c = GetParam();
  Write("Talvik.ini", kSettings);
  Write("Tesu.rsz", std::string("ZP 0 1\r\nHT 440 220\r\nLT 0 1000\r\n") + c.lastLine);
  const std::string oldFiles[][2] = {{"cs06b.bat", "alte Batch\r\n"},
                                     {"cs06b3.bat", "alte Batch 3\r\n"},
                                     {"Dozudava.orc", "altes Orchester\r\n"},
                                     {"Dozudava.sco", " ;alt\r\n i96   0.00   2\r\n e\r\n"}};
  for (const auto& [name, bytes] : oldFiles) Write(name, bytes);
  if (std::string(c.name) == "UnwritableScore") {
    fs::remove(Arbeit() / "Dozudava.sco");
    fs::create_directory(Arbeit() / "Dozudava.sco");
  }
  if (c.readOnly) fs::permissions(Arbeit() / c.readOnly, fs::perms(0444));
  if (c.fullAtClose)
    platform::SetWriteFaults(testing_support::FailAt(
        platform::WriteStage::Close, (Arbeit() / c.fullAtClose).string(), ENOSPC));

  const int error = RunPass(c.buildA ? BuildSettings::TalvikTe() : BuildSettings::TalvikTe3());
  platform::SetWriteFaults({});
  EXPECT_EQ(error, c.error);
  EXPECT_TRUE(starter_.starts.empty());
  for (const auto& [name, bytes] : oldFiles)
    if (!fs::is_directory(Arbeit() / name)) {
      EXPECT_EQ(Read(name), bytes) << name;
    }
  if (c.readOnly) {
    EXPECT_EQ(fs::status(Arbeit() / c.readOnly).permissions(), fs::perms(0444));
  }
  int files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(Arbeit())) ++files;
  EXPECT_EQ(files, 6) << "the two inputs and the four old files only";
}

INSTANTIATE_TEST_SUITE_P(
    ToneLists, WriteFailureTest,
    ::testing::Values(WriteFailureCase{"LtfWithoutValue", "LTF  \r\n", true, common::kTypeMismatch},
                      WriteFailureCase{"LtfWithTrailingBlanks", "LTF 1  \r\n", true,
                                       common::kTypeMismatch},
                      WriteFailureCase{"LtsNotANumber", "LTS q\r\n", true, common::kTypeMismatch},
                      WriteFailureCase{"HtsTooLarge", "HTS 1e400\r\n", true, common::kOverflow},
                      WriteFailureCase{"TimeSpanOverflows", "ZP 3e38 -3e38\r\n", true,
                                       common::kOverflow},
                      WriteFailureCase{"BuildBTimeSpanOverflows", "ZP 3e38 -3e38\r\n", false,
                                       common::kOverflow},
                      WriteFailureCase{"UnwritableScore", "", true, common::kPathFileAccessError},
                      WriteFailureCase{"ReadOnlyBatch", "", true, common::kPathFileAccessError,
                                       "cs06b.bat"},
                      WriteFailureCase{"ReadOnlyOrchestra", "", true,
                                       common::kPathFileAccessError, "Dozudava.orc"},
                      WriteFailureCase{"ReadOnlyScore", "", true, common::kPathFileAccessError,
                                       "Dozudava.sco"},
                      WriteFailureCase{"BuildBReadOnlyBatch", "", false,
                                       common::kPathFileAccessError, "cs06b3.bat"},
                      WriteFailureCase{"BuildBReadOnlyScore", "", false,
                                       common::kPathFileAccessError, "Dozudava.sco"},
                      WriteFailureCase{"DiskFullAtTheScoresClose", "", true, common::kDiskFull,
                                       nullptr, "Dozudava.sco"},
                      WriteFailureCase{"BuildBDiskFullAtTheScoresClose", "", false,
                                       common::kDiskFull, nullptr, "Dozudava.sco"},
                      WriteFailureCase{"DiskFullAtTheBatchsClose", "", true, common::kDiskFull,
                                       nullptr, "cs06b.bat"}),
    [](const auto& info) { return std::string(info.param.name); });

struct OriginCase {
  bool chosen;
  const char* chosenPath;
  bool presets;
  const char* caption;
  const char* origin;
  friend void PrintTo(const OriginCase& c, std::ostream* os) { *os << c.caption; }
};

class OriginTest : public PassTest, public ::testing::WithParamInterface<OriginCase> {};

TEST_P(OriginTest, CaptionAndOriginNote) {
  const OriginCase& c = GetParam();
  Write("Talvik.ini", kSettings);
  Write("Tesu.rsz", "ZP 0 1\r\n");
  Write("Zufall.rsz", "ZP 0 1\r\n");
  Write("Alt.rsz", "ZP 0 1\r\n");
  ASSERT_EQ(RunPass(BuildSettings::TalvikTe(), [&](CompilerWindow& w) {
              w.state.ChosenListFlag = c.chosen;
              w.state.ChosenListPath = c.chosenPath;
              w.state.PresetsLoaded = c.presets;
              w.state.PresetFilePath = "C:\\Arbeit\\Preset1.txt";
            }),
            0);
  EXPECT_EQ(window_->frmDatei.caption(), c.caption);
  EXPECT_EQ(window_->state.OriginNote, c.origin);
  EXPECT_NE(Read("Dozudava.sco").find(std::string(" ;") + c.origin + "\r\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OriginTest,
    ::testing::Values(
        OriginCase{false, "", false, "T A L V I K  -  Tonverlaufsliste: Tesu.rsz  -  von Hand eingegeben",
                   "Diese Tonverlaufsliste habe ich von Hand eingegeben."},
        OriginCase{false, "", true,
                   "T A L V I K  -  Tonverlaufsliste: Tesu.rsz  -  Zufallsliste: C:\\Arbeit\\Preset1.txt",
                   "Zufallsliste: C:\\Arbeit\\Preset1.txt"},
        OriginCase{true, "C:\\Arbeit\\Zufall.rsz", false,
                   "T A L V I K  -  Tonverlaufsliste: C:\\Arbeit\\Zufall.rsz", ""},
        OriginCase{true, "c:\\arbeit\\zufall.rsz", false,
                   "T A L V I K  -  Tonverlaufsliste: c:\\arbeit\\zufall.rsz",
                   "Eine ältere Tonverlaufsliste wurde verwendet."},
        OriginCase{true, "C:\\Arbeit\\Alt.rsz", true,
                   "T A L V I K  -  Tonverlaufsliste: C:\\Arbeit\\Alt.rsz  -  Zufallsliste: C:\\Arbeit\\Preset1.txt",
                   "Zufallsliste: C:\\Arbeit\\Preset1.txt"}));

}  // namespace
}  // namespace compiler
