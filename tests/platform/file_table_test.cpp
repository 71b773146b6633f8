#include "platform/file_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sched.h>
#include <csignal>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "common/codec.h"
#include "common/errors.h"
#include "platform/drive_map.h"
#include "temp_drive_root.h"
#include "write_faults.h"

namespace platform {
namespace {

using platform_test::ErrorOf;
using platform_test::TempDriveRoot;
namespace fs = std::filesystem;

class FileTableTest : public testing::Test {
 protected:
  FileTableTest() : drives_(root_.root()), files_(drives_) { root_.MakeFolder("c/Arbeit"); }

  // Reads every line of the open file `number` until the end.
  std::vector<std::string> ReadAll(int number) {
    std::vector<std::string> lines;
    while (!files_.Eof(number)) lines.push_back(files_.LineInput(number));
    return lines;
  }

  TempDriveRoot root_;
  DriveMap drives_;
  FileTable files_;
};

// ---------------------------------------------------------------------------------------------
// Reading lines

struct LinesCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;
};

class LineEndings : public FileTableTest, public testing::WithParamInterface<LinesCase> {};

TEST_P(LineEndings, ReadsTheLines) {
  root_.Write("c/Arbeit/Tesu.rsz", GetParam().bytes);
  files_.OpenInput(1, "C:\\Arbeit\\Tesu.rsz");
  EXPECT_EQ(ReadAll(1), GetParam().lines);
  EXPECT_TRUE(files_.Eof(1));
  EXPECT_EQ(ErrorOf([&] { files_.LineInput(1); }), common::kInputPastEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineEndings,
    testing::Values(
        LinesCase{"CrLf", "ZP 0 1\r\nHT 440\r\n", {"ZP 0 1", "HT 440"}},
        LinesCase{"LoneCr", "ZP 0 1\rHT 440\r", {"ZP 0 1", "HT 440"}},
        LinesCase{"LoneLf", "ZP 0 1\nHT 440\n", {"ZP 0 1", "HT 440"}},
        LinesCase{"Mixed", "a\r\nb\rc\nd\r\n", {"a", "b", "c", "d"}},
        LinesCase{"LastLineWithoutEnding", "a\r\nb", {"a", "b"}},
        LinesCase{"OneLineWithoutEnding", "a", {"a"}},
        LinesCase{"EmptyLinesKept", "a\r\n\r\n\r\nb\r\n", {"a", "", "", "b"}},
        LinesCase{"EmptyLinesLf", "\n\na\n\n", {"", "", "a", ""}},
        LinesCase{"LfThenCrAreTwoEndings", "a\n\rb", {"a", "", "b"}},
        LinesCase{"CrCrLf", "a\r\r\nb", {"a", "", "b"}},
        LinesCase{"OnlyAnEnding", "\r\n", {""}},
        LinesCase{"EmptyFile", "", {}},
        LinesCase{"BlanksAndTabsKept", "  a\t \r\n", {"  a\t "}},
        LinesCase{"Cp1252Umlauts", "Dateinamenz\xE4hler\r\n\x80 5", {"Dateinamenz\xC3\xA4hler",
                                                                      "\xE2\x82\xAC 5"}}),
    [](const testing::TestParamInfo<LinesCase>& info) { return std::string(info.param.name); });

// The whole text taken in one piece splits into the lines LineInput reads.
TEST_P(LineEndings, InputRestSplitsIntoTheSameLines) {
  root_.Write("c/Arbeit/Tesu.rsz", GetParam().bytes);
  files_.OpenInput(1, "C:\\Arbeit\\Tesu.rsz");
  const std::string text = files_.InputRest(1);
  std::vector<std::string> lines;
  for (LineScanner scanner(text); !scanner.AtEnd();) lines.emplace_back(scanner.Next());
  EXPECT_EQ(lines, GetParam().lines);
  EXPECT_TRUE(files_.Eof(1));
  EXPECT_EQ(ErrorOf([&] { files_.LineInput(1); }), common::kInputPastEnd);
  EXPECT_EQ(files_.InputRest(1), "");
}

TEST_F(FileTableTest, MixedCaseWindowsPathsReachTheSameFile) {
  root_.Write("c/Arbeit/Tesu.rsz", "eins\r\n");
  files_.OpenInput(1, "c:\\arbeit\\TESU.rsz");
  files_.OpenInput(2, "C:\\Arbeit\\Tesu.rsz");
  EXPECT_EQ(files_.LineInput(1), "eins");
  EXPECT_EQ(files_.LineInput(2), "eins");
}

TEST_F(FileTableTest, Utf8OrCp1252DecidesForTheWholeFile) {
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      // valid UTF-8 (a leading byte-order mark dropped)
      {"\xEF\xBB\xBF" "Gr\xC3\xBC\xC3\x9F" "e\r\n\xD0\x96\r\n", {"Gr\xC3\xBC\xC3\x9F" "e", "\xD0\x96"}},
      {"a\r\n\xC3\xA4\r\n", {"a", "\xC3\xA4"}},
      // not valid UTF-8: every line is Windows-1252, also one that alone would be valid UTF-8
      {"\xC3\xA4\r\n\xE4\r\n", {"\xC3\x83\xC2\xA4", "\xC3\xA4"}},
      {"\xE4\r\n\xC3\xA4\r\n", {"\xC3\xA4", "\xC3\x83\xC2\xA4"}},
  };
  for (const Case& c : cases) {
    root_.Write("c/Arbeit/Projekt.RPP", c.bytes);
    files_.OpenInput(7, "C:\\Arbeit\\Projekt.RPP", Encoding::Utf8OrCp1252);
    EXPECT_EQ(ReadAll(7), c.lines) << c.bytes;
    files_.Close(7);
  }
}

TEST_F(FileTableTest, InputRestIsTheDecodedTextFromTheCurrentLineOn) {
  struct Case {
    const char* label;
    std::string bytes;
    int linesReadFirst;
    std::string rest;
  };
  const Case cases[] = {
      {"WholeUtf8WithoutItsByteOrderMark", "\xEF\xBB\xBF" "a\r\n\xD0\x96\n", 0, "a\r\n\xD0\x96\n"},
      {"Utf8AfterOneLine", "\xEF\xBB\xBF" "a\r\n\xD0\x96\n", 1, "\xD0\x96\n"},
      {"Cp1252Decoded", "a\rGer\xE4usch\r\n", 1, "Ger\xC3\xA4usch\r\n"},
      {"AtTheEnd", "a\n", 1, ""},
  };
  for (const Case& c : cases) {
    root_.Write("c/Arbeit/Projekt.rpp", c.bytes);
    files_.OpenInput(6, "C:\\Arbeit\\Projekt.rpp", Encoding::Utf8OrCp1252);
    for (int k = 0; k < c.linesReadFirst; ++k) files_.LineInput(6);
    EXPECT_EQ(files_.InputRest(6), c.rest) << c.label;
    EXPECT_TRUE(files_.Eof(6)) << c.label;
    files_.Close(6);
  }
  files_.OpenOutput(2, "C:\\Arbeit\\aus.txt");
  EXPECT_EQ(ErrorOf([&] { files_.InputRest(5); }), common::kBadFileNameOrNumber);
  EXPECT_EQ(ErrorOf([&] { files_.InputRest(2); }), common::kBadFileMode);
}

TEST_F(FileTableTest, Cp1252FileKeepsEveryByte) {
  std::string bytes;
  for (int b = 1; b < 256; ++b)
    if (b != '\r' && b != '\n') bytes += static_cast<char>(b);
  root_.Write("c/Arbeit/alle.txt", bytes + "\r\n");
  files_.OpenInput(1, "C:\\Arbeit\\alle.txt");
  std::string line = files_.LineInput(1);
  files_.Close(1);
  files_.OpenOutput(2, "C:\\Arbeit\\zurueck.txt");
  files_.Print(2, line);
  files_.Close(2);
  EXPECT_EQ(root_.Read("c/Arbeit/zurueck.txt"), bytes + "\r\n");
}

// ---------------------------------------------------------------------------------------------
// Errors of opening and reading

TEST_F(FileTableTest, OpeningErrors) {
  root_.Write("c/Arbeit/Tesu.rsz", "x\r\n");
  struct Case {
    const char* name;
    std::function<void()> open;
    int error;
  };
  const Case cases[] = {
      {"input, missing file", [&] { files_.OpenInput(3, "C:\\Arbeit\\Fehlt.rsz"); },
       common::kFileNotFound},
      {"input, missing folder", [&] { files_.OpenInput(3, "C:\\Fehlt\\Tesu.rsz"); },
       common::kPathNotFound},
      {"input, missing drive", [&] { files_.OpenInput(3, "Q:\\Tesu.rsz"); },
       common::kPathNotFound},
      {"output, missing folder", [&] { files_.OpenOutput(3, "C:\\Fehlt\\x.sco"); },
       common::kPathNotFound},
      {"append, missing folder", [&] { files_.OpenAppend(3, "C:\\Fehlt\\x.txt"); },
       common::kPathNotFound},
      {"replacing, missing folder", [&] { files_.OpenOutputReplacing(3, "C:\\Fehlt\\x"); },
       common::kPathNotFound},
      {"input, a folder", [&] { files_.OpenInput(3, "C:\\Arbeit"); },
       common::kPathFileAccessError},
      {"output, a folder", [&] { files_.OpenOutput(3, "C:\\Arbeit"); },
       common::kPathFileAccessError},
      // A FIFO would block the reader, a device would never end: neither is read.
      {"input, a FIFO", [&] { files_.OpenInput(3, "C:\\Arbeit\\Fifo.rsz"); },
       common::kPathFileAccessError},
      {"input, a device", [&] { files_.OpenInput(3, "/dev/zero"); },
       common::kPathFileAccessError},
  };
  ASSERT_EQ(::mkfifo((root_.root() / "c/Arbeit/Fifo.rsz").c_str(), 0600), 0);
  for (const Case& c : cases) {
    EXPECT_EQ(ErrorOf(c.open), c.error) << c.name;
    EXPECT_FALSE(files_.IsOpen(3)) << c.name;
  }
}

TEST_F(FileTableTest, OpeningAnOpenNumberIsError55) {
  root_.Write("c/Arbeit/Tesu.rsz", "eins\r\nzwei\r\n");
  files_.OpenInput(1, "C:\\Arbeit\\Tesu.rsz");
  EXPECT_EQ(files_.LineInput(1), "eins");
  const std::function<void()> opens[] = {
      [&] { files_.OpenInput(1, "C:\\Arbeit\\Tesu.rsz"); },
      [&] { files_.OpenOutput(1, "C:\\Arbeit\\neu.txt"); },
      [&] { files_.OpenAppend(1, "C:\\Arbeit\\neu.txt"); },
      [&] { files_.OpenOutputReplacing(1, "C:\\Arbeit\\neu.txt"); },
      // already open is told before the missing file
      [&] { files_.OpenInput(1, "C:\\Arbeit\\Fehlt.rsz"); },
  };
  for (const auto& open : opens) EXPECT_EQ(ErrorOf(open), common::kFileAlreadyOpen);
  // the file stays open under its number, where it was
  EXPECT_TRUE(files_.IsOpen(1));
  EXPECT_EQ(files_.LineInput(1), "zwei");
  EXPECT_FALSE(fs::exists(root_ / "c/Arbeit/neu.txt"));
}

TEST_F(FileTableTest, AFileLeftOpenByAFailingStepStaysOpen) {
  root_.Write("c/Arbeit/Tesu.rsz", "eins\r\n");
  files_.OpenInput(1, "C:\\Arbeit\\Tesu.rsz");
  files_.LineInput(1);
  EXPECT_EQ(ErrorOf([&] { files_.LineInput(1); }), common::kInputPastEnd);
  EXPECT_TRUE(files_.IsOpen(1));
  // the second failure: the number is still taken
  EXPECT_EQ(ErrorOf([&] { files_.OpenInput(1, "C:\\Arbeit\\Tesu.rsz"); }),
            common::kFileAlreadyOpen);
  files_.Close(1);
  EXPECT_FALSE(files_.IsOpen(1));
  files_.OpenInput(1, "C:\\Arbeit\\Tesu.rsz");
  EXPECT_EQ(files_.LineInput(1), "eins");
}

TEST_F(FileTableTest, WrongNumberOrMode) {
  root_.Write("c/Arbeit/Tesu.rsz", "x\r\n");
  files_.OpenInput(1, "C:\\Arbeit\\Tesu.rsz");
  files_.OpenOutput(2, "C:\\Arbeit\\aus.txt");
  EXPECT_EQ(ErrorOf([&] { files_.LineInput(5); }), common::kBadFileNameOrNumber);
  EXPECT_EQ(ErrorOf([&] { files_.Print(5, "x"); }), common::kBadFileNameOrNumber);
  EXPECT_EQ(ErrorOf([&] { files_.Eof(5); }), common::kBadFileNameOrNumber);
  EXPECT_EQ(ErrorOf([&] { files_.LineInput(2); }), common::kBadFileMode);
  EXPECT_EQ(ErrorOf([&] { files_.Print(1, "x"); }), common::kBadFileMode);
  // closing a number that is not open does nothing
  EXPECT_EQ(ErrorOf([&] { files_.Close(5); }), 0);
  EXPECT_TRUE(files_.IsOpen(1));
  EXPECT_TRUE(files_.IsOpen(2));
}

TEST_F(FileTableTest, EofOfAnEmptyFileAtOnce) {
  root_.Write("c/Arbeit/leer.txt", "");
  files_.OpenInput(1, "C:\\Arbeit\\leer.txt");
  EXPECT_TRUE(files_.Eof(1));
  EXPECT_EQ(ErrorOf([&] { files_.LineInput(1); }), common::kInputPastEnd);
}

// ---------------------------------------------------------------------------------------------
// Writing

TEST_F(FileTableTest, PrintWritesCrLfAndWindows1252) {
  files_.OpenOutput(2, "c:\\arbeit\\Dozudava.sco");
  files_.Print(2, "; H\xC3\xA4rte");          // "Härte"
  files_.Print(2, "");
  files_.Print(2, "\xE2\x82\xAC \xD0\x96");  // euro sign kept, Cyrillic Zhe lost
  files_.Print(2, " e");
  files_.Close(2);
  EXPECT_EQ(root_.Read("c/Arbeit/Dozudava.sco"), "; H\xE4rte\r\n\r\n\x80 ?\r\n e\r\n");
}

TEST_F(FileTableTest, Utf8OrCp1252OutputIsWindows1252WhenEveryCharacterFitsElseUtf8) {
  struct Case {
    std::vector<std::string> lines;
    std::string bytes;
  };
  const Case cases[] = {
      // umlauts and the euro sign have a place in Windows-1252: the file is written as always
      {{"H\xC3\xBCllkurve", "\xE2\x82\xAC"}, "H\xFCllkurve\r\n\x80\r\n"},
      {{"Glissando", ""}, "Glissando\r\n\r\n"},
      // one Cyrillic name makes the whole file UTF-8, umlauts of other lines included
      {{"\xD0\x93\xD0\xBB\xD0\xB8\xD1\x81\xD1\x81", "M\xC3\xBCller"},
       "\xD0\x93\xD0\xBB\xD0\xB8\xD1\x81\xD1\x81\r\nM\xC3\xBCller\r\n"},
  };
  for (const Case& c : cases) {
    files_.OpenOutputReplacing(3, "C:\\Arbeit\\Tesu.ini", Encoding::Utf8OrCp1252);
    for (const std::string& line : c.lines) files_.Print(3, line);
    files_.Close(3);
    EXPECT_EQ(root_.Read("c/Arbeit/Tesu.ini"), c.bytes);
    // and read back the same way, whichever code was chosen
    files_.OpenInput(3, "C:\\Arbeit\\Tesu.ini", Encoding::Utf8OrCp1252);
    EXPECT_EQ(ReadAll(3), c.lines);
    files_.Close(3);
  }
}

TEST_F(FileTableTest, OutputReplacesAndAppendAdds) {
  root_.Write("c/Arbeit/log.txt", "alt\r\n");
  files_.OpenAppend(4, "C:\\Arbeit\\log.txt");
  files_.Print(4, "neu");
  files_.Close(4);
  EXPECT_EQ(root_.Read("c/Arbeit/log.txt"), "alt\r\nneu\r\n");
  files_.OpenOutput(4, "C:\\Arbeit\\log.txt");
  files_.Print(4, "nur");
  files_.Close(4);
  EXPECT_EQ(root_.Read("c/Arbeit/log.txt"), "nur\r\n");
  // append to a file that does not exist yet creates it, with the given name
  files_.OpenAppend(4, "C:\\ARBEIT\\Neu.log");
  files_.Print(4, "erste");
  files_.Close(4);
  EXPECT_EQ(root_.Read("c/Arbeit/Neu.log"), "erste\r\n");
}

TEST_F(FileTableTest, OutputToAnExistingFileInAnotherSpelling) {
  root_.Write("c/Arbeit/Tesu.ini", "alt\r\n");
  files_.OpenOutput(9, "C:\\ARBEIT\\TESU.INI");
  files_.Print(9, "neu");
  files_.Close(9);
  EXPECT_EQ(root_.Read("c/Arbeit/Tesu.ini"), "neu\r\n");
  EXPECT_FALSE(fs::exists(root_ / "c/Arbeit/TESU.INI"));
}

TEST_F(FileTableTest, ReplacingOutputLeavesTheOldFileWholeUntilClose) {
  root_.Write("c/Arbeit/Tesu.ini", "alt1\r\nalt2\r\n");
  files_.OpenOutputReplacing(3, "C:\\Arbeit\\Tesu.ini");
  files_.Print(3, "neu1");
  EXPECT_EQ(root_.Read("c/Arbeit/Tesu.ini"), "alt1\r\nalt2\r\n");
  // a reader sees the old file while the new one is written
  files_.OpenInput(4, "C:\\Arbeit\\Tesu.ini");
  EXPECT_EQ(files_.LineInput(4), "alt1");
  files_.Close(4);
  files_.Close(3);
  EXPECT_EQ(root_.Read("c/Arbeit/Tesu.ini"), "neu1\r\n");
  // nothing else is left in the folder
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(root_ / "c/Arbeit"))
    names.push_back(entry.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"Tesu.ini"});
}

