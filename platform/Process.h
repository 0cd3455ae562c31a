// Starting programs and ending this one.
#pragma once

#include <string>

namespace vt {

// Starts the program that a command line names (split as in CommandLine.h), shown normally,
// without waiting for it. True if the start succeeded; the launch does not examine it.
bool StartProgram(const std::string& commandLine);

// True when the path names an existing file that is not a folder (the program a launch starts).
bool ProgramFileExists(const std::string& path);

// Ends the process at once with the code.
[[noreturn]] void EndProcess(int code);

}  // namespace vt
