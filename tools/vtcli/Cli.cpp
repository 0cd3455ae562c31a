#include "tools/vtcli/Cli.h"

#include <memory>
#include <optional>
#include <ostream>

#include "browser/AvailabilityMark.h"
#include "platform/Process.h"
#include "service/LaunchGame.h"
#include "service/ServerSession.h"
#include "service/SystemTable.h"
#include "text/Decimal.h"

#include "tools/vtcli/ControlsCommand.h"
#include "tools/vtcli/StreamHost.h"

namespace vt::cli {

namespace {

const char kUsage[] =
    "usage: vtcli [--server HOST] [--port N] [--web-host HOST[:PORT]] [--registry FILE] "
    "COMMAND ARGS...\n"
    "  login USER PASSWORD\n"
    "  games USER PASSWORD SYSTEM PATTERN\n"
    "  launch USER PASSWORD SYSTEM PATTERN INDEX [--dry-run]\n"
    "  controls ARGS...\n";

class PrintingLaunchHost final : public LaunchHost {
public:
  PrintingLaunchHost(std::ostream& out, bool dryRun) : out_(out), dryRun_(dryRun) {}
  void ShowGameInUseNotice(bool fullForm) override {
    out_ << (fullForm ? "GameInUseNotice full" : "GameInUseNotice free") << "\n";
  }
  void ShowLightAccountNotice() override { out_ << "LightAccountNotice\n"; }
  void ShowFullAccountOnlyNotice() override { out_ << "FullAccountOnlyNotice\n"; }
  bool StartEmulator(const std::string& commandLine) override {
    if (!dryRun_) return StartProgram(commandLine);
    out_ << commandLine << "\n";
    return true;
  }

private:
  std::ostream& out_;
  bool dryRun_;
};

int Usage(std::ostream& err, const std::string& problem) {
  err << "vtcli: " << problem << "\n" << kUsage;
  return kExitUsage;
}

// A fresh session's one login: at most one of the refusals holds.
void PrintLoginLine(std::ostream& out, const ServerSession& s, LoginResult result) {
  out << "loggedIn=" << s.loggedIn() << " userInUse=" << (result == LoginResult::UserInUse)
      << " badCredentials=" << (result == LoginResult::BadCredentials)
      << " connectFailed=" << (result == LoginResult::ConnectionFailed)
      << " fullAccount=" << s.tier() << "\n";
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        Host* hostOverride) {
  std::string server, webHost, registry;
  uint16_t port = kGameServerPort;
  bool portSet = false;
  size_t i = 0;
  for (; i < args.size() && args[i].rfind("--", 0) == 0; ++i) {
    const std::string& opt = args[i];
    if (i + 1 >= args.size()) return Usage(err, "option " + opt + " needs a value");
    const std::string& value = args[++i];
    if (opt == "--server") {
      server = value;
    } else if (opt == "--port") {
      const std::optional<uint64_t> n = ReadDigits(value, 65535);
      if (!n || *n == 0) return Usage(err, "bad port: " + value);
      port = static_cast<uint16_t>(*n);
      portSet = true;
    } else if (opt == "--web-host") {
      webHost = value;
    } else if (opt == "--registry") {
      registry = value;
    } else {
      return Usage(err, "unknown option: " + opt);
    }
  }
  if (i >= args.size()) return Usage(err, "no command");
  const std::string command = args[i++];
  std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());

  std::unique_ptr<SettingsStore> settings =
      registry.empty() ? OpenSystemSettings() : OpenFileSettings(registry);

  if (command == "controls") return RunControls(*settings, rest, out, err);

  bool dryRun = false;
  if (command == "launch" && !rest.empty() && rest.back() == "--dry-run") {
    dryRun = true;
    rest.pop_back();
  }
  const size_t wanted = command == "login"    ? 2
                        : command == "games"  ? 4
                        : command == "launch" ? 5
                                              : 0;
  if (wanted == 0) return Usage(err, "unknown command: " + command);
  if (rest.size() != wanted) return Usage(err, "wrong number of arguments for " + command);
  uint32_t index = 0;
  if (command == "launch") {
    const std::optional<uint64_t> n = ReadDigits(rest[4], 0xFFFFFFFFu);
    if (!n) return Usage(err, "bad index: " + rest[4]);
    index = static_cast<uint32_t>(*n);
  }

  ServiceEndpoints endpoints = ReadEndpoints(*settings);
  if (!server.empty()) endpoints.gameServer = server;
  if (portSet) endpoints.gamePort = port;
  if (!webHost.empty()) endpoints.webHost = webHost;

  StreamHost streamHost(err);
  Host& host = hostOverride ? *hostOverride : streamHost;
  ServerSession session(endpoints);
  const LoginResult login = session.Login(rest[0], rest[1], host);
  if (login == LoginResult::OutOfDate) return 0;
  const bool loggedIn = login == LoginResult::SignedIn;
  if (command == "login" || !loggedIn) {
    std::ostream& to = command == "login" ? out : err;
    PrintLoginLine(to, session, login);
    if (login == LoginResult::ServerText) to << "reply=" << session.ReplyText() << "\n";
    return loggedIn ? 0 : 1;
  }

  const std::string& system = rest[2];
  Catalogue games;
  if (session.QueryGames(system, rest[3], games) != QueryResult::Ok) return 1;
  if (command == "games") {
    for (size_t g = 0; g < games.size(); ++g) {
      const Game& game = games[g];
      out << g << '\t' << game.title << '\t' << game.key << '\t' << game.copies << '\t'
          << game.fullCopies << '\t'
          << AvailabilityMark(game.copies, game.fullCopies, session.tier()) << "\n";
    }
    return 0;
  }

  if (index >= games.size()) {
    err << "vtcli: no game at index " << index << " (" << games.size() << " games)\n";
    return kExitRefused;
  }
  PrintingLaunchHost launch(out, dryRun);
  const Credentials who{rest[0], rest[1]};
  const Game& game = games[index];
  const LaunchTarget target{system, std::string(LookUpSystem(system).scheme), game.key, game.copies,
                            game.fullCopies};
  switch (LaunchGame(session, target, who, *settings, launch, host)) {
    case LaunchOutcome::Started:
      return 0;
    case LaunchOutcome::EmulatorNotSet:
    case LaunchOutcome::EmulatorNotFound:
    case LaunchOutcome::EmulatorNotStarted:
      return 1;
    default:
      return kExitRefused;
  }
}

}  // namespace vt::cli
