// The projects the converter writes from the current range: the snapshot project and the copy
// ("Copy"), line by line, against golden files, read back through the converter's own reader,
// and against the block structure of real REAPER projects.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/errors.h"
#include "corpus.h"
#include "common/numbers.h"
#include "envelope/reaper_project.h"

namespace envelope_test {
namespace {

namespace fs = std::filesystem;
using platform_test::ReadHostFile;

const fs::path kExamples = fs::path(ORMILA_SOURCE_DIR) / "examples";
constexpr size_t kTemplate1Lines = 125, kTemplate3Lines = 26, kTemplate4Lines = 10;

// The lines of a file whose every line ends in CR LF (a failure when one does not).
std::vector<std::string> CrLfLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < bytes.size()) {
    const size_t end = bytes.find("\r\n", pos);
    if (end == std::string::npos) {
      ADD_FAILURE() << "last line without CR LF: " << bytes.substr(pos);
      break;
    }
    const std::string line = bytes.substr(pos, end - pos);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "a lone line end in " << line;
    lines.push_back(line);
    pos = end + 2;
  }
  return lines;
}

// The parts of a generated project the range makes: the marker lines, and the lead-in point
// followed by the point lines; the template lines around them are checked as they stand.
struct GeneratedParts {
  std::vector<std::string> markers, points;
};

GeneratedParts SplitGenerated(const std::vector<std::string>& lines, const std::string& folder) {
  GeneratedParts parts;
  const std::vector<std::string> t1 = CrLfLines(ReadHostFile(fs::path(folder) / "Grundtext1") + "\r\n");
  const std::vector<std::string> t3 = CrLfLines(ReadHostFile(fs::path(folder) / "Grundtext3") + "\r\n");
  const std::vector<std::string> t4 = CrLfLines(ReadHostFile(fs::path(folder) / "Grundtext4"));
  if (lines.size() < kTemplate1Lines + 2 + kTemplate3Lines + kTemplate4Lines) {
    ADD_FAILURE() << "too short: " << lines.size() << " lines";
    return parts;
  }
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + kTemplate1Lines), t1);
  size_t i = kTemplate1Lines;
  while (i < lines.size() && lines[i].starts_with("  MARKER ")) parts.markers.push_back(lines[i++]);
  EXPECT_EQ(lines.at(i), "  <TRACK '{0ABDCEC9-CD19-4648-A83C-2DD844D93945}'");
  EXPECT_EQ(lines.at(i + 1), "    NAME \"R-01\"");
  i += 2;
  EXPECT_EQ(std::vector<std::string>(lines.begin() + i, lines.begin() + i + kTemplate3Lines), t3);
  i += kTemplate3Lines;
  const size_t pointsEnd = lines.size() - kTemplate4Lines;
  parts.points.assign(lines.begin() + i, lines.begin() + pointsEnd);
  EXPECT_EQ(std::vector<std::string>(lines.begin() + pointsEnd, lines.end()), t4);
  return parts;
}

// The blank-separated fields of a line.
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  size_t i = 0;
  while ((i = line.find_first_not_of(' ', i)) != std::string::npos) {
    const size_t end = std::min(line.find(' ', i), line.size());
    fields.push_back(line.substr(i, end - i));
    i = end;
  }
  return fields;
}

// One point of the range: its time, level, pitch and timbre as the arrays hold them.
struct Point {
  double time, level, pitch, timbre;
};

