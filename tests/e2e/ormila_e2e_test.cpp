// Ormila on screen: the real program under an X server, "Cso1" pressed with the mouse, TalvikTe
// started detached by its Windows path, and Csound rendering the wave.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <filesystem>
#include <fstream>
#include <cstdio>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "e2e_support.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// The values of one row of the tone list ("HT").
std::vector<std::string> ToneListRow(const e2e::Drive& drive, const std::string& keyword) {
  std::istringstream lines(drive.Read("Tesu.rsz"));
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(keyword + " ", 0) != 0) continue;
    std::istringstream words(line.substr(keyword.size()));
    std::vector<std::string> values;
    for (std::string w; words >> w;) values.push_back(w);
    return values;
  }
  return {};
}

TEST(OrmilaOnScreen, Cso1PressedInTheWindowRendersTheExampleProject) {
  ORMILA_ON_SCREEN(drive, ormila, "ormila");
  const std::string& window = ormila.window();
  ASSERT_TRUE(ormila.Click("Command3"));
  const bool rendered = drive.WaitFor("cool-started.txt", 120s);

  // A picture of the window after the run, for review (under the build folder).
  const fs::path shot = drive.root() / "ormila-window.xwd";
  std::system(("xwd -silent -id " + window + " > '" + shot.string() + "' 2>/dev/null && "
               "command -v convert >/dev/null && convert '" + shot.string() + "' '" +
               (fs::path(ORMILA_BINARY_DIR) / "ormila-window.png").string() + "' 2>/dev/null")
                  .c_str());

  ASSERT_TRUE(rendered) << drive.Read("run.log");
  EXPECT_NE(drive.Read("Tesu.rsz").find("Reaperdatei: Gleiten.rpp"), std::string::npos);
  const e2e::Wave wave = e2e::ReadWave(drive.Arbeit() / "Dozudava.wav");
  EXPECT_EQ(wave.channels, 2);
  EXPECT_EQ(wave.sampleRate, 44100);
  EXPECT_NEAR(wave.seconds, 6.1, 0.01);  // points 1 to 6.5 s: 6 s, and 0.1 for the FOF echo
  EXPECT_GT(wave.peak, 0.01) << "the wave is silent";
}

// "H" at pitch strength 0 raises every pitch by 2^(1/100); "Var1" renders the varied values.
TEST(OrmilaOnScreen, HAtStrengthZeroThenVar1RendersTheRaisedPitches) {
  ORMILA_ON_SCREEN(drive, ormila, "ormila-var1");

  ASSERT_TRUE(ormila.Click("Command3"));
  ASSERT_TRUE(drive.WaitFor("cool-started.txt", 120s)) << drive.Read("run.log");
  const std::vector<std::string> cso1 = ToneListRow(drive, "HT");
  ASSERT_EQ(cso1.size(), 6u) << drive.Read("Tesu.rsz");
  fs::remove(drive.Arbeit() / "cool-started.txt");
  fs::remove(drive.Arbeit() / "Dozudava.wav");

  ASSERT_TRUE(ormila.Click("H_Enter"));
  std::this_thread::sleep_for(300ms);
  ASSERT_TRUE(ormila.Click("Variation"));
  ASSERT_TRUE(drive.WaitFor("cool-started.txt", 120s)) << drive.Read("run.log");

  const std::vector<std::string> varied = ToneListRow(drive, "HT");
  ASSERT_EQ(varied.size(), cso1.size()) << drive.Read("Tesu.rsz");
  for (size_t k = 0; k < cso1.size(); ++k) {
    const double expected = std::floor(std::stod(cso1[k]) * std::pow(2.0, 0.01) * 100 + 0.5) / 100;
    EXPECT_DOUBLE_EQ(std::stod(varied[k]), expected) << cso1[k] << " became " << varied[k];
  }
  const e2e::Wave wave = e2e::ReadWave(drive.Arbeit() / "Dozudava.wav");
  EXPECT_NEAR(wave.seconds, 6.1, 0.01);
  EXPECT_GT(wave.peak, 0.01) << "the wave is silent";
}

// The rendered wave once Csound has finished it; nullopt when none comes within the time.
std::optional<e2e::Wave> RenderedWave(const e2e::Drive& drive, std::chrono::seconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  const fs::path wave = drive.Arbeit() / "Dozudava.wav";
  std::uintmax_t lastSize = 0;
  while (std::chrono::steady_clock::now() < end) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(wave, ec);
    if (!ec && size > 44 && size == lastSize) {
      try {
        return e2e::ReadWave(wave);
      } catch (const std::exception&) {
      }
    }
    lastSize = ec ? 0 : size;
    std::this_thread::sleep_for(500ms);
  }
  return std::nullopt;
}

