// What a launch needs of the window that asked for it: the notices that refuse a launch and the
// start of the emulator. The browser window implements it; vtcli prints instead.
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
};

}  // namespace vt