TEST_F(FileTableTest, ReplacingOutputNeverClosedLeavesTheOldFile) {
  root_.Write("c/Arbeit/Dozudava.sco", "alt\r\n");
  {
    FileTable table(drives_);
    table.OpenOutputReplacing(2, "C:\\Arbeit\\Dozudava.sco");
    table.Print(2, "halb geschrieben");
  }  // the step failed and the program ended with the file open
  EXPECT_EQ(root_.Read("c/Arbeit/Dozudava.sco"), "alt\r\n");
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(root_ / "c/Arbeit"))
    names.push_back(entry.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"Dozudava.sco"});
}

// The names in the folder, sorted.
std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(FileTableTest, HeldFilesArePutInPlaceTogetherOrNotAtAll) {
  root_.Write("c/Arbeit/cs06b.bat", "alte Batch\r\n");
  root_.Write("c/Arbeit/Dozudava.orc", "altes Orchester\r\n");
  auto writeBoth = [&] {
    files_.OpenOutputReplacing(4, "C:\\Arbeit\\cs06b.bat");
    files_.Print(4, "neue Batch");
    files_.CloseHeld(4);
    files_.OpenOutputReplacing(3, "C:\\Arbeit\\Dozudava.orc");
    files_.Print(3, "neues Orchester");
    files_.CloseHeld(3);
  };
  writeBoth();
  EXPECT_FALSE(files_.IsOpen(3));
  EXPECT_EQ(root_.Read("c/Arbeit/cs06b.bat"), "alte Batch\r\n");
  files_.DropHeld();
  EXPECT_EQ(Names(root_ / "c/Arbeit"), (std::vector<std::string>{"Dozudava.orc", "cs06b.bat"}));
  EXPECT_EQ(root_.Read("c/Arbeit/Dozudava.orc"), "altes Orchester\r\n");

  // The orchestra cannot be put in place after the batch: the batch gets its old text back.
  writeBoth();
  SetWriteFaults(testing_support::FailAt(WriteStage::Rename,
                                         (root_ / "c/Arbeit/Dozudava.orc").string(), ENOSPC));
  EXPECT_EQ(ErrorOf([&] { files_.PutHeldInPlace(); }), common::kDiskFull);
  SetWriteFaults({});
  EXPECT_EQ(root_.Read("c/Arbeit/cs06b.bat"), "alte Batch\r\n");
  EXPECT_EQ(root_.Read("c/Arbeit/Dozudava.orc"), "altes Orchester\r\n");
  EXPECT_EQ(Names(root_ / "c/Arbeit"), (std::vector<std::string>{"Dozudava.orc", "cs06b.bat"}));

  writeBoth();
  files_.PutHeldInPlace();
  EXPECT_EQ(root_.Read("c/Arbeit/cs06b.bat"), "neue Batch\r\n");
  EXPECT_EQ(root_.Read("c/Arbeit/Dozudava.orc"), "neues Orchester\r\n");
  EXPECT_EQ(Names(root_ / "c/Arbeit"), (std::vector<std::string>{"Dozudava.orc", "cs06b.bat"}));

  // Held files of a table that ends without putting them in place are dropped.
  {
    FileTable table(drives_);
    table.OpenOutputReplacing(4, "C:\\Arbeit\\cs06b.bat");
    table.Print(4, "dritte Batch");
    table.CloseHeld(4);
  }
  EXPECT_EQ(root_.Read("c/Arbeit/cs06b.bat"), "neue Batch\r\n");
  EXPECT_EQ(Names(root_ / "c/Arbeit"), (std::vector<std::string>{"Dozudava.orc", "cs06b.bat"}));
}

