// The saved browser state in the real settings file, byte for byte: three untyped values, each
// read into its fixed buffer, with the defaults for what is missing or does not fit.
#include "browser/BrowserState.h"

#include <gtest/gtest.h>

#include "service/Endpoints.h"
#include "tests/support/TempDir.h"

namespace vt {
namespace {

class BrowserStateTest : public ::testing::Test {
protected:
  std::unique_ptr<SettingsStore> Store(const std::string& name) {
    auto store = OpenFileSettings(dir.File(name));
    EXPECT_TRUE(store->CreateKey(Hive::Machine, kVintaraKey));
    return store;
  }
  test::TempDir dir;
};

TEST_F(BrowserStateTest, SaveWritesThreeUntypedValuesWithoutTerminators) {
  auto store = Store("registry.txt");
  SaveBrowserState(*store, "SNES", "Zelda: [Link]", 0x12C);  // only the low byte goes out
  for (auto [name, bytes] :
       {std::pair{"SYSTEM", "SNES"}, {"SEARCH", "Zelda: [Link]"}, {"COUNT", "\x2C"}}) {
    std::string got;
    uint32_t type = 99;
    EXPECT_TRUE(store->QueryValue(Hive::User, kVintaraKey, name, got, &type));
    EXPECT_EQ(got, bytes) << name;
    EXPECT_EQ(type, kTypeNone) << name;
  }
}

TEST_F(BrowserStateTest, RestoreReadsEachValueIntoItsBufferWithDefaults) {
  const std::string missing = "<missing>";
  const struct {
    std::string system, search, count;
    uint32_t type;
    std::string wantSystem, wantFilter;
    int32_t wantCount;
  } cases[] = {
      {missing, missing, missing, kTypeNone, "NES", "^[a-b]", 0x100},
      {"SNES", "^[c-d]", "\xC8", kTypeNone, "SNES", "^[c-d]", 0x1C8},
      {std::string(19, 'S'), std::string(254, 's'), "\x05", kTypeNone, std::string(19, 'S'),
       std::string(254, 's'), 0x105},
      {std::string(20, 'S'), std::string(255, 's'), "\x05\x06", kTypeNone, "NES", "^[a-b]", 0x100},
      {std::string("GEN\0", 4), std::string("Zelda\0junk", 10), std::string(1, '\0'), kTypeString,
       "GEN", "Zelda", 0x100},
      {"", "", "", kTypeBinary, "NES", "^[a-b]", 0x100},
      {"Nintendo", "x", "\x01", kTypeDword, "Nintendo", "x", 0x101},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.system.size()) + "-byte SYSTEM, " +
                 std::to_string(c.search.size()) + "-byte SEARCH");
    auto store = Store("case" + std::to_string(n++) + ".txt");
    for (auto [name, bytes] :
         {std::pair{"SYSTEM", c.system}, {"SEARCH", c.search}, {"COUNT", c.count}})
      if (bytes != missing) store->SetValue(Hive::Machine, kVintaraKey, name, c.type, bytes);
    std::string system = "SMS", pattern = "previous";
    int32_t count = 0x100;  // only the low byte is read
    RestoreBrowserState(*store, system, pattern, count);
    EXPECT_EQ(system, c.wantSystem);
    EXPECT_EQ(pattern, c.wantFilter);
    EXPECT_EQ(count, c.wantCount);
  }
}

}  // namespace
}  // namespace vt
