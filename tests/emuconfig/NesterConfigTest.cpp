// nester's bindings in the current user's registry tree (the file store here, the same
// semantics), and where the kept original of them lives (its restore is vtcli's table's).
#include <gtest/gtest.h>

#include "tests/support/EmulatorFolder.h"

namespace vt {
namespace {

const char* const kButtons[] = {"Up", "Down", "Left", "Right", "Select", "Start", "A", "B"};
const std::string kTree = "Software\\nester\\NES\\Input";

struct NesterTest : ::testing::Test, test::EmulatorFolder {
  std::string Key(int player, const char* button) {
    return kTree + "\\Controller" + std::to_string(player) + "\\" + button;
  }
  // Every value of one player's eight keys with its type.
  std::string Snapshot(int player) {
    std::string all;
    for (const char* button : kButtons)
      for (const char* name : {"DeviceGUID", "DeviceType", "JAxisPositive", "JOffset", "Key"}) {
        std::string bytes;
        std::uint32_t type = 0;
        settings->QueryValue(Hive::User, Key(player, button), name, bytes, &type);
        all += std::to_string(type) + ":" + bytes + "|";
      }
    return all;
  }
  bool Load(ControllerConfig& c, int player) { return Nester().Load(*settings, c, player, host); }

  std::vector<std::string>& messages = host.messages;
};

// The first load writes the defaults to all sixteen keys, in nester's own value types; a record
// read back is the one saved (but for the high bytes of its key), and a player's save touches
// only that player's keys.
TEST_F(NesterTest, FirstUseWritesTheDefaultsAndEachPlayerKeepsItsOwnRecords) {
  ASSERT_TRUE(Load(config, 1));
  const std::string keyboard(reinterpret_cast<const char*>(kGuidSysKeyboard.data()), 16);
  std::string defaults;
  for (char key : std::string("\xC8\xD0\xCB\xCD\x1E\x1F\x2D\x2C"))
    defaults += "3:" + keyboard + "|4:" + std::string("\x01\0\0\0|4:\0\0\0\0|4:\0\0\0\0|3:", 21) +
                key + "|";
  EXPECT_EQ(Snapshot(1), defaults);
  EXPECT_EQ(Snapshot(2), defaults);
  EXPECT_TRUE(messages.empty());
  EXPECT_FALSE(Load(config, 0));

  NesterBinding button{{}, kNesterJoystickButton, 0, 53, 0x12D};
  for (int i = 0; i < 16; ++i) button.DeviceGUID[i] = static_cast<std::uint8_t>(0x10 + i);
  config.nesRecords[6] = button;
  ASSERT_TRUE(Save(Nester(), 2));
  EXPECT_EQ(Snapshot(1), defaults);
  ControllerConfig p2;
  ASSERT_TRUE(Load(p2, 2));
  button.Key = 0x2D;
  EXPECT_EQ(p2.nesRecords[6], button);
  EXPECT_EQ(p2.DisplayName(SlotA), "J35");
  EXPECT_EQ(Nester().Stored(p2, SlotA), (std::vector<std::int64_t>{2, 0x2D, 53, 0}));
}

// nester's Key is read as nester reads it, into four bytes of which the first is the key: a
// value another tool wrote wider still loads as its key, and one wider than four as no key.
TEST_F(NesterTest, TheKeyIsTheFirstOfUpToFourBytes) {
  ASSERT_TRUE(Load(config, 1));  // every key made, with its default
  const std::string up = Key(1, "Up");
  for (const auto& [bytes, key] :
       std::vector<std::pair<std::string, std::uint32_t>>{{"\x2D", 0x2D},
                                                          {"\x2D\x11", 0x2D},
                                                          {"\x2D\x11\x22", 0x2D},
                                                          {"\x2D\x11\x22\x33", 0x2D},
                                                          {"\x2D\x11\x22\x33\x44", 0}}) {
    ASSERT_TRUE(settings->SetValue(Hive::User, up, "Key", kTypeBinary, bytes));
    ControllerConfig c;
    ASSERT_TRUE(Load(c, 1));
    EXPECT_EQ(c.nesRecords[0].Key, key) << bytes.size() << " bytes";
  }
}

// A load gives defaults only to the keys that are missing (a player's own bindings survive the
// other's keys being absent, which is common); a save creates none: each missing one says so,
// and the others are still written.
TEST_F(NesterTest, MissingKeysGetDefaultsOnALoadAndAMessageOnASave) {
  ASSERT_TRUE(settings->CreateKey(Hive::User, Key(1, "Up")));
  ASSERT_TRUE(settings->CreateKey(Hive::User, Key(2, "Select")));
  config.nesRecords[0] = NesterKeyboardBinding(0x11);
  config.nesRecords[4].DeviceType = 7;
  EXPECT_FALSE(Save(Nester(), 1));
  EXPECT_FALSE(Save(Nester(), 2));
  EXPECT_EQ(messages, std::vector<std::string>(14, "Not Sure: Hmmmmm"));
  std::string type;
  ASSERT_TRUE(settings->QueryValue(Hive::User, Key(2, "Select"), "DeviceType", type));
  EXPECT_EQ(type, std::string("\x07\0\0\0", 4));
  EXPECT_FALSE(settings->KeyExists(Hive::User, Key(2, "Up")));
  EXPECT_EQ(Nester().Location({}, 2),
            "the registry key HKEY_CURRENT_USER\\Software\\nester\\NES\\Input\\Controller2");
  ControllerConfig p2, p1;
  ASSERT_TRUE(Load(p2, 2));
  EXPECT_EQ(p2.nesRecords[0], NesterKeyboardBinding(0xC8));
  EXPECT_EQ(p2.nesRecords[4].DeviceType, 7u);
  ASSERT_TRUE(Load(p1, 1));
  EXPECT_EQ(p1.DisplayName(SlotUp), "W");
  EXPECT_EQ(p1.DisplayName(SlotB), "Z");
}

// The first save keeps nester's values in the client's own key, once. A copy an earlier version
// kept in nester's own tree is moved there when complete, and leaves nester's tree either way.
TEST_F(NesterTest, TheOriginalIsKeptInTheClientsKeyAndAnOldCopyInNestersTreeIsMoved) {
  const std::string kept = "Software\\Vintara\\Originals\\nester";
  const std::string old = kTree + ".vintara-original";
  auto putUp = [&](const std::string& root, char key) {
    const std::string up = root + "\\Controller1\\Up";
    return settings->CreateKey(Hive::User, up) &&
           settings->SetValue(Hive::User, up, "Key", kTypeBinary, std::string(1, key));
  };
  const struct {
    bool oldCopy, oldComplete;
    char kept;
  } cases[] = {{false, false, '\x11'}, {true, true, '\x22'}, {true, false, '\x11'}};
  for (const auto& c : cases) {
    settings = OpenFileSettings(dir.File(std::to_string(c.oldCopy + 2 * c.oldComplete)));
    ASSERT_TRUE(putUp(kTree, '\x11'));
    ASSERT_TRUE(!c.oldCopy || putUp(old, '\x22'));
    ASSERT_TRUE(!c.oldComplete ||
                settings->SetValue(Hive::User, old, "Complete", kTypeString, "1"));
    for (std::uint8_t key : {0x33, 0x44}) {  // the second save takes no second copy
      ASSERT_TRUE(Load(config, 1));
      config.nesRecords[0] = NesterKeyboardBinding(key);
      ASSERT_TRUE(Save(Nester(), 1));
    }
    std::string up, complete;
    EXPECT_FALSE(settings->KeyExists(Hive::User, old));
    EXPECT_TRUE(settings->QueryValue(Hive::User, kept + "\\Controller1\\Up", "Key", up));
    EXPECT_EQ(up, std::string(1, c.kept));
    EXPECT_TRUE(settings->QueryValue(Hive::User, kept, "Complete", complete));
  }
}

}  // namespace
}  // namespace vt
