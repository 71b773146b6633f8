#include "e2e_support.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <algorithm>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "envelope/converter_window.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/program_start.h"
#include "platform/window_closing.h"

namespace e2e {

Drive::Drive(const std::string& name) : folder_("ormila-e2e-" + name), root_(folder_.path()) {
  std::string cmd = std::string("'") + ORMILA_SOURCE_DIR + "/tools/setup-drive.sh' '" +
                    root_.string() + "' '" + ORMILA_BINARY_DIR + "' >/dev/null";
  if (std::system(cmd.c_str()) != 0) throw std::runtime_error("setup-drive.sh failed");
  // The audio editor's stand-in records that the render batch reached it.
  fs::path cool = root_ / "c" / "cool" / "COOL96.exe";
  fs::remove(cool);
  std::ofstream(cool) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" << (Arbeit() / "cool-started.txt").string()
                      << ".tmp\" && mv \"" << (Arbeit() / "cool-started.txt").string() << ".tmp\" \""
                      << (Arbeit() / "cool-started.txt").string() << "\"\n";
  fs::permissions(cool, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
}

HostScope::HostScope(const Drive& drive) : drivesBefore_(platform::Drives()) {
  const char* path = std::getenv("PATH");
  if (path) pathBefore_ = path;
  platform::SetDrives(platform::DriveMap(drive.root()));
  setenv("PATH", (std::string(ORMILA_BINARY_DIR) + "/apps:" + pathBefore_.value_or("/usr/bin")).c_str(),
         1);
}

void HostScope::Restore() {
  if (!drivesBefore_) return;
  platform::SetDrives(*drivesBefore_);
  drivesBefore_.reset();
  if (pathBefore_) setenv("PATH", pathBefore_->c_str(), 1);
  else unsetenv("PATH");
}

void Drive::Write(const fs::path& rel, const std::string& bytes) const {
  std::ofstream out(Arbeit() / rel, std::ios::binary);
  out << bytes;
}

std::string Drive::Read(const fs::path& rel) const {
  std::ifstream in(Arbeit() / rel, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

int Drive::Run(const fs::path& program, const std::string& shellSetup) const {
  const std::string start =
      shellSetup.empty() ? "'" + program.string() + "'"
                         : "sh -c '" + shellSetup + "; exec \"$0\"' '" + program.string() + "'";
  std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ORMILA_DRIVES='" +
                    root_.string() + "' " + start + " >>'" + (Arbeit() / "run.log").string() +
                    "' 2>&1";
  int status = std::system(cmd.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool Drive::WaitFor(const fs::path& rel, std::chrono::seconds timeout) const {
  auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    std::error_code ec;
    if (fs::exists(Arbeit() / rel, ec)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

std::pair<int, int> ConverterControlCentre(const std::string& name, int index) {
  platform::FixedClock clock("10.12.2026", "08:15:00");
  platform::FakeProgramStarter starter;
  platform::FakeWindowSystem windows;
  platform::ScriptedDialogs dialogs;
  envelope::ConverterWindow model({clock, starter, windows, dialogs, dialogs, dialogs});
  const forms::Control* c = model.frmDatei.Find(name, index);
  if (!c) throw std::runtime_error("no control " + name);
  return {(c->left() + c->width() / 2) / 15, (c->top() + c->height() / 2) / 15};
}

std::string WhyNoScreen() {
  const char* display = std::getenv("DISPLAY");
  // Only on a server of the test's own: on a user's desktop the clicks would move the user's
  // mouse, and two of these tests at once would press each other's windows.
  if (!display || !*display || !std::getenv("ORMILA_X11_TEST"))
    return "needs an X server of its own (the CTest entry runs this under xvfb-run with "
           "ORMILA_X11_TEST=1)";
  if (std::system("command -v xdotool >/dev/null") != 0) return "xdotool is not installed";
  return "";
}

void WriteExampleProject(const Drive& drive) {
  const fs::path examples = fs::path(ORMILA_SOURCE_DIR) / "examples";
  for (const char* name : {"Gleiten.rpp", "Tesu.ini"}) {
    std::ifstream in(examples / name, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    drive.Write(name, ss.str());
  }
  const std::string sox = "sox -n -r 44100 -c 2 -b 16 '" + (drive.Arbeit() / "Klang.wav").string() +
                          "' synth 1 pluck 220 2>/dev/null";
  if (std::system(sox.c_str()) != 0) throw std::runtime_error("sox could not write Klang.wav");
}

std::string CommandOutput(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[256];
    while (fgets(buf, sizeof buf, p)) out += buf;
    pclose(p);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

OrmilaOnDisplay::OrmilaOnDisplay(const Drive& drive) {
  // Qt and the session bus it starts on the test's X server keep their files in the home folder:
  // one in the drive's temporary folder, not the user's.
  const fs::path home = drive.root() / "home";
  std::error_code ec;
  fs::create_directories(home, ec);
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("ORMILA_DRIVES", drive.root().c_str(), 1);
    setenv("HOME", home.c_str(), 1);
    // On the X server of the test, whatever Qt platform the caller's environment names.
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    const std::string log = (drive.Arbeit() / "run.log").string();
    if (!freopen(log.c_str(), "a", stdout) || !freopen(log.c_str(), "a", stderr)) _exit(126);
    const std::string program = std::string(ORMILA_BINARY_DIR) + "/apps/Ormila";
    execl(program.c_str(), "Ormila", nullptr);
    _exit(127);
  }
  pid_ = pid;
  if (pid_ > 0)
    window_ = CommandOutput(
        "timeout 20 xdotool search --sync --onlyvisible --name 'Ormila v5.31' | head -1");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
}

OrmilaOnDisplay::~OrmilaOnDisplay() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
}

bool OrmilaOnDisplay::Click(const std::string& control, int index) const {
  const auto [x, y] = ConverterControlCentre(control, index);
  const bool ok = std::system(("xdotool mousemove --window " + window_ + " " + std::to_string(x) +
                               " " + std::to_string(y) + " click 1")
                                  .c_str()) == 0;
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  return ok;
}

bool OrmilaOnDisplay::Running() const { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }

bool OrmilaOnDisplay::Type(const std::string& control, const std::string& text) const {
  if (!Click(control)) return false;
  const bool ok = std::system(("xdotool key --window " + window_ + " ctrl+a && xdotool type --delay 50 '" +
                               text + "'")
                                  .c_str()) == 0;
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  return ok;
}

namespace {
uint32_t U32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t U16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
}  // namespace

Wave ReadWave(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
  if (bytes.size() < 12 || std::memcmp(b, "RIFF", 4) != 0 || std::memcmp(b + 8, "WAVE", 4) != 0)
    throw std::runtime_error("not a WAV file: " + file.string());
  Wave w;
  int format = 0;
  size_t pos = 12;
  while (pos + 8 <= bytes.size()) {
    uint32_t size = U32(b + pos + 4);
    const unsigned char* body = b + pos + 8;
    if (std::memcmp(b + pos, "fmt ", 4) == 0) {
      format = U16(body);
      w.channels = U16(body + 2);
      w.sampleRate = static_cast<int>(U32(body + 4));
      w.bitsPerSample = U16(body + 14);
      if (format == 0xFFFE && size >= 26) format = U16(body + 24);
    } else if (std::memcmp(b + pos, "data", 4) == 0) {
      size_t available = std::min<size_t>(size, bytes.size() - pos - 8);
      int bytesPerSample = w.bitsPerSample / 8;
      if (w.channels == 0 || bytesPerSample == 0) throw std::runtime_error("no fmt chunk");
      size_t samples = available / bytesPerSample;
      w.seconds = double(samples / w.channels) / w.sampleRate;
      double squares = 0;
      for (size_t i = 0; i < samples; ++i) {
        const unsigned char* s = body + i * bytesPerSample;
        double v = 0;
        if (format == 3 && bytesPerSample == 4) {
          float f;
          std::memcpy(&f, s, 4);
          v = f;
        } else if (bytesPerSample == 2) {
          v = int16_t(U16(s)) / 32768.0;
        } else if (bytesPerSample == 3) {
          int32_t x = s[0] | (s[1] << 8) | (s[2] << 16);
          if (x & 0x800000) x -= 0x1000000;
          v = x / 8388608.0;
        } else if (bytesPerSample == 4) {
          v = int32_t(U32(s)) / 2147483648.0;
        }
        w.peak = std::max(w.peak, std::fabs(v));
        squares += v * v;
      }
      if (samples > 0) w.rms = std::sqrt(squares / double(samples));
      return w;
    }
    pos += 8 + size + (size & 1);
  }
  throw std::runtime_error("no data chunk: " + file.string());
}

}  // namespace e2e
