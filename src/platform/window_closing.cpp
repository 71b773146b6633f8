#include "platform/window_closing.h"

#include <unistd.h>

#include <algorithm>

#include "common/codec.h"
#include "common/errors.h"

namespace platform {
namespace {

// A title is read into a buffer of 255 characters, so at most 254 of it take part.
constexpr std::size_t kTitleCharacters = 254;


// The first `count` characters (UTF-8 code points) of `s`.
std::string_view FirstCharacters(std::string_view s, std::size_t count) {
  std::size_t i = 0;
  for (std::size_t n = 0; i < s.size() && n < count; ++n) {
    ++i;
    while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
  }
  return s.substr(0, i);
}

}  // namespace

void CloseWindowsByTitle(WindowSystem& windows, std::string_view text, long sparedProcess) {
  // An empty text would be contained in every title and close the whole desktop.
  if (text.empty()) return;
  const std::string wanted = common::LowerCase(text);
  for (WindowId window = windows.First(); window != 0; window = windows.Next(window)) {
    if (sparedProcess != 0 && windows.ProcessOf(window) == sparedProcess) continue;
    const std::string title = windows.Title(window);
    if (common::LowerCase(FirstCharacters(title, kTitleCharacters)).find(wanted) != std::string::npos)
      windows.SendClose(window);
  }
}

long OwnProcessId() { return static_cast<long>(::getpid()); }

WindowId FakeWindowSystem::First() { return windows.empty() ? 0 : windows.front().id; }

WindowId FakeWindowSystem::Next(WindowId after) {
  auto it = std::find_if(windows.begin(), windows.end(),
                         [after](const Window& w) { return w.id == after; });
  if (it == windows.end() || ++it == windows.end()) return 0;
  return it->id;
}

std::string FakeWindowSystem::Title(WindowId window) {
  for (const Window& w : windows)
    if (w.id == window) return w.title;
  return {};
}

void FakeWindowSystem::SendClose(WindowId window) {
  closeMessages.push_back(window);
  std::erase_if(windows, [window](const Window& w) { return w.id == window && !w.refusesToClose; });
}

void FakeWindowSystem::BringToFront(double taskId) {
  auto it = std::find_if(windows.begin(), windows.end(),
                         [taskId](const Window& w) { return w.pid != 0 && w.pid == taskId; });
  if (it == windows.end()) common::Raise(common::kInvalidCall);
  activated.push_back(it->id);
}

long FakeWindowSystem::ProcessOf(WindowId window) {
  for (const Window& w : windows)
    if (w.id == window) return w.pid;
  return 0;
}

}  // namespace platform
