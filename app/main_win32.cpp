// VTBrowser.exe entry point.
#include <windows.h>

#include "app/AboutBox.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  vt::AboutBox about;
  about.RunModal(nullptr);
  return 0;
}
