#include "platform/Process.h"

namespace vt {

namespace {

// The name's last component has no dot: the start tries it with ".exe".
bool WithoutExtension(const std::string& name) {
  const size_t slash = name.find_last_of("\\/");
  return name.find('.', slash == std::string::npos ? 0 : slash + 1) == std::string::npos;
}

bool NamesProgram(const std::string& name) {
  return !name.empty() &&
         (ProgramFileExists(name) || (WithoutExtension(name) && ProgramFileExists(name + ".exe")));
}

}  // namespace

std::string ProgramFolder(const std::string& commandLine) {
  std::string program;
  if (!commandLine.empty() && commandLine.front() == '"') {
    const size_t close = commandLine.find('"', 1);
    program = commandLine.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    if (!NamesProgram(program)) return std::string();
  } else {
    // An unquoted "C:\Program Files\Emu\nester.exe x" is tried as "C:\Program", then as
    // "C:\Program Files\Emu\nester.exe" and so on to the whole line; the first file wins.
    for (size_t end = commandLine.find_first_of(" \t");;
         end = commandLine.find_first_of(" \t", end + 1)) {
      const std::string candidate = commandLine.substr(0, end);
      if (NamesProgram(candidate)) {
        program = candidate;
        break;
      }
      if (end == std::string::npos) return std::string();
    }
  }
  const size_t slash = program.find_last_of("\\/");
  if (slash == std::string::npos) return std::string();
  // "C:\nester.exe" is in "C:\", not in the drive's current folder "C:".
  const bool root = slash == 0 || (slash == 2 && program[1] == ':');
  return program.substr(0, root ? slash + 1 : slash);
}

}  // namespace vt
