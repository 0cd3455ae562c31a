// Whether the service still accepts this client.
#pragma once

#include <string>

#include "platform/Host.h"

namespace vt {

// Asks webHost for "/version_check.php" and looks for clientVersion in the first read of at most
// 256 bytes. The program goes on with a current client, or when the web host could not be
// reached (after a box that says so); otherwise it must end, once the update message is closed.
Next CheckClientVersion(const std::string& clientVersion, const std::string& webHost, Host& host);

}  // namespace vt
