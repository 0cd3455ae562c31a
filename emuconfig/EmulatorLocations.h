// Where the emulators keep their configuration: the folder named by VT_PATH.
#pragma once

#include <string>

namespace vt {

class SettingsStore;

// VT_PATH of Software\Vintara (machine hive) up to its first NUL; empty when the key or value is
// missing or the value does not fit 256 bytes with a terminating zero.
std::string LookUpEmulatorFolder(SettingsStore& settings);

}  // namespace vt
