// The settings store's protector for tests: seals for one named user, so that what another
// user sealed, or damaged bytes, do not open; it can be told to refuse sealing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/SettingsStore.h"

namespace vt::test {

class FakeProtector : public SecretProtector {
public:
  explicit FakeProtector(std::string user = "alice") : user(std::move(user)) {}

  std::optional<std::string> Seal(std::string_view secret) override {
    return refuseSeal ? std::nullopt : std::optional(Head() + Flip(secret));
  }
  std::optional<std::string> Unseal(std::string_view sealed) override {
    return sealed.starts_with(Head()) ? std::optional(Flip(sealed.substr(Head().size())))
                                      : std::nullopt;
  }

  std::string user;
  bool refuseSeal = false;

private:
  std::string Head() const { return "sealed for " + user + ":"; }
  // The sealed bytes never show the secret as it is.
  static std::string Flip(std::string_view bytes) {
    std::string out(bytes);
    for (char& c : out) c ^= 0x5A;
    return out;
  }
};

}  // namespace vt::test
