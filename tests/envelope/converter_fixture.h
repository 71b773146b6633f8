// Shared set-up of the converter tests: a converter window on a temporary drive root (with the
// folder C:\Arbeit\) and fake platform services, the clock fixed at 10.12.2026 08:15:00.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

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

// Members are public so that the tables of cases in the tests can reach them.
class ConverterTest : public ::testing::Test {
 public:
  ConverterTest() {
    root.MakeFolder("c/Arbeit");
    // Never the user's drive root: every path of the window goes to the temporary root.
    platform::SetDrives(platform::DriveMap(root.root()));
    window = std::make_unique<envelope::ConverterWindow>(envelope::ConverterServices{
        clock, starter, windowSystem, dialogs, dialogs, dialogs, dialogs});
  }
  ~ConverterTest() override {
    window.reset();  // closes (or drops) what the window left open before the root goes
    platform::SetDrives(platform::DriveMap::FromEnvironment());
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
