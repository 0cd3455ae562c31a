// Games launched by the real VTBrowser.exe into emustub, which records its command line and folder.
#include "tests/e2e/ServiceCase.h"

namespace vt::e2e {
namespace {

class Launch : public ServiceCase {
protected:
  void TearDown() override {
    ServiceCase::TearDown();
    SetEnvironmentVariableA("VT_EMUSTUB_HOLD", nullptr);
    SetEnvironmentVariableA("VT_EMUSTUB_SHOW_MS", nullptr);
    Client("cmd /c rd /s /q \"" + root + "\"").WaitExit();
  }
  std::string root = TempPath("launch");
};

// Launch (a click and the button, or a double-click) ends the session before the emulator runs,
// saves the browser's state and minimises the window without waiting for the emulator.
TEST_F(Launch, EveryConsolesEmulatorStartsInItsProgramsFolderWithTheSameCommandLine) {
  // A game of each console from the sample catalogue, found by its title, and its launch
  // address with "%" for the credentials and the web host.
  const struct {
    const char *alias, *program, *title, *address;
    int button;
  } consoles[] = {
      {"NES", "nester.exe", "Aurora Chase", "VTNES://%/NES0004", IDC_BROWSER_NES},
      {"SNES", "zsnesw.exe", "Alpine Tower", "zsnes://%/SNES0004", IDC_BROWSER_SNES},
      {"2600", "stella.exe", "Astro Mayhem", "\"VTA26://%/A260004\"", IDC_BROWSER_ATARI},
      {"GEN", "gens.exe", "Atlas Rescue", "VTGEN://%/GEN0004", IDC_BROWSER_GENESIS},
      {"GBC", "gest.exe", "Anchor Island", "VTGBC://%/GB0004", IDC_BROWSER_GAMEBOY},
      {"SMS", "meka.exe", "Astro Mayhem", "VTSMS://%/SMS0004", IDC_BROWSER_SMS},
      {"SGG", "meka.exe", "Axel's Chase", "VTSMS://%/SGG0004", IDC_BROWSER_GAMEGEAR},
      {"COL", "meka.exe", "Anchor Patrol", "VTSMS://%/COL0004", IDC_BROWSER_COLECO},
  };
  const std::string hold = root + "\\go", started = root + "\\started here";
  SetEnvironmentVariableA("VT_EMUSTUB_HOLD", hold.c_str());
  CreateDirectoryA(root.c_str(), nullptr);
  std::map<std::string, std::string> paths;
  for (const auto& c : consoles) {
    const std::string folder = root + "\\" + c.alias;  // no blank: Wine would quote the program
    CreateDirectoryA(folder.c_str(), nullptr);
    CopyFileA(WindowsPath(VT_E2E_EMUSTUB).c_str(), (folder + "\\" + c.program).c_str(), FALSE);
    paths[std::string(c.alias) + "_PATH"] = folder + "\\" + c.program;
  }
  PrepareAutoLogin("player", paths);
  CreateDirectoryA(started.c_str(), nullptr);
  Client client("", started.c_str());
  AwaitBrowser(client);
  for (size_t n = 0; n < std::size(consoles); ++n) {
    const auto& c = consoles[n];
    SCOPED_TRACE(c.alias);
    ShowWindow(browser, SW_RESTORE);
    Click(browser, c.button);
    SetText(browser, IDC_BROWSER_SEARCH_BOX, c.title);
    Click(browser, IDC_BROWSER_SEARCH);
    ASSERT_TRUE(AwaitRows(list, {std::string(c.title) + "|Available"}));
    const bool doubleClick = c.button == IDC_BROWSER_ATARI;
    ClickRow(list, 0, doubleClick);
    if (!doubleClick) Click(browser, IDC_BROWSER_LAUNCH);
    ASSERT_EQ(Lines(log + ".folders", n + 1).size(), n + 1);
    // The first emulator holds before it touches a window: the launch does not wait for it.
    if (n == 0) {
      EXPECT_TRUE(WaitUntil([&] { return IsIconic(browser) != FALSE; }, 15000));
      EXPECT_TRUE(Session("player").signedIn) << "the session was not ended before the start";
      EXPECT_EQ(UserValue("SYSTEM") + UserValue("SEARCH") + UserValue("COUNT"),
                std::string("NESAurora Chase\0", 16));
      test::WriteFileBytes(hold, "");
    }
    std::string address = c.address;
    address.replace(address.find('%'), 1, "player:player@" + web);
    EXPECT_EQ(Lines(log)[n], paths[std::string(c.alias) + "_PATH"] + " " + address);
    EXPECT_EQ(Lines(log + ".folders")[n], root + "\\" + c.alias);
  }
  CloseAndEnd(client, browser);
}

// The browser minimised for the game comes back when the game ends, with its row still selected;
// meanwhile its window answers.
TEST_F(Launch, TheBrowserComesBackWhenTheGameEnds) {
  PrepareAutoLogin("player", {{"NES_PATH", WindowsPath(VT_E2E_EMUSTUB)}});
  SetEnvironmentVariableA("VT_EMUSTUB_EXIT", nullptr);
  SetEnvironmentVariableA("VT_EMUSTUB_SHOW_MS", "3000");  // the game runs three seconds
  Client client;
  AwaitBrowser(client);
  SetText(browser, IDC_BROWSER_SEARCH_BOX, "Aurora Chase");
  Click(browser, IDC_BROWSER_SEARCH);
  ASSERT_TRUE(AwaitRows(list, {"Aurora Chase|Available"}));
  ClickRow(list, 0);
  Click(browser, IDC_BROWSER_LAUNCH);
  // The game's window goes as the game ends.
  auto running = [] { return FindWindowA("VtEmustub", nullptr) != nullptr; };
  ASSERT_TRUE(WaitUntil(running));
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(browser) != FALSE; }, 15000));
  EXPECT_TRUE(SendMessageTimeoutA(browser, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr))
      << "the browser does not answer while the game runs";
  EXPECT_TRUE(IsIconic(browser) && running()) << "the game ended too soon to tell";
  EXPECT_TRUE(WaitUntil([&] { return !running(); }));
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(browser) == FALSE; }, 1000))
      << "the browser did not come back within a second of the game's end";
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 0);
  CloseAndEnd(client, browser);
}

}  // namespace
}  // namespace vt::e2e
