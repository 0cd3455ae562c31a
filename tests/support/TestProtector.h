// The settings store's protector in host tests: it seals a secret into a form that only it
// opens, or refuses both when told to. (The real protector's sealing: the start-up's
// end-to-end runs.)
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/SettingsStore.h"

namespace vt::test {

class TestProtector : public SecretProtector {
public:
  static constexpr std::string_view kMark = "sealed:";

  std::optional<std::string> Seal(std::string_view secret) override {
    if (refuses) return std::nullopt;
    return std::string(kMark) + std::string(secret);
  }
  std::optional<std::string> Unseal(std::string_view sealed) override {
    if (refuses || sealed.substr(0, kMark.size()) != kMark) return std::nullopt;
    return std::string(sealed.substr(kMark.size()));
  }

  bool refuses = false;
};

}  // namespace vt::test
