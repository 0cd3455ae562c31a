#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "platform/Process.h"

namespace vt {

bool StartProgram(const std::string& commandLine) {
  return WinExec(commandLine.c_str(), SW_SHOWNORMAL) > 31;
}

bool ProgramFileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void EndProcess(int code) {
  std::fflush(nullptr);
  ExitProcess(static_cast<UINT>(code));
}

}  // namespace vt
