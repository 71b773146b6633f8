#include "platform/window_closing.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/x11_windows.h"
#include "temp_drive_root.h"

// Last: Xlib's macros (None, Bool, Status) clash with names in other headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#undef None
#undef Bool
#undef Status

namespace platform {
namespace {

using platform_test::ErrorOf;
using Window = FakeWindowSystem::Window;

std::vector<WindowId> Ids(const std::vector<Window>& windows) {
  std::vector<WindowId> ids;
  for (const Window& w : windows) ids.push_back(w.id);
  return ids;
}

std::string Repeat(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

struct FakeCase {
  const char* name;
  std::vector<Window> windows;
  std::string text;
  std::vector<WindowId> closeMessages;
  std::vector<WindowId> remaining;
};

void PrintTo(const FakeCase& c, std::ostream* os) { *os << c.name; }

class CloseWindowsByTitleTest : public testing::TestWithParam<FakeCase> {};

TEST_P(CloseWindowsByTitleTest, SendsCloseToMatchingWindows) {
  const FakeCase& c = GetParam();
  FakeWindowSystem windows;
  windows.windows = c.windows;
  CloseWindowsByTitle(windows, c.text);
  EXPECT_EQ(windows.closeMessages, c.closeMessages);
  EXPECT_EQ(Ids(windows.windows), c.remaining);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CloseWindowsByTitleTest,
    testing::Values(
        FakeCase{"CapitalLettersWithWordsAround",
                 {{1, "Editor - Tesu.rsz"},
                  {2, "Datei DOZUDAVA.WAV - COOL EDIT PRO 96 (Stereo)"},
                  {3, "anderes Fenster"}},
                 "Dozudava.wav - Cool Edit",
                 {2},
                 {1, 3}},
        FakeCase{"NoMatchSendsNothing",
                 {{1, "NoteTab Light - C:\\Arbeit\\Dozudava.orc"}, {2, "Dozudava.wav"}},
                 "NoteTab Light  -  C:\\Arbeit\\Dozudava.orc",
                 {},
                 {1, 2}},
        FakeCase{"RefusingWindowStaysAndTheWalkGoesOn",
                 {{1, "Dozudava.wav - Cool Edit", true}, {2, "Kelvo"}, {3, "dozudava.wav - cool edit"}},
                 "Dozudava.wav - Cool Edit",
                 {1, 3},
                 {1, 2}},
        FakeCase{"WalkEndsAfterAWindowThatClosed",
                 {{1, "Kelvo"}, {2, "Kelvo - zweites Fenster"}},
                 "Kelvo",
                 {1},
                 {2}},
        FakeCase{"TextEndingAtCharacter254Matches",
                 {{1, Repeat("a", 249) + "Kelvo"}},
                 "Kelvo",
                 {1},
                 {}},
        FakeCase{"TextReachingCharacter255DoesNotMatch",
                 {{1, Repeat("a", 250) + "Kelvo"}},
                 "Kelvo",
                 {},
                 {1}},
        FakeCase{"TitleLengthCountsCharactersNotBytes",
                 {{1, Repeat("\xC3\xA4", 249) + "Kelvo"}},
                 "Kelvo",
                 {1},
                 {}},
        FakeCase{"UmlautsCompareInLowerCase",
                 {{1, "KL\xC3\x84NGE"}},
                 "kl\xC3\xA4nge",
                 {1},
                 {}},
        FakeCase{"EmptyTextClosesNothing", {{1, "Kelvo"}}, "", {}, {1}}),
    [](const testing::TestParamInfo<FakeCase>& info) { return std::string(info.param.name); });

TEST(CloseWindowsByTitleSparing, LeavesTheWindowsOfTheSparedProcessAlone) {
  FakeWindowSystem windows;
  windows.windows = {{1, "Ormila v5.31 - Kelvo.rpp", false, 4711},
                     {2, "KELVO Vergleichston", false, 815},
                     {3, "Kelvo", false, 0}};
  CloseWindowsByTitle(windows, "Kelvo", 4711);
  EXPECT_EQ(windows.closeMessages, std::vector<WindowId>{2});
  EXPECT_EQ(Ids(windows.windows), (std::vector<WindowId>{1, 3}));
  // Sparing no process (0) is the plain walk.
  CloseWindowsByTitle(windows, "Kelvo", 0);
  EXPECT_EQ(windows.closeMessages, (std::vector<WindowId>{2, 1}));
}

TEST(FakeWindowSystemTest, BringsTheFirstWindowOfTheProcessToTheFront) {
  FakeWindowSystem windows;
  windows.windows = {{1, "Kelvo", false, 0}, {2, "Editor", false, 4711}, {3, "Editor 2", false, 4711}};
  windows.BringToFront(4711);
  EXPECT_EQ(windows.activated, std::vector<WindowId>{2});
}

TEST(FakeWindowSystemTest, TaskIdWithoutWindowIsError5) {
  FakeWindowSystem windows;
  windows.windows = {{1, "Kelvo", false, 0}, {2, "Editor", false, 4711}};
  EXPECT_EQ(ErrorOf([&] { windows.BringToFront(4712); }), 5);
  EXPECT_EQ(ErrorOf([&] { windows.BringToFront(0); }), 5);  // a window of no known process
  EXPECT_TRUE(windows.activated.empty());
}

TEST(X11WindowSystemTest, UnreachableDisplayHasNoWindowsAndClosesNothing) {
  X11WindowSystem windows(":99999");
  EXPECT_FALSE(windows.Connected());
  EXPECT_EQ(windows.First(), 0u);
  EXPECT_TRUE(windows.ClientWindows().empty());
  CloseWindowsByTitle(windows, "Kelvo");  // must return without touching anything
  EXPECT_EQ(ErrorOf([&] { windows.BringToFront(getpid()); }), 5);
}

// --- A real X server (run under xvfb-run with ORMILA_X11_TEST set) ---

struct OwnedWindow {
  const char* title;
  bool netWmName;       // title in _NET_WM_NAME (UTF-8), else in WM_NAME
  bool deleteProtocol;  // takes part in WM_DELETE_WINDOW
  bool ownPid;          // _NET_WM_PID names the owner process
};

// Created in this order, so the last is topmost.
const OwnedWindow kOwnedWindows[] = {
    {"x Dozudava.WAV - Cool Edit y", true, true, true},
    {"anderes Fenster", false, true, true},
    {"Dozudava.wav - Cool Edit (ohne Schliessprotokoll)", false, false, false},
};

// A child process that owns the windows: it reports "r" when they are mapped, and the index of
// each window that it destroys, a moment after it was asked to close. With `stackingList` it also
// keeps _NET_CLIENT_LIST_STACKING on the root window up to date, as a window manager does.
// `delayed`: it waits a moment before it creates them, as a program just started does.
[[noreturn]] void OwnWindows(int reportFd, bool stackingList, bool delayed) {
  if (delayed) usleep(300 * 1000);
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    [[maybe_unused]] ssize_t n = write(reportFd, "e", 1);
    _exit(1);
  }
  const ::Window root = DefaultRootWindow(display);
  Atom wmDelete = XInternAtom(display, "WM_DELETE_WINDOW", False);
  Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
  Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom stacking = XInternAtom(display, "_NET_CLIENT_LIST_STACKING", False);
  Atom netWmPid = XInternAtom(display, "_NET_WM_PID", False);
  const long pid = getpid();
  // Others see all the windows or none of them.
  XGrabServer(display);
  std::vector<::Window> windows;
  for (std::size_t i = 0; i < std::size(kOwnedWindows); ++i) {
    const OwnedWindow& owned = kOwnedWindows[i];
    ::Window w = XCreateSimpleWindow(display, root, 10 + 40 * static_cast<int>(i), 10, 200, 100, 1,
                                     0, 0xFFFFFF);
    if (owned.netWmName) {
      XChangeProperty(display, w, netWmName, utf8, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(owned.title),
                      static_cast<int>(std::strlen(owned.title)));
    } else {
      XStoreName(display, w, owned.title);
    }
    if (owned.deleteProtocol) XSetWMProtocols(display, w, &wmDelete, 1);
    if (owned.ownPid)
      XChangeProperty(display, w, netWmPid, XA_CARDINAL, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(&pid), 1);
    XMapWindow(display, w);
    windows.push_back(w);
  }
  std::vector<bool> open(windows.size(), true);
  auto publish = [&] {
    if (!stackingList) return;
    std::vector<long> list;
    for (std::size_t i = 0; i < windows.size(); ++i)
      if (open[i]) list.push_back(static_cast<long>(windows[i]));
    XChangeProperty(display, root, stacking, XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(list.data()), static_cast<int>(list.size()));
  };
  publish();
  XUngrabServer(display);
  XSync(display, False);
  [[maybe_unused]] ssize_t n = write(reportFd, "r", 1);
  while (true) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type != ClientMessage || static_cast<Atom>(event.xclient.data.l[0]) != wmDelete)
      continue;
    for (std::size_t i = 0; i < windows.size(); ++i) {
      if (!open[i] || windows[i] != event.xclient.window) continue;
      usleep(300 * 1000);  // a program takes its time to close
      XDestroyWindow(display, windows[i]);
      open[i] = false;
      publish();
      XSync(display, False);
      char index = static_cast<char>('0' + i);
      n = write(reportFd, &index, 1);
    }
  }
}

