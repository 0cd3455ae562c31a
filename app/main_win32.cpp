// VTBrowser.exe entry point: the one ServerSession of the run, then the login. Every way out
// of the login other than success ends the process with exit code 0 from inside it.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "account/win32/LoginWindow.h"
#include "account/win32/SystemAccountShell.h"
#include "app/AboutBox.h"
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

  std::string password, userName;  // the browser window's fields once it exists
  {
    vt::SystemAccountShell shell;
    vt::LoginWindow login(shell, *settings);
    login.Setup(password, userName, session);
    // Only a successful login comes back with OK; a login window that could not even be
    // created must end the run like a cancelled one, not carry on without a login.
    if (login.Run() != vt::kLoginOk) vt::EndProcess(0);
  }

  // Until the browser window exists, the About box stands in for it.
  vt::AboutBox about;
  about.RunModal(nullptr);
  session.Disconnect();
  return 0;
}
