// The application: one modal run of the browser window, then the end of the process. There is
// no message loop of the client's own.
#pragma once

#include "account/AccountShell.h"
#include "platform/SettingsStore.h"
#include "service/ServerSession.h"

namespace vt {

class BrowserApp {
public:
  BrowserApp(ServerSession& session, SettingsStore& settings, AccountShell& shell)
      : session_(session), settings_(settings), shell_(shell) {}

  // Builds the browser window, runs it modally and destroys it; the result of the run is not
  // used. Returns the process's exit code.
  int Run();

private:
  ServerSession& session_;
  SettingsStore& settings_;
  AccountShell& shell_;
};

}  // namespace vt
