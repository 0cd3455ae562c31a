// vtservice: the reference Vintara service for local runs and end-to-end tests.
#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "tools/vtservice/Catalogue.h"
#include "tools/vtservice/GameServer.h"
#include "tools/vtservice/Options.h"
#include "tools/vtservice/WebHost.h"

namespace vt::service {
extern const std::string_view kSampleData;  // generated from data/sample-catalogue.txt
}

int main(int argc, char** argv) {
  using namespace vt::service;
  ServiceOptions opts;
  std::string error;
  if (!ParseOptions(std::vector<std::string>(argv + 1, argv + argc), opts, &error)) {
    std::fprintf(stderr, "vtservice: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  if (opts.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  auto catalogue = opts.dataPath.empty() ? Catalogue::Parse(kSampleData, &error)
                                         : Catalogue::Load(opts.dataPath, &error);
  if (!catalogue) {
    std::fprintf(stderr, "vtservice: %s\n", error.c_str());
    return 1;
  }

  // Every thread inherits this mask, so the two stop signals reach only sigwait below.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  GameServerConfig gameConfig;
  gameConfig.bindAddress = opts.bindAddress;
  gameConfig.port = opts.gamePort;
  gameConfig.fault = opts.fault;
  gameConfig.faultQuery = opts.faultQuery;
  GameServer game(*catalogue, gameConfig);
  WebHost web(*catalogue, WebHostConfig{opts.bindAddress, opts.webPort, opts.versionText});
  if (!game.Start(&error) || !web.Start(&error)) {
    std::fprintf(stderr, "vtservice: %s\n", error.c_str());
    return 1;
  }
  std::printf("vtservice ready: game server %s:%u, web host http://%s:%u/\n",
              opts.bindAddress.c_str(), static_cast<unsigned>(game.Port()),
              opts.bindAddress.c_str(), static_cast<unsigned>(web.Port()));
  std::fflush(stdout);

  int sig = 0;
  while (sigwait(&stopSignals, &sig) != 0) {}
  web.Stop();
  game.Stop();
  return 0;
}
