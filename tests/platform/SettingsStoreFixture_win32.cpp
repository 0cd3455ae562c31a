#include <windows.h>

#include "tests/platform/SettingsStoreFixture.h"

namespace vt {

namespace {
std::string TestKey() { return "Software\\VTBrowserTests\\" + std::to_string(GetCurrentProcessId()); }
}  // namespace

std::vector<StoreKind> AllStoreKinds() { return {StoreKind::File, StoreKind::Registry}; }
std::string StoreKindName(StoreKind kind) { return kind == StoreKind::File ? "File" : "Registry"; }
std::unique_ptr<SettingsStore> MakeStore(StoreKind kind, const test::TempDir& dir) {
  if (kind == StoreKind::File) return OpenFileSettings(dir.File("registry.txt"));
  return OpenSystemSettings();
}
std::string StoreRoot(StoreKind kind) { return kind == StoreKind::File ? "" : TestKey() + "\\"; }
void DropStore(StoreKind kind) {
  if (kind != StoreKind::Registry) return;
  // The store keeps the machine hive's keys in the 32-bit view.
  HKEY software = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &software) == ERROR_SUCCESS) {
    RegDeleteTreeA(software, TestKey().substr(9).c_str());
    RegCloseKey(software);
  }
  RegDeleteTreeA(HKEY_CURRENT_USER, TestKey().c_str());
}

}  // namespace vt
