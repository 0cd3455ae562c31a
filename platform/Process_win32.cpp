#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>

#include "platform/Process.h"

namespace vt {

bool StartProgram(const std::string& commandLine) {
  return WinExec(commandLine.c_str(), SW_SHOWNORMAL) > 31;
}

bool OpenInBrowser(const std::string& address) {
  return reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", address.c_str(), nullptr,
                                                 nullptr, SW_SHOWNORMAL)) > 32;
}

void EndProcess(int code) {
  std::fflush(nullptr);
  ExitProcess(static_cast<UINT>(code));
}

}  // namespace vt
