// vtcli's commands over the service client, as a function so that tests can run them in process.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/SettingsStore.h"
#include "service/ServiceUi.h"

namespace vt::cli {

// Exit codes besides 0 and 1.
inline constexpr int kExitRefused = 2;  // launch refused with a notice
inline constexpr int kExitUsage = 3;    // bad command line

// Runs a whole command line (without the program name). uiOverride, when not null, receives the
// core's message boxes and program ends instead of standard error and process exit.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        ServiceUi* uiOverride = nullptr);

}  // namespace vt::cli
