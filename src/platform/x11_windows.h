// The window system of an X11 desktop: the top-level client windows, topmost first, their
// titles, the polite close request (WM_DELETE_WINDOW) and activation. A client is never killed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/window_closing.h"

namespace platform {

class X11WindowSystem : public WindowSystem {
 public:
  // Opens the named display (nullptr: $DISPLAY). Connected() tells whether that worked; an
  // unconnected system has no windows.
  explicit X11WindowSystem(const char* displayName = nullptr);
  ~X11WindowSystem() override;
  X11WindowSystem(const X11WindowSystem&) = delete;
  X11WindowSystem& operator=(const X11WindowSystem&) = delete;

  bool Connected() const;

  WindowId First() override;
  WindowId Next(WindowId after) override;
  // _NET_WM_NAME (UTF-8), else WM_NAME; UTF-8 either way.
  std::string Title(WindowId window) override;
  // Sends WM_DELETE_WINDOW when the window takes part in that protocol (else nothing) and waits,
  // at most about two seconds, for the window to go away.
  void SendClose(WindowId window) override;
  // Looks, for about two seconds (a program just started may not have mapped its window yet),
  // for the topmost client window whose _NET_WM_PID is the task id, then asks the window manager
  // to activate it (_NET_ACTIVE_WINDOW) and also raises and focuses it itself (no window manager).
  // Error 5 when none is found.
  void BringToFront(double taskId) override;
  // The window's _NET_WM_PID; 0 when it has none.
  long ProcessOf(WindowId window) override;

  // The client windows in stacking order, topmost first.
  std::vector<WindowId> ClientWindows();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The desktop's window system: the X11 one when $DISPLAY can be opened, else one without windows.
WindowSystem& DesktopWindows();

}  // namespace platform
