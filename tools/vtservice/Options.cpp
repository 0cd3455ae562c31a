#include "tools/vtservice/Options.h"

#include <optional>
#include <utility>

#include "text/Decimal.h"

namespace vt::service {

const char* const kUsage =
    "usage: vtservice [--data FILE] [--bind ADDRESS] [--game-port N] [--web-port N] "
    "[--version-text TEXT]\n"
    "                 [--fault KIND [--fault-query N]]\n"
    "\n"
    "Reference Vintara service: the game server (login, account tier, catalogue queries over\n"
    "TCP) and the web host (version check, sign-up, account, game information and help pages\n"
    "over HTTP).\n"
    "\n"
    "  --data FILE          accounts and catalogue to serve (format: docs/service.md);\n"
    "                       default: the sample data built into the program\n"
    "  --bind ADDRESS       IPv4 address or host name both servers listen on; default 127.0.0.1\n"
    "  --game-port N        TCP port of the game server; default 11001 (0: any free port)\n"
    "  --web-port N         TCP port of the web host; default 8011 (0: any free port)\n"
    "  --version-text TEXT  body of /version_check.php, which the client searches for its own\n"
    "                       version; default 4.05\n"
    "  --fault KIND         misbehave, for testing clients: one catalogue answer goes wrong\n"
    "                       (stall, close-mid-record, count-not-honoured, garbage, oversized),\n"
    "                       or no login is ever answered (silent-login)\n"
    "  --fault-query N      which catalogue answer of the service's life goes wrong; default 2\n"
    "  --help               show this text\n"
    "\n"
    "When both servers accept connections one line names their addresses, e.g.\n"
    "  vtservice ready: game server 127.0.0.1:11001, web host http://127.0.0.1:8011/\n"
    "SIGINT or SIGTERM stops the service; the exit code is then 0.\n";

namespace {

bool ParsePort(const std::string& text, std::uint16_t& out) {
  const std::optional<std::uint64_t> port = ReadDigits(text, 65535);
  if (port) out = static_cast<std::uint16_t>(*port);
  return port.has_value();
}

bool ParseFault(const std::string& text, Fault& out) {
  static const std::pair<const char*, Fault> kFaults[] = {
      {"stall", Fault::Stall},
      {"close-mid-record", Fault::CloseMidRecord},
      {"count-not-honoured", Fault::CountNotHonoured},
      {"garbage", Fault::Garbage},
      {"oversized", Fault::Oversized},
      {"silent-login", Fault::SilentLogin}};
  for (const auto& [name, fault] : kFaults)
    if (text == name) {
      out = fault;
      return true;
    }
  return false;
}

}  // namespace

bool ParseOptions(const std::vector<std::string>& args, ServiceOptions& out, std::string* error) {
  auto fail = [&](const std::string& what) {
    if (error) *error = what;
    return false;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      out.help = true;
      continue;
    }
    if (a != "--data" && a != "--bind" && a != "--game-port" && a != "--web-port" &&
        a != "--version-text" && a != "--fault" && a != "--fault-query")
      return fail("unknown option " + a);
    if (i + 1 >= args.size()) return fail(a + " needs a value");
    const std::string& v = args[++i];
    if (a == "--data")
      out.dataPath = v;
    else if (a == "--bind")
      out.bindAddress = v;
    else if (a == "--version-text")
      out.versionText = v;
    else if (a == "--fault") {
      if (!ParseFault(v, out.fault)) return fail("unknown fault " + v);
    } else if (a == "--fault-query") {
      std::uint16_t n = 0;
      if (!ParsePort(v, n) || n == 0)
        return fail("--fault-query takes a number from 1 to 65535, not " + v);
      out.faultQuery = n;
    } else if (!ParsePort(v, a == "--game-port" ? out.gamePort : out.webPort))
      return fail(a + " takes a port number from 0 to 65535, not " + v);
  }
  return true;
}

}  // namespace vt::service
