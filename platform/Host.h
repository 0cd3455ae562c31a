// What the client needs of the user's desktop, one interface for every layer: a plain message
// box, and a page opened in the user's web browser. Each window is the host of what happens
// while it is in front (its boxes are owned by it); vtcli prints; the tests record
// (tests/support/RecordingHost.h). A step after which the program must end says so in its
// result, which its callers pass up to main: nothing below main ends the process.
#pragma once

#include <functional>
#include <string>

namespace vt {

class Host {
public:
  virtual ~Host() = default;
  // A modal message box with the text and an OK button. caption nullptr: the platform's
  // default caption; kProgramCaption: the program's name.
  virtual void ShowMessage(const std::string& text, const char* caption) = 0;
  // The shell's default action on a web address; the result is not examined.
  virtual void OpenPage(const std::string& address) = 0;
};

// The caption of the boxes that speak for the program itself (a launch that cannot start, a skin
// that cannot load): a window's host shows the executable's name instead, where there is one.
inline constexpr char kProgramCaption[] = "VTBrowser";

// Whether the program goes on after a step or must end (the user left the login, or the client
// is out of date). A caller that gets EndProgram does nothing more and returns it in turn, up
// to main, which ends the program with exit code 0.
enum class [[nodiscard]] Next{GoOn, EndProgram};

// The platform's host of one window. Windows: boxes owned by the window while it is on screen,
// so that it is disabled behind them, and task-modal while it is not (before the first window
// shows, or for no window); pages through the shell. Elsewhere: boxes are lines on standard
// error (MessageBoxLine) and pages go to xdg-open.
class WindowHost final : public Host {
public:
  // window: asked for the window's handle (an HWND) at each box; none: no window.
  explicit WindowHost(std::function<void*()> window = {}) : window_(std::move(window)) {}
  void ShowMessage(const std::string& text, const char* caption) override;
  void OpenPage(const std::string& address) override;

private:
  std::function<void*()> window_;
};

// The host of no window, for the layers that have none to show their boxes over.
Host& DesktopHost();

// "CAPTION: TEXT": a box where there is no window system (default caption "VTBrowser").
std::string MessageBoxLine(const std::string& text, const char* caption);

}  // namespace vt
