#include <spawn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "platform/CommandLine.h"
#include "platform/Process.h"

extern char** environ;

namespace vt {

namespace {
bool Spawn(const std::vector<std::string>& args, const std::string& folder) {
  if (args.empty() || args[0].empty()) return false;
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  // The child changes folder before it runs the program: a relative name must not follow it.
  std::error_code ec;
  const std::string program = std::filesystem::absolute(args[0], ec).string();
  pid_t pid = 0;
  const bool ok =
      !ec && posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  return ok;
}
}  // namespace

bool StartProgram(const std::string& commandLine) {
  return Spawn(SplitCommandLine(commandLine), ProgramFolder(commandLine));
}

bool ProgramFileExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace vt
