// The REAPER project reader: loading the lines, the track, its volume envelope, the point lines
// and the marker lines; small projects as REAPER writes them and real projects of the corpus.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "corpus.h"
#include "envelope/reaper_project.h"

namespace envelope_test {
namespace {

// --- LoadProjectLines ---

struct LoadCase {
  const char* label;
  std::string bytes;
  std::vector<std::string> lines;
};
void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.label; }

class LoadLinesTest : public ProjectTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadLinesTest, ReadsEveryLineWithoutItsEnd) {
  const LoadCase& c = GetParam();
  s().ProjectLineCount = 77;  // from an earlier project
  LoadText(c.bytes);
  EXPECT_TRUE(Messages().empty());
  EXPECT_FALSE(s().ProjectMissing);
  ASSERT_EQ(s().ProjectLineCount, static_cast<long>(c.lines.size()));
  for (size_t i = 0; i < c.lines.size(); ++i) EXPECT_EQ(s().Zl[i + 1], c.lines[i]) << i + 1;
  // The file is closed again: a second reading works.
  LoadText(c.bytes);
  EXPECT_TRUE(Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    LineEnds, LoadLinesTest,
    ::testing::Values(
        LoadCase{"Lf",
                 "<REAPER_PROJECT 0.1\n  SELECTION 1 5.5\n>\n",
                 {"<REAPER_PROJECT 0.1", "  SELECTION 1 5.5", ">"}},
        LoadCase{"CrLf",
                 "<REAPER_PROJECT 0.1\r\n      PT 1.5 0.14791084 0\r\n>\r\n",
                 {"<REAPER_PROJECT 0.1", "      PT 1.5 0.14791084 0", ">"}},
        LoadCase{"NoEndAfterLastLine",
                 "  <TRACK\n    NAME R-01\n  >",
                 {"  <TRACK", "    NAME R-01", "  >"}},
        LoadCase{"EmptyLineKept", "a\n\nb\n", {"a", "", "b"}}, LoadCase{"EmptyFile", "", {}},
        // UTF-8 (a Cyrillic track name) stays as it is; a file that is not valid UTF-8 is
        // Windows-1252 ("Geräusch" with the single byte E4).
        LoadCase{"Utf8", "    NAME \"\xD0\xA1\xD0\xBE\xD0\xBD (1)\"\n", {"    NAME \"Сон (1)\""}},
        LoadCase{"Cp1252", "    NAME Ger\xE4usch\n", {"    NAME Geräusch"}},
        LoadCase{"LoneCr", "<REAPER_PROJECT 0.1\r  SELECTION 1 5.5\r>\r",
                 {"<REAPER_PROJECT 0.1", "  SELECTION 1 5.5", ">"}},
        LoadCase{"MixedEnds", "a\r\nb\rc\n\r\nd", {"a", "b", "c", "", "d"}},
        LoadCase{"Utf8ByteOrderMarkDropped", "\xEF\xBB\xBF<REAPER_PROJECT 0.1\n>\n",
                 {"<REAPER_PROJECT 0.1", ">"}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ProjectTest, MissingProjectShowsItsPathAndClearsTheLists) {
  window->Testlist.AddItem("alt");
  window->Testlist.SetBackColour(0x123456);
  window->Testliste[3]->AddItem("440");
  s().ProjectName = "Fehlt";
  s().ProjectPath = "C:\\Arbeit\\Fehlt.rpp";
  window->LoadProjectLines();
  EXPECT_EQ(Messages(), std::vector<std::string>{"C:\\Arbeit\\Fehlt.rpp existiert nicht."});
  EXPECT_TRUE(s().ProjectMissing);
  EXPECT_EQ(window->Testlist.ListCount(), 0);
  EXPECT_EQ(window->Testlist.backColour(), 0x123456);  // cleared, not recoloured
  EXPECT_EQ(window->Testliste[3]->ListCount(), 0);
  // The failed reading left no file open.
  ReaperProject p;
  p.Head();
  Load(p, "Fehlt");
  EXPECT_EQ(s().ProjectLineCount, 1);
  EXPECT_EQ(Messages().size(), 1u);
}

// A project path that names something other than a file says so; one that names nothing says
// that it does not exist. Neither is waited on (a pipe would block a reader).
TEST_F(ProjectTest, AProjectPathThatIsNoFileSaysSo) {
  namespace fs = std::filesystem;
  const struct {
    const char* kind;
    std::function<void(const fs::path&)> make;
    const char* ending;
  } cases[] = {
      {"missing", [](const fs::path&) {}, " existiert nicht."},
      {"folder", [](const fs::path& p) { fs::create_directory(p); }, " ist keine Datei."},
      {"FIFO", [](const fs::path& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); },
       " ist keine Datei."},
      {"device", [](const fs::path& p) { fs::create_symlink("/dev/null", p); },
       " ist keine Datei."},
      {"link to nothing", [](const fs::path& p) { fs::create_symlink("fehlt.rpp", p); },
       " existiert nicht."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    const std::string name = std::string("Art-") + c.kind;
    c.make(root / "c/Arbeit" / (name + ".rpp"));
    dialogs.messages.clear();
    s().ProjectMissing = false;
    s().ProjectPath = "C:\\Arbeit\\" + name + ".rpp";
    window->LoadProjectLines();
    EXPECT_EQ(Messages(), std::vector<std::string>{s().ProjectPath + c.ending});
    EXPECT_TRUE(s().ProjectMissing);
    EXPECT_EQ(window->files.FreeFile(), 1);
  }
}

TEST_F(ProjectTest, AMillionLinesAreReadOneMoreIsAFailure) {
  const long kLines = envelope::kProjectLineCapacity;
  for (long count : {kLines, kLines + 1}) {
    dialogs.messages.clear();
    s().ProjectMissing = false;
    LoadText(std::string(static_cast<size_t>(count), '\n'), "Lang");
    const bool fits = count <= kLines;
    EXPECT_EQ(s().ProjectMissing, !fits) << count;
    EXPECT_EQ(Messages().size(), fits ? 0u : 1u) << count;
    if (fits) {
      EXPECT_EQ(s().ProjectLineCount, count);
    }
  }
}

// The searches through the whole file find the same lines whatever ends the lines.
class LineEndSearchTest : public ProjectTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(LineEndSearchTest, EverySearchFindsItsLine) {
  ReaperProject p;
  p.Head();
  const long selection = p.Selection("1 3");
  const long m1 = p.Marker(1, "1", "440");
  p.Add("  RENDER_FILE R-01 NAME");  // the name before "NAME" does not count
  p.Track("R-02");
  p.EndTrack();
  const long first = p.Add("    NAME_OF_NOTHING R-01");  // "NAME", the name behind it: it wins
  const long track = p.Track("R-01");
  const auto env = p.VolumeEnvelope(EvenPoints(4));
  const long twice = p.QuotedMarker(2, "2", "\"MARKER\"");
  p.EndTrack();
  p.Add(">");
  LoadText(p.Text(GetParam()));
  ASSERT_EQ(s().ProjectLineCount, static_cast<long>(p.lines().size()));
  FindEnvelope();
  EXPECT_EQ(s().TrackLine, first);
  s().TrackLine = track;
  window->FindVolumeEnvelope();
  window->FindPointLines();
  EXPECT_EQ(s().EnvelopeLine, env.head);
  EXPECT_EQ(s().FirstPointLine, env.firstPoint);
  EXPECT_EQ(s().LastPointLine, env.lastPoint);
  window->CollectMarkers();
  ASSERT_EQ(s().MarkerCount, 3);
  EXPECT_EQ(s().Markerfeld[1], p.lines()[static_cast<size_t>(m1 - 1)]);
  EXPECT_EQ(s().Markerfeld[3], p.lines()[static_cast<size_t>(twice - 1)]);
  window->TakeSelectionRange();
  EXPECT_EQ(s().SelectionLine, p.lines()[static_cast<size_t>(selection - 1)]);
  EXPECT_EQ(s().RangeStartLine, env.firstPoint + 1);
  EXPECT_TRUE(Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Ends, LineEndSearchTest, ::testing::Values("\n", "\r\n", "\r"),
                         [](const auto& info) {
                           const std::string end = info.param;
                           if (end == "\n") return std::string("Lf");
                           return std::string(end == "\r" ? "Cr" : "CrLf");
                         });

TEST_F(ProjectTest, Windows1252ProjectIsSearchedInItsDecodedText) {
  ReaperProject p;
  p.Head();
  p.Track("Ger\xE4usch");  // one byte: not valid UTF-8
  const long track = p.Track("\"Ger\xE4usch 2\"");
  const auto env = p.VolumeEnvelope(EvenPoints(3));
  p.EndTrack();
  p.Add(">");
  LoadText(p.Text());
  s().TrackName = "Geräusch 2";
  FindEnvelope();
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(s().TrackLine, track);
  EXPECT_EQ(s().Zl[static_cast<size_t>(track)], "    NAME \"Geräusch 2\"");
  EXPECT_EQ(s().EnvelopeLine, env.head);
}

// The whole-file searches leave the shared cursors where a search line by line leaves them.
TEST_F(ProjectTest, SearchesLeaveTheCursorsOnTheirLastLine) {
  ReaperProject p;
  p.Head();
  const long track = p.Track("\"R-01\"");
  p.Marker(1, "1", "440");
  const long last = p.Add(">");
  Load(p);
  window->FindTrackByName();
  EXPECT_EQ(s().LineCursor, track);
  EXPECT_EQ(s().CurrentLine, "    NAME \"R-01\"");
  EXPECT_EQ(s().CharCursor, 11);  // the name's first character
  window->CollectMarkers();
  EXPECT_EQ(s().LineCursor, last + 1);
  EXPECT_EQ(s().CurrentLine, ">");
  s().TrackName = "R-02";
  window->FindTrackByName();
  EXPECT_EQ(s().LineCursor, last + 1);
  EXPECT_EQ(s().CurrentLine, ">");
  EXPECT_EQ(s().CharCursor, 1);
}

// --- FindTrackByName ---

struct TrackCase {
  const char* label;
  std::vector<std::string> nameFields;  // the NAME lines of the tracks, in file order
  std::string trackName;
  int expectedTrack;  // index into nameFields, -1: the track message
};
void PrintTo(const TrackCase& c, std::ostream* os) { *os << c.label; }

class TrackSearchTest : public ProjectTest, public ::testing::WithParamInterface<TrackCase> {};

TEST_P(TrackSearchTest, FindsTheFirstNameLineHoldingTheName) {
  const TrackCase& c = GetParam();
  ReaperProject p;
  p.Head();
  std::vector<long> nameLines;
  for (const std::string& field : c.nameFields) {
    nameLines.push_back(p.Track(field));
    p.EndTrack();
  }
  p.Add(">");
  Load(p);
  s().TrackName = c.trackName;
  s().TrackLine = 99;
  window->Testlist.AddItem("alt");
  window->Testlist.SetBackColour(0x123456);
  window->FindTrackByName();
  if (c.expectedTrack >= 0) {
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(s().TrackMissing);
    EXPECT_EQ(s().TrackLine, nameLines[static_cast<size_t>(c.expectedTrack)]);
  } else {
    EXPECT_EQ(Messages(), std::vector<std::string>{"Spur mit Namen " + c.trackName +
                                                   " existiert nicht im Reaperfile Stueck"});
    EXPECT_TRUE(s().TrackMissing);
    EXPECT_EQ(window->Testlist.ListCount(), 0);
    EXPECT_EQ(window->Testlist.backColour(), 0xFFFFFF);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Names, TrackSearchTest,
    ::testing::Values(TrackCase{"Plain", {"R-02", "R-01"}, "R-01", 1},
                      TrackCase{"Quoted", {"\"Spur 2\"", "\"R-01\""}, "R-01", 1},
                      TrackCase{"LongerNameBeforeWins", {"R-011", "R-01"}, "R-01", 0},
                      TrackCase{"OtherCase", {"R-01"}, "r-01", -1},
                      TrackCase{"EmptyNameTakesFirstNameLine", {"R-02", "R-01"}, "", 0},
                      TrackCase{"Cyrillic", {"Сон", "\"Сон (1)\""}, "Сон (1)", 1},
                      TrackCase{"NoSuchTrack", {"R-02"}, "R-01", -1}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ProjectTest, NameBeforeTheWordNameDoesNotCount) {
  ReaperProject p;
  p.Head();
  p.Add("  RENDER_FILE R-01 NAME");  // R-01 stands before "NAME"
  const long track = p.Track("R-01");
  Load(p);
  window->FindTrackByName();
  EXPECT_EQ(s().TrackLine, track);
}

TEST_F(ProjectTest, EmptyProjectShowsTheTrackMessage) {
  LoadText("");
  EXPECT_EQ(s().ProjectLineCount, 0);
  window->FindTrackByName();
  EXPECT_TRUE(s().TrackMissing);
  EXPECT_EQ(Messages(),
            std::vector<std::string>{"Spur mit Namen R-01 existiert nicht im Reaperfile Stueck"});
}

// --- FindVolumeEnvelope and FindPointLines ---

TEST_F(ProjectTest, TrackWithoutEnvelopeTakesTheNextTracksEnvelope) {
  ReaperProject p;
  p.Head();
  p.Track("R-01");
  p.PanEnvelope({"0 0 0", "2 -1 0"});
  p.EndTrack();
  p.Track("R-02");
  const auto env = p.VolumeEnvelope({"0 1 0", "1.5 0.14791084 0", "2 0.14791084 0"});
  p.EndTrack();
  p.Add(">");
  Load(p);
  FindEnvelope();
  EXPECT_EQ(s().EnvelopeLine, env.head);
  EXPECT_EQ(s().FirstPointLine, env.firstPoint);
  EXPECT_EQ(s().LastPointLine, env.lastPoint);
  EXPECT_FALSE(s().EnvelopeMissing);
}

struct BlockEndCase {
  const char* label;
  std::vector<std::string> block;  // the lines after the envelope head
  int firstPoint, lastPoint;       // indices into block
};
void PrintTo(const BlockEndCase& c, std::ostream* os) { *os << c.label; }

class BlockEndTest : public ProjectTest, public ::testing::WithParamInterface<BlockEndCase> {};

TEST_P(BlockEndTest, LastPointIsTheLineBeforeTheFirstLineEndingInGreaterThan) {
  const BlockEndCase& c = GetParam();
  ReaperProject p;
  p.Head();
  p.Track("R-01");
  const long head = p.Add("    <VOLENV2");
  for (const std::string& line : c.block) p.Add(line);
  p.EndTrack();
  p.Add(">");
  Load(p);
  FindEnvelope();
  EXPECT_EQ(s().EnvelopeLine, head);
  EXPECT_EQ(s().FirstPointLine, head + 1 + c.firstPoint);
  EXPECT_EQ(s().LastPointLine, head + 1 + c.lastPoint);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, BlockEndTest,
    ::testing::Values(
        BlockEndCase{
            "IndentedEnd", {"      ACT 1 -1", "      PT 0 1 0", "      PT 3 0.5 0", "   >"}, 1, 2},
        BlockEndCase{
            "EmptyLineDoesNotEnd", {"      PT 0 1 0", "", "      PT 3 0.5 0", "    >"}, 0, 2},
        BlockEndCase{"SelectedPointsInside",
                     {"      PT 0 1 0", "      PT 21 0.11220185 0 0 1", "    >"},
                     0,
                     1}),
    [](const auto& info) { return std::string(info.param.label); });

// The three ways an envelope can be missing, and a good one for contrast.
struct EnvelopeProblemCase {
  const char* label;
  std::string message;  // empty: none
};
void PrintTo(const EnvelopeProblemCase& c, std::ostream* os) { *os << c.label; }

class EnvelopeProblemTest : public ProjectTest,
                            public ::testing::WithParamInterface<EnvelopeProblemCase> {
 protected:
  ReaperProject Project(const std::string& label) {
    ReaperProject p;
    p.Head();
    // A master envelope before the track: "<MASTERVOLENV2" is not "<VOLENV2".
    p.Add("  <MASTERVOLENV2");
    p.Add("    PT 0 1 0");
    p.Add("  >");
    p.Track("R-01");
    if (label == "NoPoints") p.VolumeEnvelope({});
    if (label == "NotClosed") p.VolumeEnvelope({"0 1 0", "4 0.5 0"}, false);
    if (label == "Good") p.VolumeEnvelope({"0 1 0", "4 0.5 0"});
    if (label == "NotClosed") return p;  // the file ends inside the block
    p.PanEnvelope({"0 0 0"});
    p.EndTrack();
    p.Add(">");
    return p;
  }
};

TEST_P(EnvelopeProblemTest, SetsTheFlagAndTheRunReportsIt) {
  const EnvelopeProblemCase& c = GetParam();
  Load(Project(c.label));
  s().FirstPointLine = 5;  // from an earlier run
  s().LastPointLine = 9;
  window->Testliste[1]->AddItem("1.5");
  FindEnvelope();
  EXPECT_TRUE(Messages().empty());  // the searches themselves show nothing
  const bool missing = !c.message.empty();
  EXPECT_EQ(s().EnvelopeMissing, missing);
  if (missing) {
    EXPECT_EQ(s().FirstPointLine, 0);
    EXPECT_EQ(s().LastPointLine, 0);
  }
  window->ReportEnvelopeProblem();
  EXPECT_EQ(Messages(), missing ? std::vector<std::string>{c.message} : std::vector<std::string>{});
  EXPECT_EQ(window->Testliste[1]->ListCount(), missing ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Envelopes, EnvelopeProblemTest,
    ::testing::Values(
        EnvelopeProblemCase{
            "NoEnvelope", "Die Spur R-01 hat keine Lautstärke-Hüllkurve (<VOLENV2) in Stueck.rpp"},
        EnvelopeProblemCase{"NoPoints", "Die Lautstärke-Hüllkurve der Spur R-01 hat keine Punkte"},
        EnvelopeProblemCase{
            "NotClosed",
            "Die Lautstärke-Hüllkurve der Spur R-01 ist nicht abgeschlossen (kein \">\")"},
        EnvelopeProblemCase{"Good", ""}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ProjectTest, PointSearchNeverReadsBeyondTheProjectsLines) {
  ReaperProject whole;
  whole.Head();
  whole.Track("R-01");
  const auto env = whole.VolumeEnvelope(EvenPoints(10));
  whole.EndTrack();
  whole.Add(">");
  Load(whole);
  FindEnvelope();
  ASSERT_EQ(s().LastPointLine, env.lastPoint);
  // The same project cut off inside the envelope: the longer project's lines are still in Zl
  // behind the new last line, with the old envelope end among them.
  std::string cut;
  for (long n = 1; n < env.lastPoint; ++n) cut += whole.lines()[static_cast<size_t>(n - 1)] + "\n";
  LoadText(cut);
  ASSERT_EQ(s().Zl[static_cast<size_t>(env.end)], "    >");
  s().EnvelopeMissing = false;
  FindEnvelope();
  EXPECT_TRUE(s().EnvelopeMissing);
  EXPECT_EQ(s().LastPointLine, 0);
}

TEST_F(ProjectTest, PointSearchWithoutAnyEnvelopeFindsNothingSilently) {
  ReaperProject p;
  p.Head();
  p.Track("R-01");
  p.VolumeEnvelope({"0 1 0", "4 0.5 0"});
  p.EndTrack();
  p.Add(">");
  Load(p);
  ASSERT_EQ(s().EnvelopeLine, 0);  // no envelope searched since start-up
  window->FindPointLines();
  EXPECT_EQ(s().FirstPointLine, 0);
  EXPECT_EQ(s().LastPointLine, 0);
  EXPECT_TRUE(Messages().empty());
}

// --- CollectMarkers ---

TEST_F(ProjectTest, MarkersComeFromTheWholeFileAndATwiceMarkerLineCountsTwice) {
  ReaperProject p;
  p.Head();
  const long m1 = p.Marker(1, "2.5", "440 880");
  const long twice = p.QuotedMarker(2, "7.25", "\"MARKER 2\"");
  p.Track("R-01");
  p.VolumeEnvelope({"0 1 0", "4 0.5 0"});
  const long inTrack = p.Marker(3, "9", "660");  // in another block: found all the same
  p.EndTrack();
  p.Add(">");
  Load(p);
  window->CollectMarkers();
  ASSERT_EQ(s().MarkerCount, 4);
  const auto& lines = p.lines();
  EXPECT_EQ(s().Markerfeld[1], lines[static_cast<size_t>(m1 - 1)]);
  EXPECT_EQ(s().Markerfeld[2], lines[static_cast<size_t>(twice - 1)]);
  EXPECT_EQ(s().Markerfeld[3], lines[static_cast<size_t>(twice - 1)]);
  EXPECT_EQ(s().Markerfeld[4], lines[static_cast<size_t>(inTrack - 1)]);

  // A project without markers leaves none of them.
  ReaperProject none;
  none.Head();
  Load(none);
  window->CollectMarkers();
  EXPECT_EQ(s().MarkerCount, 0);
}

TEST_F(ProjectTest, MarkersBeyondTheTwelveThousandthAreNotStored) {
  ReaperProject p;
  p.Head();
  for (int m = 1; m <= envelope::kMarkerCapacity + 5; ++m) p.Marker(m, std::to_string(m), "440");
  Load(p);
  window->CollectMarkers();
  EXPECT_EQ(s().MarkerCount, envelope::kMarkerCapacity);
  EXPECT_EQ(s().Markerfeld[envelope::kMarkerCapacity],
            p.lines()[envelope::kMarkerCapacity]);  // line 12001
}

// --- Real projects of the corpus (read in place) ---

class CorpusTest : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    ORMILA_REQUIRE_CORPUS();
  }
  void LoadCorpus(const std::string& file, const std::string& name) {
    s().ProjectName = name;
    s().ProjectPath = testing_support::CorpusFolder() + "/rpp/" + file;  // a host path, used as it is
    window->LoadProjectLines();
    ASSERT_FALSE(s().ProjectMissing) << s().ProjectPath;
  }
};

TEST_F(CorpusTest, BikeTourTrackEnvelopeAndItsOneSelectedPoint) {
  LoadCorpus("petebachant_2021-bike-tour__intro_efcb8ba.rpp", "intro");
  EXPECT_EQ(s().ProjectLineCount, 805);  // CR LF lines
  s().TrackName = "Bike";
  FindEnvelope();
  EXPECT_EQ(s().TrackLine, 310);
  EXPECT_EQ(s().Zl[310], "    NAME Bike");
  EXPECT_EQ(s().EnvelopeLine, 332);
  EXPECT_EQ(s().FirstPointLine, 340);
  EXPECT_EQ(s().Zl[340], "      PT 0 1 0");
  EXPECT_EQ(s().LastPointLine, 349);
  EXPECT_EQ(s().Zl[349], "      PT 78 0.00003802 0");
  // Only "PT 21 0.11220185 0 0 1" (line 343) is selected; the pan envelope's selected point
  // lies behind the block.
  window->TakeMarkedPointRange();
  EXPECT_EQ(Messages(), std::vector<std::string>{
                            "Es fehlt die zweite Markierung! Genau zwei Punkte als Anfang und Ende "
                            "markieren!"});
}

TEST_F(CorpusTest, BikeTourTrackWithoutEnvelopeAndTheUnboundedSearch) {
  LoadCorpus("petebachant_2021-bike-tour__intro_efcb8ba.rpp", "intro");
  s().TrackName = "Video";  // the first track has no envelope: Bike's is the next one
  FindEnvelope();
  EXPECT_EQ(s().TrackLine, 93);
  EXPECT_EQ(s().EnvelopeLine, 332);
  s().TrackName = "Geet 1";  // the last track: no "<VOLENV2" behind it
  FindEnvelope();
  EXPECT_EQ(s().TrackLine, 681);
  EXPECT_TRUE(s().EnvelopeMissing);
  window->ReportEnvelopeProblem();
  EXPECT_EQ(Messages(),
            std::vector<std::string>{
                "Die Spur Geet 1 hat keine Lautstärke-Hüllkurve (<VOLENV2) in intro.rpp"});
}

TEST_F(CorpusTest, MasterEnvelopeOnlyProjectWithLfLinesAndRegionMarkers) {
  LoadCorpus("exvertus_reaper-projects__test_track.rpp", "test_track");
  EXPECT_EQ(s().ProjectLineCount, 3687);
  s().TrackName = "Kick";
  FindEnvelope();
  EXPECT_EQ(s().TrackLine, 1686);
  EXPECT_TRUE(s().EnvelopeMissing);  // only <MASTERVOLENV2, on line 91
  window->CollectMarkers();
  ASSERT_EQ(s().MarkerCount, 10);
  EXPECT_EQ(s().Markerfeld[1],
            "  MARKER 2 0 Pickup 1 0 1 R {4280D332-50E9-42B8-9AB1-FF1A9F6394B6}");
  EXPECT_EQ(s().Markerfeld[10], "  MARKER 1 108.75 \"\" 1 0 1 R");
}

TEST_F(CorpusTest, CyrillicTrackNames) {
  LoadCorpus("vovas-music_son__son.RPP", "son");
  s().TrackName = "Сон (1)";
  FindEnvelope();
  EXPECT_EQ(s().TrackLine, 142);
  EXPECT_EQ(s().EnvelopeLine, 165);
  EXPECT_EQ(s().FirstPointLine, 173);
  EXPECT_EQ(s().LastPointLine, 175);
  // "Сон" is also the start of the first track's name "NAME Сон" (line 95), which wins; that
  // track has no envelope of its own.
  s().TrackName = "Сон";
  FindEnvelope();
  EXPECT_EQ(s().TrackLine, 95);
  EXPECT_EQ(s().EnvelopeLine, 165);
  EXPECT_TRUE(Messages().empty());
}

}  // namespace
}  // namespace envelope_test
