#include "app/BrowserApp.h"

#include "browser/win32/BrowserWindow.h"

namespace vt {

int BrowserApp::Run() {
  {
    BrowserWindow window(session_, settings_);
    window.RunModalWatching(nullptr);
  }  // the window's destruction disconnects
  return 0;
}

}  // namespace vt
