// The exchanges of one game-server connection: login, account tier, catalogue queries.
#pragma once

#include <string>
#include <string_view>

#include "tools/vtservice/Catalogue.h"

namespace vt::service {

// Texts the client compares byte for byte.
inline constexpr std::string_view kLoginOk = "ok";
inline constexpr std::string_view kLoginInUse = "Username in use login again to clear.";
inline constexpr std::string_view kLoginIncorrect = "Incorrect Username or Password";

// The bytes that answer one catalogue query after its closing "ok": the 5-byte count field
// and the records, or the error mark for a pattern that does not compile.
std::string BuildQueryAnswer(const Catalogue& catalogue, std::string_view aliasText,
                             std::string_view pattern, bool fullAccount);

}  // namespace vt::service