// What arrives on `fd` within `milliseconds`.
std::string ReadFor(int fd, int milliseconds) {
  std::string text;
  pollfd p{fd, POLLIN, 0};
  while (poll(&p, 1, milliseconds) > 0) {
    char buffer[16];
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
    milliseconds = 50;
  }
  return text;
}

std::vector<std::string> Titles(X11WindowSystem& windows) {
  std::vector<std::string> titles;
  for (WindowId w : windows.ClientWindows()) titles.push_back(windows.Title(w));
  return titles;
}

bool Has(const std::vector<std::string>& titles, const std::string& title) {
  return std::find(titles.begin(), titles.end(), title) != titles.end();
}

// The window owner as a child process; ended however the test leaves, and its list removed.
struct WindowOwner {
  pid_t pid = -1;
  int fd = -1;  // its reports
  WindowOwner(bool stackingList, bool delayed) {
    int report[2];
    if (pipe(report) != 0) return;
    pid = fork();
    if (pid == 0) {
      close(report[0]);
      OwnWindows(report[1], stackingList, delayed);
    }
    close(report[1]);
    fd = report[0];
  }
  ~WindowOwner() {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    if (fd >= 0) close(fd);
    if (Display* display = XOpenDisplay(nullptr)) {
      XDeleteProperty(display, DefaultRootWindow(display),
                      XInternAtom(display, "_NET_CLIENT_LIST_STACKING", False));
      XCloseDisplay(display);
    }
  }
};