TEST_F(FileTableTest, AbandonedReplacingOutputLeavesTheOldFileAndFreesTheNumber) {
  root_.Write("c/Arbeit/Zufall.rsz", "alt\r\n");
  files_.OpenOutputReplacing(7, "C:\\Arbeit\\Zufall.rsz");
  files_.Print(7, "halb geschrieben");
  files_.Discard(7);
  EXPECT_FALSE(files_.IsOpen(7));
  EXPECT_EQ(root_.Read("c/Arbeit/Zufall.rsz"), "alt\r\n");
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(root_ / "c/Arbeit"))
    names.push_back(entry.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"Zufall.rsz"});
  // a plain output that is abandoned keeps what was written; a number not open is ignored
  files_.OpenOutput(7, "C:\\Arbeit\\a.txt");
  files_.Print(7, "a");
  files_.Discard(7);
  files_.Discard(7);
  EXPECT_EQ(root_.Read("c/Arbeit/a.txt"), "a\r\n");
}

TEST_F(FileTableTest, ReplacingOutputCreatesAMissingFile) {
  files_.OpenOutputReplacing(3, "C:\\Arbeit\\Neu.ini");
  files_.Print(3, "x");
  EXPECT_FALSE(fs::exists(root_ / "c/Arbeit/Neu.ini"));
  files_.Close(3);
  EXPECT_EQ(root_.Read("c/Arbeit/Neu.ini"), "x\r\n");
}

