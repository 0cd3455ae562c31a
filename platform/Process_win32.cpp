#include <windows.h>

#include <vector>

#include "platform/Process.h"
#include "platform/win32/ProgramStart.h"

namespace vt {

namespace win {

// What WinExec does, without its wait for the program to become idle (which held the caller's
// window for as long as the emulator took to start) and in the program's own folder.
KernelHandle StartWatchedProgram(const std::string& commandLine) {
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  std::string folder = ProgramFolder(commandLine);
  if (!folder.empty()) {
    char full[MAX_PATH];
    const DWORD n = GetFullPathNameA(folder.c_str(), MAX_PATH, full, nullptr);
    folder = n > 0 && n < MAX_PATH ? std::string(full, n) : std::string();
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process))
    return KernelHandle();
  CloseHandle(process.hThread);
  return KernelHandle(process.hProcess);
}

}  // namespace win

bool StartProgram(const std::string& commandLine) {
  return static_cast<bool>(win::StartWatchedProgram(commandLine));
}

bool ProgramFileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace vt
