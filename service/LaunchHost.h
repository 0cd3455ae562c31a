// What a launch needs of the window that asked for it: the notices that refuse a launch, the
// start of the emulator or the message when it cannot start, and saving the browser state and
// minimising afterwards. The browser
// window implements it; vtcli prints instead.
#pragma once

#include <string>

namespace vt {

class LaunchHost {
public:
  virtual ~LaunchHost() = default;
  // The game-in-use notice: fullAccountForm without the Upgrade Account button.
  virtual void ShowGameInUseNotice(bool fullAccountForm) = 0;
  // Copies are free for full accounts only.
  virtual void ShowLightAccountNotice() = 0;
  // The system's games are for full accounts only.
  virtual void ShowFullAccountOnlyNotice() = 0;
  // Starts the emulator from its command line, in its program's folder and without waiting for
  // it (the browser: StartProgram of platform/Process.h); false when the platform reports that
  // it could not.
  virtual bool StartEmulator(const std::string& commandLine) = 0;
  // A plain message box saying why no emulator was started and what to do.
  virtual void ShowLaunchFailure(const std::string& text) = 0;
  virtual void SaveBrowserState() = 0;
  virtual void Minimise() = 0;
};

}  // namespace vt
