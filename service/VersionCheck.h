// Whether the service still accepts this client.
#pragma once

#include <string>

#include "service/ServiceUi.h"

namespace vt {

// Asks webHost for "/version_check.php" and looks for clientVersion in the first read of at most
// 256 bytes. Returns true when the program goes on (current client, or the web host could not
// be reached); otherwise shows the update message and ends the program (false if EndProgram
// returns).
bool CheckClientVersion(const std::string& clientVersion, const std::string& webHost,
                        ServiceUi& ui);

}  // namespace vt
