// The browser's behaviour against a real session on loopback, a real web host and the real
// settings file; only the window is a recording stand-in, the boxes and pages recorded in order
// with it. Also its rules alone: rows' marks, the saved state, pages' keys, the game watch.
#include "browser/AvailabilityMark.h"
#include "browser/BrowserLogic.h"
#include "browser/BrowserState.h"
#include "browser/GameWatch.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "service/Endpoints.h"
#include "tests/support/SessionFixture.h"
#include "tests/support/TempDir.h"

namespace vt {
namespace {

using namespace test;
using Log = std::vector<std::string>;

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
  void ShowGameCommands(bool on) override { log.push_back(on ? "commands-on" : "commands-off"); }
  void SearchTextChanged(bool on) override { log.push_back(on ? "search-on" : "search-off"); }
  void SetSearchText(const std::string& text) override { log.push_back("box:" + text); }
  void ShowUpgradeReminder() override { log.push_back("reminder"); }
  LoginExit RunLogin(bool suppressAutoLogin) override {
    return log.push_back(suppressAutoLogin ? "login-window" : "login"), login();
  }
  void ShowGameInUseNotice(bool full) override {
    log.push_back(full ? "in-use-full" : "in-use-free");
  }
  void ShowLightAccountNotice() override { log.push_back("light-account"); }
  void ShowFullAccountOnlyNotice() override { log.push_back("full-account-only"); }
  bool StartEmulator(const std::string& line) override {
    return log.push_back("start:" + line), true;
  }
  void Minimise() override { log.push_back("minimise"); }
  void RunSetupWindow(const ConsoleLayout& layout) override {
    log.push_back("setup:" + std::string(layout.className));
  }

  Log log, rows;
  std::function<LoginExit()> login = [] { return LoginExit::SignedIn; };
};

class BrowserLogicTest : public SessionTest {
protected:
  static void Go(Next next) { EXPECT_EQ(next, Next::GoOn); }
  void SetUp() override {
    ASSERT_TRUE(store->CreateKey(Hive::Machine, kVintaraKey));
    ui.log = &surface.log;
  }
  // The logic on a session of its own pointed at the peer (started here), logged out.
  BrowserLogic& Start(ScriptedPeer& p, uint32_t receiveTimeoutMs = 2000) {
    p.Start();
    session = MakeSession(receiveTimeoutMs, p.port());
    logic = std::make_unique<BrowserLogic>(surface, *session, *store, ui);
    logic->userName = "ann";
    logic->password = "pw:@/";
    return *logic;
  }
  // Logged in as ann, the list refreshed with two games: Alpha available, Beta in use.
  BrowserLogic& Loaded() {
    ScriptGoodLogin(peer, "ann", "pw:@/", "False");
    ScriptQuery(peer, "NES", "^[a-b]",
                {Record("Alpha", "k-alpha", "2", "0"), Record("Beta", "k beta/é", "0", "0")});
    Go(Start(peer).RefreshList());
    surface.log.clear();
    return *logic;
  }
  std::string Value(const std::string& name, uint32_t* type = nullptr) {
    std::string bytes;
    return store->QueryValue(Hive::User, kVintaraKey, name, bytes, type) ? bytes : "<missing>";
  }
  std::string Page(const std::string& page) { return "http://" + web.hostPort() + page; }

