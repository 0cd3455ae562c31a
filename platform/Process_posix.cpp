#include <spawn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/CommandLine.h"
#include "platform/Process.h"

extern char** environ;

namespace vt {

namespace {
bool Spawn(const std::vector<std::string>& args) {
  if (args.empty() || args[0].empty()) return false;
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  return posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0;
}
}  // namespace

bool StartProgram(const std::string& commandLine) {
  return Spawn(SplitCommandLine(commandLine));
}

bool ProgramFileExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void EndProcess(int code) {
  std::fflush(nullptr);
  std::exit(code);
}

}  // namespace vt
