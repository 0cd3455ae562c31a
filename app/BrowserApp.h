// The application: one modal run of the browser window, then the end of the process. The run's
// loop is the dialog layer's own, which also waits for the game a launch started, so that the
// browser comes back when it ends.
#pragma once

#include "platform/SettingsStore.h"
#include "service/ServerSession.h"

namespace vt {

class BrowserApp {
public:
  BrowserApp(ServerSession& session, SettingsStore& settings)
      : session_(session), settings_(settings) {}

  // Builds the browser window, runs it modally and destroys it; the result of the run is not
  // used: every way it ends, the program ends with exit code 0. Returns that code.
  int Run();

private:
  ServerSession& session_;
  SettingsStore& settings_;
};

}  // namespace vt