  TempDir dir;
  std::unique_ptr<SettingsStore> store = OpenFileSettings(dir.File("registry.txt"));
  std::unique_ptr<ServerSession> session;
  std::unique_ptr<BrowserLogic> logic;
  RecordingSurface surface;
};

TEST_F(BrowserLogicTest, RefreshFillsTheRowsInServerOrderAndSelectsNone) {
  ScriptGoodLogin(peer, "ann", "pw:@/", "False");
  ScriptQuery(peer, "NES", "^[a-b]",
              {Record("Zeta", "k", "0", "2"), Record("Alpha", "k", "3", "0"),
               Record("Beta", "k", "-2", "0")});
  ScriptQuery(peer, "SNES", "^[a-b]", {});
  ScriptQuery(peer, "SNES", "Zelda: [Link]* ?", {});
  ScriptQuery(peer, "SNES", "^[c-d]", {});
  BrowserLogic& b = Start(peer);
  Go(b.RefreshList());
  EXPECT_EQ(surface.log, (Log{"loading", "rows:3", "commands-off", "close-loading"}));
  EXPECT_EQ(surface.rows, (Log{"Zeta|Preferred", "Alpha|Available", "Beta|UnAvailable"}));
  b.SelectGame(2);
  EXPECT_EQ(b.selection(), 2u);
  b.SelectGame(3);  // beyond the rows: none
  EXPECT_EQ(b.selection(), std::nullopt);
  surface.log.clear();
  Go(b.ChooseSystem("SNES"));  // zero games: an empty list
  EXPECT_EQ(surface.log, (Log{"loading", "rows:0", "commands-off", "close-loading"}));
  Go(b.Search("Zelda: [Link]* ?"));  // sent as typed
  Go(b.ChooseRange("^[c-d]"));
  EXPECT_EQ(b.searchText, "Zelda: [Link]* ?") << "a letter range leaves the search box's text";
  EXPECT_EQ(Sent(*session), GoodLoginBytes("ann", "pw:@/") + QueryBytes("NES", "^[a-b]") +
                                QueryBytes("SNES", "^[a-b]") +
                                QueryBytes("SNES", "Zelda: [Link]* ?") +
                                QueryBytes("SNES", "^[c-d]"));
  surface.log.clear();
  for (const char* text : {"z", "", " "}) b.SearchBoxChanged(text);
  EXPECT_EQ(surface.log, (Log{"search-on", "search-off", "search-on"}));
}

// A refused login queries nothing; an out-of-date client found by the next connection's version
// check ends the program after the update message: no notice, no query, no game server.
TEST_F(BrowserLogicTest, RefusedLoginsQueryNothingAndAnOutOfDateClientEndsTheProgram) {
  ScriptLoginReply(peer, "ann", "pw:@/", "Incorrect Username or Password");
  ScriptLoginReply(peer, "ann", "pw:@/", "Username in use login again to clear.");
  BrowserLogic& b = Start(peer);
  Go(b.RefreshList());
  EXPECT_EQ(surface.log, Log{}) << "a bad login changes nothing";
  Go(b.RefreshList());  // user in use: its notice, then a disconnect that clears the flag
  EXPECT_EQ(surface.log, Log{"close-clients"});
  EXPECT_FALSE(session->connected());
  web.SetRawReply("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n4.06");
  surface.log.clear();
  EXPECT_EQ(b.ChooseSystem("SNES"), Next::EndProgram);
  EXPECT_EQ(surface.log, Log{"message Error: Visit Vintara to update your client."});
  EXPECT_EQ(Value("SYSTEM"), "<missing>");
  EXPECT_EQ(Sent(*session), "annpw:@/annpw:@/");
}

// The server dropped the session while it sat idle: the next command logs in again and asks once
// more, silently (the end-to-end runs show it come back); a refused login, a second drop or the
// error mark give one notice and no loop.
TEST_F(BrowserLogicTest, ADroppedSessionIsLoggedInAgainOnce) {
  const auto refuse = [](const char* reply) {
    return [reply](ScriptedPeer& p) { ScriptLoginReply(p, "ann", "pw:@/", reply); };
  };
  const auto dropAgain = [](ScriptedPeer& p) {
    ScriptGoodLogin(p, "ann", "pw:@/", "False"), p.Close();
  };
  const Log failed = {"loading", "connection-error", "close-loading"},
            inUse = {"loading", "close-clients", "close-loading"};
  const struct {
    const char* name;
    std::function<void(ScriptedPeer&)> second;  // the connection after the drop
    Log log;
  } cases[] = {
      {"login refused", refuse("Incorrect Username or Password"), failed},
      {"user in use", refuse("Username in use login again to clear."), inUse},
      {"dropped again", dropAgain, failed},
      {"the error mark", nullptr, failed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedPeer p;
    ScriptGoodLogin(p, "ann", "pw:@/", "False");
    ScriptQuery(p, "NES", "^[a-b]", {Record("Old", "k", "1", "0")});
    if (c.second)
      c.second(p.Close().NextConnection());  // idle, the server drops the session
    else
      ScriptRefusal(p, "SNES", "^[a-b]");
    BrowserLogic& b = Start(p);
    Go(b.RefreshList());
    surface.log.clear();
    Go(b.ChooseSystem("SNES"));
    EXPECT_EQ(surface.log, c.log);
    session->Disconnect();
    p.Finish();
    EXPECT_EQ(p.connections(), c.second ? 2u : 1u);
  }
}

// At start the server's error mark on the default range is said, once. (On a saved search it gives
// way to the default range silently, with the refused text in the box: the end-to-end browser run.)
TEST_F(BrowserLogicTest, AtStartTheErrorMarkOnTheDefaultRangeIsSaidOnce) {
  ScriptGoodLogin(peer, "ann", "pw:@/", "False");
  ScriptRefusal(peer, "NES", "^[a-b]");                             // which logs the session out
  ScriptGoodLogin(peer.NextConnection(), "ann", "pw:@/", "False");  // what a retry would find
  ScriptQuery(peer, "NES", "^[a-b]", {Record("Alpha", "k", "1", "0")});
  BrowserLogic& b = Start(peer);
  b.RestoreBrowserState();
  Go(b.StartList());
  EXPECT_EQ(surface.log, (Log{"loading", "connection-error", "close-loading"}));
}

// Launch and Game Info act on the highlighted row of the rows on screen, with the system and
// scheme those rows were fetched for, also after a refresh that failed. (A refresh that brings
// new rows, or a click on empty space, leaves nothing highlighted: the window's test.)
TEST_F(BrowserLogicTest, LaunchAndGameInfoActOnTheSelectedRowOfTheRowsOnScreen) {
  const std::string nes = dir.File("NES.exe");
  WriteFileBytes(nes, "MZ");
  store->SetValue(Hive::Machine, kVintaraKey, "NES_PATH", kTypeNone, nes);
  ScriptGoodLogin(peer, "ann", "pw:@/", "False");
  ScriptQuery(peer, "NES", "^[a-b]",
              {Record("Alpha", "k-alpha", "2", "0"), Record("Beta", "k-beta", "1", "0")});
  // A failure in the record phase: one record of two, then silence.
  ScriptQueryHead(peer, "NES", "^[e-f]")
      .Send(CountField("2") + Record("Excite", "k-excite", "1", "0"));
  // After the launch's disconnect, a failure before the records of another system.
  ScriptGoodLogin(peer.NextConnection(), "ann", "pw:@/", "False");
  peer.Expect(Z("qr")).Send("r").Expect(Z("SNES")).Send("r");
  BrowserLogic& b = Start(peer, 300);
  Go(b.RefreshList());
  const std::function<void()> failedRefreshes[] = {[&] { Go(b.ChooseRange("^[e-f]")); },
                                                   [&] { Go(b.ChooseSystem("SNES")); }};
  for (const auto& refresh : failedRefreshes) {
    b.SelectGame(0);
    refresh();
    surface.log.clear();
    ui.pages.clear();
    EXPECT_EQ(b.Launch(), LaunchOutcome::Started);
    EXPECT_EQ(
        surface.log,
        (Log{"start:" + nes + " VTNES://ann:pw:@/@" + web.hostPort() + "/k-alpha", "minimise"}));
    b.GameInfo();
    EXPECT_EQ(ui.pages, Log{Page("/gameinfo.php?gameinfo=k-alpha")});
  }
  EXPECT_EQ(surface.rows, (Log{"Alpha|Available", "Beta|Available"}));
}

// A refusal with a notice saves nothing and keeps the connection, as the pages do; a launch
// without an emulator says why and saves, as a start does.
TEST_F(BrowserLogicTest, RefusedLaunchesAndPagesKeepTheConnectionAndAMissingEmulatorSaves) {
  BrowserLogic& b = Loaded();
  b.SelectGame(1);
  surface.log.clear();
  EXPECT_EQ(b.Launch(), LaunchOutcome::GameInUseFree);
  EXPECT_EQ(surface.log, Log{"in-use-free"});
  EXPECT_EQ(Value("SYSTEM"), "<missing>");
  b.GameInfo();
  b.UpgradeNow();
  EXPECT_EQ(ui.pages,
            (Log{Page("/gameinfo.php?gameinfo=k%20beta%2F%C3%A9"), Page("/accountinfo.php")}));
  EXPECT_TRUE(session->connected());
  b.startCount = 0x103;
  b.SelectGame(0);
  surface.log.clear();
  EXPECT_EQ(b.Launch(), LaunchOutcome::EmulatorNotSet);
  EXPECT_EQ(surface.log.size(), 1u) << "its message alone (LaunchGameTest), not minimised";
  // Three untyped values without terminators, COUNT its low byte alone.
  for (auto [name, bytes] : {std::pair{"SYSTEM", "NES"}, {"SEARCH", "^[a-b]"}, {"COUNT", "\x03"}}) {
    uint32_t type = 99;
    EXPECT_EQ(Value(name, &type), bytes);
    EXPECT_EQ(type, kTypeNone) << name;
  }
}

// Each value is read into its fixed buffer, with the defaults for what is missing or does not fit.
TEST_F(BrowserLogicTest, RestoreReadsEachValueIntoItsBufferWithDefaults) {
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
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.system.size()) + "-byte SYSTEM, " +
                 std::to_string(c.search.size()) + "-byte SEARCH");
    store->DeleteKey(Hive::Machine, kVintaraKey);
    store->CreateKey(Hive::Machine, kVintaraKey);
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

// A row is Available with free copies, else Preferred when only full accounts have some and the
// account is not one.
TEST(AvailabilityMark, AvailableWithFreeCopiesElsePreferredWhenOnlyFullAccountsHaveSome) {
  const struct {
    const char* copies;
    int32_t full;
    const char* tier;
    std::string_view mark;
  } cases[] = {
      {"3", 0, "False", kMarkAvailable},      {"3", 0, "True", kMarkAvailable},
      {" +2x", 5, "", kMarkAvailable},        {"0", 5, "True", kMarkUnavailable},
      {"0", 1, "False", kMarkPreferred},      {"0", 0, "False", kMarkUnavailable},
      {"-2", 4, "False", kMarkPreferred},     {"-2", 4, "True", kMarkUnavailable},
      {"copies", 1, "False", kMarkPreferred}, {"", 0, "False", kMarkUnavailable},
      {"0", 1, "", kMarkPreferred},           {"0", 1, "true", kMarkPreferred},
      {"0", -1, "maybe", kMarkUnavailable},
  };
  for (const auto& c : cases)
    EXPECT_EQ(AvailabilityMark(c.copies, c.full, c.tier), c.mark)
        << '"' << c.copies << "\" " << c.full << " \"" << c.tier << '"';
}

// A game's key goes into its page's address with every byte but the unreserved ones encoded.
TEST(PercentEncoded, KeepsTheUnreservedBytesAndEncodesEveryOther) {
  const std::pair<std::string, std::string> keys[] = {
      {"NES-0042_v1.2~x", "NES-0042_v1.2~x"},
      {"a&b=c?d#e", "a%26b%3Dc%3Fd%23e"},
      {"\"x\" %y'", "%22x%22%20%25y%27"},
      {std::string("\x01\x7f\xff", 3), "%01%7F%FF"}};
  for (const auto& [key, encoded] : keys) EXPECT_EQ(PercentEncoded(key), encoded);
}

// Change User logs out before its login window; leaving that window ends the program as Close
// would, saving first (the end-to-end run), but an out-of-date client ends it as it stands.
TEST_F(BrowserLogicTest, ChangeUserLogsOutFirstAndAnOutOfDateClientEndsItWithoutSaving) {
  BrowserLogic& b = Loaded();
  bool loggedOut = false;
  surface.login = [&] { return loggedOut = !session->connected(), LoginExit::SignedIn; };
  EXPECT_EQ(b.ChangeUser(), Next::GoOn);
  EXPECT_TRUE(loggedOut) << "logged out before the login window";
  EXPECT_EQ(surface.log, Log{"login-window"});
  EXPECT_EQ(Value("SYSTEM"), "<missing>");
  surface.login = [] { return LoginExit::OutOfDate; };
  EXPECT_EQ(b.ChangeUser(), Next::EndProgram);
  EXPECT_EQ(Value("SYSTEM"), "<missing>");
}

TEST_F(BrowserLogicTest, SetupHelpAndTheUpgradeReminder) {
  BrowserLogic& b = Loaded();
  for (auto [alias, window] :
       {std::pair{"SNES", "setup:SNESC"}, {"COL", "setup:SMSC"}, {"Genesis", ""}}) {
    surface.log.clear();
    store->SetValue(Hive::Machine, kVintaraKey, "SYSTEM", kTypeNone, alias);
    b.RestoreBrowserState();
    b.SetupHelp();  // the alias-to-window table itself is the layouts' own test
    EXPECT_EQ(surface.log, *window ? Log{window} : Log{}) << alias;
  }
  const struct {
    const char* tier;
    int32_t count;
    int random;
    bool shows;
    int32_t after;
  } cases[] = {
      // 10 is above every threshold from 5 to 9; 5 is above none; 9 unless the threshold is 9.
      {"False", 10, 0, true, 0},   {"False", 10, 32767, true, 0}, {"False", 5, 4, false, 6},
      {"False", 9, 3, true, 0},    {"False", 9, 4, false, 10},    {"False", 9, 32764, false, 10},
      {"False", -3, 0, false, -2}, {"True", 200, 0, false, 200},  {"", 10, 0, false, 10},
      {"false", 10, 0, false, 10},
  };
  for (const auto& c : cases) {
    surface.log.clear();
    ServerSession signedIn(ServiceEndpoints{}, TcpSocket(), c.tier);
    BrowserLogic tiered(surface, signedIn, *store, ui);
    tiered.startCount = c.count;
    tiered.UpgradeReminderAtStart(c.random);
    EXPECT_EQ(surface.log, c.shows ? Log{"reminder"} : Log{})
        << c.tier << " " << c.count << " r=" << c.random;
    EXPECT_EQ(tiered.startCount, c.after) << c.tier << " " << c.count << " r=" << c.random;
    EXPECT_EQ(tiered.ShowsUpgradeNow(), std::string(c.tier) == "False") << c.tier;
  }
}

// When the browser comes back: the game a launch started ends while the window is minimised;
// nothing when the user restored it, when a later game still runs, or once the client closed.
TEST(GameWatch, TheBrowserComesBackWhenTheLastGameStartedEnds) {
  enum What { Start, End, Close };
  struct Step {
    What what;
    int game = 0;  // the n-th game started, from 0
    bool minimised = true;
    bool restores = false;
  };
  const Step start{Start}, close{Close}, end0{End, 0}, restores0{End, 0, true, true},
      restores1{End, 1, true, true};
  const struct {
    const char* name;
    std::vector<Step> steps;
    bool waitsAtEnd;
  } cases[] = {
      {"ends while minimised", {start, restores0}, false},
      {"ends once restored", {start, {End, 0, false, false}}, false},
      {"two games, the first ends first", {start, start, end0, restores1}, false},
      {"two games, the last ends first", {start, start, restores1, end0}, false},
      {"the client closes first", {start, close, end0}, false},
      {"still running", {start, start, end0}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    GameWatch watch;
    std::vector<std::uint64_t> games;
    for (const Step& step : c.steps) {
      if (step.what == Start) games.push_back(watch.Started());
      if (step.what == Close) watch.Stop();
      if (step.what == End)
        EXPECT_EQ(watch.Ended(games.at(step.game), step.minimised), step.restores);
    }
    EXPECT_EQ(watch.Watched().has_value(), c.waitsAtEnd);
  }
}

}  // namespace
}  // namespace vt
