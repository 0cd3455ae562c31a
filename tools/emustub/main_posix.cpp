// emustub on Linux: records its arguments as one command line and its current folder, and says
// what it would play.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/emustub/LaunchLine.h"

namespace {

std::string ExeDir() {
  char buf[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return ".";
  std::string path(buf, static_cast<std::size_t>(n));
  return path.substr(0, path.rfind('/'));
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vt::emustub;
  std::string line = JoinAsCommandLine(std::vector<std::string>(argv, argv + argc));
  std::string log = LogPath(std::getenv("VT_EMUSTUB_LOG"), ExeDir());
  char folder[PATH_MAX] = {};
  if (!::getcwd(folder, sizeof folder)) folder[0] = '\0';
  if (!AppendLogLine(log, line) || !AppendLogLine(FolderLogPath(log), folder)) {
    std::fprintf(stderr, "emustub: cannot write %s\n", log.c_str());
    return 1;
  }
  LaunchRequest r = ParseLaunchLine(line);
  std::printf("emustub: %s, game %s\n", r.scheme.empty() ? "no launch address" : r.console.c_str(),
              r.gameKey.c_str());
  return 0;
}
