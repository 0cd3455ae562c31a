// Named values under keys of two hives, with the registry's semantics: keys are opened without
// being created, values carry a type code and raw bytes, key paths use backslashes and compare
// case-insensitively. The registry on Windows; a file-backed store elsewhere (and in tests).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vt {

enum class Hive { Machine, User };

// Type codes as the registry numbers them.
inline constexpr uint32_t kTypeNone = 0;    // REG_NONE: no type
inline constexpr uint32_t kTypeString = 1;  // REG_SZ
inline constexpr uint32_t kTypeBinary = 3;  // REG_BINARY
inline constexpr uint32_t kTypeDword = 4;   // REG_DWORD

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
  // False if the key does not exist; never creates it.
  virtual bool SetValue(Hive hive, const std::string& key, const std::string& name, uint32_t type,
                        std::string_view bytes) = 0;
};

// Portable store kept in one text file (format in FileSettings.cpp). Every call reads the file
// afresh, so several stores on the same file see each other's writes; every change replaces the
// file atomically. A missing file is an empty store.
std::unique_ptr<SettingsStore> OpenFileSettings(const std::string& path);

// The platform's own store: the registry on Windows. Elsewhere the file store at $VT_REGISTRY,
// or at vtbrowser/registry.txt under $XDG_CONFIG_HOME (default ~/.config).
std::unique_ptr<SettingsStore> OpenSystemSettings();

}  // namespace vt
