// Starting programs.
#pragma once

#include <string>

namespace vt {

// Starts the program that a command line names, with the program's own folder as its current
// folder (ProgramFolder; the caller's when there is none), shown normally, and returns without
// waiting for it. True if the start succeeded; the launch does not examine it.
bool StartProgram(const std::string& commandLine);

// The folder of the program a command line starts, found as Windows finds it: inside the
// leading quotes, else the shortest blank-separated start of the line that names a file (as
// it is, or with ".exe" added where it has no extension). Empty when no file is named or the
// name holds no folder (a bare name the start looks for on the search path).
std::string ProgramFolder(const std::string& commandLine);

// True when the path names an existing file that is not a folder (the program a launch starts).
bool ProgramFileExists(const std::string& path);

}  // namespace vt
