// The settings store's registry semantics, run against the file store on every platform and
// against the real registry on Windows. What every reader and writer of values relies on is
// tested through them (the login, nester's tree, the launch); the file store's own file by the
// settings file's fuzz target and the round trip.
#include <gtest/gtest.h>

#include "platform/SettingsStore.h"
#include "tests/support/TempDir.h"
#ifdef _WIN32
#include <windows.h>
#endif

namespace vt {
namespace {

enum class StoreKind { File, Registry };
#ifdef _WIN32
// The registry is shared: the tests' keys live under one of their own, in both hives.
const std::string kRoot = "VTBrowserTests" + std::to_string(GetCurrentProcessId());
#else
const std::string kRoot;
#endif

class SettingsStoreSemantics : public ::testing::TestWithParam<StoreKind> {
protected:
  void TearDown() override {
#ifdef _WIN32
    for (HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
      HKEY software = nullptr;
      RegOpenKeyExA(hive, "Software", 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &software);
      RegDeleteTreeA(software, kRoot.c_str());
      RegCloseKey(software);
    }
#endif
  }
  std::unique_ptr<SettingsStore> Make() const {
    return GetParam() == StoreKind::File ? OpenFileSettings(dir_.File("registry.txt"))
                                         : OpenSystemSettings();
  }
  std::string Key(const std::string& rel) const {
    return GetParam() == StoreKind::File ? rel : "Software\\" + kRoot + "\\" + rel;
  }

  test::TempDir dir_;
  std::unique_ptr<SettingsStore> store_ = Make();
};

// Keys are created with their parents and compare without case, values too; a key goes with its
// values and subkeys and nothing beside it (nor the same path in the other hive); a second store
// on the same settings sees all of it; a value is never written into a key that does not exist.
TEST_P(SettingsStoreSemantics, KeysAreMadeAndRemovedAsTreesAndValuesNeverCreateThem) {
  const std::string nester = Key("Software\\nester\\NES"), old = nester + "\\Input.old";
  ASSERT_TRUE(store_->CreateKey(Hive::User, old + "\\Controller1\\Up"));
  ASSERT_TRUE(store_->SetValue(Hive::User, Key("SOFTWARE\\NESTER\\nes\\INPUT.OLD"), "Complete",
                               kTypeString, "1"));
  ASSERT_TRUE(store_->CreateKey(Hive::User, nester + "\\Input\\Controller1"));
  ASSERT_TRUE(store_->SetValue(Hive::User, nester, "v", kTypeBinary, std::string("\0\xff", 2)));
  ASSERT_TRUE(store_->CreateKey(Hive::User, nester + "\\Input.older"));
  ASSERT_TRUE(store_->CreateKey(Hive::Machine, old));
  std::string bytes;
  uint32_t type = 0;
  EXPECT_TRUE(store_->QueryValue(Hive::User, old, "COMPLETE", bytes));
  EXPECT_TRUE(store_->DeleteKey(Hive::User, Key("software\\nester\\NES\\input.OLD")));
  auto other = Make();
  for (SettingsStore* s : {store_.get(), other.get()}) {
    EXPECT_FALSE(s->KeyExists(Hive::User, old + "\\Controller1"));
    EXPECT_FALSE(s->KeyExists(Hive::User, old));
    EXPECT_TRUE(s->KeyExists(Hive::User, nester + "\\Input\\Controller1"));
    EXPECT_TRUE(s->KeyExists(Hive::User, nester + "\\Input.older"));
    EXPECT_TRUE(s->KeyExists(Hive::Machine, old)) << "the other hive's key of the same name";
    ASSERT_TRUE(s->QueryValue(Hive::User, nester, "V", bytes, &type));
    EXPECT_EQ(bytes, std::string("\0\xff", 2));
    EXPECT_EQ(type, kTypeBinary);
  }
  EXPECT_TRUE(store_->DeleteKey(Hive::User, old)) << "a key that is gone is gone";
  EXPECT_FALSE(store_->SetValue(Hive::User, old, "Complete", kTypeString, "1"));
  EXPECT_FALSE(store_->KeyExists(Hive::User, old));
}

// Each user's values are read from the user's key first and from the machine key where the
// user's has none; every other value from the machine key alone, whatever the user's key says.
// Writes go to the user's key only, made when missing, and only on an installed client.
TEST(ClientValues, UsersValuesComeFromTheirKeyFirstAndDeploymentValuesFromTheMachineKeyAlone) {
  test::TempDir dir;
  auto store = OpenFileSettings(dir.File("registry.txt"));
  const NamedValue state[] = {{"SYSTEM", kTypeNone, "GEN"}, {"COUNT", kTypeNone, "\x07"}};
  EXPECT_FALSE(WriteClientValues(*store, state)) << "without the machine key";
  EXPECT_FALSE(store->KeyExists(Hive::User, kVintaraKey));
  ASSERT_TRUE(store->CreateKey(Hive::Machine, kVintaraKey));
  ASSERT_TRUE(WriteClientValues(*store, state));
  const NamedValue deployment[] = {{"SEARCH", kTypeNone, "x"}, {"NES_PATH", kTypeNone, "evil"}};
  EXPECT_FALSE(WriteClientValues(*store, deployment));
  for (const char* name : {"SYSTEM", "COUNT", "SEARCH", "NES_PATH"})
    EXPECT_TRUE(ReadFixedBytes(*store, Hive::Machine, kVintaraKey, name, 20) == std::nullopt);
  const struct {
    const char *name, *user, *machine, *read;
  } cases[] = {
      {"SYSTEM", "GEN", "SNES", "GEN"},  // the value written above
      {"search", "^[c-d]", "^[e-f]", "^[c-d]"},
      {"ProtectedPassword", "", "sealed", ""},
      {"NES_PATH", "C:\\mine.exe", "C:\\nester.exe", "C:\\nester.exe"},
      {"GameServer", "evil.example", nullptr, "<missing>"},
      {"VT_PATH", "D:\\mine", "C:\\Emu", "C:\\Emu"},
      {"WebHost", "evil.example", "www", "www"},
  };
  for (const auto& c : cases) {
    if (c.user) {
      ASSERT_TRUE(store->SetValue(Hive::User, kVintaraKey, c.name, kTypeNone, c.user));
    }
    if (c.machine) store->SetValue(Hive::Machine, kVintaraKey, c.name, kTypeString, c.machine);
    EXPECT_EQ(ReadClientText(*store, c.name, 20, FullBuffer::Absent).value_or("<missing>"), c.read)
        << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Stores, SettingsStoreSemantics,
#ifdef _WIN32
                         ::testing::Values(StoreKind::File, StoreKind::Registry),
#else
                         ::testing::Values(StoreKind::File),
#endif
                         [](const auto& info) {
                           return info.param == StoreKind::File ? "File" : "Registry";
                         });

}  // namespace
}  // namespace vt
