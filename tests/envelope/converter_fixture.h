// Shared set-up of the converter tests: a converter window on a temporary drive root (with the
// folder C:\Arbeit\) and fake platform services, the clock fixed at 10.12.2026 08:15:00.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "envelope/converter_window.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/drive_map.h"
#include "platform/program_start.h"
#include "platform/temp_drive_root.h"
#include "platform/window_closing.h"

namespace envelope_test {

// The bytes of a golden file of tests/data/golden/envelope/.
inline std::string GoldenBytes(const std::string& name) {
  const std::filesystem::path path =
      std::filesystem::path(ORMILA_TEST_DATA) / "golden" / "envelope" / name;
  EXPECT_TRUE(std::filesystem::exists(path)) << "missing golden file " << path;
  return platform_test::TempDriveRoot::ReadHost(path);
}

// Compares bytes with a golden file of tests/data/golden/envelope/ byte for byte;
// ORMILA_UPDATE_GOLDEN=1 rewrites the file instead (then read it before committing it).
inline void ExpectGoldenBytes(const std::string& name, const std::string& bytes) {
  const std::filesystem::path path =
      std::filesystem::path(ORMILA_TEST_DATA) / "golden" / "envelope" / name;
  if (const char* u = std::getenv("ORMILA_UPDATE_GOLDEN"); u && std::string(u) == "1") {
    std::ofstream(path, std::ios::binary) << bytes;
    return;
  }
  EXPECT_EQ(bytes, GoldenBytes(name)) << "golden file " << name;
}

// Members are public so that the tables of cases in the tests can reach them.
class ConverterTest : public ::testing::Test {
 public:
  ConverterTest() {
    root.MakeFolder("c/Arbeit");
    // Never the user's drive root: every path of the window goes to the temporary root.
    platform::SetDrives(platform::DriveMap(root.root()));
    NewWindow();
  }
  ~ConverterTest() override {
    window.reset();  // closes (or drops) what the window left open before the root goes
    platform::SetDrives(platform::DriveMap::FromEnvironment());
  }

  // A new window on the same services, not yet loaded, in place of the one before (which is
  // closed first).
  void NewWindow() {
    window.reset();
    window = std::make_unique<envelope::ConverterWindow>(envelope::ConverterServices{
        clock, starter, windowSystem, dialogs, dialogs, dialogs, dialogs});
  }

  // The example project "Gleiten" with its settings file and sample on the drive, and the window
  // started on them.
  void StartWithExample() {
    const std::filesystem::path examples = std::filesystem::path(ORMILA_SOURCE_DIR) / "examples";
    root.Write("c/Arbeit/Gleiten.rpp", platform_test::ReadHostFile(examples / "Gleiten.rpp"));
    root.Write("c/Arbeit/Tesu.ini", platform_test::ReadHostFile(examples / "Tesu.ini"));
    root.Write("c/Arbeit/Klang.wav", "RIFF");
    window->Form_Load();
  }

  // The texts of the message boxes shown so far; every one must be titled "FEHLER".
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& m : dialogs.messages) {
      EXPECT_EQ(m.title, "FEHLER") << m.text;
      texts.push_back(m.text);
    }
    return texts;
  }

  // Bytes of a file below C:\Arbeit\ ("Tesu.rsz").
  std::string ReadArbeit(const std::string& name) const { return root.Read("c/Arbeit/" + name); }

  platform_test::TempDriveRoot root;
  platform::FixedClock clock{"10.12.2026", "08:15:00"};
  platform::FakeProgramStarter starter;
  platform::FakeWindowSystem windowSystem;
  platform::ScriptedDialogs dialogs;
  std::unique_ptr<envelope::ConverterWindow> window;
};

}  // namespace envelope_test
