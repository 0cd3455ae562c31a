// Starting a program whose end the caller waits for: the browser comes back when its game ends.
#pragma once

#include <string>

#include "platform/win32/Handles.h"

namespace vt::win {

// StartProgram of platform/Process.h, keeping the started program's process handle (null when
// the start failed). The handle is signalled when the program ends.
KernelHandle StartWatchedProgram(const std::string& commandLine);

}  // namespace vt::win
