// The settings store's protector in host tests: it seals a secret into a form only it opens, or
// refuses both when told to. (The real protector's sealing: the start-up's end-to-end runs.)
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/SettingsStore.h"

namespace vt::test {

class TestProtector : public SecretProtector {
public:
  std::optional<std::string> Seal(std::string_view secret) override {
    return refuses ? std::nullopt : std::optional("sealed:" + std::string(secret));
  }
  std::optional<std::string> Unseal(std::string_view sealed) override {
    if (refuses || !sealed.starts_with("sealed:")) return std::nullopt;
    return std::string(sealed.substr(7));
  }

  bool refuses = false;
};

}  // namespace vt::test