TEST_F(FileTableTest, CloseAllClosesEveryNumber) {
  root_.Write("c/Arbeit/Tesu.rsz", "x\r\n");
  files_.OpenInput(1, "C:\\Arbeit\\Tesu.rsz");
  files_.OpenOutput(2, "C:\\Arbeit\\a.txt");
  files_.Print(2, "a");
  files_.CloseAll();
  EXPECT_FALSE(files_.IsOpen(1));
  EXPECT_FALSE(files_.IsOpen(2));
  EXPECT_EQ(root_.Read("c/Arbeit/a.txt"), "a\r\n");
}

TEST(FileTable, DestroyingTheTableWritesItsOpenFiles) {
  TempDriveRoot root;
  root.MakeFolder("c/Arbeit");
  DriveMap drives(root.root());
  {
    FileTable files(drives);
    files.OpenOutput(2, "C:\\Arbeit\\a.txt");
    files.Print(2, "a");
  }
  EXPECT_EQ(root.Read("c/Arbeit/a.txt"), "a\r\n");
}

// ---------------------------------------------------------------------------------------------
// Functions on the process drive map

class ProcessDrivesTest : public testing::Test {
 protected:
  ProcessDrivesTest() {
    SetDrives(DriveMap(root_.root()));
    root_.MakeFolder("c/Arbeit");
  }
  TempDriveRoot root_;
};

TEST_F(ProcessDrivesTest, CopyFile) {
  root_.Write("c/Arbeit/Grundtext1.RPP", "a\r\n\xE4\r\n");
  CopyFile("c:\\arbeit\\grundtext1.rpp", "C:\\Arbeit\\Kopie.RPP");
  EXPECT_EQ(root_.Read("c/Arbeit/Kopie.RPP"), "a\r\n\xE4\r\n");
  // an existing target is overwritten
  root_.Write("c/Arbeit/Ziel.RPP", "alt, und l\xE4nger als die Quelle\r\n");
  CopyFile("C:\\Arbeit\\Grundtext1.RPP", "C:\\Arbeit\\ziel.rpp");
  EXPECT_EQ(root_.Read("c/Arbeit/Ziel.RPP"), "a\r\n\xE4\r\n");
}

// A copy of a write-protected source (from a CD, an archive, a read-only share) has the source's
// bits and its owner's write bit: the next copy onto it is not refused, and keeps its mode.
TEST_F(ProcessDrivesTest, ACopyOfAWriteProtectedSourceIsWritableByItsOwner) {
  const struct {
    const char* source;
    fs::perms mode;
  } cases[] = {{"Geige.wav", fs::perms(0444)}, {"Cello.wav", fs::perms(0400)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    fs::remove(root_ / "c/Arbeit/Samp100.wav");
    for (const std::string source : {"erste", "zweite"}) {
      root_.Write("d/" + source + "/" + c.source, source);
      fs::permissions(root_ / ("d/" + source + "/" + c.source), c.mode);
      EXPECT_EQ(ErrorOf([&] {
                  CopyFile("D:\\" + source + "\\" + c.source, "C:\\Arbeit\\Samp100.wav");
                }),
                0)
          << source;
      EXPECT_EQ(root_.Read("c/Arbeit/Samp100.wav"), source);
      EXPECT_EQ(fs::status(root_ / "c/Arbeit/Samp100.wav").permissions(),
                c.mode | fs::perms::owner_write)
          << source;
    }
  }
}

TEST_F(ProcessDrivesTest, CopyFileOntoItselfKeepsTheFile) {
  root_.Write("c/Arbeit/Samp100.wav", "RIFF....WAVE");
  for (const char* target : {"c:\\Arbeit\\Samp100.wav", "C:\\ARBEIT\\samp100.WAV"}) {
    EXPECT_EQ(ErrorOf([&] { CopyFile("C:\\Arbeit\\Samp100.wav", target); }), 0) << target;
    EXPECT_EQ(root_.Read("c/Arbeit/Samp100.wav"), "RIFF....WAVE") << target;
  }
}

TEST_F(ProcessDrivesTest, CopyFileErrors) {
  root_.Write("c/Arbeit/Quelle.txt", "x");
  const struct {
    const char* source;
    const char* target;
    int error;
  } cases[] = {
      {"C:\\Arbeit\\Fehlt.txt", "C:\\Arbeit\\Ziel.txt", common::kFileNotFound},
      {"C:\\Fehlt\\Quelle.txt", "C:\\Arbeit\\Ziel.txt", common::kPathNotFound},
      {"C:\\Arbeit\\Quelle.txt", "C:\\Fehlt\\Ziel.txt", common::kPathNotFound},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ErrorOf([&] { CopyFile(c.source, c.target); }), c.error) << c.source << c.target;
  EXPECT_FALSE(fs::exists(root_ / "c/Arbeit/Ziel.txt"));
}

TEST_F(ProcessDrivesTest, FileExistsAndReadWholeFile) {
  root_.Write("c/Arbeit/Info.txt", "Zeile 1\r\nGr\xFC\xDF" "e\r\n");
  EXPECT_TRUE(FileExists("c:\\ARBEIT\\info.TXT"));
  EXPECT_FALSE(FileExists("C:\\Arbeit\\Fehlt.txt"));
  EXPECT_FALSE(FileExists("C:\\Arbeit"));
  EXPECT_EQ(ReadWholeFile("C:\\Arbeit\\info.txt"), "Zeile 1\r\nGr\xC3\xBC\xC3\x9F" "e\r\n");
  EXPECT_EQ(ErrorOf([] { ReadWholeFile("C:\\Arbeit\\Fehlt.txt"); }), common::kFileNotFound);
}

TEST_F(ProcessDrivesTest, ATableMadeEarlierFollowsTheProcessMap) {
  FileTable files;  // uses the process drive map
  TempDriveRoot other;
  other.Write("c/Arbeit/Tesu.rsz", "anderer Stamm\r\n");
  SetDrives(DriveMap(other.root()));
  files.OpenInput(1, "C:\\Arbeit\\Tesu.rsz");
  EXPECT_EQ(files.LineInput(1), "anderer Stamm");
}

TEST_F(ProcessDrivesTest, ChangeFolder) {
  const fs::path before = fs::current_path();
  root_.MakeFolder("c/Arbeit/VB");
  ChangeFolder("c:\\arbeit\\vb\\");
  EXPECT_EQ(CurrentFolder(), "c:\\arbeit\\vb\\");
  EXPECT_TRUE(fs::equivalent(fs::current_path(), root_ / "c/Arbeit/VB"));
  EXPECT_EQ(ErrorOf([] { ChangeFolder("C:\\Fehlt\\"); }), common::kPathNotFound);
  EXPECT_EQ(CurrentFolder(), "c:\\arbeit\\vb\\");
  fs::current_path(before);
}

// ---------------------------------------------------------------------------------------------
// Free numbers, discarding, and copies put in place

TEST_F(FileTableTest, FreeFileIsTheLowestNumberNotInUse) {
  EXPECT_EQ(files_.FreeFile(), 1);
  files_.OpenOutput(1, "C:\\Arbeit\\a.txt");
  files_.OpenOutput(2, "C:\\Arbeit\\b.txt");
  files_.OpenOutput(4, "C:\\Arbeit\\c.txt");
  EXPECT_EQ(files_.FreeFile(), 3);
  files_.Close(1);
  EXPECT_EQ(files_.FreeFile(), 1);
}

TEST_F(FileTableTest, DiscardDropsAReplacingOutputAndClosesTheOthers) {
  root_.Write("c/Arbeit/Kopie.rpp", "alt\r\n");
  root_.Write("c/Arbeit/mix.txt", "a\r\n");
  files_.OpenOutputReplacing(1, "C:\\Arbeit\\Kopie.rpp");
  files_.Print(1, "halb");
  files_.OpenAppend(2, "C:\\Arbeit\\mix.txt");
  files_.Print(2, "b");
  files_.OpenInput(3, "C:\\Arbeit\\mix.txt");
  for (int number : {1, 2, 3, 4}) files_.Discard(number);  // 4 is not open: nothing
  for (int number : {1, 2, 3}) EXPECT_FALSE(files_.IsOpen(number)) << number;
  EXPECT_EQ(root_.Read("c/Arbeit/Kopie.rpp"), "alt\r\n");
  EXPECT_EQ(root_.Read("c/Arbeit/mix.txt"), "a\r\nb\r\n");
  EXPECT_EQ(Names(root_ / "c/Arbeit"), (std::vector<std::string>{"Kopie.rpp", "mix.txt"}));
}

TEST_F(ProcessDrivesTest, ACopyIsPutInPlaceWholeOrNotAtAll) {
  root_.Write("c/Arbeit/Dozudava.wav", "RIFF....WAVE");
  CopyFile("C:\\Arbeit\\Dozudava.wav", "c:\\Arbeit\\Tesu1.wav");
  EXPECT_EQ(Names(root_ / "c/Arbeit"), (std::vector<std::string>{"Dozudava.wav", "Tesu1.wav"}));
  // A target that cannot be replaced (here a folder of that name) stays as it was, and nothing
  // of the copy is left beside it.
  root_.MakeFolder("c/Arbeit/Tesu2.wav/besetzt");
  EXPECT_EQ(ErrorOf([] { CopyFile("C:\\Arbeit\\Dozudava.wav", "c:\\Arbeit\\Tesu2.wav"); }),
            common::kPermissionDenied);
  EXPECT_TRUE(fs::is_directory(root_ / "c/Arbeit/Tesu2.wav/besetzt"));
  EXPECT_EQ(Names(root_ / "c/Arbeit"),
            (std::vector<std::string>{"Dozudava.wav", "Tesu1.wav", "Tesu2.wav"}));
}

// A copy cut short by a real full disk names the cause, whatever stage of the copy meets it. The
// disk is a file system of 64 KiB mounted on C:\Arbeit in a child process's own mount namespace
// (which needs root; elsewhere the test is skipped).
TEST_F(ProcessDrivesTest, ACopyCutShortByAFullDiskSaysDiskFull) {
  root_.Write("d/Dozudava.wav", std::string(256 * 1024, 'x'));
  const std::string arbeit = (root_ / "c/Arbeit").string();
  constexpr int kNoMount = 200, kTargetChanged = 201;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", arbeit.c_str(), "tmpfs", 0, "size=64k") != 0)
      ::_exit(kNoMount);
    root_.Write("c/Arbeit/Tesu1.wav", "alt");
    const int error =
        ErrorOf([] { CopyFile("D:\\Dozudava.wav", "c:\\Arbeit\\Tesu1.wav"); });
    const bool kept = root_.Read("c/Arbeit/Tesu1.wav") == "alt" &&
                      std::distance(fs::directory_iterator(arbeit), fs::directory_iterator()) == 1;
    ::_exit(kept ? error : kTargetChanged);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == kNoMount)
    GTEST_SKIP() << "no file system of its own can be mounted here (that needs root)";
  EXPECT_EQ(WEXITSTATUS(status), common::kDiskFull);
}

