// Asking other programs' windows to close, chosen by a piece of their title.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

using WindowId = std::uint64_t;  // 0: no window

// The top-level windows in their order, their titles and the close message.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  virtual WindowId First() = 0;
  virtual WindowId Next(WindowId after) = 0;  // 0 after the last, or when `after` is gone
  virtual std::string Title(WindowId window) = 0;
  // Returns when the window's program has handled the message.
  virtual void SendClose(WindowId window) = 0;
};

// Sends the close message to every top-level window whose title contains `text`, compared in
// lower case; the walk ends after a window that closes on the message.
void CloseWindowsByTitle(WindowSystem& windows, std::string_view text);

// A list of windows for tests: closing removes a window unless it refuses.
class FakeWindowSystem : public WindowSystem {
 public:
  struct Window {
    WindowId id;
    std::string title;
    bool refusesToClose = false;
  };
  WindowId First() override;
  WindowId Next(WindowId after) override;
  std::string Title(WindowId window) override;
  void SendClose(WindowId window) override;

  std::vector<Window> windows;
  std::vector<WindowId> closeMessages;
};

}  // namespace platform