// The titled children of the root, bottom to top: with no window manager, the stacking order.
std::vector<std::string> RootStack(X11WindowSystem& windows) {
  std::vector<std::string> titles;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return titles;
  ::Window rootReturn = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  if (XQueryTree(display, DefaultRootWindow(display), &rootReturn, &parent, &children, &count)) {
    for (unsigned int i = 0; i < count; ++i)
      if (std::string title = windows.Title(children[i]); !title.empty()) titles.push_back(title);
    if (children) XFree(children);
  }
  XCloseDisplay(display);
  return titles;
}

// The window that has the input focus.
::Window Focus() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 0;
  ::Window focus = 0;
  int revert = 0;
  XGetInputFocus(display, &focus, &revert);
  XCloseDisplay(display);
  return focus;
}

// false: the windows are found as children of the root (no window manager); true: through the
// window manager's stacking list.
class X11WindowClosing : public testing::TestWithParam<bool> {};

TEST_P(X11WindowClosing, ClosesTheMatchingRealWindowOnly) {
  // Only on a server of the test's own: on a user's desktop this would close real windows.
  if (!std::getenv("DISPLAY") || !std::getenv("ORMILA_X11_TEST"))
    GTEST_SKIP() << "needs an X server of its own (run under xvfb-run with ORMILA_X11_TEST=1)";

  WindowOwner owner(GetParam(), false);
  ASSERT_GT(owner.pid, 0);
  ASSERT_EQ(ReadFor(owner.fd, 5000), "r");

  X11WindowSystem windows;
  ASSERT_TRUE(windows.Connected());
  std::vector<std::string> before = Titles(windows);
  ASSERT_EQ(before.size(), std::size(kOwnedWindows));
  for (const OwnedWindow& owned : kOwnedWindows) EXPECT_TRUE(Has(before, owned.title)) << owned.title;
  EXPECT_NE(DesktopWindows().First(), 0u);

  // The windows of their owner are spared when it is named; the one without _NET_WM_PID is not.
  for (WindowId w : windows.ClientWindows()) {
    const std::string title = windows.Title(w);
    EXPECT_EQ(windows.ProcessOf(w), title == kOwnedWindows[2].title ? 0 : owner.pid) << title;
  }
  CloseWindowsByTitle(windows, "Dozudava.wav - Cool Edit (ohne", owner.pid);
  CloseWindowsByTitle(windows, "x Dozudava.WAV", owner.pid);
  EXPECT_EQ(Titles(windows).size(), std::size(kOwnedWindows));

  CloseWindowsByTitle(windows, "Dozudava.wav - Cool Edit");

  // The close is synchronous: the window has gone when the call returns.
  std::vector<std::string> after = Titles(windows);
  EXPECT_FALSE(Has(after, kOwnedWindows[0].title));
  EXPECT_TRUE(Has(after, kOwnedWindows[1].title));
  EXPECT_TRUE(Has(after, kOwnedWindows[2].title));  // no close protocol: never killed
  EXPECT_EQ(ReadFor(owner.fd, 1000), "0");
}

