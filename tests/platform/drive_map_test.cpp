#include "platform/drive_map.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>

#include "temp_drive_root.h"

namespace platform {
namespace {

using platform_test::TempDriveRoot;

struct MapCase {
  const char* windowsPath;
  const char* hostRelative;  // host path below the drive root
};

// C:\Arbeit with a tone list, a program folder and a file with an umlaut; C:\cool empty.
class DriveLayout : public testing::Test {
 protected:
  void SetUp() override {
    root_.Write("c/Arbeit/Tesu.rsz", "ZP 0\r\n");
    root_.Write("c/Arbeit/VB/Tesu01/TalvikTe.exe", "");
    root_.Write("c/Arbeit/\xC3\x9C" "bung.txt", "");  // "Übung.txt"
    root_.MakeFolder("c/cool");
  }
  TempDriveRoot root_;
};

class DriveMapTest : public DriveLayout, public testing::WithParamInterface<MapCase> {};

TEST_P(DriveMapTest, MapsToTheHostPath) {
  DriveMap map(root_.root());
  EXPECT_EQ(map.ToHost(GetParam().windowsPath), root_ / GetParam().hostRelative)
      << GetParam().windowsPath;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DriveMapTest,
    testing::Values(
        // every spelling of an existing file reaches that file
        MapCase{"C:\\Arbeit\\Tesu.rsz", "c/Arbeit/Tesu.rsz"},
        MapCase{"c:\\arbeit\\TESU.rsz", "c/Arbeit/Tesu.rsz"},
        MapCase{"C:\\ARBEIT\\tesu.RSZ", "c/Arbeit/Tesu.rsz"},
        MapCase{"c:\\arbeit\\vb\\TESU01\\talvikte.EXE", "c/Arbeit/VB/Tesu01/TalvikTe.exe"},
        // forward slashes, mixed and doubled separators
        MapCase{"C:/Arbeit/Tesu.rsz", "c/Arbeit/Tesu.rsz"},
        MapCase{"c:/arbeit\\tesu.rsz", "c/Arbeit/Tesu.rsz"},
        MapCase{"C:\\\\Arbeit\\\\\\Tesu.rsz", "c/Arbeit/Tesu.rsz"},
        // a new file keeps its spelling inside the matched existing folders
        MapCase{"C:\\Arbeit\\Dozudava.sco", "c/Arbeit/Dozudava.sco"},
        MapCase{"c:\\ARBEIT\\Neu.TXT", "c/Arbeit/Neu.TXT"},
        MapCase{"C:/arbeit/x", "c/Arbeit/x"},
        MapCase{"C:\\Arbeit\\Neu\\Unter\\x.txt", "c/Arbeit/Neu/Unter/x.txt"},
        MapCase{"c:\\COOL\\COOL96.exe", "c/cool/COOL96.exe"},
        // folders and drives
        MapCase{"C:\\Arbeit\\", "c/Arbeit"}, MapCase{"c:\\", "c"},
        MapCase{"D:\\Daten\\Klang.wav", "d/Daten/Klang.wav"},
        // German umlauts are matched without regard to case too
        MapCase{"C:\\Arbeit\\\xC3\xBC" "BUNG.TXT", "c/Arbeit/\xC3\x9C" "bung.txt"},
        // "." and ".." as Windows reads them: ".." never climbs above the drive
        MapCase{"C:\\Arbeit\\.\\Tesu.rsz", "c/Arbeit/Tesu.rsz"},
        MapCase{"C:\\Arbeit\\VB\\..\\tesu.rsz", "c/Arbeit/Tesu.rsz"},
        MapCase{"C:\\..\\..\\arbeit\\tesu.rsz", "c/Arbeit/Tesu.rsz"},
        MapCase{"C:\\Nix\\..\\ARBEIT\\tesu.rsz", "c/Arbeit/Tesu.rsz"},
        // blanks at the end of the path are dropped, as Windows drops them; inner ones stay
        MapCase{"c:\\Arbeit\\Tesu.rsz ", "c/Arbeit/Tesu.rsz"},
        MapCase{"C:\\Arbeit\\Neu Datei.txt  ", "c/Arbeit/Neu Datei.txt"},
        MapCase{"C:\\Arbeit\\ ", "c/Arbeit"}));

TEST_F(DriveLayout, ExactSpellingWinsWhenTwoFilesDifferOnlyInCase) {
  root_.Write("c/Arbeit/TESU.rsz", "other");
  DriveMap map(root_.root());
  EXPECT_EQ(map.ToHost("C:\\Arbeit\\Tesu.rsz"), root_ / "c/Arbeit/Tesu.rsz");
  EXPECT_EQ(map.ToHost("C:\\Arbeit\\TESU.rsz"), root_ / "c/Arbeit/TESU.rsz");
}

TEST_F(DriveLayout, NewFilesGetTheGivenName) {
  DriveMap map(root_.root());
  EXPECT_EQ(map.ToHost("C:\\Arbeit\\Tesu.rsz").filename(), "Tesu.rsz");
  EXPECT_EQ(map.ToHost("C:\\Arbeit\\NEU.rsz").filename(), "NEU.rsz");
  EXPECT_EQ(map.ToHost("C:\\Arbeit\\neu.rsz").filename(), "neu.rsz");
}

TEST(DriveMap, OtherPathsAreUsedAsTheyAre) {
  TempDriveRoot root;
  DriveMap map(root.root());
  for (const char* path : {"/tmp/x", "/home/user/Musik/a b.wav", "/home/user/b.wav ",
                           "relativ/x.txt", "x.txt", "",
                           "C:", "C:Arbeit", "CC:\\x", "1:\\x", "\\\\server\\share\\x"}) {
    EXPECT_EQ(map.ToHost(path), std::filesystem::path(path)) << path;
  }
}

TEST(DriveMap, IsDrivePath) {
  const std::pair<const char*, bool> cases[] = {
      {"C:\\Arbeit", true}, {"c:/x", true},  {"z:\\", true}, {"C:", false},
      {"C:x", false},       {"/tmp", false}, {"1:\\", false}, {"", false}};
  for (auto [path, expected] : cases) EXPECT_EQ(DriveMap::IsDrivePath(path), expected) << path;
}

// Sets or unsets an environment variable for the life of the object.
class EnvironmentVariable {
 public:
  EnvironmentVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) ::setenv(name, value, 1);
    else ::unsetenv(name);
  }
  ~EnvironmentVariable() {
    if (old_) ::setenv(name_.c_str(), old_->c_str(), 1);
    else ::unsetenv(name_.c_str());
  }

