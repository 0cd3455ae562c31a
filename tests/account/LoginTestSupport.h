// Recording stand-ins for what the login logic cannot be observed through: the window, the
// shell and the session's message boxes. Everything else in these tests is real: the session
// on a loopback socket, the web host over HTTP, the settings store in a temporary file.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "account/LoginLogic.h"
#include "service/ServiceUi.h"

namespace vt::test {

class RecordingShell : public AccountShell, public ServiceUi {
public:
  void OpenPage(const std::string& address) override { pages.push_back(address); }
  void EndProgram(int code) override {
    log->push_back("end:" + std::to_string(code));
    endCodes.push_back(code);
  }
  void ShowMessage(const std::string& text, const char* caption) override {
    log->push_back(std::string("message:") + (caption ? caption : "(default)") + ":" + text);
  }
  std::vector<std::string>* log = nullptr;
  std::vector<std::string> pages;
  std::vector<int> endCodes;
};

inline const char* NoticeName(LoginNotice n) {
  static const char* const kNames[] = {"UserInUse", "BadLogin", "ConnectionError", "ServerReply"};
  return kNames[static_cast<int>(n)];
}

// The window: ShowModal runs the test's user actions against the logic.
class FakeSurface : public LoginSurface {
public:
  int ShowModal() override {
    log->push_back("show-window");
    modalShown = true;
    if (user) user();
    return result;
  }
  void EndWindow(int r) override {
    log->push_back("end-window:" + std::to_string(r));
    result = r;
  }
  void EnableLogin(bool on) override { loginEnabled = on; }
  void ShowLamps(bool saveOn, bool autoOn) override {
    saveLamp = saveOn;
    autoLamp = autoOn;
  }
  void ShowConnecting() override {
    log->push_back("connecting");
    if (onConnecting) onConnecting();
  }
  void CloseConnecting() override { log->push_back("close-connecting"); }
  void ShowNotice(LoginNotice n) override { log->push_back(std::string("notice:") + NoticeName(n)); }
  bool ShiftHeld() override { return shift; }

  std::vector<std::string>* log = nullptr;
  std::function<void()> user;
  std::function<void()> onConnecting;
  bool modalShown = false;
  bool shift = false;
  int result = 0;
  bool loginEnabled = false, saveLamp = false, autoLamp = false;
};

}  // namespace vt::test