TEST_P(X11WindowClosing, BringsTheTopmostWindowOfAJustStartedProcessToTheFront) {
  if (!std::getenv("DISPLAY") || !std::getenv("ORMILA_X11_TEST"))
    GTEST_SKIP() << "needs an X server of its own (run under xvfb-run with ORMILA_X11_TEST=1)";

  X11WindowSystem windows;
  ASSERT_TRUE(windows.Connected());
  // Called right after the start: the windows appear while the call waits for them.
  WindowOwner owner(GetParam(), true);
  ASSERT_GT(owner.pid, 0);
  EXPECT_EQ(ErrorOf([&] { windows.BringToFront(owner.pid); }), 0);
  ASSERT_EQ(ReadFor(owner.fd, 5000), "r");

  // The process's upper window (below the one without _NET_WM_PID) is now topmost and focused.
  EXPECT_EQ(RootStack(windows), (std::vector<std::string>{kOwnedWindows[0].title,
                                                          kOwnedWindows[2].title,
                                                          kOwnedWindows[1].title}));
  ::Window focus = Focus();
  EXPECT_EQ(windows.Title(focus), kOwnedWindows[1].title);

  // A process without windows (this one): error 5 after the bounded wait.
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(ErrorOf([&] { windows.BringToFront(getpid()); }), 5);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(1500));
  EXPECT_LT(waited, std::chrono::seconds(4));
}

INSTANTIATE_TEST_SUITE_P(Walk, X11WindowClosing, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "StackingList" : "RootChildren");
                         });

}  // namespace
}  // namespace platform