// ---------------------------------------------------------------------------------------------
// Protected targets, the system's errors and leftovers of killed writers

fs::perms ModeOf(const fs::path& p) { return fs::status(p).permissions(); }

// Every way of writing a whole file, by the target it writes.
struct Writer {
  const char* name;
  std::function<void(FileTable&, const std::string&)> write;
};
const Writer kWriters[] = {
    {"replacing output",
     [](FileTable& t, const std::string& path) {
       t.OpenOutputReplacing(3, path);
       t.Print(3, "neu");
       t.Close(3);
     }},
    {"held output",
     [](FileTable& t, const std::string& path) {
       t.OpenOutputReplacing(3, path);
       t.Print(3, "neu");
       t.CloseHeld(3);
       t.PutHeldInPlace();
     }},
    {"output", [](FileTable& t, const std::string& path) {
       t.OpenOutput(3, path);
       t.Print(3, "neu");
       t.Close(3);
     }},
    {"append", [](FileTable& t, const std::string& path) {
       t.OpenAppend(3, path);
       t.Print(3, "neu");
       t.Close(3);
     }},
    {"copy", [](FileTable&, const std::string& path) { CopyFile("C:\\Arbeit\\Quelle.txt", path); }},
};

class ProtectedTargetTest : public testing::Test {
 protected:
  ProtectedTargetTest() : files_(drives_) {
    SetDrives(DriveMap(root_.root()));
    root_.Write("c/Arbeit/Quelle.txt", "neu\r\n");
  }
  TempDriveRoot root_;
  DriveMap drives_{root_.root()};
  FileTable files_;
};

// A target without any write bit is refused with 75 before anything is written, for every user
// (root included, whom the system's own check lets write anything); the file and its mode stay.
// A mode this user may not write by (the owner's bits lack the write bit) is refused the same way,
// except for root, who may.
TEST_F(ProtectedTargetTest, AReadOnlyTargetIsRefusedWith75AndStaysAsItWas) {
  const bool root = ::geteuid() == 0;
  const struct {
    fs::perms mode;
    bool refused;
  } modes[] = {
      {fs::perms(0444), true},  {fs::perms(0400), true},  {fs::perms(0555), true},
      {fs::perms(0000), true},  {fs::perms(0464), !root}, {fs::perms(0644), false},
      {fs::perms(0600), false}, {fs::perms(0640), false}, {fs::perms(0660), false},
  };
  for (const Writer& w : kWriters) {
    for (const auto& m : modes) {
      const std::string label = std::string(w.name) + ", mode " +
                                std::to_string(static_cast<unsigned>(m.mode));
      const fs::path target = root_ / "c/Arbeit/Ziel.rsz";
      fs::remove(target);
      root_.Write("c/Arbeit/Ziel.rsz", "alt\r\n");
      fs::permissions(target, m.mode);
      EXPECT_EQ(ErrorOf([&] { w.write(files_, "C:\\Arbeit\\ziel.RSZ"); }),
                m.refused ? common::kPathFileAccessError : 0)
          << label;
      EXPECT_FALSE(files_.IsOpen(3)) << label;
      // A copy is writable by its owner: of these modes only 0464 (which root may write by)
      // lacks the owner's write bit.
      const bool copied = !m.refused && std::string(w.name) == "copy";
      EXPECT_EQ(ModeOf(target), copied ? m.mode | fs::perms::owner_write : m.mode)
          << label << ": the replaced file keeps the target's mode";
      fs::permissions(target, fs::perms(0600));
      const bool append = std::string(w.name) == "append";
      const std::string expected = m.refused ? "alt\r\n" : append ? "alt\r\nneu\r\n" : "neu\r\n";
      EXPECT_EQ(root_.Read("c/Arbeit/Ziel.rsz"), expected) << label;
      EXPECT_EQ(Names(root_ / "c/Arbeit"), (std::vector<std::string>{"Quelle.txt", "Ziel.rsz"}))
          << label << ": nothing is left beside it";
    }
  }
}

