// One way to read, write and name the bindings of each emulator, for the set-up windows and
// "vtcli controls" alike.
#pragma once

#include <string>

#include "controllers/ConsoleLayouts.h"
#include "input/ControllerConfig.h"
#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"

namespace vt {

// The emulator's reader for the player (Gest has one); false when nothing could be read.
bool LoadBindings(Emulator emulator, SettingsStore& settings, ControllerConfig& config, int player,
                  const MessageFn& showMessage);
// The emulator's writer for the player; false when the configuration was left as it was.
bool SaveBindings(Emulator emulator, SettingsStore& settings, const ControllerConfig& config, int player,
                  const MessageFn& showMessage);
// The name refresh of the emulator's console family.
void RefreshNames(Emulator emulator, ControllerConfig& config);
// Where the bindings live: the file's path, or nester's registry key of the player.
std::string BindingsLocation(Emulator emulator, const ControllerConfig& config, int player);
// "Gens", "MEKA", ...
const char* EmulatorName(Emulator emulator);

}  // namespace vt
