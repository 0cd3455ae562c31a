// Launching the selected game: the emulator of the current system, started with a launch
// address that names the game and carries the user's credentials.
#pragma once

#include <string>

#include "platform/Host.h"
#include "platform/SettingsStore.h"
#include "service/LaunchHost.h"
#include "service/ServerSession.h"

namespace vt {

enum class LaunchOutcome {
  Started,          // the emulator was started (whether it ran is not examined)
  GameInUseFull,    // no copy free; full account
  GameInUseFree,    // no copy free for anyone; free account
  LightAccount,     // copies free for full accounts only; free account
  FullAccountOnly,  // the system needs a full account
  NoSelection,      // no game is selected: nothing to launch, no notice
  // No emulator was started; a message said why and the window was not minimised.
  EmulatorNotSet,      // the alias's _PATH value is missing or empty
  EmulatorNotFound,    // it names no existing file
  EmulatorNotStarted,  // the platform could not start it
  // Nothing was started, the connection kept; a message said why.
  GameKeyRefused,  // the game's key would add arguments to the emulator's command line
};

// The message for the four outcomes above: names the console and the path, and what to do.
std::string LaunchFailureText(LaunchOutcome outcome, const std::string& alias,
                              const std::string& path);

struct Credentials {
  std::string userName;
  std::string password;
};

// The emulator's program path: the value alias + "_PATH" of Software\Vintara (machine hive).
std::string EmulatorPath(SettingsStore& settings, const std::string& alias);

// Emulator path, blank, launch address (scheme, user, ":", password, "@", web host, "/", key),
// the address in double quotes for systems whose row says so.
std::string LaunchCommandLine(const std::string& emulatorPath, const std::string& alias,
                              const std::string& scheme, const Credentials& who,
                              const std::string& webHost, const std::string& gameKey);

// The game a launch acts on, with the system and scheme its row was fetched for.
struct LaunchTarget {
  std::string system, scheme;
  std::string gameKey, availableCopies;
  int32_t fullAccountCopies = 0;
};

// LaunchGame of the browser's Launch command, up to the start: the refusals' notices, the
// disconnect before the start, and the message (the program's caption) when no emulator could
// be started. The account tier is the session's, whoever is logged in now.
LaunchOutcome LaunchGame(ServerSession& session, const LaunchTarget& game, const Credentials& who,
                         SettingsStore& settings, LaunchHost& launch, Host& host);

}  // namespace vt
