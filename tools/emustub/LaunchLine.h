// emustub's portable part: what it reads from the launch command line, and the log it keeps.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vt::emustub {

struct LaunchRequest {
  std::string scheme;   // e.g. "VTA26://"; empty when the line holds no launch address
  std::string console;  // display name of the console the scheme stands for
  std::string gameKey;  // the address's last path segment
};

// Finds the launch address (scheme, user, ":", password, "@", host, "/", key) anywhere in the
// line, quoted or not. The user name and password may themselves hold ":", "@" or "/", so
// the key is what follows the address's last "/".
LaunchRequest ParseLaunchLine(std::string_view commandLine);

// The log is named by VT_EMUSTUB_LOG when that is set and not empty, else "emustub.log" in
// the executable's folder.
std::string LogPath(const char* envValue, const std::string& exeDir);

// Where each start's current folder is recorded, one line per start in the order of the log:
// beside the log, its name + ".folders", so that the log itself stays one command line a line.
std::string FolderLogPath(const std::string& logPath);

// Appends the line and a line feed with one write, so that concurrent starts do not
// interleave. False when the log cannot be written.
bool AppendLogLine(const std::string& path, std::string_view line);

// Where there is no single command line (POSIX), the line is rebuilt from the arguments,
// quoting those that Windows would need quoted.
std::string JoinAsCommandLine(const std::vector<std::string>& args);

}  // namespace vt::emustub