TEST(OrmilaOnScreen, UThenCso1ConvertsTheTimeSelection) {
  ORMILA_ON_SCREEN(drive, ormila, "ormila-u");
  ASSERT_TRUE(ormila.Click("Command7"));
  ASSERT_TRUE(ormila.Click("Command3"));
  ASSERT_TRUE(drive.WaitFor("cool-started.txt", 120s)) << drive.Read("run.log");
  // The points inside the selection 1 to 5.5 s; the whole envelope goes on to 5.75 and 6.5.
  const std::string toneList = drive.Read("Tesu.rsz");
  EXPECT_NE(toneList.find("\r\nZP         1           2.5         3.25        4\r\n"),
            std::string::npos)
      << toneList;
  const e2e::Wave wave = e2e::ReadWave(drive.Arbeit() / "Dozudava.wav");
  EXPECT_NEAR(wave.seconds, 4.1, 0.01);  // 6.1 for the whole envelope
}

// TalvikTe2 starts the user's C:\Arbeit\cs06b2.bat, which renders without the audio editor (the
// drive's sample batch).
TEST(OrmilaOnScreen, CoolThenCso1RendersWithoutTheAudioEditor) {
  ORMILA_ON_SCREEN(drive, ormila, "ormila-cool");
  ASSERT_TRUE(ormila.Click("Cool"));
  ASSERT_TRUE(ormila.Click("Command3"));
  const std::optional<e2e::Wave> wave = RenderedWave(drive, 120s);
  ASSERT_TRUE(wave) << drive.Read("run.log");
  EXPECT_EQ(wave->channels, 2);
  EXPECT_NEAR(wave->seconds, 6.1, 0.01);
  std::this_thread::sleep_for(1s);
  EXPECT_FALSE(fs::exists(drive.Arbeit() / "cool-started.txt")) << "the audio editor was started";
}

// "vgl" twice with a project whose name holds "Kelvo": the comparison tone's window (the drive's
// stand-in shows its message in one titled "Kelvo") is asked to close, Ormila's own is not.
TEST(OrmilaOnScreen, VglTwiceNeverClosesOrmilasOwnWindow) {
  ORMILA_ON_SCREEN(drive, ormila, "ormila-vgl");
  const std::string& window = ormila.window();
  ASSERT_TRUE(ormila.Type("Text1", "Kelvo-Test"));
  std::this_thread::sleep_for(500ms);
  ASSERT_FALSE(e2e::CommandOutput("xdotool search --name 'Kelvo-Test.rpp'").empty())
      << "the caption names the project";
  ASSERT_TRUE(ormila.Click("Stimmen"));
  const bool kelvoShown =
      !e2e::CommandOutput("timeout 10 xdotool search --sync --name '^Kelvo$' | head -1").empty();
  // Ormila's window above the comparison tone's, so that the walk meets it first.
  std::system(("xdotool windowraise " + window).c_str());
  // The first click may still wait (about two seconds) for a window of the started program.
  ASSERT_TRUE(ormila.Click("Stimmen"));
  std::this_thread::sleep_for(4s);
  EXPECT_TRUE(ormila.Running()) << "Ormila ended";
  EXPECT_FALSE(e2e::CommandOutput("xdotool search --name 'Kelvo-Test.rpp'").empty())
      << "Ormila's window closed";
  if (kelvoShown) {
    EXPECT_TRUE(e2e::CommandOutput("xdotool search --name '^Kelvo$'").empty())
        << "the comparison tone stayed";
  }
}

}  // namespace

