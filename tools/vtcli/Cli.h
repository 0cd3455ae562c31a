// vtcli's commands over the service client, as a function so that tests can run them in process.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/Host.h"
#include "platform/SettingsStore.h"

namespace vt::cli {

// Exit codes besides 0 and 1.
inline constexpr int kExitRefused = 2;  // launch refused with a notice
inline constexpr int kExitUsage = 3;    // bad command line

// Runs a whole command line (without the program name). hostOverride, when not null, receives
// the core's message boxes instead of standard error. An out-of-date client ends with 0 after
// the update message, and prints nothing more.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        Host* hostOverride = nullptr);

}  // namespace vt::cli
