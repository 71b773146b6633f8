// ReadToneListLines on tone-list files in a temporary drive root, opened as file number 1.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/drive_map.h"
#include "platform/file_table.h"
#include "tonelist/temp_drive_root.h"
#include "tonelist/tone_list.h"
#include "tonelist/tone_list_support.h"

namespace {

using testing_support::ErrorOf;
using testing_support::FreshState;
using tonelist::ToneListState;
using tonelist::ToneValue;

constexpr const char* kPath = "C:\\Arbeit\\Tesu.rsz";

class ReaderTest : public ::testing::Test {
 protected:
  // Writes the bytes as C:\Arbeit\Tesu.rsz and opens it as file 1.
  void Open(std::string_view bytes) {
    drive.Write("Tesu.rsz", bytes);
    files.OpenInput(tonelist::kToneListFile, kPath);
  }
  // The bytes as a new C:\Arbeit\Tesu.rsz, read by ReadToneListLines into a fresh state.
  ToneListState Read(std::string_view bytes) {
    ToneListState s = FreshState(10);
    files.Close(tonelist::kToneListFile);
    Open(bytes);
    tonelist::ReadToneListLines(s, files);
    return s;
  }
  std::vector<std::string> Lines(const ToneListState& s) const {
    return {s.ToneListLines.begin() + 1, s.ToneListLines.begin() + 1 + s.LineCount};
  }

  testing_support::TempDriveRoot drive;
  platform::DriveMap drives{drive.root()};
  platform::FileTable files{drives};
};

TEST_F(ReaderTest, LineEnds) {
  const struct {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
  } cases[] = {
      {"CR LF", "ZP 1\r\nHT 2\r\n", {"ZP 1", "HT 2"}},
      {"CR", "ZP 1\rHT 2\r", {"ZP 1", "HT 2"}},
      {"LF", "ZP 1\nHT 2\n", {"ZP 1", "HT 2"}},
      {"no end after the last line", "ZP 1\nHT 2", {"ZP 1", "HT 2"}},
      {"empty lines", "a\r\n\r\n\n\rb\r\n", {"a", "", "", "", "b"}},
      {"Windows-1252 text", "; Tonh\xF6he \x80\r\n", {"; Tonhöhe €"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ToneListState s = Read(c.bytes);
    EXPECT_EQ(Lines(s), c.lines);
    EXPECT_EQ(s.LineIndex, static_cast<int>(c.lines.size()));
    EXPECT_TRUE(files.Eof(tonelist::kToneListFile));
  }
}

// A list written with a Linux editor (LF) or with CR alone parses as one with CR LF.
TEST_F(ReaderTest, ListWithAnyLineEndParses) {
  for (const char* end : {"\r\n", "\n", "\r"}) {
    SCOPED_TRACE(testing::PrintToString(std::string(end)));
    const std::string text = std::string("; Liste") + end + "ZP 0 1.5" + end + "HT 220 330" + end +
                             "LT 0 0" + end + "LTF 2" + end;
    ToneListState s = Read(text);
    tonelist::ParseToneList(s);
    EXPECT_EQ(s.LineCount, 5);
    EXPECT_EQ(s.PointCount, 2);
    EXPECT_EQ(s.TimePoints[2], 1.5f);
    EXPECT_EQ(s.Pitches[2], ToneValue::Text("330"));
    EXPECT_EQ(s.Loudnesses[2], ToneValue::Integer(0));
    EXPECT_EQ(s.ListLtf, ToneValue::Text("2"));
  }
}

// The sample path is taken in the form its bytes have: UTF-8 (a folder named in another script,
// as a Linux editor or Ormila writes it) when they are valid UTF-8, else Windows-1252; also in a
// list whose other lines are Windows-1252.
TEST_F(ReaderTest, SamplePathInUtf8OrWindows1252) {
  const struct {
    const char* name;
    std::string bytes;
    std::string sampleFile;
  } cases[] = {
      {"UTF-8, Cyrillic", "ZP 0 1\r\nSMP C:\\Звуки\\Колокол.wav\r\n", "C:\\Звуки\\Колокол.wav"},
      {"UTF-8, umlaut", "; Hüllkurve\r\nSMP C:\\Klänge\\a.wav \r\n", "C:\\Klänge\\a.wav "},
      {"Windows-1252, umlaut", "; H\xFCllkurve\r\nSMP C:\\Kl\xE4nge\\a.wav\r\n",
       "C:\\Klänge\\a.wav"},
      {"UTF-8 after a Windows-1252 line", "; H\xFCllkurve\r\nSMP C:\\Звуки\\a.wav\r\n",
       "C:\\Звуки\\a.wav"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ToneListState s = Read(c.bytes);
    tonelist::ParseToneList(s);
    EXPECT_EQ(s.SampleFile, c.sampleFile);
  }
}

TEST_F(ReaderTest, ReadsOnlyTheRemainingLines) {
  Open("Kopf\r\nZP 1\r\nHT 2\r\n");
  files.LineInput(tonelist::kToneListFile);
  ToneListState s = FreshState(10);
  tonelist::ReadToneListLines(s, files);
  EXPECT_EQ(Lines(s), (std::vector<std::string>{"ZP 1", "HT 2"}));
}

TEST_F(ReaderTest, EmptyFileLeavesLineCount) {
  Open("");
  ToneListState s = FreshState(10);
  s.LineCount = 7;
  s.LineIndex = 3;
  tonelist::ReadToneListLines(s, files);
  EXPECT_EQ(s.LineCount, 7);
  EXPECT_EQ(s.LineIndex, 0);
}

TEST_F(ReaderTest, AtMostPointCapacityLines) {
  const struct {
    int lines;
    int error;
  } cases[] = {{3, 0}, {4, 9}, {6, 9}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.lines) + " lines");
    std::string text;
    for (int i = 1; i <= c.lines; ++i) text += "Zeile " + std::to_string(i) + "\r\n";
    ToneListState s = FreshState(3);
    files.Close(tonelist::kToneListFile);
    Open(text);
    EXPECT_EQ(ErrorOf([&] { tonelist::ReadToneListLines(s, files); }), c.error);
    EXPECT_EQ(s.LineCount, 3);
    EXPECT_EQ(s.ToneListLines[3], "Zeile 3");
  }
}

}  // namespace
