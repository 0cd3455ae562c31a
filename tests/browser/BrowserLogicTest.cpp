// The browser's behaviour against a real session on loopback, a real web host for the version
// check and the real file settings store; only the window is a recording stand-in.
#include "browser/BrowserLogic.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "browser/AvailabilityMark.h"
#include "browser/BrowserState.h"
#include "resources/resource.h"
#include "service/Endpoints.h"
#include "tests/service/SessionFixture.h"
#include "tests/support/TempDir.h"

namespace vt {
namespace {

using test::GoodLoginBytes;
using test::ScriptGoodLogin;

std::string Z(const std::string& text) { return text + std::string(1, '\0'); }
std::string CountField(const std::string& digits) {
  std::string f = digits;
  f.resize(5, '\0');
  return f;
}
std::string Record(const std::string& title, const std::string& copies, const std::string& full) {
  return Z(title + "\nkey-" + title + "\n" + copies + "\n" + full);
}

class RecordingSurface : public BrowserSurface {
public:
  void ShowCloseClientsNotice() override { log.push_back("close-clients"); }
  void OpenLoadingNotice() override { log.push_back("loading"); }
  void CloseLoadingNotice() override { log.push_back("close-loading"); }
  void ShowConnectionErrorNotice() override { log.push_back("connection-error"); }
  void ReplaceRows(std::span<const GameRow> r) override {
    log.push_back("rows:" + std::to_string(r.size()));
    rows.clear();
    for (const GameRow& row : r) rows.push_back(std::string(row.title) + "|" + row.mark);
  }
  void EnableGameCommands() override { log.push_back("game-commands"); }
  void SearchTextChanged(bool enabled) override {
    log.push_back(enabled ? "search-on" : "search-off");
  }
  void ShowUpgradeReminder() override { log.push_back("reminder"); }
  bool RunLogin(bool suppressAutoLogin) override {
    log.push_back(suppressAutoLogin ? "login-window" : "login");
    return login ? login() : true;
  }
  void ShowGameInUseNotice(bool full) override { log.push_back(full ? "in-use-full" : "in-use-free"); }
  void ShowLightAccountNotice() override { log.push_back("light-account"); }
  void ShowFullAccountOnlyNotice() override { log.push_back("full-account-only"); }
  bool StartEmulator(const std::string& line) override {
    log.push_back("start:" + line);
    return true;
  }
  void ShowLaunchFailure(const std::string&) override { log.push_back("launch-failure"); }
  void Minimise() override { log.push_back("minimise"); }
  void RunSetupWindow(const ConsoleLayout& layout) override { log.push_back("setup:" + std::string(layout.className)); }

  std::vector<std::string> log;
  std::vector<std::string> rows;
  std::function<bool()> login;
};

class RecordingShell : public AccountShell {
public:
  void OpenPage(const std::string& address) override { pages.push_back(address); }
  void EndProgram(int code) override { ends.push_back(code); }
  std::vector<std::string> pages;
  std::vector<int> ends;
};

TEST(AvailabilityMark, FollowsTheFiveSteps) {
  struct Case {
    const char* copies;
    int32_t full;
    const char* tier;
    std::string_view mark;
  } cases[] = {
      {"3", 0, "False", kMarkAvailable},    {"3", 0, "True", kMarkAvailable},
      {" +2x", 5, "", kMarkAvailable},      {"0", 5, "True", kMarkUnavailable},
      {"0", 1, "False", kMarkPreferred},    {"0", 0, "False", kMarkUnavailable},
      {"-2", 4, "False", kMarkPreferred},   {"-2", 4, "True", kMarkUnavailable},
      {"copies", 1, "False", kMarkPreferred}, {"", 0, "False", kMarkUnavailable},
      {"0", 1, "", kMarkPreferred},         {"0", 1, "true", kMarkPreferred},
      {"0", -1, "maybe", kMarkUnavailable},
  };
  for (const Case& c : cases)
    EXPECT_EQ(AvailabilityMark(c.copies, c.full, c.tier), c.mark)
        << '"' << c.copies << "\" " << c.full << " \"" << c.tier << '"';
}

class BrowserLogicTest : public test::SessionTest {
protected:
  void SetUp() override {
    store = OpenFileSettings(dir.File("registry.txt"));
    ASSERT_TRUE(store->CreateKey(Hive::Machine, kVintaraKey));
  }
  BrowserLogic& Start(const std::string& user = "u", const std::string& pass = "p") {
    peer.Start();
    session = MakeSession();
    logic = std::make_unique<BrowserLogic>(surface, *session, *store, shell);
    logic->userName = user;
    logic->password = pass;
    return *logic;
  }
  void ScriptQuery(const std::string& alias, const std::string& pattern,
                   const std::vector<std::string>& records) {
    peer.Expect(Z("qr")).Send("r1").Expect(Z(alias)).Send("r2").Expect(Z(pattern));
    peer.Send("r3").Expect(Z("ok")).Send(CountField(std::to_string(records.size())));
    for (const std::string& r : records) peer.Send(r);
  }
  static std::string QueryBytes(const std::string& alias, const std::string& pattern) {
    return Z("qr") + Z(alias) + Z(pattern) + Z("ok");
  }
  // Everything the server received on one connection, once the client has closed it.
  std::string Sent(size_t connection = 0) {
    session->Disconnect();
    peer.Finish();
    return peer.Received(connection);
  }