// Sets the faults a test injects, and takes them away at its end.
class InjectedFaults {
 public:
  explicit InjectedFaults(WriteFaults faults) { SetWriteFaults(std::move(faults)); }
  ~InjectedFaults() { SetWriteFaults({}); }
};

// The system's error is mapped the same way wherever it surfaces: a full disk is 61 at the write,
// the flush, the close, the renaming and the copy alike, a file at the process's size limit 57.
// The old target stays whole and nothing is left beside it.
TEST_F(ProtectedTargetTest, TheSystemsErrorIsMappedAlikeWhereverItSurfaces) {
  const struct {
    WriteStage stage;
    const char* stageName;
    int err;
    int error;         // of the writers that reach the stage
    int copyError;     // of the copy, at its own stage (Copy or Rename)
  } cases[] = {
      {WriteStage::Write, "write", ENOSPC, common::kDiskFull, 0},
      {WriteStage::Write, "write", EIO, common::kDeviceIoError, 0},
      {WriteStage::Flush, "flush", ENOSPC, common::kDiskFull, 0},
      {WriteStage::Flush, "flush", EFBIG, common::kDeviceIoError, 0},
      {WriteStage::Sync, "sync", ENOSPC, common::kDiskFull, common::kDiskFull},
      {WriteStage::Sync, "sync", EIO, common::kDeviceIoError, common::kDeviceIoError},
      {WriteStage::Close, "close", ENOSPC, common::kDiskFull, 0},
      {WriteStage::Close, "close", EDQUOT, common::kDiskFull, 0},
      {WriteStage::Close, "close", EIO, common::kDeviceIoError, 0},
      {WriteStage::Rename, "rename", ENOSPC, common::kDiskFull, common::kDiskFull},
      {WriteStage::Rename, "rename", EACCES, common::kPermissionDenied,
       common::kPermissionDenied},
      // The new file is in place already: the folder's flush failing is no failure of the write.
      {WriteStage::SyncFolder, "folder sync", EIO, 0, 0},
      {WriteStage::Copy, "copy", ENOSPC, 0, common::kDiskFull},
      {WriteStage::Copy, "copy", EFBIG, 0, common::kDeviceIoError},
      {WriteStage::Copy, "copy", EIO, 0, common::kDeviceIoError},
  };
  const std::string targetHost = (root_ / "c/Arbeit/Ziel.rsz").string();
  for (const Writer& w : kWriters) {
    const bool copy = std::string(w.name) == "copy";
    const bool inPlace = std::string(w.name) == "output" || std::string(w.name) == "append";
    for (const auto& c : cases) {
      // Writing in place has no new file to flush to the disk and put in place.
      if (inPlace && (c.stage == WriteStage::Sync || c.stage == WriteStage::Rename ||
                      c.stage == WriteStage::SyncFolder))
        continue;
      const std::string label = std::string(w.name) + ", " + c.stageName + ", errno " +
                                std::to_string(c.err);
      root_.Write("c/Arbeit/Ziel.rsz", "alt\r\n");
      int error = 0;
      {
        InjectedFaults faults(testing_support::FailAt(c.stage, targetHost, c.err));
        error = ErrorOf([&] { w.write(files_, "C:\\Arbeit\\Ziel.rsz"); });
      }
      files_.Discard(3);
      EXPECT_EQ(error, copy ? c.copyError : c.error) << label;
      if (!inPlace) {
        EXPECT_EQ(root_.Read("c/Arbeit/Ziel.rsz"), error ? "alt\r\n" : "neu\r\n") << label;
      }
      EXPECT_EQ(Names(root_ / "c/Arbeit"), (std::vector<std::string>{"Quelle.txt", "Ziel.rsz"}))
          << label;
    }
  }
}

// A group of copies is put in place whole or not at all: a fault at either copy, found before the
// first byte is copied, met while copying or met when the second is put in place after the first,
// leaves both targets as they were (a first target that was not there is not there afterwards)
// and nothing beside them, and the error names the copy it met.
TEST_F(ProtectedTargetTest, AGroupOfCopiesIsPutInPlaceWholeOrNotAtAll) {
  root_.Write("c/Arbeit/Tesu7.orc", "Tesu7 orc");
  root_.Write("c/Arbeit/Tesu7.sco", "Tesu7 sco");
  const std::vector<FileCopy> copies = {{"C:\\Arbeit\\Tesu7.orc", "C:\\Arbeit\\Dozudava.orc"},
                                        {"C:\\Arbeit\\Tesu7.sco", "C:\\Arbeit\\Dozudava.sco"}};
  const fs::path orc = root_ / "c/Arbeit/Dozudava.orc", sco = root_ / "c/Arbeit/Dozudava.sco";
  const struct {
    const char* label;
    std::function<void()> fault;
    int error;
    size_t index;
    bool withoutFirstTarget = false;
  } cases[] = {
      {"the first target protected", [&] { fs::permissions(orc, fs::perms(0444)); },
       common::kPathFileAccessError, 0},
      {"the second target protected", [&] { fs::permissions(sco, fs::perms(0444)); },
       common::kPathFileAccessError, 1},
      {"the second copy meets a full disk",
       [&] { SetWriteFaults(testing_support::FailAt(WriteStage::Copy, sco.string(), ENOSPC)); },
       common::kDiskFull, 1},
      {"the first copy's flush to the disk fails",
       [&] { SetWriteFaults(testing_support::FailAt(WriteStage::Sync, orc.string(), EIO)); },
       common::kDeviceIoError, 0},
      {"the second copy cannot be put in place",
       [&] { SetWriteFaults(testing_support::FailAt(WriteStage::Rename, sco.string(), EACCES)); },
       common::kPermissionDenied, 1},
      {"the second copy cannot be put in place, the first target was not there",
       [&] {
         fs::remove(orc);
         SetWriteFaults(testing_support::FailAt(WriteStage::Rename, sco.string(), EIO));
       },
       common::kDeviceIoError, 1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    root_.Write("c/Arbeit/Dozudava.orc", "alt orc");
    root_.Write("c/Arbeit/Dozudava.sco", "alt sco");
    c.fault();
    std::optional<GroupCopyError> error;
    try {
      CopyFilesTogether(copies);
    } catch (const GroupCopyError& e) {
      error = e;
    }
    SetWriteFaults({});
    for (const fs::path& target : {orc, sco})
      if (fs::exists(target)) fs::permissions(target, fs::perms(0644));
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number(), c.error);
    EXPECT_EQ(error->index(), c.index);
    EXPECT_EQ(root_.Read("c/Arbeit/Dozudava.sco"), "alt sco");
    std::vector<std::string> names = {"Dozudava.sco", "Quelle.txt", "Tesu7.orc", "Tesu7.sco"};
    if (!c.withoutFirstTarget) {
      EXPECT_EQ(root_.Read("c/Arbeit/Dozudava.orc"), "alt orc");
      names.insert(names.begin(), "Dozudava.orc");
    }
    EXPECT_EQ(Names(root_ / "c/Arbeit"), names);
  }
  CopyFilesTogether(copies);
  EXPECT_EQ(root_.Read("c/Arbeit/Dozudava.orc"), "Tesu7 orc");
  EXPECT_EQ(root_.Read("c/Arbeit/Dozudava.sco"), "Tesu7 sco");
}

