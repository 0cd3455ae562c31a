// The recording stand-in for the login window, which the logic cannot be observed through
// otherwise (its boxes and pages: tests/support/RecordingHost.h). Everything else in these tests
// is real: the session on a loopback socket, the web host over HTTP, the settings store in a
// temporary file.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "account/LoginLogic.h"

namespace vt::test {

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
    ended = true;
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
  bool modalShown = false, ended = false;
  bool shift = false;
  int result = 0;
  bool loginEnabled = false, saveLamp = false, autoLamp = false;
};

}  // namespace vt::test
