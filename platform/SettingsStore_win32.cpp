// The registry as the settings store.
#include <windows.h>

#include <vector>

#include "platform/SettingsStore.h"
#include "platform/win32/Handles.h"

namespace vt {
namespace {

HKEY Root(Hive hive) { return hive == Hive::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

// The machine hive's keys are opened in the 32-bit view, where the service's installers (32-bit
// programs, the earlier one and ours) keep Software\Vintara; the current user's Software keys,
// nester's among them, are one tree in both views.
REGSAM View(Hive hive) { return hive == Hive::Machine ? KEY_WOW64_32KEY : 0; }

class RegistrySettings final : public SettingsStore {
public:
  bool KeyExists(Hive hive, const std::string& key) override {
    HKEY h = nullptr;
    if (RegOpenKeyExA(Root(hive), key.c_str(), 0, KEY_READ | View(hive), &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
  }

  bool CreateKey(Hive hive, const std::string& key) override {
    HKEY h = nullptr;
    if (RegCreateKeyExA(Root(hive), key.c_str(), 0, nullptr, 0, MAXIMUM_ALLOWED | View(hive), nullptr, &h, nullptr) !=
        ERROR_SUCCESS)
      return false;
    RegCloseKey(h);
    return true;
  }

  bool QueryValue(Hive hive, const std::string& key, const std::string& name, std::string& bytes,
                  uint32_t* type) override {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(Root(hive), key.c_str(), 0, KEY_READ | View(hive), &raw) != ERROR_SUCCESS) return false;
    win::RegKey h(raw);
    // The value may grow between the size query and the read; retry until it fits.
    for (int attempt = 0; attempt < 4; ++attempt) {
      DWORD t = 0, size = 0;
      if (RegQueryValueExA(h.get(), name.c_str(), nullptr, &t, nullptr, &size) != ERROR_SUCCESS)
        return false;
      std::vector<BYTE> buf(size + 1);
      DWORD got = size;
      LONG rc = RegQueryValueExA(h.get(), name.c_str(), nullptr, &t, buf.data(), &got);
      if (rc == ERROR_MORE_DATA) continue;
      if (rc != ERROR_SUCCESS) return false;
      bytes.assign(reinterpret_cast<const char*>(buf.data()), got);
      if (type) *type = t;
      return true;
    }
    return false;
  }

  bool SetValue(Hive hive, const std::string& key, const std::string& name, uint32_t type,
                std::string_view bytes) override {
    const NamedValue one{name, type, bytes};
    return SetValues(hive, key, std::span<const NamedValue>(&one, 1));
  }

  bool SetValues(Hive hive, const std::string& key, std::span<const NamedValue> values) override {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(Root(hive), key.c_str(), 0, KEY_SET_VALUE | View(hive), &raw) != ERROR_SUCCESS)
      return false;
    win::RegKey h(raw);
    bool all = true;
    for (const NamedValue& v : values) {
      const std::string name(v.name);
      all = RegSetValueExA(h.get(), name.c_str(), 0, v.type,
                           reinterpret_cast<const BYTE*>(v.bytes.data()),
                           static_cast<DWORD>(v.bytes.size())) == ERROR_SUCCESS && all;
    }
    return all;
  }
};

}  // namespace

std::unique_ptr<SettingsStore> OpenSystemSettings() { return std::make_unique<RegistrySettings>(); }

}  // namespace vt
