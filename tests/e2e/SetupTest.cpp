// The set-up windows end to end: the real VTBrowser.exe against vtservice, Setup Help from the
// browser, and keys pressed on the X server (tests/e2e/with-keys) read by Wine's DirectInput.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/e2e/E2eClient.h"
#include "tests/e2e/ServiceCase.h"

namespace vt::e2e {
namespace {

class Setup : public ServiceCase {
protected:
  void SetUp() override {
    ServiceCase::SetUp();
    folder = TempPath("emulators");
    CreateDirectoryA(folder.c_str(), nullptr);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\nester");
  }
  void TearDown() override {
    ServiceCase::TearDown();
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\nester");
    for (const char* name : {"zsnesw.cfg", "gest.cfg"}) std::remove((folder + "\\" + name).c_str());
    RemoveDirectoryA(folder.c_str());
  }
  HWND Start(Client& client) {
    PrepareAutoLogin("player", {{"VT_PATH", folder}});
    return browser = Await(client, Kind::Browser);
  }
  HWND OpenSetup(Client& client, int systemButton) {
    if (systemButton) Click(browser, systemButton);
    Click(browser, IDC_BROWSER_SETUP_HELP);
    return Await(client, Kind::Setup);
  }
  // A key as a user presses it: down for a moment, then up.
  static void Tap(HWND window, const std::string& key) {
    HoldKey(window, key);
    Sleep(150);
    ReleaseKey(key);
  }
  static bool Prompting(HWND field, const std::string& prompt) {
    return WaitUntil([&] { return WindowText(field).starts_with(prompt + " ("); });
  }
  // What every field of the window shows.
  static std::vector<std::string> Fields(HWND setup, const std::vector<int>& ids) {
    std::vector<std::string> texts;
    for (int id : ids) texts.push_back(WindowText(GetDlgItem(setup, id)));
    return texts;
  }
  static std::string UserValue(const std::string& key, const char* name) {
    return RegistryValue(HKEY_CURRENT_USER, key.c_str(), 0, name);
  }