class GeneratedProjectTest : public ConverterTest {
 protected:
  void SetUp() override {
    window->state.WorkFolder = "C:\\Arbeit\\";
    window->WriteProjectTemplates();
  }
  // The range on project lines 20.. with the given points; the line before keeps 0 and 0.
  void SetRange(const std::vector<Point>& points) {
    auto& s = window->state;
    s.RangeStartLine = 20;
    s.RangeEndLine = 20 + static_cast<long>(points.size()) - 1;
    for (size_t k = 0; k < points.size(); ++k) {
      const size_t i = 20 + k;
      s.ZP[i] = points[k].time;
      s.LT[i] = points[k].level;
      s.HT[i] = points[k].pitch;
      s.KL[i] = points[k].timbre;
    }
  }
  GeneratedParts Snapshot() {
    window->state.SnapshotProjectPath = "c:\\Arbeit\\Tesu7.rpp";
    window->WriteSnapshotProject();
    return SplitGenerated(CrLfLines(ReadArbeit("Tesu7.rpp")), (root / "c/Arbeit").string());
  }
  GeneratedParts Copy(double distance) {
    auto& s = window->state;
    s.CopyProjectPath = "c:\\Arbeit\\Stueckc.rpp";
    s.CopyDistance = distance;
    s.CopyStart = s.ZP[static_cast<size_t>(s.RangeStartLine)];
    s.CopyEnd = s.ZP[static_cast<size_t>(s.RangeEndLine)];
    s.CopyOffset = (s.CopyEnd - s.CopyStart) + s.CopyDistance;
    window->WriteCopyProject();
    return SplitGenerated(CrLfLines(ReadArbeit("Stueckc.rpp")), (root / "c/Arbeit").string());
  }
};

struct RangeCase {
  const char* label;
  std::vector<Point> points;
  double distance;
  GeneratedParts snapshot, copy;
};
void PrintTo(const RangeCase& c, std::ostream* os) { *os << c.label; }

class GeneratedRangeTest : public GeneratedProjectTest,
                           public ::testing::WithParamInterface<RangeCase> {};

