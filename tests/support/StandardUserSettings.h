// The settings store as a standard user's program sees the registry once the installer has
// kept the machine key for administrators: the machine hive reads, but takes no writes.
#pragma once

#include <span>
#include <string>

#include "platform/SettingsStore.h"

namespace vt::test {

class StandardUserSettings : public SettingsStore {
public:
  explicit StandardUserSettings(SettingsStore& store) : store_(store) {}

  bool KeyExists(Hive hive, const std::string& key) override { return store_.KeyExists(hive, key); }
  bool CreateKey(Hive hive, const std::string& key) override {
    return hive == Hive::User && store_.CreateKey(hive, key);
  }
  bool QueryValue(Hive hive, const std::string& key, const std::string& name, std::string& bytes,
                  uint32_t* type) override {
    return store_.QueryValue(hive, key, name, bytes, type);
  }
  bool SetValues(Hive hive, const std::string& key, std::span<const NamedValue> values) override {
    return hive == Hive::User && store_.SetValues(hive, key, values);
  }
  SecretProtector* Protector() override { return store_.Protector(); }

private:
  SettingsStore& store_;
};

}  // namespace vt::test
