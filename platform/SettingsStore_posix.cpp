#include <cstdlib>
#include <filesystem>

#include "platform/SettingsStore.h"

namespace vt {

std::unique_ptr<SettingsStore> OpenSystemSettings() {
  if (const char* path = std::getenv("VT_REGISTRY"); path && *path) return OpenFileSettings(path);
  std::filesystem::path dir;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
    dir = xdg;
  else if (const char* home = std::getenv("HOME"); home && *home)
    dir = std::filesystem::path(home) / ".config";
  else
    dir = ".";
  dir /= "vtbrowser";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);  // a failure shows later as failed writes
  return OpenFileSettings((dir / "registry.txt").string());
}

}  // namespace vt
