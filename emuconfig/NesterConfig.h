// nester's bindings: one registry key per player and button under the current user, holding the
// five fields of a NesterBinding.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "input/ControllerConfig.h"
#include "platform/MessageBox.h"

namespace vt {

class SettingsStore;


// "Software\nester\NES\Input\Controller<player>\<button>", button 0..7 = Up .. B.
std::string NesterKeyPath(int player, int button);
NesterBinding NesterDefaultBinding(int button);

// Fills NES records 0..7 and the NES names. A missing key gets the default binding, written to
// every missing key of both players; keys that exist keep what they hold.
bool LoadNesterConfig(SettingsStore& settings, ControllerConfig& config, int player, const MessageFn& showMessage);
// Writes NES records 0..7 to the player's keys; false if any of them could not be written.
bool SaveNesterConfig(SettingsStore& settings, const ControllerConfig& config, int player,
                      const MessageFn& showMessage);
// A missing key yields the default of the key's button, after the missing keys were filled in.
NesterBinding ReadNesterBinding(SettingsStore& settings, ControllerConfig& config, const std::string& keyPath,
                                const MessageFn& showMessage);
// A key that does not exist is not created: "Hmmmmm" / "Not Sure" and nothing written.
bool WriteNesterBinding(SettingsStore& settings, const std::string& keyPath, const NesterBinding& binding,
                        const MessageFn& showMessage);
// The copy of nester's values as they were before the client first wrote them, in the client's
// own key of the current user: "Software\Vintara\Originals\nester\Controller<player>\<button>",
// with the value "Complete" once every key that existed was copied. nester's tree is nester's.
inline constexpr const char* kNesterOriginalKey = "Software\\Vintara\\Originals\\nester";
// Where earlier versions kept the copy, inside nester's tree; a copy found there is moved.
inline constexpr const char* kOldNesterOriginalKey =
    "Software\\nester\\NES\\Input.vintara-original";
// Takes the copy unless a complete one exists; false when it cannot be taken.
bool KeepNesterOriginal(SettingsStore& settings);
// Writes the copied values back; false when no complete copy exists or a value cannot be written.
bool RestoreNesterOriginal(SettingsStore& settings);

// Creates all sixteen keys and writes the defaults to them and to the NES records.
void WriteNesterDefaults(SettingsStore& settings, ControllerConfig& config, const MessageFn& showMessage);

}  // namespace vt
