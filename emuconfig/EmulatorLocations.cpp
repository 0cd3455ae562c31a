#include "emuconfig/EmulatorLocations.h"

#include "platform/SettingsStore.h"

namespace vt {

std::string LookUpEmulatorFolder(SettingsStore& settings) {
  const std::string key = "Software\\Vintara";
  if (!settings.KeyExists(Hive::Machine, key)) return {};
  std::string bytes;
  // The value is read as a 256-byte text whatever its type; a longer one does not fit and is
  // taken as absent.
  if (!settings.QueryValue(Hive::Machine, key, "VT_PATH", bytes) || bytes.size() > 256) return {};
  return bytes.substr(0, bytes.find('\0'));
}

}  // namespace vt