// A new file is flushed to the disk before it is put in place, and its folder after that; an
// output written in place is flushed by the library only.
TEST_F(ProtectedTargetTest, ANewFileReachesTheDiskBeforeItIsPutInPlace) {
  const std::map<std::string, std::vector<std::string>> expected = {
      {"replacing output", {"flush", "sync", "close", "rename", "folder sync"}},
      {"held output", {"flush", "sync", "close", "rename", "folder sync"}},
      {"copy", {"copy", "sync", "rename", "folder sync"}},
      {"output", {"flush", "close"}},
      {"append", {"flush", "close"}},
  };
  const std::map<WriteStage, std::string> names = {
      {WriteStage::Flush, "flush"},   {WriteStage::Sync, "sync"},
      {WriteStage::Close, "close"},   {WriteStage::Rename, "rename"},
      {WriteStage::SyncFolder, "folder sync"}, {WriteStage::Copy, "copy"},
  };
  const std::string targetHost = (root_ / "c/Arbeit/Ziel.rsz").string();
  for (const Writer& w : kWriters) {
    root_.Write("c/Arbeit/Ziel.rsz", "alt\r\n");
    std::vector<std::string> seen;
    {
      InjectedFaults faults([&](WriteStage stage, const std::string& host) {
        if (host == targetHost && stage != WriteStage::Write) seen.push_back(names.at(stage));
        return 0;
      });
      w.write(files_, "C:\\Arbeit\\Ziel.rsz");
    }
    EXPECT_EQ(seen, expected.at(w.name)) << w.name;
  }
}

// A process of its own that runs until it is killed.
class RunningProcess {
 public:
  RunningProcess() : pid_(::fork()) {
    if (pid_ == 0) {
      for (;;) ::pause();
    }
  }
  ~RunningProcess() { End(); }
  pid_t pid() const { return pid_; }
  void End() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_;
};

// The start time of a process in clock ticks since boot: field 22 of /proc/<pid>/stat, counted
// from behind the command name's closing parenthesis.
unsigned long long StartTicks(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::istringstream fields(text.substr(text.rfind(')') + 1));
  std::string field;
  for (int k = 3; k <= 22; ++k) fields >> field;
  return std::stoull(field);
}

// The parts of a leftover's name ".<target>.<tag>.<boot>.<namespace>.<time>.<pid>.<start>.neu".
struct LeftoverParts {
  std::string target, tag, boot, ns, time, pid, start;
  // The name without ".<target>" at its start: the writer's part.
  std::string WriterPart() const {
    return "." + tag + "." + boot + "." + ns + "." + time + "." + pid + "." + start + ".neu";
  }
  std::string Name() const { return "." + target + WriterPart(); }
};

// The inode number of this process's namespace of that kind ("0" when the kernel has none).
std::string NamespaceInode(const char* kind) {
  struct stat ns;
  if (::stat((std::string("/proc/self/ns/") + kind).c_str(), &ns) != 0) return "0";
  return std::to_string(ns.st_ino);
}

// The name this system gives the new file that process `pid`, started at `start`, writes
// beside `target`: the boot id without its dashes and the inodes of this process's pid and time
// namespaces name the system.
LeftoverParts LeftoverOf(const std::string& target, pid_t pid, unsigned long long start) {
  std::ifstream in("/proc/sys/kernel/random/boot_id");
  std::string boot;
  in >> boot;
  std::erase(boot, '-');
  return {target,         "ormila", boot, NamespaceInode("pid"), NamespaceInode("time"),
          std::to_string(pid), std::to_string(start)};
}

// A child process that has ended, and the start time it had (an ended child keeps its entry in
// /proc until it is waited for).
struct EndedProcess {
  pid_t pid;
  unsigned long long start;
};
EndedProcess EndAProcess() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  const unsigned long long start = StartTicks(pid);
  ::waitpid(pid, nullptr, 0);
  return {pid, start};
}

// A new file written beside its target names its writer: the target, the system's tag, and
// this process's id and start time.
TEST_F(FileTableTest, TheNewFileBesideItsTargetNamesItsWriter) {
  files_.OpenOutputReplacing(3, "C:\\Arbeit\\Tesu7.12.sco");
  files_.Print(3, "neu");
  EXPECT_EQ(Names(root_ / "c/Arbeit"),
            std::vector<std::string>{LeftoverOf("Tesu7.12.sco", ::getpid(),
                                                StartTicks(::getpid())).Name()});
  files_.Close(3);
  EXPECT_EQ(Names(root_ / "c/Arbeit"), std::vector<std::string>{"Tesu7.12.sco"});
}

// The next write into a folder removes a leftover only when its name has exactly the form of
// one, names this boot and pid namespace, and no process of that id and that start time runs.
// File times decide nothing; every other file stays.
TEST_F(FileTableTest, OnlyTheLeftoversOfWritersThatEndedAreRemoved) {
  RunningProcess live;
  ASSERT_GT(live.pid(), 0);
  const unsigned long long liveStart = StartTicks(live.pid());
  const EndedProcess ended = EndAProcess();
  const auto endedOne = [&](const std::string& target) {
    return LeftoverOf(target, ended.pid, ended.start);
  };
  const auto changed = [](LeftoverParts parts, std::string LeftoverParts::*part,
                          const std::string& text) {
    parts.*part = text;
    return parts.Name();
  };
  const LeftoverParts dead = endedOne("Dozudava.sco");
  const struct {
    const char* label;
    std::string name;
    bool removed;
    bool writtenLongAgo = false;
  } cases[] = {
      {"a writer that ended", dead.Name(), true},
      {"a target name with dots and digits", endedOne("Tesu7.12.sco").Name(), true},
      {"a hidden target", endedOne(".Notizen").Name(), true},
      {"its id now another process's",
       LeftoverOf("Dozudava.orc", live.pid(), liveStart + 1).Name(), true},
      {"this process's id, another start",
       LeftoverOf("Tesu.ini", ::getpid(), StartTicks(::getpid()) + 1).Name(), true},
      {"a running writer", LeftoverOf("Tesu.rsz", live.pid(), liveStart).Name(), false},
      {"a running writer, written long ago", LeftoverOf("Tesu.orc", live.pid(), liveStart).Name(),
       false, true},
      {"another boot", changed(dead, &LeftoverParts::boot, std::string(32, '0')), false},
      {"another pid namespace", changed(dead, &LeftoverParts::ns, dead.ns + "1"), false},
      {"another time namespace", changed(dead, &LeftoverParts::time, dead.time + "1"), false},
      {"the composer's own", ".Notizen.txt.99999.neu", false},
      {"the older form", ".Dozudava.sco." + dead.pid + ".neu", false},
      {"no target name", changed(dead, &LeftoverParts::target, ""), false},
      {"another tag", changed(dead, &LeftoverParts::tag, "ORMILA"), false},
      {"a leading zero in the id", changed(dead, &LeftoverParts::pid, "0" + dead.pid), false},
      {"a leading zero in the start", changed(dead, &LeftoverParts::start, "0" + dead.start),
       false},
      {"a sign", changed(dead, &LeftoverParts::pid, "+" + dead.pid), false},
      {"id 0", changed(dead, &LeftoverParts::pid, "0"), false},
      {"one number more", changed(dead, &LeftoverParts::start, dead.start + ".1"), false},
      {"not hidden", dead.Name().substr(1), false},
      {"another ending", dead.Name() + "~", false},
  };
  for (const auto& c : cases) {
    const fs::path file = root_ / ("c/Arbeit/" + c.name);
    ASSERT_FALSE(fs::exists(file)) << c.label << ": each case has a name of its own";
    root_.Write("c/Arbeit/" + c.name, "halb");
    if (c.writtenLongAgo) {
      const timespec times[2] = {{315532800, 0}, {315532800, 0}};  // 1 January 1980
      ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    }
  }
  // A folder is not a leftover, whatever its name.
  root_.MakeFolder("c/Arbeit/" + endedOne("Ordner").Name());

  files_.OpenOutputReplacing(4, "C:\\Arbeit\\Talvik.ini");
  files_.Print(4, "neu");
  files_.Close(4);
  for (const auto& c : cases)
    EXPECT_EQ(fs::exists(root_ / ("c/Arbeit/" + c.name)), !c.removed) << c.label << ": " << c.name;
  EXPECT_TRUE(fs::is_directory(root_ / ("c/Arbeit/" + endedOne("Ordner").Name())));
  EXPECT_EQ(root_.Read("c/Arbeit/Talvik.ini"), "neu\r\n");
}

