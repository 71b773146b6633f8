#include "platform/x11_windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "common/errors.h"

namespace platform {
namespace {

constexpr auto kCloseWait = std::chrono::seconds(2);
constexpr auto kClosePoll = std::chrono::milliseconds(20);
constexpr auto kFrontWait = std::chrono::seconds(2);
constexpr auto kFrontPoll = std::chrono::milliseconds(25);

// X errors (a window that went away between two requests) are counted, not fatal.
int g_errorCount = 0;
int CountError(Display*, XErrorEvent*) {
  ++g_errorCount;
  return 0;
}

// Installs the counting error handler for the life of the object and restores the old one.
class ErrorTrap {
 public:
  explicit ErrorTrap(Display* display) : display_(display) {
    XSync(display_, False);
    before_ = g_errorCount;
    old_ = XSetErrorHandler(CountError);
  }
  ~ErrorTrap() {
    XSync(display_, False);
    XSetErrorHandler(old_);
  }
  bool Failed() {
    XSync(display_, False);
    return g_errorCount != before_;
  }

 private:
  Display* display_;
  XErrorHandler old_;
  int before_ = 0;
};

std::string Latin1ToUtf8(const unsigned char* bytes, std::size_t size) {
  std::string out;
  for (std::size_t i = 0; i < size; ++i) {
    unsigned char b = bytes[i];
    if (b < 0x80) {
      out += static_cast<char>(b);
    } else {
      out += static_cast<char>(0xC0 | (b >> 6));
      out += static_cast<char>(0x80 | (b & 0x3F));
    }
  }
  return out;
}

}  // namespace

struct X11WindowSystem::Impl {
  Display* display = nullptr;
  Window root = 0;
  Atom clientListStacking = 0, netWmName = 0, utf8String = 0, wmState = 0, wmProtocols = 0,
       wmDeleteWindow = 0, netWmPid = 0, netActiveWindow = 0;

  bool HasProperty(Window w, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, w, property, 0, 0, False, AnyPropertyType, &type, &format,
                           &count, &remaining, &data) != Success)
      return false;
    if (data) XFree(data);
    return type != None;
  }

  // The EWMH list of managed windows, bottom to top; false when the window manager keeps none.
  bool StackingList(std::vector<WindowId>& out) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, root, clientListStacking, 0, 1L << 20, False, XA_WINDOW, &type,
                           &format, &count, &remaining, &data) != Success)
      return false;
    bool ok = type == XA_WINDOW && format == 32;
    if (ok) {
      // Xlib hands 32-bit items over as longs.
      auto* ids = reinterpret_cast<unsigned long*>(data);
      out.assign(ids, ids + count);
    }
    if (data) XFree(data);
    return ok;
  }

  // The client window at or below `w` (the one carrying WM_STATE), looking `depth` levels down.
  Window ClientBelow(Window w, int depth) {
    if (HasProperty(w, wmState)) return w;
    if (depth == 0) return 0;
    Window rootReturn = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, w, &rootReturn, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned int i = count; i-- > 0 && !found;) found = ClientBelow(children[i], depth - 1);
    if (children) XFree(children);
    return found;
  }

  // Without the EWMH list: the children of the root (bottom to top) that are client windows
  // themselves or frames around one, or that carry a title (no window manager at all).
  std::vector<WindowId> TreeList() {
    std::vector<WindowId> out;
    Window rootReturn = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, root, &rootReturn, &parent, &children, &count)) return out;
    for (unsigned int i = 0; i < count; ++i) {
      XWindowAttributes attributes;
      if (!XGetWindowAttributes(display, children[i], &attributes)) continue;
      if (attributes.override_redirect) continue;  // menus, tool tips
      if (Window client = ClientBelow(children[i], 2)) {
        out.push_back(client);
      } else if (!TitleOf(children[i]).empty()) {
        out.push_back(children[i]);
      }
    }
    if (children) XFree(children);
    return out;
  }

  std::string TitleOf(Window w) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, w, netWmName, 0, 1L << 16, False, utf8String, &type, &format,
                           &count, &remaining, &data) == Success) {
      std::string title;
      bool ok = type == utf8String && format == 8;
      if (ok) title.assign(reinterpret_cast<char*>(data), count);
      if (data) XFree(data);
      if (ok) return title;
    }
    XTextProperty property{};
    if (!XGetWMName(display, w, &property) || !property.value) return {};
    std::string title;
    if (property.format == 8 && property.encoding == XA_STRING) {
      title = Latin1ToUtf8(property.value, property.nitems);
    } else if (property.format == 8 && property.encoding == utf8String) {
      title.assign(reinterpret_cast<char*>(property.value), property.nitems);
    } else {
      char** list = nullptr;
      int items = 0;
      if (Xutf8TextPropertyToTextList(display, &property, &list, &items) >= Success && list) {
        for (int i = 0; i < items; ++i) title += list[i];
        XFreeStringList(list);
      } else if (property.format == 8) {
        title.assign(reinterpret_cast<char*>(property.value), property.nitems);
      }
    }
    XFree(property.value);
    return title;
  }

  // The _NET_WM_PID of `w`; 0 when it has none.
  unsigned long PidOf(Window w) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0, pid = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, w, netWmPid, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                           &remaining, &data) != Success)
      return 0;
    if (type == XA_CARDINAL && format == 32 && count == 1)
      pid = *reinterpret_cast<unsigned long*>(data);  // 32-bit items come as longs
    if (data) XFree(data);
    return pid;
  }

  bool TakesDeleteWindow(Window w) {
    Atom* protocols = nullptr;
    int count = 0;
    if (!XGetWMProtocols(display, w, &protocols, &count)) return false;
    bool found = std::find(protocols, protocols + count, wmDeleteWindow) != protocols + count;
    if (protocols) XFree(protocols);
    return found;
  }
};

