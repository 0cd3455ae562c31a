// "vtcli controls": show and set the controller bindings of an emulator's configuration.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/SettingsStore.h"

namespace vt::cli {

// args are the words after "controls":
//   show EMULATOR [--player N] [--folder DIR]
//   set EMULATOR [--player N] [--folder DIR] SLOTNAME=CODE ...
//   restore EMULATOR [--folder DIR]   (the configuration as it was before the client changed it)
// Exit code 0 on success, 1 when the configuration cannot be read or written, 2 for a usage
// error, an unknown slot or an unusable code (nothing is written then).
int RunControls(vt::SettingsStore& settings, const std::vector<std::string>& args,
                std::ostream& out, std::ostream& err);

}  // namespace vt::cli
