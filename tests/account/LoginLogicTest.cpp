// The login window's behaviour against a real session on loopback, a real web host and the real
// settings file; only the window, the message boxes and the pages are recorded.
#include "account/LoginLogic.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "tests/support/SessionFixture.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestProtector.h"

namespace vt {
namespace {

using Log = std::vector<std::string>;

const std::string kBad = "Incorrect Username or Password";
const std::string kInUse = "Username in use login again to clear.";

std::string Nuls(size_t n) { return std::string(n, '\0'); }
std::string Padded(const std::string& text) { return text + Nuls(20 - text.size()); }

// The settings as a standard user's program sees them once the installer has kept the machine
// key for administrators: the machine hive reads, but takes no writes.
class StandardUserSettings : public SettingsStore {
public:
  explicit StandardUserSettings(SettingsStore& store) : store_(store) {}

  bool KeyExists(Hive hive, const std::string& key) override { return store_.KeyExists(hive, key); }
  bool CreateKey(Hive hive, const std::string& key) override {
    return hive == Hive::User && store_.CreateKey(hive, key);
  }
  bool QueryValue(Hive hive, const std::string& key, const std::string& name, std::string& bytes,
                  uint32_t* type) override {
    return store_.QueryValue(hive, key, name, bytes, type);
  }
  bool SetValues(Hive hive, const std::string& key, std::span<const NamedValue> values) override {
    return hive == Hive::User && store_.SetValues(hive, key, values);
  }
  SecretProtector* Protector() override { return store_.Protector(); }

private:
  SettingsStore& store_;
};

// The window, which the logic cannot be observed through otherwise: ShowModal runs the test's
// user actions against the logic.
class FakeSurface : public LoginSurface {
public:
  int ShowModal() override {
    log->push_back("show-window");
    if (user) user();
    return result;
  }
  void EndWindow(int r) override {
    log->push_back("end-window:" + std::to_string(r));
    result = r;
    ended = true;
  }
  void EnableLogin(bool on) override { loginEnabled = on; }
  void ShowLamps(bool saveOn, bool autoOn) override {
    saveLamp = saveOn;
    autoLamp = autoOn;
  }
  void ShowConnecting() override {
    log->push_back("connecting");
    if (onConnecting) onConnecting();
  }
  void CloseConnecting() override { log->push_back("close-connecting"); }
  void DropQueuedInput() override {}
  void ShowNotice(LoginNotice n) override {
    static const char* const kNames[] = {"UserInUse", "BadLogin", "ConnectionError"};
    log->push_back(std::string("notice:") + kNames[static_cast<int>(n)]);
  }
  bool ShiftHeld() override { return false; }

  Log* log = nullptr;
  std::function<void()> user, onConnecting;
  bool ended = false;
  int result = 0;
  bool loginEnabled = false, saveLamp = false, autoLamp = false;
};

class LoginLogicTest : public test::SessionTest {
protected:
  void SetUp() override {
    ui.log = surface.log = &log;
    ASSERT_TRUE(store->CreateKey(Hive::Machine, kVintaraKey));
  }
  // The four values of a saved login in the hive's key, SAVE of the type given.
  void SaveLogin(const std::string& save, const std::string& autoLogin, const std::string& user,
                 const std::string& pass, uint32_t saveType = kTypeNone, Hive hive = Hive::User) {
    ASSERT_TRUE(store->CreateKey(hive, kVintaraKey));
    for (auto [name, bytes] :
         {std::pair{"AUTOLOGIN", autoLogin}, {"Username", user}, {"Password", pass}})
      ASSERT_TRUE(store->SetValue(hive, kVintaraKey, name, kTypeNone, bytes));
    ASSERT_TRUE(store->SetValue(hive, kVintaraKey, "SAVE", saveType, save));
  }
  // A saved value's bytes (and type) in the hive's key, or "<missing>".
  std::string Value(const std::string& name, uint32_t* type = nullptr, Hive hive = Hive::User) {
    std::string bytes;
    return store->QueryValue(hive, kVintaraKey, name, bytes, type) ? bytes : "<missing>";
  }
  Log Values(Hive hive = Hive::User) {
    Log values;
    for (const char* name : {"SAVE", "AUTOLOGIN", "Username", "Password", "ProtectedPassword"})
      values.push_back(Value(name, nullptr, hive));
    return values;
  }
  // What the window opens with: the lamps, the texts and the Login button.
  std::string Opened() const {
    const LoginLogic::Opening o = logic->Open();
    return std::string(o.saveOn ? "save " : "") + (o.autoOn ? "auto " : "") + o.username + "/" +
           o.password + (o.loginEnabled ? " enabled" : "");
  }

