// The set-up windows end to end: the real VTBrowser.exe against vtservice, Setup Help from the
// browser, and keys pressed on the X server (tests/e2e/with-keys) read by Wine's DirectInput.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
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
  void Start(Client& client) {
    PrepareAutoLogin("player", {{"VT_PATH", folder}});
    browser = Await(client, Kind::Browser);
    ASSERT_NE(browser, nullptr);
  }
  HWND OpenSetup(Client& client, int systemButton) {
    if (systemButton) Click(browser, systemButton);
    Click(browser, IDC_BROWSER_SETUP_HELP);
    return Await(client, Kind::Setup);
  }
  // A click on a field (a static text that reports clicks), then the key on the X server until
  // the field shows a name again.
  void Capture(HWND setup, int field, const std::string& key, const std::string& prompt) {
    HWND f = GetDlgItem(setup, field);
    PostMessageA(setup, WM_COMMAND, MAKEWPARAM(field, STN_CLICKED), reinterpret_cast<LPARAM>(f));
    ASSERT_TRUE(WaitUntil([&] { return WindowText(f) == prompt; })) << "the field shows " << WindowText(f);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(GetDlgItem(setup, IDC_SETUP_OK)); })) << "OK waits with the capture";
    HoldKey(setup, key);
    WaitUntil([&] { return WindowText(f) != prompt; });
    ReleaseKey(key);
  }
  static std::string UserValue(const std::string& key, const char* name) {
    return RegistryValue(HKEY_CURRENT_USER, key.c_str(), 0, name);
  }

  std::string folder;
  HWND browser = nullptr;
};

TEST_F(Setup, NesWindowCapturesARealKeyAndOkWritesNestersTreeForController1) {
  Client client;
  Start(client);
  HWND setup = OpenSetup(client, 0);
  ASSERT_NE(setup, nullptr);
  EXPECT_EQ(WindowText(GetDlgItem(setup, IDC_SETUP_UP)), "Up") << "nester's default, stored at first use";
  Capture(setup, IDC_SETUP_UP, "q", "Push Up");
  EXPECT_EQ(WindowText(GetDlgItem(setup, IDC_SETUP_UP)), "Q");
  Click(setup, IDC_SETUP_OK);
  ASSERT_TRUE(client.WaitGone(setup));
  // Controller 1: Up is the Q key, every other button keeps its default.
  const std::string keyboardGuid("\x61\x2B\x1D\x6F\xA0\xD5\xCF\x11\xBF\xC7\x44\x45\x53\x54\x00\x00", 16);
  const char* buttons[] = {"Up", "Down", "Left", "Right", "Select", "Start", "A", "B"};
  const unsigned char keys[] = {0x10, 0xD0, 0xCB, 0xCD, 0x1E, 0x1F, 0x2D, 0x2C};
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
  Click(browser, IDC_BROWSER_CLOSE);
  EXPECT_EQ(client.WaitExit(), 0u);
}

TEST_F(Setup, SnesWindowWritesTheKeyIntoZsnes) {
  const std::string zsnes = "; zsnes\r\nScanKey1 = 205, 203, 208, 200, 28, 54, 45, 44, 46, 30, 16, 18\r\n"
                            "ScanKey2 = 38, 36, 37, 23, 25, 24, 34, 35, 48, 49, 18, 19\r\n";
  WriteWholeFile(folder + "\\zsnesw.cfg", zsnes);
  Client client;
  Start(client);
  HWND setup = OpenSetup(client, IDC_BROWSER_SNES);
  ASSERT_NE(setup, nullptr);
  EXPECT_EQ(WindowText(GetDlgItem(setup, IDC_SETUP_UP)), "Up");
  Capture(setup, IDC_SETUP_UP, "w", "Push Up");
  Click(setup, IDC_SETUP_OK);
  ASSERT_TRUE(client.WaitGone(setup));
  std::string want = zsnes;
  want.replace(want.find("208, 200,"), 9, "208, 17,");
  EXPECT_EQ(ReadWholeFile(folder + "\\zsnesw.cfg"), want);
  Click(browser, IDC_BROWSER_CLOSE);
  EXPECT_EQ(client.WaitExit(), 0u);
}

TEST_F(Setup, AKeyInAGameBoyJoystickFieldIsRefusedAndChangesNothing) {
  std::string gest = "gest\nsettings\n\n\n\nkeys\n";
  gest.resize(10240, '\0');
  WriteWholeFile(folder + "\\gest.cfg", gest);
  Client client;
  Start(client);
  HWND setup = OpenSetup(client, IDC_BROWSER_GAMEBOY);
  ASSERT_NE(setup, nullptr);
  HWND field = GetDlgItem(setup, IDC_GBCC_JOY_A);
  const std::string before = WindowText(field);
  PostMessageA(setup, WM_COMMAND, MAKEWPARAM(IDC_GBCC_JOY_A, STN_CLICKED), reinterpret_cast<LPARAM>(field));
  ASSERT_TRUE(WaitUntil([&] { return WindowText(field) == "Push A"; }));
  HoldKey(setup, "x");
  HWND box = client.WaitWindow([](HWND w) { return Classify(w) == Kind::MessageBox && Text(w) == "Error"; });
  ReleaseKey("x");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), "Invalid Selection, Please Use A Joystick Or Gamepad.");
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