namespace {

// The window's pixels as xwd dumps them (ZPixmap, 24 or 32 bits a pixel, either byte order).
class WindowPicture {
 public:
  WindowPicture(const std::string& window, const fs::path& file) {
    std::system(("xwd -silent -id " + window + " > '" + file.string() + "' 2>/dev/null").c_str());
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    data_ = bytes.str();
    if (data_.size() < 100) return;
    auto field = [this](size_t i) { return Big32(i * 4); };
    const uint32_t headerSize = field(0), format = field(2);
    width_ = static_cast<int>(field(4));
    height_ = static_cast<int>(field(5));
    lsbFirst_ = field(7) == 0;
    bitsPerPixel_ = field(11);
    bytesPerLine_ = field(12);
    const uint32_t colours = field(19);
    pixels_ = headerSize + colours * 12;
    if (format != 2 || (bitsPerPixel_ != 24 && bitsPerPixel_ != 32) ||
        data_.size() < pixels_ + size_t(bytesPerLine_) * height_)
      width_ = height_ = 0;
  }
  bool Valid() const { return width_ > 0; }
  // "RRGGBB" of the pixel; empty outside the picture.
  std::string Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return "";
    const size_t at = pixels_ + size_t(y) * bytesPerLine_ + size_t(x) * (bitsPerPixel_ / 8);
    auto byte = [&](size_t i) { return static_cast<unsigned char>(data_[at + i]); };
    const int n = static_cast<int>(bitsPerPixel_ / 8);
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v |= uint32_t(byte(lsbFirst_ ? i : n - 1 - i)) << (8 * i);
    char hex[7];
    std::snprintf(hex, sizeof hex, "%06X", v & 0xFFFFFF);
    return hex;
  }
  // Some pixel of the rectangle has the colour.
  bool Shows(const std::string& colour, int x, int y, int width, int height) const {
    for (int j = y; j < y + height; ++j)
      for (int i = x; i < x + width; ++i)
        if (Pixel(i, j) == colour) return true;
    return false;
  }

 private:
  uint32_t Big32(size_t at) const {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(data_[at + i]);
    return v;
  }
  std::string data_;
  int width_ = 0, height_ = 0;
  bool lsbFirst_ = true;
  uint32_t bitsPerPixel_ = 0, bytesPerLine_ = 0;
  size_t pixels_ = 0;
};

std::string WindowSize(const std::string& window) {
  const std::string shell = e2e::CommandOutput("xdotool getwindowgeometry --shell " + window);
  const size_t w = shell.find("WIDTH="), h = shell.find("HEIGHT=");
  if (w == std::string::npos || h == std::string::npos) return shell;
  return shell.substr(w + 6, shell.find('\n', w) - w - 6) + "x" +
         shell.substr(h + 7, shell.find('\n', h) - h - 7);
}

// Five clicks of "i": the manual (pale green, dark green text), the start page (grey text), the
// settings legend and the reference tables (black on white; only the tables reach the right part
// of the list), then back to the work: the tone list is written again and no build starts.
TEST(OrmilaOnScreen, FiveInfoClicksShowThePagesAndRewriteTheToneListWithoutABuild) {
  ORMILA_ON_SCREEN(drive, ormila, "ormila-info");
  const std::string& window = ormila.window();
  const std::string workingSize = WindowSize(window);
  // The list in the info view, in pixels of the window: from (8, 373), 1000 wide, 655 high.
  const int listLeft = 8, listTop = 373;
  const struct {
    const char* back;  // the list's background behind the lines' ends
    const char* text;  // a colour the page's text is drawn in
    bool reachesRight;  // text right of column 77
  } pages[] = {
      {"F7FCF3", "355A16", false},
      {"F7F7F9", "707070", false},
      {"FFFFFF", "000000", false},
      {"FFFFFF", "000000", true},
  };
  for (int page = 1; page <= 4; ++page) {
    SCOPED_TRACE(page);
    ASSERT_TRUE(ormila.Click("Command2"));
    std::this_thread::sleep_for(500ms);
    if (page == 1) EXPECT_NE(WindowSize(window), workingSize) << "the window did not grow";
    const WindowPicture picture(window, drive.root() / ("info-page-" + std::to_string(page) + ".xwd"));
    ASSERT_TRUE(picture.Valid()) << "no picture of the window";
    EXPECT_EQ(picture.Pixel(listLeft + 900, listTop + 10), pages[page - 1].back);
    EXPECT_TRUE(picture.Shows(pages[page - 1].text, listLeft + 10, listTop, 700, 600))
        << "no text in " << pages[page - 1].text;
    EXPECT_EQ(picture.Shows("000000", listLeft + 750, listTop, 200, 600), pages[page - 1].reachesRight);
    EXPECT_FALSE(fs::exists(drive.Arbeit() / "Tesu.rsz"));
  }
  ASSERT_TRUE(ormila.Click("Command2"));
  ASSERT_TRUE(drive.WaitFor("Tesu.rsz", 20s)) << drive.Read("run.log");
  EXPECT_NE(drive.Read("Tesu.rsz").find("Reaperdatei: Gleiten.rpp"), std::string::npos);
  std::this_thread::sleep_for(3s);
  EXPECT_FALSE(fs::exists(drive.Arbeit() / "Dozudava.sco")) << "a compiler build ran";
  EXPECT_FALSE(fs::exists(drive.Arbeit() / "cool-started.txt"));
  EXPECT_EQ(WindowSize(window), workingSize);
  EXPECT_TRUE(ormila.Running());
}

}  // namespace