  // A session pointed at the game server on `port` (0: the peer), and the logic set up on it.
  LoginLogic& Start(uint16_t port = 0) {
    session = MakeSession(5000, port);
    logic = std::make_unique<LoginLogic>(surface, ui, settings ? *settings : *store);
    logic->Setup(passwordDest, usernameDest, *session);
    return *logic;
  }

  Log log;
  FakeSurface surface;
  test::TempDir dir;
  std::unique_ptr<SettingsStore> store = OpenFileSettings(dir.File("registry.txt"));
  SettingsStore* settings = nullptr;  // what the logic runs on, when not `store` itself
  std::string passwordDest = "unchanged", usernameDest = "unchanged";
  std::unique_ptr<ServerSession> session;
  std::unique_ptr<LoginLogic> logic;
};

// Only an exact TRUE in SAVE restores the login; AUTOLOGIN must be exact too, and needs SAVE. The
// saved texts are read up to their first NUL, at most twenty bytes.
TEST_F(LoginLogicTest, OnlyExactTrueValuesRestoreTheLoginOrLogInAutomatically) {
  const std::string off = "/", on = "save alice/wonder enabled";
  struct Case {
    std::string save, autoLogin, opened;
    uint32_t type = kTypeNone;
    std::string user = "alice", pass = "wonder";
  } cases[] = {
      {"TRUE", "FALSE", on},
      {std::string("TRUE\0", 5), "FALSE", on, kTypeString},
      {"true", "FALSE", off},
      {"TRUE ", "FALSE", off},
      {"", "FALSE", off},
      {"TRUE-and-much-longer", "FALSE", off},
      {"TRUE", "true", on},
      {"FALSE", "TRUE", off},
      {"TRUE", "FALSE", "save bob/p enabled", kTypeNone, std::string("bob\0junk", 8),
       "p" + Nuls(19)},
      // Twenty bytes without a terminator are the whole name; a value longer than its buffer is
      // not read at all, as the registry refuses it; one text is enough for Login.
      {"TRUE", "FALSE", "save abcdefghijklmnopqrst/ enabled", kTypeNone, "abcdefghijklmnopqrst",
       "abcdefghijklmnopqrstu"},
  };
  for (const Case& c : cases) {
    SaveLogin(c.save, c.autoLogin, c.user, c.pass, c.type);
    log.clear();
    EXPECT_EQ(Start(1).Run(), LoginExit::Left);
    EXPECT_EQ(log, Log{"show-window"}) << c.save << " " << c.autoLogin;
    EXPECT_EQ(Opened(), c.opened) << c.save << " " << c.autoLogin;
  }
}

// Cancel ends the window and saves nothing. (Signup's page: the login window's test.)
TEST_F(LoginLogicTest, LampsAndTheLoginButtonFollowTheirRulesAndSaveSettingsWritesAtOnce) {
  SaveLogin("FALSE", "FALSE", Nuls(20), Nuls(20));
  surface.user = [this] {
    for (auto [user, pass, enabled] :
         {std::tuple{"a", "", false}, {"", "b", false}, {"a", "b", true}})
      EXPECT_EQ((logic->TextsChanged(user, pass), surface.loginEnabled), enabled) << user << pass;
    logic->TextsChanged("alice", "wonderland");
    logic->PressAutoLogin();  // Save Settings is off: nothing happens
    EXPECT_FALSE(surface.autoLamp);
    logic->PressSaveSettings();  // on: written at once, Auto Login still off
    EXPECT_TRUE(surface.saveLamp && !surface.autoLamp);
    EXPECT_EQ(Values(), (Log{"TRUE", "FALSE", Padded("alice"), Padded("wonderland"), "<missing>"}));
    logic->PressAutoLogin();  // lit, but not written until the next SaveSettings
    EXPECT_TRUE(surface.autoLamp);
    EXPECT_EQ(Value("AUTOLOGIN"), "FALSE");
    logic->SaveSettings();
    EXPECT_EQ(Value("AUTOLOGIN"), "TRUE");
    logic->PressSaveSettings();  // off: both lamps out and everything cleared
    EXPECT_FALSE(surface.saveLamp || surface.autoLamp);
    // The first 20 bytes of each text, and a user name alone, are saved as they are.
    logic->TextsChanged("abcdefghijklmnopqrstuvwxyz", "");
    logic->PressSaveSettings();
    EXPECT_EQ(Values(), (Log{"TRUE", "FALSE", "abcdefghijklmnopqrst", Nuls(20), "<missing>"}));
    logic->TextsChanged("mallory", "x");
    logic->PressCancel();
    EXPECT_EQ(Value("Username"), "abcdefghijklmnopqrst") << "Cancel saves nothing";
    logic->PressSaveSettings();
  };
  EXPECT_EQ(Start(1).Run(), LoginExit::Left);
  EXPECT_EQ(Values(), (Log{"FALSE", "FALSE", Nuls(20), Nuls(20), "<missing>"}));
  uint32_t type = 99;
  Value("Password", &type);
  EXPECT_EQ(type, kTypeNone);
  EXPECT_EQ(LoginLogic(surface, ui, *store).Run(), LoginExit::Left) << "without a session";
}

// Each failure gets its notice, a refusal also after a failed connection (whose flag stays), and
// keeps the window open; the third, whatever its kind, ends the program.
TEST_F(LoginLogicTest, TheThirdFailedLoginOfAnyKindEndsTheProgramAfterItsNotice) {
  peer.Expect("alice").Reset();
  peer.NextConnection();
  test::ScriptLoginReply(peer, "alice", "nope", kInUse);
  test::ScriptLoginReply(peer, "alice", "nope", kBad);
  surface.user = [this] {
    logic->TextsChanged("alice", "nope");
    for (int i = 0; i < 4 && !surface.ended; ++i) logic->PressLogin();
  };
  EXPECT_EQ(Start().Run(), LoginExit::Left);
  EXPECT_EQ(log, (Log{"show-window", "connecting", "notice:ConnectionError", "close-connecting",
                      "connecting", "notice:UserInUse", "close-connecting", "connecting",
                      "notice:BadLogin", "close-connecting", "end-window:0"}));
  peer.Finish();
  EXPECT_EQ(peer.Received(0) + "/" + peer.Received(1), "alice/alicenopealicenope");
}

TEST_F(LoginLogicTest, LoginSavesFirstThenLogsInAndEndsTheWindowAlsoAfterUserInUse) {
  test::ScriptLoginReply(peer, "carol", "c@r:ol/1", kInUse);
  test::ScriptGoodLogin(peer, "carol", "c@r:ol/1", "True");
  std::string savedWhileConnecting;
  surface.onConnecting = [&] { savedWhileConnecting = Value("Username"); };
  surface.user = [this] {
    logic->TextsChanged("carol", "c@r:ol/1");
    logic->PressSaveSettings();
    logic->PressAutoLogin();
    logic->PressLogin();
    logic->PressLogin();
  };
  EXPECT_EQ(Start().Run(), LoginExit::SignedIn);
  EXPECT_EQ(savedWhileConnecting, Padded("carol")) << "saved before the server answers";
  EXPECT_EQ(Value("AUTOLOGIN"), "TRUE") << "the lamp is written by Login's SaveSettings";
  EXPECT_EQ(usernameDest + " " + passwordDest, "carol c@r:ol/1");
  EXPECT_EQ(log, (Log{"show-window", "connecting", "notice:UserInUse", "close-connecting",
                      "connecting", "close-connecting", "end-window:1"}));
  EXPECT_TRUE(session->loggedIn());
}

// A failed automatic login ends the program after its notice; only a refusal of the credentials
// forgets the saved login, every other failure keeps the four values byte for byte.
TEST_F(LoginLogicTest, FailedAutoLoginForgetsTheLoginOnlyWhenTheCredentialsWereRefused) {
  const Log saved = {"TRUE", "TRUE", Padded("player"), Padded("secret"), "<missing>"};
  const Log forgotten = {"FALSE", "FALSE", Nuls(20), Nuls(20), "<missing>"};
  struct Case {
    std::string answer;  // the server's answer to the password; "" for no server (port 1)
    Log log;
    bool forgets;
  } cases[] = {
      {kBad, {"connecting", "notice:BadLogin"}, true},
      {kInUse, {"connecting", "notice:UserInUse"}, false},
      {"Try later", {"connecting", "message (default): Try later"}, false},
      {"", {"connecting", "notice:ConnectionError"}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.log[1]);
    SaveLogin("TRUE", "TRUE", Padded("player"), Padded("secret"));
    log.clear();
    test::ScriptedPeer server;
    test::ScriptLoginReply(server, "player", "secret", c.answer);
    if (!c.answer.empty()) server.Start();
    Start(c.answer.empty() ? 1 : server.port());
    EXPECT_EQ(logic->Run(), LoginExit::Left);
    EXPECT_EQ(log, c.log);
    EXPECT_EQ(Values(), c.forgets ? forgotten : saved);
    EXPECT_EQ(usernameDest, "unchanged");
  }
}

// A password the protector cannot seal is not saved at all, beside "Password", which holds
// zeros.
TEST_F(LoginLogicTest, APasswordThatCannotBeSealedIsNotSaved) {
  test::TestProtector refusing;
  refusing.refuses = true;
  store = OpenFileSettings(dir.File("registry.txt"), &refusing);  // the same file, sealing
  SaveLogin("TRUE", "FALSE", Padded("player"), Padded("secret"));
  surface.user = [this] { logic->SaveSettings(); };
  EXPECT_EQ(Start(1).Run(), LoginExit::Left);
  EXPECT_EQ(Values(), (Log{"TRUE", "FALSE", Padded("player"), Nuls(20), ""}));
}

// A sealed password opens where it was sealed; one sealed elsewhere is no saved password and
// logs in automatically no more. An earlier client's login, found in the machine key alone, is
// used and moves into the user's key, sealed where the store seals (where it cannot be sealed,
// it stays as it is); the machine key's plain password is zeroed where this run may write there
// and stays, silently, where it may not. A plain password beside a sealed one in the same key
// was saved later and wins. The machine key's login without its password logs in automatically
// no more.
TEST_F(LoginLogicTest, ASavedPasswordOpensWhereSealedAndAnEarlierClientsMovesSealedToTheUser) {
  const std::string player = Padded("player");
  const Log earlier = {"TRUE", "FALSE", player, Padded("secret"), "<missing>"};
  const Log moved = {"TRUE", "FALSE", player, Nuls(20), "sealed:secret"};
  const Log zeroed = {"TRUE", "FALSE", player, Nuls(20), "<missing>"};
  const Log none(5, "<missing>");
  const Log newer = {"TRUE", "FALSE", player, Padded("newer"), "sealed:older"};
  const Log newerMoved = {"TRUE", "FALSE", player, Nuls(20), "sealed:newer"};
  const Log noPassword = {"TRUE", "TRUE", player, Nuls(20), "<missing>"};
  const Log sealedElsewhere = {"TRUE", "TRUE", player, Nuls(20), "sealed elsewhere"};
  enum Store { kPlain, kSealing, kRefusing };  // the store's protector: none, or one that refuses
  struct Case {
    const char* what;
    Store sealing;
    bool standardUser;
    Log user, machine;  // the values before in the user's key and the machine key, after in both
    Log userAfter, machineAfter;
    std::string opened;
  } cases[] = {
      {"by an administrator", kSealing, false, none, earlier, moved, zeroed, "save player/secret"},
      {"by a standard user", kSealing, true, none, earlier, moved, earlier, "save player/secret"},
      {"into the file store", kPlain, false, none, earlier, earlier, zeroed, "save player/secret"},
      {"sealing refused", kRefusing, false, none, earlier, none, earlier, "save player/secret"},
      {"newer plain password", kSealing, false, newer, earlier, newerMoved, earlier,
       "save player/newer"},
      {"password moved by another user", kSealing, false, none, noPassword, none, noPassword,
       "save auto player/"},
      {"sealed here", kSealing, false, moved, none, moved, none, "save player/secret"},
      {"sealed elsewhere", kSealing, false, sealedElsewhere, none, sealedElsewhere, none,
       "save auto player/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempDir fresh;
    test::TestProtector protector;
    protector.refuses = c.sealing == kRefusing;
    store = OpenFileSettings(fresh.File("registry.txt"), c.sealing ? &protector : nullptr);
    StandardUserSettings standardUser(*store);
    settings = c.standardUser ? &standardUser : nullptr;
    for (auto [hive, values] : {std::pair{Hive::User, c.user}, {Hive::Machine, c.machine}}) {
      if (values == none) continue;
      SaveLogin(values[0], values[1], values[2], values[3], kTypeNone, hive);
      if (values[4] != "<missing>")
        store->SetValue(hive, kVintaraKey, "ProtectedPassword", kTypeBinary, values[4]);
    }
    log.clear();
    EXPECT_EQ(Start(1).Run(), LoginExit::Left);
    EXPECT_EQ(log, Log{"show-window"});
    EXPECT_EQ(Opened(), c.opened + " enabled");
    EXPECT_EQ(Values(Hive::User), c.userAfter);
    EXPECT_EQ(Values(Hive::Machine), c.machineAfter);
  }
}

}  // namespace
}  // namespace vt
