// The game server's side of a connection fed any client bytes: the login, the tier query and
// catalogue queries over a socket pair, which the server ends without leaving its buffers.
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "fuzz/FuzzCheck.h"
#include "tools/vtservice/ClientStream.h"
#include "tools/vtservice/GameServer.h"

namespace {
const char kData[] =
    "account|free|demo|demo\naccount|full|player|player\ngame|NES|N1|1|2|Alpha\n"
    "game|NES|N2|0|3|Beta\ngame|GB|G1|2|2|Gamma\ngame|GBC|G2|0|0|Delta\n";
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const auto catalogue = vt::service::Catalogue::Parse(kData, nullptr);
  FUZZ_CHECK(catalogue.has_value());
  int pair[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0) return 0;
  // The whole client side is sent first; a larger input would not fit the pair's buffer.
  if (size > 64 * 1024) size = 64 * 1024;
  ::send(pair[1], data, size, MSG_NOSIGNAL);
  ::shutdown(pair[1], SHUT_WR);
  {
    vt::service::GameServerConfig config;
    vt::service::GameServer server(*catalogue, config);
    vt::service::GameServer::Connection connection;
    connection.fd = pair[0];
    vt::service::ClientStream stream(pair[0], 100, 100);
    vt::service::RunGameProtocol(server, connection, stream);
  }
  ::close(pair[0]);
  ::close(pair[1]);
  return 0;
}
