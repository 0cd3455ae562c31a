#include "tools/vtcli/Cli.h"

#include <memory>
#include <ostream>

#include "browser/AvailabilityMark.h"
#include "platform/MessageBox.h"
#include "platform/Process.h"
#include "service/LaunchGame.h"
#include "service/ServerSession.h"

#include "tools/vtcli/ControlsCommand.h"

namespace vt::cli {

namespace {

const char kUsage[] =
    "usage: vtcli [--server HOST] [--port N] [--web-host HOST[:PORT]] [--registry FILE] "
    "COMMAND ARGS...\n"
    "  login USER PASSWORD\n"
    "  games USER PASSWORD SYSTEM PATTERN\n"
    "  launch USER PASSWORD SYSTEM PATTERN INDEX [--dry-run]\n"
    "  controls ARGS...\n"
    ;

// Message boxes of the core become "CAPTION: TEXT" lines on standard error, on every platform.
class StreamUi final : public ServiceUi {
public:
  StreamUi(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}
  void ShowMessage(const std::string& text, const char* caption) override {
    err_ << MessageBoxLine(text, caption) << "\n";
    err_.flush();
  }
  void EndProgram(int code) override {
    out_.flush();
    err_.flush();
    EndProcess(code);
  }

private:
  std::ostream& out_;
  std::ostream& err_;
};

class PrintingLaunchHost final : public LaunchHost {
public:
  PrintingLaunchHost(std::ostream& out, std::ostream& err, bool dryRun)
      : out_(out), err_(err), dryRun_(dryRun) {}
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
  void ShowLaunchFailure(const std::string& text) override {
    err_ << MessageBoxLine(text, "VTBrowser") << "\n";
  }
  // No browser window to save or minimise.
  void SaveBrowserState() override {}
  void Minimise() override {}

private:
  std::ostream& out_;
  std::ostream& err_;
  bool dryRun_;
};

bool ParsePort(const std::string& text, uint16_t& port) {
  if (text.empty() || text.size() > 5) return false;
  uint32_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint32_t>(c - '0');
  }
  if (v == 0 || v > 65535) return false;
  port = static_cast<uint16_t>(v);
  return true;
}

bool ParseIndex(const std::string& text, uint32_t& index) {
  if (text.empty() || text.size() > 10) return false;
  uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  if (v > 0xFFFFFFFFu) return false;
  index = static_cast<uint32_t>(v);
  return true;
}

int Usage(std::ostream& err, const std::string& problem) {
  err << "vtcli: " << problem << "\n" << kUsage;
  return kExitUsage;
}

void PrintLoginLine(std::ostream& out, const ServerSession& s) {
  out << "loggedIn=" << s.loggedIn << " userInUse=" << s.userInUse
      << " badCredentials=" << s.badCredentials << " connectFailed=" << s.connectFailed
      << " fullAccount=" << s.fullAccount << "\n";
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        ServiceUi* uiOverride) {
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
      if (!ParsePort(value, port)) return Usage(err, "bad port: " + value);
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
  const size_t wanted = command == "login" ? 2 : command == "games" ? 4 : command == "launch" ? 5 : 0;
  if (wanted == 0) return Usage(err, "unknown command: " + command);
  if (rest.size() != wanted) return Usage(err, "wrong number of arguments for " + command);
  uint32_t index = 0;
  if (command == "launch" && !ParseIndex(rest[4], index))
    return Usage(err, "bad index: " + rest[4]);

  ServiceEndpoints endpoints = ReadEndpoints(*settings);
  if (!server.empty()) endpoints.gameServer = server;
  if (portSet) endpoints.gamePort = port;
  if (!webHost.empty()) endpoints.webHost = webHost;

  StreamUi streamUi(out, err);
  ServiceUi& ui = uiOverride ? *uiOverride : streamUi;
  ServerSession session(ui, endpoints);
  const bool loggedIn = session.Login(rest[0], rest[1]);
  if (command == "login" || !loggedIn) {
    std::ostream& to = command == "login" ? out : err;
    PrintLoginLine(to, session);
    if (!loggedIn && !session.userInUse && !session.badCredentials && !session.connectFailed)
      to << "reply=" << session.ReplyText() << "\n";
    return loggedIn ? 0 : 1;
  }

  session.SetSystem(rest[2]);
  session.filter = rest[3];
  if (!session.QueryGames()) return 1;
  if (command == "games") {
    for (uint32_t g = 0; g < session.gameCount; ++g) {
      out << g << '\t' << session.titles[g] << '\t' << session.gameKeys[g] << '\t'
          << session.availableCopies[g] << '\t' << session.fullAccountCopies[g] << '\t'
          << AvailabilityMark(session.availableCopies[g], session.fullAccountCopies[g],
                              session.fullAccount)
          << "\n";
    }
    return 0;
  }

  session.selectedIndex = index;
  PrintingLaunchHost host(out, err, dryRun);
  const Credentials who{rest[0], rest[1]};
  switch (LaunchGame(session, who, *settings, host)) {
    case LaunchOutcome::Started:
      return 0;
    case LaunchOutcome::NoSelection:
      err << "vtcli: no game at index " << index << " (" << session.gameCount << " games)\n";
      return kExitRefused;
    case LaunchOutcome::EmulatorNotSet:
    case LaunchOutcome::EmulatorNotFound:
    case LaunchOutcome::EmulatorNotStarted:
      return 1;
    default:
      return kExitRefused;
  }
}

}  // namespace vt::cli
