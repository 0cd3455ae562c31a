#include <spawn.h>
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
bool Spawn(const std::vector<std::string>& args, bool searchPath) {
  if (args.empty() || args[0].empty()) return false;
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  int rc = searchPath ? posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ)
                      : posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
  return rc == 0;
}
}  // namespace

bool StartProgram(const std::string& commandLine) {
  return Spawn(SplitCommandLine(commandLine), false);
}

bool OpenInBrowser(const std::string& address) { return Spawn({"xdg-open", address}, true); }

void EndProcess(int code) {
  std::fflush(nullptr);
  std::exit(code);
}

}  // namespace vt
