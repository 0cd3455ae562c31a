// The command line of vtservice.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/vtservice/GameServer.h"

namespace vt::service {

struct ServiceOptions {
  std::string dataPath;  // empty: the sample data built into the program
  std::string bindAddress = "127.0.0.1";
  std::uint16_t gamePort = 11001;
  std::uint16_t webPort = 8011;
  std::string versionText = "4.05";
  Fault fault = Fault::None;
  int faultQuery = 2;
  bool help = false;
};

// False with `error` set for an unknown option, a missing value or a bad port.
bool ParseOptions(const std::vector<std::string>& args, ServiceOptions& out, std::string* error);

extern const char* const kUsage;

}  // namespace vt::service
