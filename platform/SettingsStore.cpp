#include "platform/SettingsStore.h"

#include <algorithm>
#include <cctype>

namespace vt {

namespace {

// The bytes as a fixed, zeroed buffer of `bufferSize` holds them; nullopt when they do not fit.
std::optional<std::string> Fixed(std::optional<std::string> bytes, size_t bufferSize) {
  if (!bytes || bytes->size() > bufferSize) return std::nullopt;
  return bytes;
}

std::optional<std::string> AsText(std::optional<std::string> bytes, size_t bufferSize,
                                  FullBuffer full) {
  if (!bytes) return std::nullopt;
  const size_t zero = bytes->find('\0');
  if (zero == std::string::npos && bytes->size() == bufferSize && full == FullBuffer::Absent)
    return std::nullopt;
  if (zero != std::string::npos) bytes->resize(zero);
  return bytes;
}

}  // namespace

bool SameRegistryName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

std::optional<std::string> ReadFixedBytes(SettingsStore& settings, Hive hive,
                                          const std::string& key, const std::string& name,
                                          size_t bufferSize) {
  std::string bytes;
  if (!settings.QueryValue(hive, key, name, bytes)) return std::nullopt;
  return Fixed(std::move(bytes), bufferSize);
}

std::optional<std::string> ReadFixedText(SettingsStore& settings, Hive hive, const std::string& key,
                                         const std::string& name, size_t bufferSize,
                                         FullBuffer full) {
  return AsText(ReadFixedBytes(settings, hive, key, name, bufferSize), bufferSize, full);
}

bool IsUserValue(std::string_view name) {
  static constexpr std::string_view kUserValues[] = {
      "SAVE",   "AUTOLOGIN", "Username", "Password", "ProtectedPassword",
      "SYSTEM", "SEARCH",    "COUNT"};
  return std::any_of(std::begin(kUserValues), std::end(kUserValues),
                     [name](std::string_view v) { return SameRegistryName(v, name); });
}

std::optional<Hive> QueryClientValue(SettingsStore& settings, const std::string& name,
                                     std::string& bytes, uint32_t* type) {
  // A user's value that is there answers even when it does not fit the reader's buffer, as the
  // redirected registry of the earlier client did.
  if (IsUserValue(name) && settings.QueryValue(Hive::User, kVintaraKey, name, bytes, type))
    return Hive::User;
  if (settings.QueryValue(Hive::Machine, kVintaraKey, name, bytes, type)) return Hive::Machine;
  return std::nullopt;
}

std::optional<std::string> ReadClientBytes(SettingsStore& settings, const std::string& name,
                                           size_t bufferSize) {
  std::string bytes;
  if (!QueryClientValue(settings, name, bytes)) return std::nullopt;
  return Fixed(std::move(bytes), bufferSize);
}

std::optional<std::string> ReadClientText(SettingsStore& settings, const std::string& name,
                                          size_t bufferSize, FullBuffer full) {
  return AsText(ReadClientBytes(settings, name, bufferSize), bufferSize, full);
}

bool WriteClientValues(SettingsStore& settings, std::span<const NamedValue> values) {
  if (!std::all_of(values.begin(), values.end(),
                   [](const NamedValue& v) { return IsUserValue(v.name); }))
    return false;
  if (!settings.KeyExists(Hive::Machine, kVintaraKey)) return false;
  if (!settings.KeyExists(Hive::User, kVintaraKey) && !settings.CreateKey(Hive::User, kVintaraKey))
    return false;
  return settings.SetValues(Hive::User, kVintaraKey, values);
}

}  // namespace vt
