#include <windows.h>
#include <shellapi.h>

#include <string_view>

#include "platform/Host.h"

namespace vt {

namespace {
// The executable's name without folder or extension.
std::string ProgramName() {
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name(path, n < MAX_PATH ? n : 0);
  if (auto slash = name.find_last_of("\\/"); slash != std::string::npos) name.erase(0, slash + 1);
  if (auto dot = name.rfind('.'); dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}
}  // namespace

void WindowHost::ShowMessage(const std::string& text, const char* caption) {
  HWND window = window_ ? static_cast<HWND>(window_()) : nullptr;
  // A hidden owner would leave the box without a task bar button behind nothing on screen.
  HWND owner = window && IsWindowVisible(window) ? window : nullptr;
  // The program's caption by its text, wherever the caller's copy of it lives.
  const bool programs = caption && std::string_view(caption) == kProgramCaption;
  const std::string name = programs ? ProgramName() : std::string();
  MessageBoxA(owner, text.c_str(), programs ? name.c_str() : caption,
              MB_OK | (owner ? 0 : MB_TASKMODAL));
}

void WindowHost::OpenPage(const std::string& address) {
  ShellExecuteA(nullptr, nullptr, address.c_str(), nullptr, nullptr, 0);
}

}  // namespace vt