  test::TempDir dir;
  std::unique_ptr<SettingsStore> store;
  std::unique_ptr<ServerSession> session;
  std::unique_ptr<BrowserLogic> logic;
  RecordingSurface surface;
  RecordingShell shell;
};

TEST_F(BrowserLogicTest, RefreshLogsInWithTheWindowsCredentialsAndFillsRowsInServerOrder) {
  ScriptGoodLogin(peer, "alice", "w:n@d/", "False");
  ScriptQuery("NES", "^[a-b]", {Record("Zeta", "0", "2"), Record("Alpha", "3", "0"), Record("Beta", "-2", "0")});
  ScriptQuery("NES", "^[a-b]", {});
  BrowserLogic& b = Start("alice", "w:n@d/");
  b.RefreshList();
  EXPECT_TRUE(session->loggedIn);
  EXPECT_EQ(surface.log, (std::vector<std::string>{"loading", "rows:3", "close-loading"}));
  EXPECT_EQ(surface.rows, (std::vector<std::string>{"Zeta|Preferred", "Alpha|Available", "Beta|UnAvailable"}));
  surface.log.clear();
  b.RefreshList();  // zero games: an empty list
  EXPECT_EQ(surface.log, (std::vector<std::string>{"loading", "rows:0", "close-loading"}));
  EXPECT_EQ(surface.rows, std::vector<std::string>{});
  EXPECT_EQ(Sent(), GoodLoginBytes("alice", "w:n@d/") + QueryBytes("NES", "^[a-b]") + QueryBytes("NES", "^[a-b]"));
}

TEST_F(BrowserLogicTest, EachChoiceQueriesTheCurrentSystemAndPattern) {
  ScriptGoodLogin(peer, "u", "p", "True");
  ScriptQuery("NES", "^[c-d]", {Record("Contra", "1", "1")});
  ScriptQuery("SNES", "^[c-d]", {Record("Cybernator", "1", "1")});
  ScriptQuery("SNES", "Zelda: [Link]* ?", {});
  ScriptQuery("SNES", "^[a-b]", {Record("Axelay", "0", "0")});
  ScriptQuery("GB' OR Alias='GBC", "^[a-b]", {});
  ScriptQuery("GB' OR Alias='GBC", "^[0-z]", {});
  BrowserLogic& b = Start();
  ASSERT_TRUE(session->Login("u", "p"));
  b.ChooseRange(FindRangeButton(IDC_BROWSER_RANGE_C_D)->pattern);
  b.ChooseSystem(FindSystemButton(IDC_BROWSER_SNES)->alias);
  b.Search("Zelda: [Link]* ?");
  b.ChooseRange("^[a-b]");
  EXPECT_EQ(b.searchText, "Zelda: [Link]* ?") << "a letter range leaves the search box's text";
  b.ChooseSystem(FindSystemButton(IDC_BROWSER_GAMEBOY)->alias);
  b.ChooseRange(FindRangeButton(IDC_BROWSER_RANGE_ALL)->pattern);
  EXPECT_EQ(surface.rows, std::vector<std::string>{});
  EXPECT_EQ(Sent(), GoodLoginBytes("u", "p") + QueryBytes("NES", "^[c-d]") + QueryBytes("SNES", "^[c-d]") +
                        QueryBytes("SNES", "Zelda: [Link]* ?") + QueryBytes("SNES", "^[a-b]") +
                        QueryBytes("GB' OR Alias='GBC", "^[a-b]") + QueryBytes("GB' OR Alias='GBC", "^[0-z]"));
}

TEST_F(BrowserLogicTest, RefusedLoginsQueryNothingAndKeepTheRows) {
  peer.Expect("u").Send("user?").Expect("p").Send("Incorrect Username or Password");
  peer.Expect("u").Send("user?").Expect("p").Send("Username in use login again to clear.");
  BrowserLogic& b = Start();
  surface.rows = {"Old|Available"};
  b.RefreshList();
  EXPECT_EQ(surface.log, std::vector<std::string>{}) << "a bad login changes nothing";
  EXPECT_TRUE(session->connected);
  b.RefreshList();  // user in use: its notice, then a disconnect that clears the flag
  EXPECT_EQ(surface.log, std::vector<std::string>{"close-clients"});
  EXPECT_FALSE(session->connected || session->userInUse);
  EXPECT_EQ(surface.rows, std::vector<std::string>{"Old|Available"});
  peer.Finish();
  EXPECT_EQ(peer.Received(0), "upup");
}

TEST_F(BrowserLogicTest, AFailedQueryKeepsTheRowsAndTheNextRefreshLogsInAgain) {
  ScriptGoodLogin(peer, "u", "p", "False");
  ScriptQuery("NES", "^[a-b]", {Record("Alpha", "1", "0")});
  // The second query's connection breaks in the middle of a record.
  peer.Expect(Z("qr")).Send("r1").Expect(Z("NES")).Send("r2").Expect(Z("^[c-d]"));
  peer.Send("r3").Expect(Z("ok")).Send(CountField("2")).Send(Record("Castle", "1", "0"));
  peer.Send("Cont").Reset();
  peer.NextConnection();
  ScriptGoodLogin(peer, "u", "p", "False");
  ScriptQuery("NES", "^[e-f]", {Record("Excite", "0", "0")});
  BrowserLogic& b = Start();
  b.RefreshList();
  surface.log.clear();
  b.ChooseRange("^[c-d]");
  EXPECT_EQ(surface.log, (std::vector<std::string>{"loading", "connection-error", "close-loading"}));
  EXPECT_EQ(surface.rows, std::vector<std::string>{"Alpha|Available"});
  EXPECT_FALSE(session->loggedIn);
  EXPECT_EQ(session->filter, "^[c-d]") << "the new pattern stays in force";
  b.ChooseRange("^[e-f]");
  EXPECT_EQ(surface.rows, std::vector<std::string>{"Excite|UnAvailable"});
  EXPECT_EQ(Sent(1), GoodLoginBytes("u", "p") + QueryBytes("NES", "^[e-f]"));
}

TEST_F(BrowserLogicTest, SelectionAndSearchBoxRules) {
  BrowserLogic& b = Start();
  session->selectedIndex = 4;
  b.SelectGame(std::nullopt);
  EXPECT_EQ(session->selectedIndex, 4u) << "empty space keeps the earlier selection";
  EXPECT_EQ(surface.log, std::vector<std::string>{});
  b.SelectGame(7);
  EXPECT_EQ(session->selectedIndex, 7u);
  b.SelectGame(std::nullopt);
  EXPECT_EQ(session->selectedIndex, 7u);
  b.SearchBoxChanged("z");
  b.SearchBoxChanged("");
  b.SearchBoxChanged(" ");
  EXPECT_EQ(b.searchText, " ");
  EXPECT_EQ(surface.log, (std::vector<std::string>{"game-commands", "search-on", "search-off",
                                                   "search-on"}));
}

// The saved state in the real settings file, byte for byte.
class BrowserStateTest : public BrowserLogicTest {
protected:
  std::string Value(const std::string& name, uint32_t* type = nullptr) {
    std::string bytes;
    if (!store->QueryValue(Hive::Machine, kVintaraKey, name, bytes, type)) return "<missing>";
    return bytes;
  }
  void Store(const std::string& name, const std::string& bytes, uint32_t type = kTypeNone) {
    ASSERT_TRUE(store->SetValue(Hive::Machine, kVintaraKey, name, type, bytes));
  }
};

TEST_F(BrowserStateTest, SaveWritesThreeUntypedValuesWithoutTerminators) {
  BrowserLogic& b = Start();
  session->SetSystem("SNES");
  session->filter = "Zelda: [Link]";
  b.startCount = 0x12C;  // only the low byte goes out
  b.SaveBrowserState();
  for (auto [name, bytes] : {std::pair{"SYSTEM", "SNES"}, {"SEARCH", "Zelda: [Link]"}, {"COUNT", "\x2C"}}) {
    uint32_t type = 99;
    EXPECT_EQ(Value(name, &type), bytes) << name;
    EXPECT_EQ(type, kTypeNone) << name;
  }
}

TEST_F(BrowserStateTest, RestoreReadsEachValueIntoItsBufferWithDefaults) {
  struct Case {
    std::string system, search, count;
    uint32_t type;
    std::string wantSystem, wantScheme, wantFilter;
    int32_t wantCount;
  } cases[] = {
      {"<missing>", "<missing>", "<missing>", kTypeNone, "NES", "VTNES://", "^[a-b]", 0},
      {"SNES", "^[c-d]", "\xC8", kTypeNone, "SNES", "zsnes://", "^[c-d]", 200},
      {std::string(19, 'S'), std::string(254, 's'), "\x05", kTypeNone, std::string(19, 'S'),
       "VTNES://", std::string(254, 's'), 5},
      {std::string(20, 'S'), std::string(255, 's'), "\x05\x06", kTypeNone, "NES", "VTNES://",
       "^[a-b]", 0},
      {std::string("GEN\0", 4), std::string("Zelda\0junk", 10), std::string(1, '\0'), kTypeString,
       "GEN", "VTGEN://", "Zelda", 0},
      {"", "", "", kTypeBinary, "NES", "VTNES://", "^[a-b]", 0},
      {"Nintendo", "x", "\x01", kTypeDword, "Nintendo", "VTNES://", "x", 1},
  };
  Start();
  int n = 0;
  for (const Case& c : cases) {
    // Each case in a store of its own that holds the key and only the values given.
    store = OpenFileSettings(dir.File("case" + std::to_string(n++) + ".txt"));
    ASSERT_TRUE(store->CreateKey(Hive::Machine, kVintaraKey));
    for (auto [name, bytes] : {std::pair{"SYSTEM", c.system}, {"SEARCH", c.search}, {"COUNT", c.count}})
      if (bytes != "<missing>") Store(name, bytes, c.type);
    BrowserLogic l(surface, *session, *store, shell);
    session->SetSystem("SMS");
    session->filter = "previous";
    l.RestoreBrowserState();
    EXPECT_EQ(session->system, c.wantSystem) << c.system.size() << "-byte SYSTEM";
    EXPECT_EQ(session->scheme, c.wantScheme);
    EXPECT_EQ(session->filter, c.wantFilter) << c.search.size() << "-byte SEARCH";
    EXPECT_EQ(l.startCount, c.wantCount);
  }
}

TEST_F(BrowserStateTest, AMissingKeyGivesDefaultsAndIsNeverCreated) {
  store = OpenFileSettings(dir.File("empty.txt"));
  BrowserLogic& b = Start();
  session->SetSystem("GEN");
  b.startCount = 7;
  b.RestoreBrowserState();
  EXPECT_EQ(session->system, "NES");
  EXPECT_EQ(session->filter, "^[a-b]");
  EXPECT_EQ(b.startCount, 7) << "nothing read, nothing changed";
  b.SaveBrowserState();
  EXPECT_FALSE(store->KeyExists(Hive::Machine, kVintaraKey));
}

// A key the user may read but not write (a standard user under the machine hive).
class ReadOnlySettings : public SettingsStore {
public:
  explicit ReadOnlySettings(SettingsStore& real) : real_(real) {}
  bool KeyExists(Hive h, const std::string& k) override { return real_.KeyExists(h, k); }
  bool CreateKey(Hive, const std::string&) override { return false; }
  bool QueryValue(Hive h, const std::string& k, const std::string& n, std::string& b,
                  uint32_t* t) override {
    return real_.QueryValue(h, k, n, b, t);
  }
  bool SetValue(Hive, const std::string&, const std::string&, uint32_t, std::string_view) override {
    return false;
  }
  bool SetValues(Hive, const std::string&, std::span<const NamedValue>) override { return false; }

private:
  SettingsStore& real_;
};

TEST_F(BrowserStateTest, AKeyThatCannotBeWrittenSavesNothing) {
  Store("SYSTEM", "GEN");
  ReadOnlySettings readOnly(*store);
  session = MakeSession();
  BrowserLogic b(surface, *session, readOnly, shell);
  b.RestoreBrowserState();
  EXPECT_EQ(session->system, "GEN");
  session->SetSystem("SNES");
  b.SaveBrowserState();
  EXPECT_EQ(Value("SYSTEM"), "GEN");
  EXPECT_EQ(Value("SEARCH"), "<missing>");
}

TEST_F(BrowserLogicTest, UpgradeReminderFollowsTheCounterRule) {
  struct Case {
    const char* tier;
    int32_t count;
    int random;
    bool shows;
    int32_t after;
  } cases[] = {
      // 10 is above every threshold from 5 to 9.
      {"False", 10, 0, true, 0},   {"False", 10, 4, true, 0},  {"False", 10, 32767, true, 0},
      // 5 is above none.
      {"False", 5, 0, false, 6},   {"False", 5, 4, false, 6},
      // 9 shows unless the threshold is 9.
      {"False", 9, 3, true, 0},    {"False", 9, 4, false, 10}, {"False", 9, 32764, false, 10},
      {"False", 0, 2, false, 1},   {"False", -3, 0, false, -2},
      {"True", 10, 0, false, 10},  {"True", 200, 0, false, 200},
      {"", 10, 0, false, 10},      {"false", 10, 0, false, 10},
  };
  BrowserLogic& b = Start();
  for (const Case& c : cases) {
    surface.log.clear();
    session->fullAccount = c.tier;
    b.startCount = c.count;
    b.UpgradeReminderAtStart(c.random);
    EXPECT_EQ(!surface.log.empty(), c.shows) << c.tier << " " << c.count << " r=" << c.random;
    EXPECT_EQ(b.startCount, c.after) << c.tier << " " << c.count << " r=" << c.random;
  }
  for (const char* tier : {"False", "True", "", "FALSE"}) {
    session->fullAccount = tier;
    EXPECT_EQ(b.ShowsUpgradeNow(), std::string(tier) == "False") << tier;
  }
  for (int i = 0; i < 3; ++i) {
    const int r = StartUpRandom();
    EXPECT_GE(r, 0);
    EXPECT_LE(r, 32767);
  }
}

// The commands with the real session, web host and settings file.
class BrowserCommandsTest : public BrowserStateTest {
protected:
  // Logged in as ann, the list refreshed with two games: Alpha available, Beta in use.
  BrowserLogic& Loaded() {
    ScriptGoodLogin(peer, "ann", "pw:@/", "False");
    ScriptQuery("NES", "^[a-b]", {Record("Alpha", "2", "0"), Record("Beta", "0", "0")});
    Start("ann", "pw:@/").RefreshList();
    return *logic;
  }
  std::string Nester() {
    const std::string path = dir.File("nester.exe");
    std::ofstream(path) << "MZ";
    Store("NES_PATH", path);
    return path;
  }
};

TEST_F(BrowserCommandsTest, LaunchDisconnectsStartsSavesAndMinimises) {
  const std::string nester = Nester();
  BrowserLogic& b = Loaded();
  b.startCount = 3;
  b.SelectGame(0);
  surface.log.clear();
  EXPECT_EQ(b.Launch(), LaunchOutcome::Started);
  EXPECT_EQ(surface.log, (std::vector<std::string>{
                             "start:" + nester + " VTNES://ann:pw:@/@" + web.hostPort() + "/key-Alpha",
                             "minimise"}));
  EXPECT_FALSE(session->connected);
  EXPECT_EQ(Value("SYSTEM"), "NES");
  EXPECT_EQ(Value("SEARCH"), "^[a-b]");
  EXPECT_EQ(Value("COUNT"), std::string(1, '\x03'));
  peer.Finish();
  // The server saw the connection close: everything it received, and nothing after the query.
  EXPECT_EQ(peer.Received(0), GoodLoginBytes("ann", "pw:@/") + QueryBytes("NES", "^[a-b]"));
}

// Refused launches and pages keep the connection; a selection beyond the rows does nothing.
TEST_F(BrowserCommandsTest, LaunchesThatStartNoEmulatorAndPagesOnTheWebHost) {
  BrowserLogic& b = Loaded();
  b.SelectGame(1);
  surface.log.clear();
  EXPECT_EQ(b.Launch(), LaunchOutcome::GameInUseFree);  // refused: nothing saved
  EXPECT_EQ(surface.log, std::vector<std::string>{"in-use-free"});
  EXPECT_EQ(Value("SYSTEM"), "<missing>");
  b.GameInfo();
  b.UpgradeNow();
  const std::vector<std::string> pages = {"http://" + web.hostPort() + "/gameinfo.php?gameinfo=key-Beta",
                                          "http://" + web.hostPort() + "/accountinfo.php"};
  EXPECT_EQ(shell.pages, pages);
  EXPECT_TRUE(session->connected);
  // A double-click below fewer rows after a refresh: refused without a notice.
  session->selectedIndex = 2;
  surface.log.clear();
  EXPECT_EQ(b.Launch(), LaunchOutcome::NoSelection);
  EXPECT_EQ(surface.log, std::vector<std::string>{});
  b.GameInfo();
  EXPECT_EQ(shell.pages, pages);
  // No emulator set: reported and saved, but not minimised.
  b.SelectGame(0);
  surface.log.clear();
  EXPECT_EQ(b.Launch(), LaunchOutcome::EmulatorNotSet);
  EXPECT_EQ(surface.log, std::vector<std::string>{"launch-failure"});
  EXPECT_EQ(Value("SYSTEM"), "NES");
}

TEST_F(BrowserCommandsTest, ChangeUserLogsOutAndShowsTheLoginWindowKeepingTheRows) {
  BrowserLogic& b = Loaded();
  surface.log.clear();
  surface.login = [&] {
    EXPECT_FALSE(session->connected) << "logged out before the login window";
    b.userName = "bob";
    b.password = "builder";
    return true;
  };
  b.ChangeUser();
  EXPECT_EQ(surface.log, std::vector<std::string>{"login-window"});
  EXPECT_EQ(surface.rows, (std::vector<std::string>{"Alpha|Available", "Beta|UnAvailable"}));
  EXPECT_EQ(b.userName, "bob");
}

TEST_F(BrowserCommandsTest, SetupHelpOpensTheCurrentSystemsWindowAndRefreshesNothing) {
  BrowserLogic& b = Start();
  // The alias-to-window table itself is the layouts' own test.
  for (auto [alias, window] : {std::pair{"SNES", "SNESC"}, {"COL", "SMSC"}}) {
    surface.log.clear();
    session->SetSystem(alias);
    b.SetupHelp();
    EXPECT_EQ(surface.log, std::vector<std::string>{std::string("setup:") + window}) << alias;
  }
  surface.log.clear();
  session->SetSystem("Genesis");
  b.SetupHelp();
  EXPECT_EQ(surface.log, std::vector<std::string>{}) << "an alias without a window opens nothing";
}

TEST_F(BrowserCommandsTest, CloseSavesThenDisconnects) {
  BrowserLogic& b = Loaded();
  session->SetSystem("SNES");
  b.Close();
  EXPECT_FALSE(session->connected);
  EXPECT_EQ(Value("SYSTEM"), "SNES");
  b.Close();  // not connected: saves again, nothing else
  EXPECT_EQ(Value("SYSTEM"), "SNES");
}

}  // namespace
}  // namespace vt
