// Helpers for end-to-end runs: a temporary drive root set up like a composer's machine, running a
// built program on it, and reading the rendered wave.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/errors.h"
#include "temp_folder.h"
#include "platform/drive_map.h"
#include "platform/program_start.h"

namespace e2e {

namespace fs = std::filesystem;

// A fresh drive root in a temporary folder of its own (removed at the end), set up by
// tools/setup-drive.sh; the audio editor's stand-in is replaced by one that records its arguments
// in C:\Arbeit\cool-started.txt.
class Drive {
 public:
  explicit Drive(const std::string& name);
  const fs::path& root() const { return root_; }
  fs::path Arbeit() const { return root_ / "c" / "Arbeit"; }
  // Writes bytes as they are (the caller gives CR LF).
  void Write(const fs::path& relativeToArbeit, const std::string& bytes) const;
  std::string Read(const fs::path& relativeToArbeit) const;

  // Runs a program of the drive (host path) with ORMILA_DRIVES set and no display; its output
  // and that of everything it starts goes to C:\Arbeit\run.log. Returns the exit status.
  // `shellSetup`, when given, is run by sh before the program (ulimit, trap).
  int Run(const fs::path& program, const std::string& shellSetup = "") const;
  // Waits until the file exists (and its size stays put for a moment); false on timeout.
  bool WaitFor(const fs::path& relativeToArbeit, std::chrono::seconds timeout) const;

 private:
  testing_support::TempFolder folder_;
  fs::path root_;
};

struct Wave {
  int channels = 0;
  int sampleRate = 0;
  int bitsPerSample = 0;
  double seconds = 0;
  double peak = 0;  // largest absolute sample, 0..1
  double rms = 0;   // root mean square of all samples, 0..1
};

// The centre, in pixels of the window, of the converter window's control of that name, from the
// window model's layout (15 twips a pixel).
std::pair<int, int> ConverterControlCentre(const std::string& name, int index = -1);

// Why the on-screen tests cannot run here ("" when they can): no X server of their own (a
// DISPLAY with ORMILA_X11_TEST set), or no xdotool.
std::string WhyNoScreen();

// A drive with the example project "Gleiten", its settings file and a plucked sample.
void WriteExampleProject(const Drive& drive);

// What a shell command prints, without its last line end.
std::string CommandOutput(const std::string& command);

// The program Ormila started on the drive under the X display (ORMILA_DRIVES set, its output in
// C:\Arbeit\run.log), pressed and typed into with xdotool; ended when destroyed.
class OrmilaOnDisplay {
 public:
  explicit OrmilaOnDisplay(const Drive& drive);
  ~OrmilaOnDisplay();
  OrmilaOnDisplay(const OrmilaOnDisplay&) = delete;
  OrmilaOnDisplay& operator=(const OrmilaOnDisplay&) = delete;

  // The X window id of the converter window; empty when it did not show within 20 s.
  const std::string& window() const { return window_; }
  // A mouse click in the middle of the control; false when xdotool failed.
  bool Click(const std::string& control, int index = -1) const;
  // Replaces the text of a text box by typing into it.
  bool Type(const std::string& control, const std::string& text) const;
  // The program is still running.
  bool Running() const;

 private:
  int pid_ = -1;
  std::string window_;
};

// A starter that hands each start to the one it points at: a window's first pass starts its batch
// on a fake, a later compile on the host.
class SwitchableStarter : public platform::ProgramStarter {
 public:
  double StartProgram(std::string_view commandLine, int windowStyle) override {
    return target->StartProgram(commandLine, windowStyle);
  }
  platform::ProgramStarter* target = nullptr;
};

// The drive root of the drive and, first on PATH, the programs of this build (the render batch is
// run by its batch runner) while the scope lasts, or until Restore.
class HostScope {
 public:
  explicit HostScope(const Drive& drive);
  ~HostScope() { Restore(); }
  HostScope(const HostScope&) = delete;
  HostScope& operator=(const HostScope&) = delete;
  void Restore();

 private:
  std::optional<platform::DriveMap> drivesBefore_;
  std::optional<std::string> pathBefore_;
};

// Runs f and tells whether it ended the program.
inline bool EndsTheProgram(const std::function<void()>& f) {
  try {
    f();
  } catch (const common::ProgramEnd&) {
    return true;
  }
  return false;
}

// Reads a PCM WAV file (16, 24 or 32 bit integer, or 32-bit float).
Wave ReadWave(const fs::path& file);

}  // namespace e2e

// In a test body: Ormila on a drive of its own with the example project, its window shown; the
// test skips where there is no X server of its own (the CTest entry runs it under xvfb-run).
#define ORMILA_ON_SCREEN(drive, ormila, name)                                  \
  if (const std::string why = e2e::WhyNoScreen(); !why.empty()) GTEST_SKIP() << why; \
  e2e::Drive drive(name);                                                      \
  e2e::WriteExampleProject(drive);                                             \
  e2e::OrmilaOnDisplay ormila(drive);                                          \
  ASSERT_FALSE(ormila.window().empty()) << drive.Read("run.log")
