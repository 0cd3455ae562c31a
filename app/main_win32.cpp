// VTBrowser.exe entry point: the one ServerSession of the run, then the browser window's modal
// run. Every way out of the login other than success ends the process with exit code 0 from
// inside the browser's start-up.
#include <windows.h>
#include <commctrl.h>

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

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  std::unique_ptr<vt::SettingsStore> settings = vt::OpenSystemSettings();
  SystemServiceUi ui;
  // The deployment values under Software\Vintara ("GameServer", "WebHost") point the client
  // at another service, such as vtservice in the run command.
  vt::ServerSession session(ui, vt::ReadEndpoints(*settings));
  vt::SystemAccountShell shell;
  const int code = vt::BrowserApp(session, *settings, shell).Run();
  vt::EndProcess(code);
}
