// nester's bindings in the current user's registry tree (the file store here, the same
// semantics), and the kept original of them in the client's own key.
#include "emuconfig/NesterConfig.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/SettingsStore.h"
#include "tests/emuconfig/EmuconfigTestSupport.h"

namespace vt {
namespace {

struct NesterFixture : ::testing::Test {
  test::TempDir dir;
  std::unique_ptr<SettingsStore> store = OpenFileSettings(dir.File("registry.txt"));
  ControllerConfig config;
  std::vector<std::string> messages;
  MessageFn show = [this](std::string_view text, std::string_view caption) {
    messages.push_back(std::string(text) + "|" + std::string(caption));
  };

  static constexpr const char* kButtons[] = {"Up",     "Down",  "Left", "Right",
                                             "Select", "Start", "A",    "B"};
  // Every value of one player's eight keys, in a fixed order.
  std::string Snapshot(int player) {
    std::string all;
    for (const char* button : kButtons) {
      for (const char* name : {"DeviceGUID", "DeviceType", "JAxisPositive", "JOffset", "Key"}) {
        all += Value(player, button, name) + "|";
      }
    }
    return all;
  }

  std::string Value(int player, const char* button, const char* name, std::uint32_t* type = nullptr,
                    const std::string& root = "Software\\nester\\NES\\Input") {
    std::string bytes;
    EXPECT_TRUE(store->QueryValue(Hive::User,
                                  root + "\\Controller" + std::to_string(player) + "\\" + button,
                                  name, bytes, type))
        << root << button << name;
    return bytes;
  }
  // Player 1's Up key in nester's tree, or in a kept copy under `root`.
  void PutUp(char key, const std::string& root = "Software\\nester\\NES\\Input") {
    ASSERT_TRUE(store->CreateKey(Hive::User, root + "\\Controller1\\Up"));
    ASSERT_TRUE(store->SetValue(Hive::User, root + "\\Controller1\\Up", "Key", kTypeBinary,
                                std::string(1, key)));
  }
};

TEST_F(NesterFixture, FirstUseCreatesAllSixteenKeysWithTheDefaults) {
  ASSERT_TRUE(LoadNesterConfig(*store, config, 1, show));
  const BindingSlot slots[] = {SlotUp, SlotDown, SlotLeft, SlotRight, SlotSelect, SlotStart, SlotA, SlotB};
  const char* names[] = {"Up", "Down", "Left", "Right", "A", "S", "X", "Z"};
  const unsigned char keys[] = {0xC8, 0xD0, 0xCB, 0xCD, 0x1E, 0x1F, 0x2D, 0x2C};
  const std::string keyboard(reinterpret_cast<const char*>(kGuidSysKeyboard.data()), 16);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(config.DisplayName(slots[i]), names[i]);
    for (int player : {1, 2}) {
      const char* button = kButtons[i];
      std::uint32_t keyType = 0, deviceType = 0, guidType = 0;
      EXPECT_EQ(Value(player, button, "Key", &keyType), std::string(1, static_cast<char>(keys[i])));
      EXPECT_EQ(Value(player, button, "DeviceType", &deviceType), std::string("\x01\0\0\0", 4));
      EXPECT_EQ(Value(player, button, "JAxisPositive") + Value(player, button, "JOffset"),
                std::string(8, '\0'));
      EXPECT_EQ(Value(player, button, "DeviceGUID", &guidType), keyboard);
      EXPECT_EQ(std::vector<std::uint32_t>({keyType, deviceType, guidType}),
                std::vector<std::uint32_t>({kTypeBinary, kTypeDword, kTypeBinary}));
    }
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(NesterFixture, JoystickRecordsRoundTripAndPlayerTwoTouchesOnlyItsKeys) {
  ASSERT_TRUE(LoadNesterConfig(*store, config, 1, show));
  NesterBinding button{};
  for (int i = 0; i < 16; ++i) button.DeviceGUID[i] = static_cast<std::uint8_t>(0x10 + i);
  button.DeviceType = kNesterJoystickButton;
  button.JOffset = 53;
  button.Key = 0x12D;  // only the low byte is stored
  // Player 1 gets bindings of its own first, so a save that strayed into its keys would show.
  for (int b = 0; b < 8; ++b) config.nesRecords[b] = NesterKeyboardBinding(0x10 + b);
  ASSERT_TRUE(SaveNesterConfig(*store, config, 1, show));
  const std::string player1 = Snapshot(1);
  for (int b = 0; b < 8; ++b) config.nesRecords[b] = NesterDefaultBinding(b);
  config.nesRecords[6] = button;
  ASSERT_TRUE(SaveNesterConfig(*store, config, 2, show));
  EXPECT_EQ(Snapshot(1), player1);
  EXPECT_EQ(Value(1, "A", "Key"), "\x16");
  EXPECT_EQ(Value(2, "Up", "Key"), "\xC8");

  ControllerConfig p2;
  ASSERT_TRUE(LoadNesterConfig(*store, p2, 2, show));
  button.Key = 0x2D;
  EXPECT_EQ(p2.nesRecords[6], button);
  EXPECT_EQ(p2.DisplayName(SlotA), "J35");
  ControllerConfig p1;
  ASSERT_TRUE(LoadNesterConfig(*store, p1, 1, show));
  EXPECT_EQ(p1.nesRecords[6], NesterKeyboardBinding(0x16));
}

TEST_F(NesterFixture, MissingPlayerTwoKeysDoNotResetPlayerOne) {
  const std::string up1 = NesterKeyPath(1, 0);
  for (int b = 0; b < 8; ++b) ASSERT_TRUE(store->CreateKey(Hive::User, NesterKeyPath(1, b)));
  config.nesRecords[0] = NesterKeyboardBinding(0x11);
  for (int b = 1; b < 8; ++b) config.nesRecords[b] = NesterDefaultBinding(b);
  ASSERT_TRUE(SaveNesterConfig(*store, config, 1, show));

  ControllerConfig p2;
  ASSERT_TRUE(LoadNesterConfig(*store, p2, 2, show));
  EXPECT_EQ(p2.nesRecords[0], NesterDefaultBinding(0));
  EXPECT_TRUE(store->KeyExists(Hive::User, NesterKeyPath(2, 7)));
  EXPECT_EQ(Value(1, "Up", "Key"), "\x11");
  ControllerConfig p1;
  ASSERT_TRUE(LoadNesterConfig(*store, p1, 1, show));
  EXPECT_EQ(p1.DisplayName(SlotUp), "W");
}

TEST_F(NesterFixture, WritingAKeyThatDoesNotExistSaysSoAndCreatesNothing) {
  EXPECT_FALSE(WriteNesterBinding(*store, NesterKeyPath(1, 0), NesterKeyboardBinding(0x2D), show));
  EXPECT_EQ(messages, std::vector<std::string>{"Hmmmmm|Not Sure"});
  EXPECT_FALSE(store->KeyExists(Hive::User, NesterKeyPath(1, 0)));
  messages.clear();
  ASSERT_TRUE(store->CreateKey(Hive::User, NesterKeyPath(2, 4)));
  EXPECT_FALSE(SaveNesterConfig(*store, config, 2, show));
  EXPECT_EQ(messages.size(), 7u);  // once per missing button, the others still written
  EXPECT_EQ(Value(2, "Select", "DeviceType"), std::string(4, '\0'));
  EXPECT_FALSE(LoadNesterConfig(*store, config, 0, show));
}

// The first save keeps nester's values as they were in the client's key, once; restore puts them
// back. A copy an earlier version kept in nester's own tree is moved there when complete, and
// removed from nester's tree either way.
TEST_F(NesterFixture, TheOriginalIsKeptInTheClientsKeyAndAnOldCopyInNestersTreeIsMoved) {
  const std::string old = kOldNesterOriginalKey;
  struct Case {
    const char* name;
    bool oldCopy, oldComplete;
    char kept;  // the Up key of the copy in our key after the first save
  } cases[] = {{"none before", false, false, '\x11'},
               {"an old complete copy", true, true, '\x22'},
               {"an old copy cut short", true, false, '\x11'}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    store = OpenFileSettings(dir.File(std::string(c.name) + ".txt"));
    PutUp('\x11');
    if (c.oldCopy) PutUp('\x22', old);
    if (c.oldComplete) {
      ASSERT_TRUE(store->SetValue(Hive::User, old, "Complete", kTypeString, "1"));
    }
    ASSERT_TRUE(LoadNesterConfig(*store, config, 1, show));
    config.nesRecords[0] = NesterKeyboardBinding(0x33);
    ASSERT_TRUE(SaveNesterConfig(*store, config, 1, show));
    config.nesRecords[0] = NesterKeyboardBinding(0x44);
    ASSERT_TRUE(SaveNesterConfig(*store, config, 1, show));  // the copy is taken once
    EXPECT_FALSE(store->KeyExists(Hive::User, old));
    EXPECT_EQ(Value(1, "Up", "Key", nullptr, kNesterOriginalKey), std::string(1, c.kept));
    if (!c.oldComplete) {
      EXPECT_EQ(Value(2, "B", "Key", nullptr, kNesterOriginalKey), "\x2C");
    }
    std::string complete;
    EXPECT_TRUE(store->QueryValue(Hive::User, kNesterOriginalKey, "Complete", complete));
    EXPECT_EQ(Value(1, "Up", "Key"), "\x44");
    ASSERT_TRUE(RestoreNesterOriginal(*store));
    EXPECT_EQ(Value(1, "Up", "Key"), std::string(1, c.kept));
  }
  // An old complete copy found before any save is what restore puts back, from our key.
  store = OpenFileSettings(dir.File("restore.txt"));
  EXPECT_FALSE(RestoreNesterOriginal(*store)) << "nothing kept";
  PutUp('\x55', old);
  ASSERT_TRUE(store->SetValue(Hive::User, old, "Complete", kTypeString, "1"));
  PutUp('\x66');
  ASSERT_TRUE(RestoreNesterOriginal(*store));
  EXPECT_EQ(Value(1, "Up", "Key"), "\x55");
  EXPECT_FALSE(store->KeyExists(Hive::User, old));
}

}  // namespace
}  // namespace vt