  std::string folder;
  HWND browser = nullptr;
};

// Enter, Escape, Space, Tab and an arrow are bound like any key, in a field and in a Set All:
// none of them presses OK or Cancel, moves the focus to a button it then presses, or starts a
// Set All; the window stays open with its other bindings, and OK writes exactly what was bound.
TEST_F(Setup, TheKeysTheWindowItselfUsesAreBoundAndActOnNothing) {
  const std::string zsnes = "; zsnes\r\nScanKey1 = 205, 203, 208, 200, 28, 54, 45, 44, 46, 30, 16, 18\r\n"
                            "ScanKey2 = 38, 36, 37, 23, 25, 24, 34, 35, 48, 49, 18, 19\r\n";
  WriteWholeFile(folder + "\\zsnesw.cfg", zsnes);
  Client client;
  ASSERT_NE(Start(client), nullptr);
  HWND setup = OpenSetup(client, 0);
  ASSERT_NE(setup, nullptr);
  const std::vector<int> nes = {IDC_SETUP_UP,    IDC_SETUP_DOWN,  IDC_SETUP_LEFT, IDC_SETUP_RIGHT,
                                IDC_SETUP_SELECT, IDC_SETUP_START, IDC_SETUP_A,    IDC_SETUP_B};
  std::vector<std::string> shown = {"Up", "Down", "Left", "Right", "A", "S", "X", "Z"};  // nester's defaults
  EXPECT_EQ(Fields(setup, nes), shown);
  const struct {
    int field;
    const char* key;
    const char* prompt;
    const char* name;
  } captures[] = {{IDC_SETUP_UP, "Return", "Push Up", "Enter"}, {IDC_SETUP_DOWN, "Escape", "Push Down", "1"},
                  {IDC_SETUP_LEFT, "space", "Push Left", "Space"}, {IDC_SETUP_RIGHT, "Tab", "Push Right", "Tab"},
                  {IDC_SETUP_SELECT, "Left", "Push Select", "Left"}};
  for (const auto& c : captures) {
    SCOPED_TRACE(c.key);
    HWND f = GetDlgItem(setup, c.field);
    PostMessageA(setup, WM_COMMAND, MAKEWPARAM(c.field, STN_CLICKED), reinterpret_cast<LPARAM>(f));
    ASSERT_TRUE(Prompting(f, c.prompt)) << WindowText(f);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(GetDlgItem(setup, IDC_SETUP_OK)); })) << "devices open";
    Tap(setup, c.key);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(setup, IDC_SETUP_OK)); }));
    shown[&c - captures] = c.name;
    EXPECT_EQ(Fields(setup, nes), shown) << "the field and no other";
    EXPECT_TRUE(IsWindowVisible(setup));
  }
  Click(setup, IDC_SETUP_OK);
  ASSERT_TRUE(client.WaitGone(setup)) << "a capture or a Set All still runs";
  const std::string keyboardGuid("\x61\x2B\x1D\x6F\xA0\xD5\xCF\x11\xBF\xC7\x44\x45\x53\x54\x00\x00", 16);
  const char* buttons[] = {"Up", "Down", "Left", "Right", "Select", "Start", "A", "B"};
  const unsigned char keys[] = {0x1C, 0x01, 0x39, 0x0F, 0xCB, 0x1F, 0x2D, 0x2C};
  for (int i = 0; i < 8; ++i) {
    const std::string key = std::string("Software\\nester\\NES\\Input\\Controller1\\") + buttons[i];
    SCOPED_TRACE(key);
    EXPECT_EQ(UserValue(key, "Key"), std::string(1, static_cast<char>(keys[i])));
    EXPECT_EQ(UserValue(key, "DeviceGUID"), keyboardGuid);
    EXPECT_EQ(UserValue(key, "DeviceType"), std::string("\x01\0\0\0", 4));
    EXPECT_EQ(UserValue(key, "JOffset"), std::string(4, '\0'));
    EXPECT_EQ(UserValue(key, "JAxisPositive"), std::string(4, '\0'));
  }
  EXPECT_EQ(UserValue("Software\\nester\\NES\\Input\\Controller2\\Up", "Key"), "\xC8") << "player 2 untouched";

  setup = OpenSetup(client, IDC_BROWSER_SNES);
  ASSERT_NE(setup, nullptr);
  Click(setup, IDC_SETUP_SET_ALL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(GetDlgItem(setup, IDC_SETUP_SET_ALL)); })) << "devices open";
  const struct {
    int field;
    const char* prompt;
    const char* key;
  } order[] = {{IDC_SETUP_UP, "Push Up", "Return"},      {IDC_SETUP_DOWN, "Push Down", "Escape"},
               {IDC_SETUP_LEFT, "Push Left", "space"},    {IDC_SETUP_RIGHT, "Push Right", "Tab"},
               {IDC_SETUP_SELECT, "Push Select", "a"},    {IDC_SETUP_START, "Push Start", "s"},
               {IDC_SETUP_A, "Push A", "d"},              {IDC_SETUP_B, "Push B", "f"},
               {IDC_SNESC_X, "Push X", "g"},              {IDC_SNESC_Y, "Push Y", "h"},
               {IDC_SNESC_L, "Push L", "j"},              {IDC_SNESC_R, "Push R", "k"}};
  for (const auto& step : order) {
    ASSERT_TRUE(Prompting(GetDlgItem(setup, step.field), step.prompt)) << step.prompt;
    Tap(setup, step.key);
  }
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(setup, IDC_SETUP_SET_ALL)); }));
  EXPECT_EQ(WindowText(GetDlgItem(setup, IDC_SNESC_R)), "K");
  Click(setup, IDC_SETUP_OK);
  ASSERT_TRUE(client.WaitGone(setup)) << "a capture or a Set All still runs";
  // ZSNES's order: Right, Left, Down, Up, Start, Select, B, Y, A, X, L, R.
  const std::string before = "205, 203, 208, 200, 28, 54, 45, 44, 46, 30, 16, 18";
  std::string want = zsnes;
  want.replace(want.find(before), before.size(), "15, 57, 1, 28, 31, 30, 33, 35, 32, 34, 36, 37");
  EXPECT_EQ(ReadWholeFile(folder + "\\zsnesw.cfg"), want);
  Click(browser, IDC_BROWSER_CLOSE);
  EXPECT_EQ(client.WaitExit(), 0u);
}

// The refusal's box belongs to the window, which is disabled behind it; nothing is written.
TEST_F(Setup, AKeyInAGameBoyJoystickFieldIsRefusedInTheWindowsOwnBox) {
  std::string gest = "gest\nsettings\n\n\n\nkeys\n";
  gest.resize(10240, '\0');
  WriteWholeFile(folder + "\\gest.cfg", gest);
  Client client;
  ASSERT_NE(Start(client), nullptr);
  HWND setup = OpenSetup(client, IDC_BROWSER_GAMEBOY);
  ASSERT_NE(setup, nullptr);
  HWND field = GetDlgItem(setup, IDC_GBCC_JOY_A);
  const std::string before = WindowText(field);
  PostMessageA(setup, WM_COMMAND, MAKEWPARAM(IDC_GBCC_JOY_A, STN_CLICKED), reinterpret_cast<LPARAM>(field));
  ASSERT_TRUE(Prompting(field, "Push A"));
  Tap(setup, "x");
  HWND box = client.WaitWindow([](HWND w) { return Classify(w) == Kind::MessageBox && Text(w) == "Error"; });
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), "Invalid Selection, Please Use A Joystick Or Gamepad.");
  EXPECT_EQ(GetWindow(box, GW_OWNER), setup);
  EXPECT_FALSE(IsWindowEnabled(setup));
  Click(box, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(field) == before; })) << WindowText(field);
  Click(setup, IDC_SETUP_OK);
  ASSERT_TRUE(client.WaitGone(setup));
  EXPECT_EQ(ReadWholeFile(folder + "\\gest.cfg"), gest);
  Click(browser, IDC_BROWSER_CLOSE);
  EXPECT_EQ(client.WaitExit(), 0u);
}

}  // namespace
}  // namespace vt::e2e
