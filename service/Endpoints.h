// Where the service lives: the game server and the web host.
#pragma once

#include <cstdint>
#include <string>

#include "platform/SettingsStore.h"

namespace vt {

inline constexpr const char* kVintaraKey = "Software\\Vintara";
inline constexpr uint16_t kGameServerPort = 11001;

struct ServiceEndpoints {
  std::string gameServer = "game.vintara.com";  // host name or dotted address
  uint16_t gamePort = kGameServerPort;
  std::string webHost = "www.vintara.com";      // host, optionally ":port"
  uint32_t receiveTimeoutMs = 30000;
};

// The compiled-in defaults, overridden by the text values "GameServer" and "WebHost" of
// Software\Vintara in the machine hive when present and not empty (type ignored, text up to
// the first NUL).
ServiceEndpoints ReadEndpoints(SettingsStore& settings);

// A value of Software\Vintara as text: its bytes up to the first NUL. Empty when the key or the
// value is missing, or when the value does not fit the client's buffer of maxBytes together with
// a terminating zero.
std::string ReadVintaraText(SettingsStore& settings, const std::string& name,
                            size_t maxBytes = 1024);

}  // namespace vt