TEST_P(GeneratedRangeTest, MarkersLeadInAndPoints) {
  const RangeCase& c = GetParam();
  SetRange(c.points);
  const GeneratedParts snapshot = Snapshot();
  EXPECT_EQ(snapshot.markers, c.snapshot.markers);
  EXPECT_EQ(snapshot.points, c.snapshot.points);
  const GeneratedParts copy = Copy(c.distance);
  EXPECT_EQ(copy.markers, c.copy.markers);
  EXPECT_EQ(copy.points, c.copy.points);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, GeneratedRangeTest,
    ::testing::Values(
        // One point: one marker and one point that is first and last; two of each in the copy.
        RangeCase{"OnePoint",
                  {{3, 0.5, 220, 660}},
                  0,
                  {{"  MARKER 1 4  \"220  660\" 0"}, {"      PT 0.5 2 0", "      PT 4 2 0 0 1"}},
                  {{"  MARKER 1 2  \"220  660\" 0", "  MARKER 2 2  \"220  660\" 0"},
                   {"      PT 0.5 2 0", "      PT 2 2 0 0 1", "      PT 2 2 0 0 1"}}},
        // Equal pitch and timbre throughout: one marker, two in the copy; the loudest point is
        // written as 2, the one at half of it as 1; the lead-in carries the last point's level.
        RangeCase{"EqualFrequenciesAndLevels",
                  {{1, 0.25, 440, 440}, {2.5, 0.5, 440, 440}, {4, 0.125, 440, 440}},
                  1.5,
                  {{"  MARKER 1 2  \"440  440\" 0"},
                   {"      PT 0.5 0.5 0", "      PT 2 1 0 0 1", "      PT 3.5 2 0",
                    "      PT 5 0.5 0 0 1"}},
                  {{"  MARKER 1 2  \"440  440\" 0", "  MARKER 2 6.5  \"440  440\" 0"},
                   {"      PT 0.5 0.5 0", "      PT 2 1 0 0 1", "      PT 3.5 2 0",
                    "      PT 5 0.5 0", "      PT 6.5 1 0", "      PT 8 2 0",
                    "      PT 9.5 0.5 0 0 1"}}},
        // The same pitch with another timbre gets a marker; so does another pitch.
        RangeCase{"MarkerWherePitchOrTimbreChanges",
                  {{0, 1, 220, 220}, {1, 1, 220, 880}, {2, 1, 220, 880}, {3, 1, 330, 880}},
                  0,
                  {{"  MARKER 1 1  \"220  220\" 0", "  MARKER 2 2  \"220  880\" 0",
                    "  MARKER 3 4  \"330  880\" 0"},
                   {"      PT 0.5 2 0", "      PT 1 2 0 0 1", "      PT 2 2 0", "      PT 3 2 0",
                    "      PT 4 2 0 0 1"}},
                  {{"  MARKER 1 2  \"220  220\" 0", "  MARKER 2 3  \"220  880\" 0",
                    "  MARKER 3 5  \"330  880\" 0", "  MARKER 4 5  \"220  220\" 0",
                    "  MARKER 5 6  \"220  880\" 0", "  MARKER 6 8  \"330  880\" 0"},
                   {"      PT 0.5 2 0", "      PT 2 2 0 0 1", "      PT 3 2 0", "      PT 4 2 0",
                    "      PT 5 2 0", "      PT 5 2 0", "      PT 6 2 0", "      PT 7 2 0",
                    "      PT 8 2 0 0 1"}}},
        // Times to four decimals, half up, then one second later; the copy's times are taken
        // from the unrounded start of the range.
        RangeCase{"TimesToFourDecimals",
                  {{12.34567, 0.8, 196.5, 1200}, {13.00004, 0.4, 196.5, 1200}},
                  0,
                  {{"  MARKER 1 13.3457  \"196.5  1200\" 0"},
                   {"      PT 0.5 1 0", "      PT 13.3457 2 0 0 1", "      PT 14 1 0 0 1"}},
                  {{"  MARKER 1 2.00003  \"196.5  1200\" 0", "  MARKER 2 2.6544  \"196.5  1200\" 0"},
                   {"      PT 0.5 1 0", "      PT 2.00003 2 0 0 1", "      PT 2.65433 1 0",
                    "      PT 2.6544 2 0", "      PT 3.3087 1 0 0 1"}}},
        // No level above 0: there is no loudest point, and every level is written as 0.
        RangeCase{"SilentRangeGivesLevelsZero",
                  {{1, 0, 220, 220}, {2, 0, 220, 220}},
                  0,
                  {{"  MARKER 1 2  \"220  220\" 0"},
                   {"      PT 0.5 0 0", "      PT 2 0 0 0 1", "      PT 3 0 0 0 1"}},
                  {{"  MARKER 1 2  \"220  220\" 0", "  MARKER 2 3  \"220  220\" 0"},
                   {"      PT 0.5 0 0", "      PT 2 0 0 0 1", "      PT 3 0 0", "      PT 3 0 0",
                    "      PT 4 0 0 0 1"}}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(GeneratedProjectTest, SnapshotAndCopyOfASmallRangeMatchTheirGoldenFiles) {
  SetRange({{0.5, 0.25118864, 220, 220}, {2.125, 0.70794578, 330, 660}, {3.25, 0.5, 330, 660},
            {4.33333333, 0.01, 392, 1200}});
  Snapshot();
  ExpectGoldenBytes("snapshot.rpp", ReadArbeit("Tesu7.rpp"));
  Copy(0.75);
  ExpectGoldenBytes("copy.rpp", ReadArbeit("Stueckc.rpp"));
}

// The projects are written beside their target: a failure leaves an older file as it was and
// nothing behind in the folder, and the file numbers are free again.
TEST_F(GeneratedProjectTest, AMissingTemplateLeavesTheOldProjectWhole) {
  SetRange({{1, 1, 220, 220}, {2, 1, 220, 220}});
  root.Write("c/Arbeit/Tesu7.rpp", "alt\r\n");
  fs::remove(root / "c/Arbeit/Grundtext3");
  window->state.SnapshotProjectPath = "c:\\Arbeit\\Tesu7.rpp";
  EXPECT_EQ(platform_test::ErrorOf([&] { window->WriteSnapshotProject(); }),
            common::kFileNotFound);
  EXPECT_EQ(ReadArbeit("Tesu7.rpp"), "alt\r\n");
  size_t entries = 0;
  for (const auto& e : fs::directory_iterator(root / "c/Arbeit")) {
    ++entries;
    EXPECT_FALSE(e.path().filename().string().ends_with(".neu")) << e.path();
  }
  EXPECT_EQ(entries, 4u);  // Grundtext1, 2 and 4, and the old project
  EXPECT_EQ(window->files.FreeFile(), 1);
}

TEST_F(GeneratedProjectTest, ARangeBeyondTheArraysIsNotWritten) {
  auto& s = window->state;
  s.RangeStartLine = envelope::kTimbreLineCapacity;
  s.RangeEndLine = envelope::kTimbreLineCapacity + 1;
  s.SnapshotProjectPath = "c:\\Arbeit\\Tesu7.rpp";
  EXPECT_EQ(platform_test::ErrorOf([&] { window->WriteSnapshotProject(); }),
            common::kSubscriptOutOfRange);
  EXPECT_FALSE(fs::exists(root / "c/Arbeit/Tesu7.rpp"));
}

// --- The copy button on the example project ---

class CopyButtonTest : public ConverterTest {
 protected:
  void SetUp() override {
    StartWithExample();
    window->Command3.Click();  // the first run of the session: the marked points 1 s to 6.5 s
    ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().text;
    starter.starts.clear();
  }
  envelope::ConverterState& s() { return window->state; }
  // What the window shows and holds that a copy changes.
  struct Visible {
    std::string projectBox, projectName, clipboard, settings;
    bool operator==(const Visible&) const = default;
  };
  Visible Now() {
    return {window->Text[1]->text(), s().ProjectName, dialogs.clipboard, ReadArbeit("Tesu.ini")};
  }
};

TEST_F(CopyButtonTest, CopyWritesTheProjectThenRenamesTheBoxAndFillsTheClipboard) {
  window->Abstandstext.SetText("0.5");
  window->kopieren.Click();
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(starter.starts.empty()) << "a copy run starts no build";
  EXPECT_EQ(s().InfoPage, 0);
  EXPECT_EQ(s().CopyProjectPath, "c:\\Arbeit\\Gleitenc.rpp");
  EXPECT_DOUBLE_EQ(s().CopyStart, 1);
  EXPECT_DOUBLE_EQ(s().CopyEnd, 6.5);
  EXPECT_DOUBLE_EQ(s().CopyOffset, 6);
  EXPECT_EQ(window->Testlist.items(),
            (std::vector<std::string>{"", "c:\\Arbeit\\Gleitenc.rpp wurde geschrieben.", ""}));
  EXPECT_EQ(window->Testlist.backColour(), 0xFFFFFF);
  EXPECT_EQ(window->Text[1]->text(), "Gleitenc");
  EXPECT_EQ(s().ProjectName, "Gleitenc");
  EXPECT_EQ(dialogs.clipboard, "Gleitenc");
  EXPECT_TRUE(ReadArbeit("Tesu.ini").starts_with("Gleitenc\r\n"));
  const GeneratedParts parts =
      SplitGenerated(CrLfLines(ReadArbeit("Gleitenc.rpp")), (root / "c/Arbeit").string());
  EXPECT_EQ(parts.markers.size(), 8u);  // four frequency changes, twice
  // The range starts at 2 s and its copy 0.5 s after its end; the loudest point (4 s) is 2.
  const std::vector<std::string> times{"0.5", "2",    "3.5", "4.25", "5",     "6.75", "7.5",
                                       "8",   "9.5",  "10.25", "11", "12.75", "13.5"};
  ASSERT_EQ(parts.points.size(), times.size());
  for (size_t k = 0; k < times.size(); ++k) {
    SCOPED_TRACE(parts.points[k]);
    const std::vector<std::string> f = Fields(parts.points[k]);
    EXPECT_EQ(f.at(1), times[k]);
    EXPECT_EQ(f.size(), k == 1 || k == 12 ? 6u : 4u) << "only the ends are selected";
  }
  EXPECT_EQ(parts.points[4], "      PT 5 2 0");
  EXPECT_EQ(parts.points[10], "      PT 11 2 0");
  EXPECT_EQ(parts.markers[0], "  MARKER 1 2  \"220  220\" 0");
  EXPECT_EQ(parts.markers[7], "  MARKER 8 12.75  \"392  1200\" 0");
}

// A second copy appends a further "c" and reads the first copy.
TEST_F(CopyButtonTest, ASecondCopyCopiesTheCopy) {
  window->kopieren.Click();
  window->Text[2]->SetText("R-01");  // the generated project's track
  window->kopieren.Click();
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(window->Text[1]->text(), "Gleitencc");
  EXPECT_TRUE(fs::exists(root / "c/Arbeit/Gleitencc.rpp"));
}

// A project and a track named in Cyrillic, as REAPER writes them: the copy holds the converter's
// own lines and its track "R-01", so it is byte for byte the copy of the same envelope under Latin
// names; the copy's name reaches the settings file and the next start whole.
TEST_F(CopyButtonTest, TheCopyOfAProjectNamedInCyrillicKeepsItsName) {
  window->kopieren.Click();
  const std::string latinCopy = ReadArbeit("Gleitenc.rpp");
  const std::string name = "Глиссандо";
  std::string project = ReadHostFile(kExamples / "Gleiten.rpp");
  project.replace(project.find("NAME Glissando"), 14, "NAME " + name);
  root.Write("c/Arbeit/" + name + ".rpp", project);
  window->Text[1]->SetText(name);
  window->Text[2]->SetText(name);
  window->kopieren.Click();
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(ReadArbeit(name + "c.rpp"), latinCopy);
  EXPECT_EQ(window->Text[1]->text(), name + "c");
  EXPECT_TRUE(ReadArbeit("Tesu.ini").starts_with(name + "c\r\n" + name + "\r\n"));
  NewWindow();
  window->Form_Load();
  EXPECT_EQ(s().ProjectPath, "C:\\Arbeit\\" + name + "c.rpp");
  EXPECT_EQ(window->Text[2]->text(), name);
}

TEST_F(CopyButtonTest, ANegativeDistanceBecomesZeroAndTheCopyStartsWhereTheRangeEnds) {
  window->Abstandstext.SetText("-3");
  window->kopieren.Click();
  EXPECT_EQ(window->Abstandstext.text(), "0");
  EXPECT_DOUBLE_EQ(s().CopyDistance, 0);
  const GeneratedParts parts =
      SplitGenerated(CrLfLines(ReadArbeit("Gleitenc.rpp")), (root / "c/Arbeit").string());
  ASSERT_EQ(parts.points.size(), 13u);
  EXPECT_EQ(Fields(parts.points[6]).at(1), "7.5");
  EXPECT_EQ(Fields(parts.points[7]).at(1), "7.5");
}

// An existing copy of the composer's is kept as "<name>c.rpp-bak" before the new one is written.
TEST_F(CopyButtonTest, AnExistingCopyIsKeptAsBak) {
  root.Write("c/Arbeit/Gleitenc.rpp", "bearbeitet\r\n");
  window->kopieren.Click();
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(ReadArbeit("Gleitenc.rpp-bak"), "bearbeitet\r\n");
  const std::string first = ReadArbeit("Gleitenc.rpp");
  EXPECT_TRUE(first.starts_with("<REAPER_PROJECT 0.1  3.71 \r\n"));
  // A keep that cannot be made stops the copy: the old copy and its keep stay as they were.
  window->Text[1]->SetText("Gleiten");
  fs::remove(root / "c/Arbeit/Gleitenc.rpp-bak");
  fs::create_directories(root / "c/Arbeit/Gleitenc.rpp-bak/besetzt");
  window->kopieren.Click();
  EXPECT_EQ(Messages(), std::vector<std::string>{"c:\\Arbeit\\Gleitenc.rpp konnte nicht "
                                                 "geschrieben werden (Zugriff verweigert)."});
  EXPECT_EQ(ReadArbeit("Gleitenc.rpp"), first);
  EXPECT_EQ(window->Text[1]->text(), "Gleiten");
}

struct CopyFailure {
  const char* label;
  std::function<void(CopyButtonTest&)> spoil;
  std::vector<std::string> messages;
};

// No copy after a run that did not go through (whatever flag it left), after a distance that is
// not a number, or when the project cannot be written: one "FEHLER" message for the one failure
// (the run's own where it reports one, the copy's where the run stopped silently), and the box,
// the clipboard, the settings, the display list and an older copy stay as they were.
TEST_F(CopyButtonTest, AFailedCopyChangesNothing) {
  const CopyFailure cases[] = {
      {"RangeError",
       [](CopyButtonTest& t) {
         std::string p = ReadHostFile(kExamples / "Gleiten.rpp");
         p.replace(p.find("PT 6.5 0.01 0 0 1"), 17, "PT 6.5 0.01 0");
         t.root.Write("c/Arbeit/Gleiten.rpp", p);
       },
       {"Es fehlt die zweite Markierung! Genau zwei Punkte als Anfang und Ende markieren!"}},
      {"NotPointLine without a message of the run",
       [](CopyButtonTest& t) {
         std::string p = ReadHostFile(kExamples / "Gleiten.rpp");
         p.replace(p.find("      PT 3.25 0.5 0"), 18, "      XX 3.25 0.5 0");
         t.root.Write("c/Arbeit/Gleiten.rpp", p);
       },
       {"Der Lauf ist nicht fehlerfrei zu Ende gegangen: c:\\Arbeit\\Gleitenc.rpp wurde nicht "
        "geschrieben."}},
      {"a number too large in the project",
       [](CopyButtonTest& t) {
         std::string p = ReadHostFile(kExamples / "Gleiten.rpp");
         p.replace(p.find("PT 3.25 0.5 0"), 13, "PT 3.25 1e999 0");
         t.root.Write("c/Arbeit/Gleiten.rpp", p);
       },
       {"Zeile 141 der Reaperdatei C:\\Arbeit\\Gleiten.rpp enthält eine zu große Zahl (1e999): "
        "PT 3.25 1e999 0"}},
      {"an empty setting, which stops the run without a flag",
       [](CopyButtonTest& t) { t.window->state.Fua = envelope::SettingValue::Text(""); },
       {"Das Feld \"FUA\" ist leer. Die Tonverlaufsliste braucht dort einen Wert."}},
      {"distance not a number",
       [](CopyButtonTest& t) { t.window->Abstandstext.SetText("1,5"); },
       {"Der Abstand \"1,5\" ist keine Zahl. Bitte den Abstand der Kopie in Sekunden "
        "eintragen."}},
      {"template missing",
       [](CopyButtonTest& t) { fs::remove(t.root / "c/Arbeit/Grundtext4"); },
       {"c:\\Arbeit\\Gleitenc.rpp konnte nicht geschrieben werden (Datei nicht gefunden)."}},
  };
  for (const CopyFailure& c : cases) {
    SCOPED_TRACE(c.label);
    root.Write("c/Arbeit/Gleiten.rpp", ReadHostFile(kExamples / "Gleiten.rpp"));
    window->WriteProjectTemplates();
    window->state.Fua = envelope::SettingValue::Text("1");
    window->Abstandstext.SetText("0");
    root.Write("c/Arbeit/Gleitenc.rpp", "bearbeitet\r\n");
    window->Testlist.Clear();
    window->Testlist.AddItem("vorher");
    dialogs.clipboard = "vorher";
    dialogs.messages.clear();
    c.spoil(*this);
    const Visible before = Now();
    window->kopieren.Click();
    EXPECT_EQ(Messages(), c.messages);
    EXPECT_EQ(Now(), before);
    for (const std::string& item : window->Testlist.items())
      EXPECT_EQ(item.find("wurde geschrieben"), std::string::npos) << item;
    EXPECT_EQ(ReadArbeit("Gleitenc.rpp"), "bearbeitet\r\n");
    EXPECT_FALSE(fs::exists(root / "c/Arbeit/Gleitenc.rpp-bak")) << "nothing to keep yet";
    EXPECT_TRUE(starter.starts.empty());
  }
}

// --- Read back through the converter's own reader ---

struct ReadBackCase {
  const char* label;
  bool copy;
};

class ReadBackTest : public CopyButtonTest, public ::testing::WithParamInterface<ReadBackCase> {};

// The generated project, converted again with "Cso1" on its track "R-01", gives the points of
// the original range: the same pitches and timbres, the levels scaled to the peak 2, the times
// shifted as the project says, and for the copy the range twice.
TEST_P(ReadBackTest, TheGeneratedProjectConvertsToTheSamePoints) {
  const ReadBackCase& c = GetParam();
  const long first = s().RangeStartLine, last = s().RangeEndLine;
  ASSERT_EQ(last - first, 5);
  std::vector<Point> original;
  double peak = 0;
  for (long i = first; i <= last; ++i) {
    const size_t n = static_cast<size_t>(i);
    original.push_back({s().ZP[n], s().LT[n], s().HT[n], s().KL[n]});
    peak = std::max(peak, s().LT[n]);
  }
  std::vector<double> shifts;  // of the times, one per copy of the range
  if (c.copy) {
    window->Abstandstext.SetText("0.25");
    window->kopieren.Click();
    shifts = {2 - 1.0, 2 - 1.0 + 5.5 + 0.25};  // from 2 s on, then after the range and 0.25 s
  } else {
    s().SnapshotProjectPath = "c:\\Arbeit\\Tesu9.rpp";
    window->WriteSnapshotProject();
    window->Text[1]->SetText("Tesu9");
    shifts = {1.0};
  }
  ASSERT_TRUE(Messages().empty());
  window->Text[2]->SetText("R-01");
  window->Command3.Click();
  ASSERT_TRUE(Messages().empty());
  ASSERT_EQ(s().RangeEndLine - s().RangeStartLine + 1,
            static_cast<long>(original.size() * shifts.size()));
  EXPECT_TRUE(ReadArbeit("Tesu.rsz").find("Reaperdatei: " + s().ProjectName + ".rpp") !=
              std::string::npos);
  long line = s().RangeStartLine;
  for (const double shift : shifts) {
    for (const Point& p : original) {
      const size_t n = static_cast<size_t>(line++);
      SCOPED_TRACE("line " + std::to_string(n));
      EXPECT_NEAR(s().ZP[n], common::RoundToStep(p.time, 10000) + shift, 1e-9);
      EXPECT_NEAR(s().LT[n], p.level * 2 / peak, 1e-12);
      EXPECT_EQ(s().HT[n], p.pitch);
      EXPECT_EQ(s().KL[n], p.timbre);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Projects, ReadBackTest,
                         ::testing::Values(ReadBackCase{"Copy", true},
                                           ReadBackCase{"Snapshot", false}),
                         [](const auto& info) { return std::string(info.param.label); });

// --- The block structure of real REAPER projects ---

// The block path of every line kind: "<REAPER_PROJECT/<TRACK/<VOLENV2/PT". A line that opens a
// block ("<NAME ...") deepens the path, a line ">" closes one; quotes must pair on every line.
struct Structure {
  std::map<std::string, std::set<std::string>> paths;  // line kind -> block paths it stands in
  bool balanced = true;
  std::vector<std::string> unpairedQuotes;
};

std::string FirstWord(const std::string& line) {
  const size_t from = line.find_first_not_of(' ');
  if (from == std::string::npos) return "";
  return line.substr(from, line.find(' ', from) - from);
}

// REAPER's quoting: a field that begins with ", ' or ` runs to the same character.
bool QuotesPair(const std::string& line) {
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ') {
      ++i;
      continue;
    }
    const char q = line[i];
    if (q == '"' || q == '\'' || q == '`') {
      const size_t close = line.find(q, i + 1);
      if (close == std::string::npos) return false;
      i = close + 1;
    } else {
      while (i < line.size() && line[i] != ' ') ++i;
    }
  }
  return true;
}

Structure Analyse(const std::string& text) {
  Structure st;
  std::vector<std::string> path;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    if (pos < text.size() && text[pos - 1] == '\r' && text[pos] == '\n') ++pos;
    const std::string word = FirstWord(line);
    if (word.empty()) continue;
    if (!QuotesPair(line)) st.unpairedQuotes.push_back(line);
    std::string where;
    for (const std::string& p : path) where += p + "/";
    if (word == ">") {
      if (path.empty()) st.balanced = false;
      else path.pop_back();
      continue;
    }
    st.paths[word].insert(where);
    if (word[0] == '<') path.push_back(word);
  }
  if (!path.empty()) st.balanced = false;
  return st;
}

using CorpusGeneratedProjectTest = GeneratedProjectTest;

TEST_F(CorpusGeneratedProjectTest, TheBlocksNestAsInRealReaperProjects) {
  ORMILA_REQUIRE_CORPUS();
  const fs::path corpus = fs::path(testing_support::CorpusFolder()) / "rpp";
  // Where the lines that matter stand in the real projects.
  std::map<std::string, std::set<std::string>> real;
  for (const auto& e : fs::directory_iterator(corpus)) {
    const Structure st = Analyse(ReadHostFile(e.path()));
    EXPECT_TRUE(st.balanced) << e.path();
    for (const auto& [word, paths] : st.paths) real[word].insert(paths.begin(), paths.end());
  }
  SetRange({{1, 0.5, 220, 660}, {2, 1, 330, 990}});
  Snapshot();
  Copy(0);
  for (const char* file : {"Tesu7.rpp", "Stueckc.rpp"}) {
    SCOPED_TRACE(file);
    const Structure st = Analyse(ReadArbeit(file));
    EXPECT_TRUE(st.balanced);
    EXPECT_TRUE(st.unpairedQuotes.empty()) << st.unpairedQuotes.front();
    EXPECT_EQ(st.paths.at("<REAPER_PROJECT"), std::set<std::string>{""});
    for (const char* word : {"MARKER", "<TRACK", "NAME", "<VOLENV2", "<FXCHAIN", "SEL",
                             "TRACKID", "TEMPO", "<MASTERFXLIST", "<MASTERPLAYSPEEDENV"}) {
      SCOPED_TRACE(word);
      ASSERT_TRUE(st.paths.count(word));
      for (const std::string& where : st.paths.at(word))
        EXPECT_TRUE(real[word].count(where)) << "no real project has " << word << " in " << where;
    }
    EXPECT_EQ(st.paths.at("MARKER"), std::set<std::string>{"<REAPER_PROJECT/"});
    // The points: the template's master play-speed envelope, and the track's volume envelope,
    // where real projects have theirs.
    EXPECT_EQ(st.paths.at("PT"),
              (std::set<std::string>{"<REAPER_PROJECT/<MASTERPLAYSPEEDENV/",
                                     "<REAPER_PROJECT/<TRACK/<VOLENV2/"}));
    EXPECT_TRUE(real["PT"].count("<REAPER_PROJECT/<TRACK/<VOLENV2/"));
  }
}

}  // namespace
}  // namespace envelope_test
