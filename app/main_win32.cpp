// VTBrowser.exe entry point: the one ServerSession of the run, then the browser window's modal
// run. Every way out of the login other than success ends the process with exit code 0 from
// inside the browser's start-up.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "account/win32/SystemAccountShell.h"
#include "app/BrowserApp.h"
#include "platform/MessageBox.h"
#include "platform/Process.h"
#include "platform/SettingsStore.h"
#include "service/Endpoints.h"
#include "service/ServerSession.h"

namespace {

// The service client's message boxes and program end.
class SystemServiceUi : public vt::ServiceUi {
public:
  void ShowMessage(const std::string& text, const char* caption) override {
    vt::ShowMessageBox(text, caption);
  }
  void EndProgram(int code) override { vt::EndProcess(code); }
};

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
  SystemServiceUi ui;
  // The deployment values under Software\Vintara ("GameServer", "WebHost") point the client
  // at another service, such as vtservice in the run command.
  vt::ServerSession session(ui, Endpoints(*settings));
  vt::SystemAccountShell shell;
  const int code = vt::BrowserApp(session, *settings, shell).Run();
  vt::EndProcess(code);
}
