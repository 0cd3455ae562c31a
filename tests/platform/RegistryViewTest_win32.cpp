// Which registry view the store uses: the machine hive's 32-bit view, where the installers keep
// Software\Vintara, so a value a 32-bit installer wrote is read and one in the 64-bit view only is
// not; the current user's Software keys (nester's) are one tree in both views.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/SettingsStore.h"

namespace vt {
namespace {

const std::string kKey = "Software\\VTBrowserViewTest" + std::to_string(GetCurrentProcessId());

void Put(HKEY root, REGSAM view, const char* name, const std::string& text) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(root, kKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1));
  RegCloseKey(key);
}

void Drop(HKEY root, REGSAM view) {
  HKEY software = nullptr;
  if (RegOpenKeyExA(root, "Software", 0, KEY_ALL_ACCESS | view, &software) != ERROR_SUCCESS) return;
  RegDeleteTreeA(software, kKey.substr(9).c_str());
  RegCloseKey(software);
}

class RegistryView : public ::testing::Test {
protected:
  void TearDown() override {
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
      Drop(HKEY_LOCAL_MACHINE, view);
      Drop(HKEY_CURRENT_USER, view);
    }
  }
  std::unique_ptr<SettingsStore> store = OpenSystemSettings();
};

TEST_F(RegistryView, MachineValuesComeFromThe32BitView) {
  Put(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "FromInstaller", "32");
  Put(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "Only64", "64");
  std::string bytes;
  ASSERT_TRUE(store->QueryValue(Hive::Machine, kKey, "FromInstaller", bytes));
  EXPECT_EQ(bytes, std::string("32", 3));
  EXPECT_FALSE(store->QueryValue(Hive::Machine, kKey, "Only64", bytes));

  // What the client saves lands in the same view, where the installer's values are.
  ASSERT_TRUE(store->SetValue(Hive::Machine, kKey, "SYSTEM", REG_NONE, "SNES"));
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key), ERROR_SUCCESS);
  char buffer[16] = {};
  DWORD size = sizeof buffer;
  EXPECT_EQ(RegQueryValueExA(key, "SYSTEM", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(std::string(buffer, size), "SNES");
}

TEST_F(RegistryView, TheUsersSoftwareKeysAreOneTreeInBothViews) {
  Put(HKEY_CURRENT_USER, KEY_WOW64_32KEY, "Written32", "a");
  Put(HKEY_CURRENT_USER, KEY_WOW64_64KEY, "Written64", "b");
  std::string bytes;
  EXPECT_TRUE(store->QueryValue(Hive::User, kKey, "Written32", bytes));
  EXPECT_TRUE(store->QueryValue(Hive::User, kKey, "Written64", bytes));
}

}  // namespace
}  // namespace vt