X11WindowSystem::X11WindowSystem(const char* displayName) : impl_(std::make_unique<Impl>()) {
  Display* display = XOpenDisplay(displayName);
  if (!display) return;
  impl_->display = display;
  impl_->root = DefaultRootWindow(display);
  impl_->clientListStacking = XInternAtom(display, "_NET_CLIENT_LIST_STACKING", False);
  impl_->netWmName = XInternAtom(display, "_NET_WM_NAME", False);
  impl_->utf8String = XInternAtom(display, "UTF8_STRING", False);
  impl_->wmState = XInternAtom(display, "WM_STATE", False);
  impl_->wmProtocols = XInternAtom(display, "WM_PROTOCOLS", False);
  impl_->wmDeleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  impl_->netWmPid = XInternAtom(display, "_NET_WM_PID", False);
  impl_->netActiveWindow = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
}

X11WindowSystem::~X11WindowSystem() {
  if (impl_->display) XCloseDisplay(impl_->display);
}

bool X11WindowSystem::Connected() const { return impl_->display != nullptr; }

std::vector<WindowId> X11WindowSystem::ClientWindows() {
  std::vector<WindowId> list;
  if (!impl_->display) return list;
  ErrorTrap trap(impl_->display);
  if (!impl_->StackingList(list)) list = impl_->TreeList();
  std::reverse(list.begin(), list.end());
  return list;
}

WindowId X11WindowSystem::First() {
  std::vector<WindowId> list = ClientWindows();
  return list.empty() ? 0 : list.front();
}

WindowId X11WindowSystem::Next(WindowId after) {
  std::vector<WindowId> list = ClientWindows();
  auto it = std::find(list.begin(), list.end(), after);
  if (it == list.end() || ++it == list.end()) return 0;
  return *it;
}

std::string X11WindowSystem::Title(WindowId window) {
  if (!impl_->display) return {};
  ErrorTrap trap(impl_->display);
  std::string title = impl_->TitleOf(static_cast<Window>(window));
  return trap.Failed() ? std::string() : title;
}

void X11WindowSystem::SendClose(WindowId window) {
  if (!impl_->display) return;
  {
    ErrorTrap trap(impl_->display);
    auto w = static_cast<Window>(window);
    if (!impl_->TakesDeleteWindow(w)) return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = w;
    event.xclient.message_type = impl_->wmProtocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(impl_->wmDeleteWindow);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(impl_->display, w, False, NoEventMask, &event);
    if (trap.Failed()) return;
  }
  // The close is synchronous for the caller: wait until the window has gone, within a bound.
  const auto deadline = std::chrono::steady_clock::now() + kCloseWait;
  while (std::chrono::steady_clock::now() < deadline) {
    std::vector<WindowId> list = ClientWindows();
    if (std::find(list.begin(), list.end(), window) == list.end()) return;
    std::this_thread::sleep_for(kClosePoll);
  }
}

long X11WindowSystem::ProcessOf(WindowId window) {
  if (!impl_->display) return 0;
  ErrorTrap trap(impl_->display);
  const unsigned long pid = impl_->PidOf(static_cast<Window>(window));
  return trap.Failed() ? 0 : static_cast<long>(pid);
}

void X11WindowSystem::BringToFront(double taskId) {
  // A task id is a process id: a positive whole number.
  if (!impl_->display || !(taskId >= 1 && taskId <= 4294967295.0) || taskId != std::trunc(taskId))
    common::Raise(common::kInvalidCall);
  const auto pid = static_cast<unsigned long>(taskId);
  Window found = 0;
  const auto deadline = std::chrono::steady_clock::now() + kFrontWait;
  while (true) {
    std::vector<WindowId> list = ClientWindows();
    {
      ErrorTrap trap(impl_->display);
      for (WindowId w : list) {
        if (impl_->PidOf(static_cast<Window>(w)) != pid) continue;
        found = static_cast<Window>(w);
        break;
      }
    }
    if (found || std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(kFrontPoll);
  }
  if (!found) common::Raise(common::kInvalidCall);
  // The window may go away meanwhile: its errors are trapped and the step stays silent.
  ErrorTrap trap(impl_->display);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = found;
  event.xclient.message_type = impl_->netActiveWindow;
  event.xclient.format = 32;
  event.xclient.data.l[0] = 1;  // source: an application
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(impl_->display, impl_->root, False, SubstructureRedirectMask | SubstructureNotifyMask,
             &event);
  XRaiseWindow(impl_->display, found);
  XSetInputFocus(impl_->display, found, RevertToParent, CurrentTime);
  XSync(impl_->display, False);
}

namespace {

class NoWindows : public WindowSystem {
 public:
  WindowId First() override { return 0; }
  WindowId Next(WindowId) override { return 0; }
  std::string Title(WindowId) override { return {}; }
  void SendClose(WindowId) override {}
  void BringToFront(double) override { common::Raise(common::kInvalidCall); }
};

}  // namespace

WindowSystem& DesktopWindows() {
  static X11WindowSystem desktop;
  static NoWindows none;
  if (desktop.Connected()) return desktop;
  return none;
}

}  // namespace platform
