#include "service/LaunchGame.h"

#include "service/Decimal.h"
#include "service/SystemTable.h"

namespace vt {

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

LaunchOutcome LaunchGame(ServerSession& session, const Credentials& who, SettingsStore& settings,
                         LaunchHost& host) {
  const uint32_t i = session.selectedIndex;
  // The arrays always hold gameCount entries; a selection beyond them names no game.
  if (i >= session.gameCount || i >= session.availableCopies.size() ||
      i >= session.fullAccountCopies.size() || i >= session.gameKeys.size())
    return LaunchOutcome::NoSelection;

  const bool full = session.fullAccount == "True";
  if (ReadDecimal(session.availableCopies[i]) <= 0) {
    if (full) {
      host.ShowGameInUseNotice(true);
      return LaunchOutcome::GameInUseFull;
    }
    if (session.fullAccountCopies[i] > 0) {
      host.ShowLightAccountNotice();
      return LaunchOutcome::LightAccount;
    }
    host.ShowGameInUseNotice(false);
    return LaunchOutcome::GameInUseFree;
  }
  if (LookUpSystem(session.system).needsFullAccount && !full) {
    host.ShowFullAccountOnlyNotice();
    return LaunchOutcome::FullAccountOnly;
  }

  const std::string key = session.gameKeys[i];  // copied: nothing below may touch the arrays
  session.Disconnect();
  const std::string path = EmulatorPath(settings, session.system);
  host.StartEmulator(LaunchCommandLine(path, session.system, session.scheme, who,
                                       session.endpoints().webHost, key));
  host.SaveStateAndMinimise();
  return LaunchOutcome::Started;
}

}  // namespace vt
