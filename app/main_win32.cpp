// VTBrowser.exe entry point: the one ServerSession of the run, then the browser window's modal
// run, whose loop also waits for the game a launch started (the browser comes back when it
// ends). Every way the program ends (Close, the quit button, leaving the login, an out-of-date
// client) ends that run, and the program ends here, with exit code 0.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "browser/win32/BrowserWindow.h"
#include "platform/SettingsStore.h"
#include "service/Endpoints.h"
#include "service/ServerSession.h"

namespace {

// The service's addresses; tests shorten the 30-second receive time-out through the environment
// (VT_RECEIVE_TIMEOUT_MS) so that a stalled server is given up on quickly.
vt::ServiceEndpoints Endpoints(vt::SettingsStore& settings) {
  vt::ServiceEndpoints endpoints = vt::ReadEndpoints(settings);
  char text[16] = {};
  const DWORD n = GetEnvironmentVariableA("VT_RECEIVE_TIMEOUT_MS", text, sizeof text);
  if (n > 0 && n < sizeof text) {
    const long ms = std::strtol(text, nullptr, 10);
    if (ms > 0) endpoints.receiveTimeoutMs = static_cast<uint32_t>(ms);
  }
  return endpoints;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  std::unique_ptr<vt::SettingsStore> settings = vt::OpenSystemSettings();
  // The deployment values under Software\Vintara ("GameServer", "WebHost") point the client
  // at another service, such as vtservice in the run command.
  vt::ServerSession session(Endpoints(*settings));
  {
    vt::BrowserWindow window(session, *settings);
    window.RunModalWatching(nullptr);  // the result is not used: every way out ends with 0
  }                                    // the window's destruction disconnects
  return 0;
}
