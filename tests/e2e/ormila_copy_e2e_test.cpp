// Ormila on screen: "Cso1" on the example project, then "Copy" and "Snapshot" pressed with the
// mouse; the copy is converted and rendered again with "Cso1".
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "e2e_support.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

TEST(OrmilaOnScreen, CopyAndSnapshotOfTheExampleProjectAndTheCopyConvertsAgain) {
  ORMILA_ON_SCREEN(drive, ormila, "ormila-copy");

  // "Cso1" renders the example; "Copy" writes Gleitenc.rpp; "Snapshot" keeps set number 1.
  ASSERT_TRUE(ormila.Click("Command3"));
  ASSERT_TRUE(drive.WaitFor("cool-started.txt", 120s)) << drive.Read("run.log");
  ASSERT_TRUE(ormila.Click("kopieren"));
  ASSERT_TRUE(drive.WaitFor("Gleitenc.rpp", 10s)) << drive.Read("run.log");
  ASSERT_TRUE(ormila.Click("Command4"));
  ASSERT_TRUE(drive.WaitFor("Tesu1.rpp", 10s)) << drive.Read("run.log");

  const std::string copy = drive.Read("Gleitenc.rpp");
  EXPECT_TRUE(copy.starts_with("<REAPER_PROJECT 0.1  3.71 \r\n"));
  EXPECT_TRUE(copy.ends_with("    >\r\n  >\r\n>\r\n"));
  EXPECT_NE(copy.find("\r\n  MARKER 1 2  \"220  220\" 0\r\n"), std::string::npos);
  EXPECT_NE(copy.find("\r\n      PT 13 0.0224403690390498 0 0 1\r\n"), std::string::npos);
  EXPECT_TRUE(drive.Read("Tesu.ini").starts_with("Gleitenc\r\n")) << "the box names the copy";
  EXPECT_EQ(drive.Read("Tesu1.wav"), drive.Read("Dozudava.wav"));
  EXPECT_EQ(drive.Read("Tesu1.rsz"), drive.Read("Tesu.rsz"));
  EXPECT_TRUE(drive.Read("Tesu1.inv").ends_with("\r\n 1 \r\n"));
  EXPECT_NE(drive.Read("Tesu1.rpp").find("\r\n      PT 7.5 0.0224403690390498 0 0 1\r\n"),
            std::string::npos);
  EXPECT_EQ(drive.Read("mix-ormila.txt"), "c:\\Arbeit\\Tesu1.wav    0.00    2    1    L    1    R\r\n");

  // The copy's track is "R-01": typed into the track box, then "Cso1" converts the copy.
  fs::remove(drive.Arbeit() / "cool-started.txt");
  ASSERT_TRUE(ormila.Type("Text2", "R-01"));
  ASSERT_TRUE(ormila.Click("Command3"));
  ASSERT_TRUE(drive.WaitFor("cool-started.txt", 120s)) << drive.Read("run.log");
  const std::string toneList = drive.Read("Tesu.rsz");
  EXPECT_NE(toneList.find("Reaperdatei: Gleitenc.rpp"), std::string::npos) << toneList;
  // The range twice, from 2 s to 13 s.
  EXPECT_NE(toneList.find("\r\nZP         2           3.5 "), std::string::npos);
  EXPECT_NE(toneList.find("        12.25       13\r\n"), std::string::npos);
  // The render is as long as the score's sustained tone says.
  const std::string score = drive.Read("Dozudava.sco");
  const std::string sustainLine = "\r\n i96   0.00   ";
  const size_t sustain = score.find(sustainLine);
  ASSERT_NE(sustain, std::string::npos) << score;
  const double seconds = std::atof(score.c_str() + sustain + sustainLine.size());
  EXPECT_GT(seconds, 11);
  const e2e::Wave wave = e2e::ReadWave(drive.Arbeit() / "Dozudava.wav");
  EXPECT_EQ(wave.channels, 2);
  EXPECT_NEAR(wave.seconds, seconds, 0.01);
  EXPECT_GT(wave.peak, 0.01) << "the wave is silent";
}

}  // namespace
