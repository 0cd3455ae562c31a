// Where the service lives: the game server and the web host.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/SettingsStore.h"

namespace vt {

inline constexpr uint16_t kGameServerPort = 11001;

struct ServiceEndpoints {
  std::string gameServer = "game.vintara.com";  // host name or dotted address
  uint16_t gamePort = kGameServerPort;
  std::string webHost = "www.vintara.com";  // host, optionally ":port"
  uint32_t receiveTimeoutMs = 30000;
};

// The compiled-in defaults, overridden by the text values "GameServer" and "WebHost" of
// Software\Vintara in the machine hive when present and not empty (type ignored, text up to
// the first NUL).
ServiceEndpoints ReadEndpoints(SettingsStore& settings);

// A value of Software\Vintara as text, from the hive the client's values rule names (the machine
// key alone for the deployment values): its bytes up to the first NUL. Empty when the value is
// missing, or when the value does not fit the client's buffer of maxBytes together with
// a terminating zero.
std::string ReadVintaraText(SettingsStore& settings, const std::string& name,
                            size_t maxBytes = 1024);

// Pages of the web host that the windows open: sign-up, the account (Upgrade Now!, the account
// notices; the full-account-only notice has its own), a game's information (its key follows).
inline constexpr std::string_view kSignupPage = "/signup.php";
inline constexpr std::string_view kAccountInfoPage = "/accountinfo.php";
inline constexpr std::string_view kFullAccountPage = "/index.php?vt=accountinfo";
inline constexpr std::string_view kGameInfoPage = "/gameinfo.php?gameinfo=";

// The address of a page ("/signup.php") on the web host ("host" or "host:port"), as the user's
// browser is given it.
inline std::string WebPageAddress(const std::string& webHost, std::string_view page) {
  return "http://" + webHost + std::string(page);
}

}  // namespace vt
