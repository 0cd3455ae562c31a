// Where the emulators keep their configuration: the folder named by VT_PATH.
#pragma once

#include <string>

namespace vt {

class SettingsStore;

// VT_PATH of Software\Vintara (machine hive) as stored; empty when the key or value is missing
// or the value is too long to be a folder name (over 256 bytes).
std::string LookUpEmulatorFolder(SettingsStore& settings);

}  // namespace vt