 private:
  std::string name_;
  std::optional<std::string> old_;
};

TEST(DriveMap, FromEnvironmentHonoursOrmilaDrives) {
  TempDriveRoot root;
  root.Write("c/Arbeit/Tesu.rsz", "");
  EnvironmentVariable drives("ORMILA_DRIVES", root.root().c_str());
  DriveMap map = DriveMap::FromEnvironment();
  EXPECT_EQ(map.root(), root.root());
  EXPECT_EQ(map.ToHost("c:\\arbeit\\TESU.RSZ"), root / "c/Arbeit/Tesu.rsz");
}

TEST(DriveMap, WithoutOrmilaDrivesTheRootIsBelowHome) {
  TempDriveRoot home;
  EnvironmentVariable homeVar("HOME", home.root().c_str());
  const std::filesystem::path expected = home / ".local/share/ormila/drives";
  {
    EnvironmentVariable drives("ORMILA_DRIVES", nullptr);
    EXPECT_EQ(DriveMap::FromEnvironment().root(), expected);
  }
  {
    EnvironmentVariable drives("ORMILA_DRIVES", "");
    EXPECT_EQ(DriveMap::FromEnvironment().root(), expected);
  }
}

TEST(DriveMap, SetDrivesChangesTheProcessMap) {
  TempDriveRoot first, second;
  SetDrives(DriveMap(first.root()));
  DriveMap& held = Drives();
  EXPECT_EQ(held.root(), first.root());
  SetDrives(DriveMap(second.root()));
  EXPECT_EQ(Drives().root(), second.root());
  // a reference taken earlier sees the new map, it does not dangle
  EXPECT_EQ(held.root(), second.root());
}

}  // namespace
}  // namespace platform