// Every way of writing into a folder removes the leftover of a writer that ended there; reading
// removes nothing, and a leftover in another folder waits for a write there.
TEST_F(ProtectedTargetTest, EveryWriteIntoTheFolderRemovesTheLeftoversThere) {
  const EndedProcess ended = EndAProcess();
  const std::string leftover = LeftoverOf("Dozudava.sco", ended.pid, ended.start).Name();
  const Writer reader{"read", [](FileTable& t, const std::string& path) {
                        t.OpenInput(3, path);
                        t.Close(3);
                      }};
  std::vector<Writer> writers(std::begin(kWriters), std::end(kWriters));
  writers.push_back(reader);
  for (const Writer& w : writers) {
    const bool reads = std::string(w.name) == "read";
    root_.Write("c/Arbeit/Ziel.rsz", "alt\r\n");
    root_.Write("c/Arbeit/" + leftover, "halb");
    root_.Write("c/Andere/" + leftover, "halb");
    w.write(files_, "C:\\Arbeit\\Ziel.rsz");
    EXPECT_EQ(fs::exists(root_ / ("c/Arbeit/" + leftover)), reads) << w.name;
    EXPECT_TRUE(fs::exists(root_ / ("c/Andere/" + leftover))) << w.name;
  }
}

// A target whose name is too long to leave room for the writer's part in one file name (a project
// named in Cyrillic, two bytes a character) is written all the same: the new file beside it takes
// as much of the target's name as fits, cut at a character's start, and names its writer whole.
TEST_F(ProtectedTargetTest, ATargetWithALongNameIsWrittenAllTheSame) {
  std::string name;
  for (int k = 0; k < 25; ++k) name += "Глиссандо ";  // 25 × 19 bytes
  name = name.substr(0, 240) + ".rpp";  // 244 bytes, cut between two characters
  ASSERT_TRUE(common::IsValidUtf8(name));
  const std::string path = "C:\\Arbeit\\" + name;
  const LeftoverParts own = LeftoverOf(name, ::getpid(), StartTicks(::getpid()));
  for (const Writer& w : kWriters) {
    SCOPED_TRACE(w.name);
    fs::remove(root_ / "c/Arbeit" / name);
    // The folder while the new file is complete beside its target.
    std::vector<std::string> beside;
    {
      InjectedFaults faults([&](WriteStage stage, const std::string&) {
        if (stage == WriteStage::Sync) beside = Names(root_ / "c/Arbeit");
        return 0;
      });
      w.write(files_, path);
    }
    EXPECT_EQ(root_.Read("c/Arbeit/" + name), "neu\r\n");
    EXPECT_EQ(Names(root_ / "c/Arbeit"), (std::vector<std::string>{"Quelle.txt", name}));
    if (std::string(w.name) == "output" || std::string(w.name) == "append") continue;
    ASSERT_EQ(beside.size(), 2u);
    const std::string& newFile = beside[0];  // "." sorts before "Q"
    EXPECT_LE(newFile.size(), 255u) << newFile;
    ASSERT_TRUE(newFile.ends_with(own.WriterPart())) << newFile;
    const std::string kept = newFile.substr(1, newFile.size() - 1 - own.WriterPart().size());
    EXPECT_TRUE(name.starts_with(kept)) << kept;
    EXPECT_TRUE(common::IsValidUtf8(kept)) << kept;
  }
}

// A live writer in a time namespace of its own reads its start time shifted by that namespace's
// offset: its new file stays when a writer outside it writes into the folder. The writer is the
// grandchild of a child that made the namespace (which needs root; elsewhere the test is skipped).
TEST_F(ProtectedTargetTest, ALiveWriterInAnotherTimeNamespaceKeepsItsNewFile) {
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    ::close(ready[0]);
    std::ofstream offsets;
    if (::unshare(CLONE_NEWTIME) == 0) offsets.open("/proc/self/timens_offsets");
    offsets << "boottime 100000 0\n" << std::flush;
    if (!offsets) ::_exit(1);  // sends nothing: the test is skipped
    const pid_t writer = ::fork();
    if (writer == 0) {
      ::prctl(PR_SET_PDEATHSIG, SIGKILL);
      files_.OpenOutputReplacing(3, "C:\\Arbeit\\Zeit.ini");
      files_.Print(3, "halb");
      const pid_t self = ::getpid();
      if (::write(ready[1], &self, sizeof self) != sizeof self) ::_exit(1);
      for (;;) ::pause();
    }
    ::waitpid(writer, nullptr, 0);
    ::_exit(0);
  }
  ::close(ready[1]);
  pid_t writer = 0;
  const bool writing = ::read(ready[0], &writer, sizeof writer) == sizeof writer;
  ::close(ready[0]);
  std::vector<std::string> names;
  if (writing) {
    files_.OpenOutputReplacing(4, "C:\\Arbeit\\Talvik.ini");
    files_.Print(4, "neu");
    files_.Close(4);
    names = Names(root_ / "c/Arbeit");
    ::kill(writer, SIGKILL);
  }
  ::waitpid(child, nullptr, 0);
  if (!writing) GTEST_SKIP() << "no time namespace of its own can be made here (that needs root)";
  ASSERT_EQ(names.size(), 3u) << "the writer's new file, Quelle.txt and Talvik.ini";
  EXPECT_TRUE(names[0].starts_with(".Zeit.ini.ormila.")) << names[0];
}

// This process's own new file stays while it is open, also when another write goes into its
// folder.
TEST_F(ProtectedTargetTest, ThisProcesssOwnNewFileStaysWhileOpen) {
  files_.OpenOutputReplacing(2, "C:\\Arbeit\\Eigen.ini");
  files_.Print(2, "eigen");
  CopyFile("C:\\Arbeit\\Quelle.txt", "C:\\Arbeit\\Kopie.txt");
  const std::string own = LeftoverOf("Eigen.ini", ::getpid(), StartTicks(::getpid())).Name();
  EXPECT_EQ(Names(root_ / "c/Arbeit"),
            (std::vector<std::string>{own, "Kopie.txt", "Quelle.txt"}));
  files_.Close(2);
  EXPECT_EQ(root_.Read("c/Arbeit/Eigen.ini"), "eigen\r\n");
}

}  // namespace
}  // namespace platform
