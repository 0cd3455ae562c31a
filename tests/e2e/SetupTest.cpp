// The set-up window of the real VTBrowser.exe, with real keys read by Wine's DirectInput.
#include "tests/e2e/ServiceCase.h"

namespace vt::e2e {
namespace {

class Setup : public ServiceCase {
protected:
  void TearDown() override {
    ServiceCase::TearDown();
    Client("cmd /c rd /s /q \"" + folder + "\"").WaitExit();
  }
  // A key pressed for a moment, once the field prompts and the devices are open (the button
  // disabled).
  static void Tap(HWND setup, int field, int button, const char* key) {
    ASSERT_TRUE(WaitUntil([&] { return Text(GetDlgItem(setup, field)).starts_with("Push"); }));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(GetDlgItem(setup, button)); }));
    Key("KEYDOWN", key, setup);
    Sleep(150);
    Key("KEYUP", key);
  }

  std::string folder = TempPath("emulators"), zsnes = folder + "\\zsnesw.cfg";
};

// Enter, Escape, Space and Tab are bound like any key, in a field and in a Set All: none presses a
// button, starts a Set All or ends the window; the other bindings stay, and OK writes exactly what
// was bound (ZSNES's order: Right, Left, Down, Up, Start, Select, B, Y, A, X, L, R).
TEST_F(Setup, TheKeysTheWindowItselfUsesAreBoundAndActOnNothing) {
  CreateDirectoryA(folder.c_str(), nullptr);
  auto with = [](const std::string& keys) {
    return "; zsnes\r\nScanKey1 = " + keys + "\r\nScanKey2 = 38, 36, 37, 23\r\n";
  };
  test::WriteFileBytes(zsnes, with("205, 203, 208, 200, 25, 54, 45, 44, 46, 30, 16, 18"));
  Client client;
  PrepareAutoLogin("player", {{"VT_PATH", folder}});
  AwaitBrowser(client);
  Click(browser, IDC_BROWSER_SNES);
  Click(browser, IDC_BROWSER_SETUP_HELP);
  HWND setup = Await(client, Kind::Setup);
  const int ids[] = {IDC_SETUP_UP, IDC_SETUP_DOWN, IDC_SETUP_LEFT, IDC_SETUP_RIGHT,
                     IDC_SETUP_START};
  auto fields = [&] {
    std::vector<std::string> texts;
    for (int id : ids) texts.push_back(Text(GetDlgItem(setup, id)));
    return texts;
  };
  std::vector<std::string> shown = {"Up", "Down", "Left", "Right", "P"};
  EXPECT_EQ(fields(), shown);
  const std::pair<const char*, const char*> keys[] = {
      {"Return", "Enter"}, {"Escape", "1"}, {"space", "Space"}, {"Tab", "Tab"}};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(keys[i].first);
    const HWND field = GetDlgItem(setup, ids[i]);
    PostMessageA(setup, WM_COMMAND, MAKEWPARAM(ids[i], STN_CLICKED), LPARAM(field));
    Tap(setup, ids[i], IDC_SETUP_OK, keys[i].first);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(setup, IDC_SETUP_OK)); }));
    shown[i] = keys[i].second;
    EXPECT_EQ(fields(), shown) << "the field and no other, in a window still open";
  }
  Click(setup, IDC_SETUP_OK);  // OK ends the window once no capture or Set All runs
  EXPECT_TRUE(client.WaitGone(setup)) << "a capture still runs";
  EXPECT_EQ(ReadWholeFile(zsnes), with("15, 57, 1, 28, 25, 54, 45, 44, 46, 30, 16, 18"));

  Click(browser, IDC_BROWSER_SETUP_HELP);
  setup = Await(client, Kind::Setup);
  Click(setup, IDC_SETUP_SET_ALL);
  const std::pair<int, const char*> order[] = {
      {IDC_SETUP_UP, "Return"}, {IDC_SETUP_DOWN, "Escape"}, {IDC_SETUP_LEFT, "space"},
      {IDC_SETUP_RIGHT, "Tab"}, {IDC_SETUP_SELECT, "Left"}, {IDC_SETUP_START, "s"},
      {IDC_SETUP_A, "d"},       {IDC_SETUP_B, "f"},         {IDC_SNESC_X, "g"},
      {IDC_SNESC_Y, "h"},       {IDC_SNESC_L, "j"},         {IDC_SNESC_R, "k"}};
  for (auto [field, key] : order) Tap(setup, field, IDC_SETUP_SET_ALL, key);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(setup, IDC_SETUP_SET_ALL)); }));
  EXPECT_EQ(Text(GetDlgItem(setup, IDC_SNESC_R)), "K");
  Click(setup, IDC_SETUP_OK);
  EXPECT_TRUE(client.WaitGone(setup)) << "a Set All still runs";
  EXPECT_EQ(ReadWholeFile(zsnes), with("15, 57, 1, 28, 31, 203, 33, 35, 32, 34, 36, 37"));
  CloseAndEnd(client, browser);
}

}  // namespace
}  // namespace vt::e2e
