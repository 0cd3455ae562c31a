// The registry as the settings store, with its secrets sealed for the current Windows user.
#include <windows.h>
#include <wincrypt.h>

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

// CryptProtectData in the user's scope. The entropy names the application, so another program of
// the same user cannot open the blob by asking, and carries the machine's identity: Wine seals
// every prefix's blobs with one built-in key, and a blob copied from another machine or prefix
// must not open here either.
class UserProtector final : public SecretProtector {
public:
  UserProtector() {
    entropy_ = "VTBrowser saved login";
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Cryptography", 0,
                      KEY_QUERY_VALUE | KEY_WOW64_64KEY, &h) == ERROR_SUCCESS) {
      const win::RegKey key(h);
      char guid[64] = {};
      DWORD size = sizeof guid - 1;
      if (RegQueryValueExA(key.get(), "MachineGuid", nullptr, nullptr,
                           reinterpret_cast<BYTE*>(guid), &size) == ERROR_SUCCESS)
        entropy_ += std::string("\0", 1) + guid;
    }
  }

  std::optional<std::string> Seal(std::string_view secret) override {
    DATA_BLOB in = Blob(secret), extra = Blob(entropy_), out{};
    if (!CryptProtectData(&in, L"VTBrowser", &extra, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN,
                          &out))
      return std::nullopt;
    return Take(out);
  }

  std::optional<std::string> Unseal(std::string_view sealed) override {
    DATA_BLOB in = Blob(sealed), extra = Blob(entropy_), out{};
    if (!CryptUnprotectData(&in, nullptr, &extra, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN,
                            &out))
      return std::nullopt;
    return Take(out);
  }

private:
  static DATA_BLOB Blob(std::string_view bytes) {
    return DATA_BLOB{static_cast<DWORD>(bytes.size()),
                     reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()))};
  }
  static std::string Take(DATA_BLOB& blob) {
    std::string bytes(reinterpret_cast<const char*>(blob.pbData), blob.cbData);
    SecureZeroMemory(blob.pbData, blob.cbData);
    LocalFree(blob.pbData);
    return bytes;
  }

  std::string entropy_;
};

class RegistrySettings final : public SettingsStore {
public:
  bool KeyExists(Hive hive, const std::string& key) override {
    HKEY h = nullptr;
    if (RegOpenKeyExA(Root(hive), key.c_str(), 0, KEY_READ | View(hive), &h) != ERROR_SUCCESS)
      return false;
    RegCloseKey(h);
    return true;
  }

  bool CreateKey(Hive hive, const std::string& key) override {
    HKEY h = nullptr;
    if (RegCreateKeyExA(Root(hive), key.c_str(), 0, nullptr, 0, MAXIMUM_ALLOWED | View(hive),
                        nullptr, &h, nullptr) != ERROR_SUCCESS)
      return false;
    RegCloseKey(h);
    return true;
  }

  bool QueryValue(Hive hive, const std::string& key, const std::string& name, std::string& bytes,
                  uint32_t* type) override {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(Root(hive), key.c_str(), 0, KEY_READ | View(hive), &raw) != ERROR_SUCCESS)
      return false;
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

  bool SetValues(Hive hive, const std::string& key, std::span<const NamedValue> values) override {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(Root(hive), key.c_str(), 0, KEY_SET_VALUE | View(hive), &raw) !=
        ERROR_SUCCESS)
      return false;
    win::RegKey h(raw);
    bool all = true;
    for (const NamedValue& v : values) {
      const std::string name(v.name);
      all = RegSetValueExA(h.get(), name.c_str(), 0, v.type,
                           reinterpret_cast<const BYTE*>(v.bytes.data()),
                           static_cast<DWORD>(v.bytes.size())) == ERROR_SUCCESS &&
            all;
    }
    return all;
  }

  bool DeleteKey(Hive hive, const std::string& key) override {
    if (key.empty()) return false;  // never a whole hive
    HKEY raw = nullptr;
    const LONG rc = RegOpenKeyExA(Root(hive), key.c_str(), 0, KEY_ALL_ACCESS | View(hive), &raw);
    if (rc == ERROR_FILE_NOT_FOUND) return true;
    if (rc != ERROR_SUCCESS) return false;
    RegDeleteTreeA(raw, nullptr);  // its subkeys and values; the key itself goes below
    RegCloseKey(raw);
    return RegDeleteKeyExA(Root(hive), key.c_str(), View(hive), 0) == ERROR_SUCCESS;
  }

  SecretProtector* Protector() override { return &protector_; }

private:
  UserProtector protector_;
};

}  // namespace

std::unique_ptr<SettingsStore> OpenSystemSettings() { return std::make_unique<RegistrySettings>(); }

}  // namespace vt
