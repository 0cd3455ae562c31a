#include "emuconfig/EmulatorLocations.h"

#include "platform/SettingsStore.h"

namespace vt {

std::string LookUpEmulatorFolder(SettingsStore& settings) {
  // A 256-byte buffer whatever the value's type; a value that leaves no room for the terminator
  // is no folder name the emulators could use.
  return ReadClientText(settings, "VT_PATH", 256, FullBuffer::Absent).value_or(std::string());
}

}  // namespace vt
