// Asking other programs' windows to close, chosen by a piece of their title.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

using WindowId = std::uint64_t;  // 0: no window

// The top-level windows in their order, their titles, the close message and bringing a
// program's window to the front.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  virtual WindowId First() = 0;
  virtual WindowId Next(WindowId after) = 0;  // 0 after the last, or when `after` is gone
  virtual std::string Title(WindowId window) = 0;
  // Returns when the window's program has handled the message.
  virtual void SendClose(WindowId window) = 0;
  // Brings a top-level window of the process with this task id (as the program start returns
  // it) to the front; error 5 when the process has none.
  virtual void BringToFront(double taskId) = 0;
  // The process that owns the window; 0 when that is not known.
  virtual long ProcessOf(WindowId) { return 0; }
};

// Sends the close message to every top-level window whose title contains `text`, compared in
// lower case; the walk ends after a window that closes on the message. The windows of the process
// `sparedProcess` (when not 0) are left alone.
void CloseWindowsByTitle(WindowSystem& windows, std::string_view text, long sparedProcess = 0);

// The id of this process, as ProcessOf gives it for the program's own windows.
long OwnProcessId();

// A list of windows for tests: closing removes a window unless it refuses; bringing to the front
// records the first window of the process.
class FakeWindowSystem : public WindowSystem {
 public:
  struct Window {
    WindowId id;
    std::string title;
    bool refusesToClose = false;
    long pid = 0;  // the owning process; 0: none known
  };
  WindowId First() override;
  WindowId Next(WindowId after) override;
  std::string Title(WindowId window) override;
  void SendClose(WindowId window) override;
  void BringToFront(double taskId) override;
  long ProcessOf(WindowId window) override;

  std::vector<Window> windows;
  std::vector<WindowId> closeMessages;
  std::vector<WindowId> activated;
};

}  // namespace platform
