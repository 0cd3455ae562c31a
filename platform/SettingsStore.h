// Named values under keys of two hives, with the registry's semantics: keys are opened without
// being created, values carry a type code and raw bytes, key paths use backslashes and compare
// case-insensitively. The registry on Windows; a file-backed store elsewhere (and in tests).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vt {

enum class Hive { Machine, User };

// The client's own key, in both hives.
inline constexpr const char* kVintaraKey = "Software\\Vintara";

// Type codes as the registry numbers them.
inline constexpr uint32_t kTypeNone = 0;    // REG_NONE: no type
inline constexpr uint32_t kTypeString = 1;  // REG_SZ
inline constexpr uint32_t kTypeBinary = 3;  // REG_BINARY
inline constexpr uint32_t kTypeDword = 4;   // REG_DWORD

// Seals secrets for the user who keeps them: what one user sealed, another user, another
// machine or a damaged copy cannot open.
class SecretProtector {
public:
  virtual ~SecretProtector() = default;
  // The sealed bytes; nullopt when the secret cannot be sealed.
  virtual std::optional<std::string> Seal(std::string_view secret) = 0;
  // The secret; nullopt when the bytes do not open here.
  virtual std::optional<std::string> Unseal(std::string_view sealed) = 0;
};

// One value of a batch write.
struct NamedValue {
  std::string_view name;
  uint32_t type = kTypeNone;
  std::string_view bytes;
};

class SettingsStore {
public:
  virtual ~SettingsStore() = default;
  // Opens without creating: true if the key exists.
  virtual bool KeyExists(Hive hive, const std::string& key) = 0;
  // Creates the key and any missing parents; true if the key exists afterwards.
  virtual bool CreateKey(Hive hive, const std::string& key) = 0;
  // False if the key or the value is missing. The bytes are the value's, exactly.
  virtual bool QueryValue(Hive hive, const std::string& key, const std::string& name,
                          std::string& bytes, uint32_t* type = nullptr) = 0;
  // False if the key does not exist; never creates it. A batch of one.
  bool SetValue(Hive hive, const std::string& key, std::string_view name, uint32_t type,
                std::string_view bytes) {
    const NamedValue one{name, type, bytes};
    return SetValues(hive, key, std::span<const NamedValue>(&one, 1));
  }
  // Opens the key for writing once and writes the values in their order. When the key cannot be
  // opened for writing nothing is written; otherwise false if any single write failed.
  virtual bool SetValues(Hive hive, const std::string& key, std::span<const NamedValue> values) = 0;
  // Removes the key with its values and subkeys; true if it does not exist afterwards.
  virtual bool DeleteKey(Hive hive, const std::string& key) { return !KeyExists(hive, key); }
  // What seals the secrets this store keeps (the saved password); null when the store keeps
  // them as they are.
  virtual SecretProtector* Protector() { return nullptr; }
};

// Whether two key paths or value names name the same thing: the registry ignores case.
bool SameRegistryName(std::string_view a, std::string_view b);

// What a value that fills a fixed buffer to its last byte, leaving no room for a terminating
// zero, counts as.
enum class FullBuffer {
  Absent,  // no terminating zero fits: the value is not a text of this buffer
  Text,    // the whole buffer is the text (fixed-width fields padded with zeros when shorter)
};

// A value read as the client's fixed, zeroed buffers read it: nullopt when the key or the value
// is missing or the value is longer than the buffer (the registry refuses such a read);
// otherwise the value's bytes exactly.
std::optional<std::string> ReadFixedBytes(SettingsStore& settings, Hive hive,
                                          const std::string& key, const std::string& name,
                                          size_t bufferSize);
// The same read taken as a text: the bytes up to the first zero, with `full` deciding a value
// that has none within the buffer.
std::optional<std::string> ReadFixedText(SettingsStore& settings, Hive hive, const std::string& key,
                                         const std::string& name, size_t bufferSize,
                                         FullBuffer full);

// The client's own values in kVintaraKey. What each Windows user saves (the login and the
// browser state) is written to that user's key and read from there first, then from the machine
// key, where an earlier client left it; every other value (the emulator paths, the service's
// addresses) is trusted by every user's client and so is read from the machine key alone, which
// only administrators change.
bool IsUserValue(std::string_view name);
// The hive that answers for `name`, with the value's bytes (and type); nullopt when none does.
std::optional<Hive> QueryClientValue(SettingsStore& settings, const std::string& name,
                                     std::string& bytes, uint32_t* type = nullptr);
// ReadFixedBytes and ReadFixedText of the client's own values, from the hive that answers.
std::optional<std::string> ReadClientBytes(SettingsStore& settings, const std::string& name,
                                           size_t bufferSize);
std::optional<std::string> ReadClientText(SettingsStore& settings, const std::string& name,
                                          size_t bufferSize, FullBuffer full);
// Writes per-user values into the user's key, created when missing. Only an installed client
// (one whose machine key exists) saves; false, with nothing written, without it or when a name
// is not a per-user value.
bool WriteClientValues(SettingsStore& settings, std::span<const NamedValue> values);

// Portable store kept in one text file (format in FileSettings.cpp). Every call reads the file
// afresh, so several stores on the same file see each other's writes; every change replaces the
// file atomically. A missing file is an empty store. Secrets are sealed by `protector` when one
// is given (it must outlive the store); without one they are kept as they are, in a file that
// is its user's own.
std::unique_ptr<SettingsStore> OpenFileSettings(const std::string& path,
                                                SecretProtector* protector = nullptr);

// The platform's own store: the registry on Windows, whose secrets are sealed for the current
// Windows user. Elsewhere the file store at $VT_REGISTRY, or at vtbrowser/registry.txt under
// $XDG_CONFIG_HOME (default ~/.config), without a protector.
std::unique_ptr<SettingsStore> OpenSystemSettings();

}  // namespace vt
