// The start of every console's emulator end to end: the real VTBrowser.exe under Wine, started
// from a folder of its own, launches a game of each console into a copy of emustub in a folder of
// that console's; each copy records its command line and the folder it runs in.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/e2e/E2eClient.h"
#include "tests/e2e/ServiceCase.h"

namespace vt::e2e {
namespace {

std::vector<std::string> Lines(const std::string& path) {
  std::vector<std::string> lines;
  std::istringstream text(ReadWholeFile(path));
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  return lines;
}

class Launch : public ServiceCase {
protected:
  void SetUp() override {
    ServiceCase::SetUp();
    root = TempPath("launch");
    CreateDirectoryA(root.c_str(), nullptr);
    log = root + "\\emustub.log";
    hold = root + "\\go";
    // The client passes its environment on to the emulators it starts.
    SetEnvironmentVariableA("VT_EMUSTUB_LOG", log.c_str());
    SetEnvironmentVariableA("VT_EMUSTUB_EXIT", "1");
    SetEnvironmentVariableA("VT_EMUSTUB_HOLD", hold.c_str());
    GetCurrentDirectoryA(MAX_PATH, here);
  }
  void TearDown() override {
    ServiceCase::TearDown();
    SetEnvironmentVariableA("VT_EMUSTUB_HOLD", nullptr);
    SetCurrentDirectoryA(here);
    std::string command = "cmd /c rd /s /q \"" + root + "\"";
    Client(command).WaitExit();
  }
  std::string root, log, hold;
  char here[MAX_PATH] = {};
};

TEST_F(Launch, EveryConsolesEmulatorStartsInItsProgramsFolderWithTheSameCommandLine) {
  struct Console {
    const char* alias;
    int button;
    const char* program;
    const char* address;  // the launch address up to the user name, quote included
  } consoles[] = {
      {"NES", IDC_BROWSER_NES, "nester.exe", "VTNES://"},  {"SNES", IDC_BROWSER_SNES, "zsnesw.exe", "zsnes://"},
      {"2600", IDC_BROWSER_ATARI, "stella.exe", "\"VTA26://"}, {"GEN", IDC_BROWSER_GENESIS, "gens.exe", "VTGEN://"},
      {"GBC", IDC_BROWSER_GAMEBOY, "gest.exe", "VTGBC://"}, {"SMS", IDC_BROWSER_SMS, "meka.exe", "VTSMS://"},
      {"SGG", IDC_BROWSER_GAMEGEAR, "meka.exe", "VTSMS://"}, {"COL", IDC_BROWSER_COLECO, "meka.exe", "VTSMS://"},
  };
  std::map<std::string, std::string> paths;
  for (const Console& c : consoles) {
    const std::string folder = root + "\\emu " + c.alias;
    CreateDirectoryA(folder.c_str(), nullptr);
    CopyFileA(WindowsPath(VT_E2E_EMUSTUB).c_str(), (folder + "\\" + c.program).c_str(), FALSE);
    paths[std::string(c.alias) + "_PATH"] = folder + "\\" + c.program;
  }
  PrepareAutoLogin("player", paths);
  const std::string started = root + "\\started here";
  CreateDirectoryA(started.c_str(), nullptr);
  SetCurrentDirectoryA(started.c_str());
  Client client;
  HWND browser = Await(client, Kind::Browser);
  ASSERT_NE(browser, nullptr);
  HWND list = GetDlgItem(browser, IDC_BROWSER_LIST);
  std::vector<std::string> rows;
  ASSERT_TRUE(WaitUntil([&] { return !(rows = ListRows(list)).empty(); }));
  size_t launches = 0;
  for (const Console& c : consoles) {
    SCOPED_TRACE(c.alias);
    ShowWindow(browser, SW_RESTORE);
    if (c.button != IDC_BROWSER_NES) {
      const std::vector<std::string> before = rows;
      Click(browser, c.button);
      ASSERT_TRUE(WaitUntil([&] { return (rows = ListRows(list)) != before && !rows.empty(); }));
    }
    size_t row = 0;
    while (row < rows.size() && rows[row].find("|Available") == std::string::npos) ++row;
    ASSERT_LT(row, rows.size());
    ClickRow(list, static_cast<int>(row));
    Click(browser, IDC_BROWSER_LAUNCH);
    ASSERT_TRUE(WaitUntil([&] { return Lines(log).size() > launches; }));
    // The first emulator holds before it touches a window: the launch does not wait for it.
    if (launches == 0) {
      EXPECT_TRUE(WaitUntil([&] { return IsIconic(browser) != FALSE; }, 15000));
      WriteWholeFile(hold, "");
    }
    const std::string key = SampleKey(c.alias, rows[row].substr(0, rows[row].find('|')));
    const std::string quote = c.address[0] == '"' ? "\"" : "";
    EXPECT_EQ(Lines(log)[launches], paths[std::string(c.alias) + "_PATH"] + " " + c.address + "player:player@" +
                                        web + "/" + key + quote);
    ASSERT_TRUE(WaitUntil([&] { return Lines(log + ".folders").size() > launches; }));
    EXPECT_EQ(Lines(log + ".folders")[launches], root + "\\emu " + c.alias);
    ++launches;
  }
  ShowWindow(browser, SW_RESTORE);
  Click(browser, IDC_BROWSER_CLOSE);
  EXPECT_EQ(client.WaitExit(), 0u);
}

}  // namespace
}  // namespace vt::e2e
