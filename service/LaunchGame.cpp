#include "service/LaunchGame.h"

#include "platform/Process.h"
#include "service/SystemTable.h"
#include "text/Decimal.h"

namespace vt {

namespace {
// The program a path value names: a value in double quotes names what is inside them.
std::string ProgramOf(const std::string& path) {
  if (path.size() >= 2 && path.front() == '"') {
    const size_t close = path.find('"', 1);
    if (close != std::string::npos) return path.substr(1, close - 1);
  }
  return path;
}

// The key goes into the command line as it is, so a blank, a double quote or a control byte in
// it would end the address early and hand the emulator arguments of the server's choosing.
bool SplitsCommandLine(const std::string& key) {
  for (const char c : key) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F || c == '"') return true;
  }
  return false;
}
}  // namespace

std::string EmulatorPath(SettingsStore& settings, const std::string& alias) {
  return ReadVintaraText(settings, alias + "_PATH", 1024);
}

std::string LaunchCommandLine(const std::string& emulatorPath, const std::string& alias,
                              const std::string& scheme, const Credentials& who,
                              const std::string& webHost, const std::string& gameKey) {
  std::string address = scheme + who.userName + ":" + who.password + "@" + webHost + "/" + gameKey;
  if (LookUpSystem(alias).quoteAddress) address = "\"" + address + "\"";
  return emulatorPath + " " + address;
}

LaunchOutcome LaunchGame(ServerSession& session, const LaunchTarget& game, const Credentials& who,
                         SettingsStore& settings, LaunchHost& launch, Host& host) {
  const bool full = session.FullAccount();
  if (ReadDecimal(game.availableCopies) <= 0) {
    if (full) {
      launch.ShowGameInUseNotice(true);
      return LaunchOutcome::GameInUseFull;
    }
    if (game.fullAccountCopies > 0) {
      launch.ShowLightAccountNotice();
      return LaunchOutcome::LightAccount;
    }
    launch.ShowGameInUseNotice(false);
    return LaunchOutcome::GameInUseFree;
  }
  if (LookUpSystem(game.system).needsFullAccount && !full) {
    launch.ShowFullAccountOnlyNotice();
    return LaunchOutcome::FullAccountOnly;
  }
  if (SplitsCommandLine(game.gameKey)) {
    host.ShowMessage(LaunchFailureText(LaunchOutcome::GameKeyRefused, game.system, std::string()),
                     kProgramCaption);
    return LaunchOutcome::GameKeyRefused;
  }

  session.Disconnect();
  const std::string path = EmulatorPath(settings, game.system);
  const std::string line = LaunchCommandLine(path, game.system, game.scheme, who,
                                             session.endpoints().webHost, game.gameKey);
  // A start that cannot happen is said, not hidden behind a minimised window. The file is looked
  // at only to explain a start that failed: the start itself also finds a name without ".exe",
  // a bare name on the search path and a value followed by options, which installations may hold.
  LaunchOutcome outcome = LaunchOutcome::Started;
  if (path.empty())
    outcome = LaunchOutcome::EmulatorNotSet;
  else if (!launch.StartEmulator(line))
    outcome = ProgramFileExists(ProgramOf(path)) ? LaunchOutcome::EmulatorNotStarted
                                                 : LaunchOutcome::EmulatorNotFound;
  if (outcome != LaunchOutcome::Started)
    host.ShowMessage(LaunchFailureText(outcome, game.system, path), kProgramCaption);
  return outcome;
}

std::string LaunchFailureText(LaunchOutcome outcome, const std::string& alias,
                              const std::string& path) {
  const std::string console = ConsoleName(alias);
  const std::string value = alias + "_PATH under HKEY_LOCAL_MACHINE\\" + kVintaraKey;
  switch (outcome) {
    case LaunchOutcome::EmulatorNotSet:
      return "The " + console + " emulator cannot be started: " + value +
             ", which names its program, is missing or empty.\n\n"
             "Run the Vintara installer again to set it.";
    case LaunchOutcome::EmulatorNotFound:
      return "The " + console + " emulator cannot be started: " + value + " names \"" + path +
             "\", and there is no such file.\n\n"
             "Run the Vintara installer again to reinstall the emulator, or correct the value.";
    case LaunchOutcome::EmulatorNotStarted:
      return "The " + console + " emulator \"" + path +
             "\" could not be started.\n\n"
             "Check that the file is a program this computer can run, or run the Vintara "
             "installer again.";
    case LaunchOutcome::GameKeyRefused:
      return "This " + console +
             " game cannot be started: the key the server gave it holds a "
             "blank, a double quote or a control character, which the emulator's command line "
             "cannot carry.\n\nPlease tell Vintara which game it is.";
    default:
      return std::string();
  }
}

}  // namespace vt
