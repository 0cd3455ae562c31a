// The settings store's protector for tests where sealing fails: it seals nothing and opens
// nothing. (The real protector's sealing: the start-up's end-to-end runs.)
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/SettingsStore.h"

namespace vt::test {

class RefusingProtector : public SecretProtector {
public:
  std::optional<std::string> Seal(std::string_view) override { return std::nullopt; }
  std::optional<std::string> Unseal(std::string_view) override { return std::nullopt; }
};

}  // namespace vt::test
