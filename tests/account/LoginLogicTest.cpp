// The login window's behaviour against a real session on loopback, a real web host for the
// version check and the real settings store in a temporary file (with the test protector where
// the password is sealed); only the window, the message boxes and the pages are recorded.
#include "account/LoginLogic.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/account/LoginTestSupport.h"
#include "tests/service/SessionFixture.h"
#include "tests/support/FakeProtector.h"
#include "tests/support/TempDir.h"

namespace vt {
namespace {

using Log = std::vector<std::string>;

const std::string kBad = "Incorrect Username or Password";
const std::string kInUse = "Username in use login again to clear.";

std::string Nuls(size_t n) { return std::string(n, '\0'); }
std::string Padded(const std::string& text) { return text + Nuls(20 - text.size()); }

class LoginLogicTest : public test::SessionTest {
protected:
  void SetUp() override {
    ui.log = surface.log = &log;
    Open(nullptr);
  }
  // The store on the same file, sealing passwords with `protector` (none: kept as they are).
  void Open(SecretProtector* protector) {
    store = OpenFileSettings(dir.File("registry.txt"), protector);
    ASSERT_TRUE(store->CreateKey(Hive::Machine, kVintaraKey));
  }
  void Save(const std::string& name, const std::string& bytes, uint32_t type = kTypeNone) {
    ASSERT_TRUE(store->SetValue(Hive::Machine, kVintaraKey, name, type, bytes));
  }
  void SaveLogin(const std::string& save, const std::string& autoLogin, const std::string& user,
                 const std::string& pass) {
    for (auto [name, bytes] : {std::pair{"SAVE", save}, {"AUTOLOGIN", autoLogin},
                               {"Username", user}, {"Password", pass}})
      Save(name, bytes);
  }
  // A saved value's bytes (and type), or "<missing>".
  std::string Value(const std::string& name, uint32_t* type = nullptr) {
    std::string bytes;
    return store->QueryValue(Hive::Machine, kVintaraKey, name, bytes, type) ? bytes : "<missing>";
  }
  Log Values() {
    return {Value("SAVE"), Value("AUTOLOGIN"), Value("Username"), Value("Password"),
            Value("ProtectedPassword")};
  }
  // What the window opens with: the lamps, the texts and the Login button.
  std::string Opened() const {
    const LoginLogic::Opening o = logic->Open();
    return std::string(o.saveOn ? "save " : "") + (o.autoOn ? "auto " : "") + o.username + "/" +
           o.password + (o.loginEnabled ? " enabled" : "");
  }

  // A session pointed at the game server on `port` (0: the peer, started here) and the web host,
  // and the logic set up on it.
  LoginLogic& Start(uint16_t port = 0, const std::string& webHost = "") {
    if (port == 0 && !peerStarted) peer.Start();
    peerStarted = peerStarted || port == 0;
    session = MakeSession(5000, port, webHost);
    logic = std::make_unique<LoginLogic>(surface, ui, *store);
    logic->Setup(passwordDest, usernameDest, *session);
    return *logic;
  }
  void ScriptRefusal(const std::string& user, const std::string& pass, const std::string& answer) {
    peer.Expect(user).Send("user?").Expect(pass).Send(answer);
  }

  Log log;
  test::FakeSurface surface;
  test::TempDir dir;
  std::unique_ptr<SettingsStore> store;
  bool peerStarted = false;
  std::string passwordDest = "unchanged", usernameDest = "unchanged";
  std::unique_ptr<ServerSession> session;
  std::unique_ptr<LoginLogic> logic;
};

// --- What the window opens with and what it saves -------------------------------------------

// Only an exact TRUE in SAVE restores the login; AUTOLOGIN must be exact too, and needs SAVE. The
// saved texts are read up to their first NUL, at most twenty bytes.
TEST_F(LoginLogicTest, OnlyExactTrueValuesRestoreTheLoginOrLogInAutomatically) {
  const std::string off = "/";
  struct Case {
    std::string save, autoLogin, user, pass, opened;
    uint32_t type = kTypeNone;
  } cases[] = {
      {"TRUE", "FALSE", "alice", "wonder", "save alice/wonder enabled"},
      {std::string("TRUE\0", 5), "FALSE", "alice", "wonder", "save alice/wonder enabled",
       kTypeString},
      {"true", "FALSE", "alice", "wonder", off},  {"TRUE ", "FALSE", "alice", "wonder", off},
      {" TRUE", "FALSE", "alice", "wonder", off}, {"TRU", "FALSE", "alice", "wonder", off},
      {"TRUE\nX", "FALSE", "alice", "wonder", off, kTypeBinary},
      {"", "FALSE", "alice", "wonder", off},
      {"TRUE-and-much-longer", "FALSE", "alice", "wonder", off},
      {"TRUE", "true", "alice", "wonder", "save alice/wonder enabled"},
      {"TRUE", "TRUEX", "alice", "wonder", "save alice/wonder enabled"},
      {"FALSE", "TRUE", "alice", "wonder", off},
      {"TRUE", "FALSE", std::string("bob\0junk", 8), "p" + Nuls(19), "save bob/p enabled"},
      // Twenty bytes without a terminator are the whole name; a value longer than its buffer is
      // not read at all, as the registry refuses it; one text is enough for Login.
      {"TRUE", "FALSE", "abcdefghijklmnopqrst", "abcdefghijklmnopqrstu",
       "save abcdefghijklmnopqrst/ enabled"},
  };
  for (const Case& c : cases) {
    SaveLogin(c.save, c.autoLogin, c.user, c.pass);
    Save("SAVE", c.save, c.type);
    log.clear();
    EXPECT_EQ(Start(1).Run(), Next::EndProgram);
    EXPECT_EQ(log, Log{"show-window"}) << c.save << " " << c.autoLogin;
    EXPECT_EQ(Opened(), c.opened) << c.save << " " << c.autoLogin;
  }
}

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
    logic->PressSaveSettings();
  };
  EXPECT_EQ(Start(1).Run(), Next::EndProgram);
  EXPECT_EQ(Values(), (Log{"FALSE", "FALSE", Nuls(20), Nuls(20), "<missing>"}));
  uint32_t type = 99;
  Value("Password", &type);
  EXPECT_EQ(type, kTypeNone);

  store = OpenFileSettings(dir.File("none.txt"));  // a store without Software\Vintara
  surface.user = [this] { logic->TextsChanged("alice", "wonderland"), logic->PressSaveSettings(); };
  EXPECT_EQ(Start(1).Run(), Next::EndProgram);
  EXPECT_FALSE(store->KeyExists(Hive::Machine, kVintaraKey)) << "nothing is read or written";
  EXPECT_TRUE(logic->saveSettings()) << "the lamps still work without the key";
}

// --- Logins in the window -------------------------------------------------------------------

TEST(LoginNoticeChoice, FlagsAreTakenInTheirFixedOrder) {
  for (int bits = 0; bits < 8; ++bits) {
    const bool inUse = bits & 1, bad = bits & 2, failed = bits & 4;
    const LoginNotice expected = inUse    ? LoginNotice::UserInUse
                                 : bad    ? LoginNotice::BadLogin
                                 : failed ? LoginNotice::ConnectionError
                                          : LoginNotice::ServerReply;
    EXPECT_EQ(ChooseLoginNotice(inUse, bad, failed), expected) << "flags " << bits;
  }
}

// Each refusal gets its notice (the server's own text in its message box) and keeps the window
// open; the third, whatever its kind, ends the program.
TEST_F(LoginLogicTest, TheThirdFailedLoginOfAnyKindEndsTheProgramAfterItsNotice) {
  ScriptRefusal("alice", "nope", "Try later");
  ScriptRefusal("alice", "nope", kInUse);
  ScriptRefusal("alice", "nope", kBad);
  surface.user = [this] {
    logic->TextsChanged("alice", "nope");
    for (int i = 0; i < 4 && !surface.ended; ++i) logic->PressLogin();
  };
  EXPECT_EQ(Start().Run(), Next::EndProgram);
  EXPECT_EQ(log, (Log{"show-window", "connecting", "message (default): Try later",
                      "close-connecting", "connecting", "notice:UserInUse", "close-connecting",
                      "connecting", "notice:BadLogin", "close-connecting", "end-window:0"}));
  peer.Finish();
  EXPECT_EQ(peer.Received(), "alicenopealicenopealicenope");
}

// The update message ends the window and the program, with nothing counted or shown after it
// and nothing sent to the game server.
TEST_F(LoginLogicTest, AnOutOfDateClientEndsTheWindowAfterTheUpdateMessageAlone) {
  test::HttpPeer outdated("<p>4.06</p>");
  surface.user = [this] { logic->TextsChanged("alice", "x"), logic->PressLogin(); };
  EXPECT_EQ(Start(0, outdated.hostPort()).Run(), Next::EndProgram);
  EXPECT_EQ(log, (Log{"show-window", "connecting",
                      "message Error: Visit Vintara to update your client.", "close-connecting",
                      "end-window:0"}));
  EXPECT_EQ(logic->failedAttempts(), 0);
  peer.Finish();
  EXPECT_EQ(peer.connections(), 0u);
}

TEST_F(LoginLogicTest, LoginSavesFirstThenLogsInAndEndsTheWindowAlsoAfterUserInUse) {
  ScriptRefusal("carol", "c@r:ol/1", kInUse);
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
  EXPECT_EQ(Start().Run(), Next::GoOn);
  EXPECT_EQ(savedWhileConnecting, Padded("carol")) << "saved before the server answers";
  EXPECT_EQ(Value("AUTOLOGIN"), "TRUE") << "the lamp is written by Login's SaveSettings";
  EXPECT_EQ(usernameDest + " " + passwordDest, "carol c@r:ol/1");
  EXPECT_EQ(log, (Log{"show-window", "connecting", "notice:UserInUse", "close-connecting",
                      "connecting", "close-connecting", "end-window:1"}));
  EXPECT_TRUE(session->loggedIn);
}

TEST_F(LoginLogicTest, SignupOpensThePageCancelEndsWithoutSavingAndNoSetupEndsAtOnce) {
  SaveLogin("TRUE", "FALSE", "alice", "wonderland");
  surface.user = [this] {
    logic->PressSignup();
    logic->TextsChanged("mallory", "x");
    logic->PressCancel();
  };
  EXPECT_EQ(Start(1).Run(), Next::EndProgram);
  EXPECT_EQ(log, (Log{"show-window", "page http://" + web.hostPort() + "/signup.php",
                      "end-window:0"}));
  EXPECT_EQ(Value("Username"), "alice") << "Cancel saves nothing";
  LoginLogic bare(surface, ui, *store);
  EXPECT_EQ(bare.Run(), Next::EndProgram);
}

// --- Automatic login ------------------------------------------------------------------------

// A failed automatic login ends the program after its notice; only a refusal of the credentials
// forgets the saved login, every other failure keeps the four values byte for byte. An
// out-of-date client shows the update message alone.
TEST_F(LoginLogicTest, FailedAutoLoginForgetsTheLoginOnlyWhenTheCredentialsWereRefused) {
  uint16_t deadPort = 0;
  {
    test::ScriptedPeer gone;
    deadPort = gone.port();
  }
  test::HttpPeer outdated("<p>4.06</p>");
  const Log saved = {"TRUE", "TRUE", Padded("player"), Padded("secret"), "<missing>"};
  const Log forgotten = {"FALSE", "FALSE", Nuls(20), Nuls(20), "<missing>"};
  struct Case {
    std::string answer;  // the server's answer to the password; "" for no server
    bool outOfDate;
    Log log;
    bool forgets;
  } cases[] = {
      {kBad, false, {"connecting", "notice:BadLogin"}, true},
      {kInUse, false, {"connecting", "notice:UserInUse"}, false},
      {"Try later", false, {"connecting", "message (default): Try later"}, false},
      {"", false, {"connecting", "notice:ConnectionError"}, false},
      {"", true, {"connecting", "message Error: Visit Vintara to update your client."}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.log[1]);
    SaveLogin("TRUE", "TRUE", Padded("player"), Padded("secret"));
    log.clear();
    test::ScriptedPeer server;
    server.Expect("player").Send("user?").Expect("secret").Send(c.answer);
    if (!c.answer.empty()) server.Start();
    Start(c.answer.empty() ? deadPort : server.port(), c.outOfDate ? outdated.hostPort() : "");
    EXPECT_EQ(logic->Run(), Next::EndProgram);
    EXPECT_EQ(log, c.log);
    EXPECT_EQ(Values(), c.forgets ? forgotten : saved);
    EXPECT_EQ(usernameDest, "unchanged");
  }
}

// Change User, and Shift held at the start, show the window filled in; nothing reaches the
// server or the web host before the user presses Login.
TEST_F(LoginLogicTest, ShiftOrChangeUserShowsTheFilledWindowAndSendsNothing) {
  for (bool shift : {true, false}) {
    SaveLogin("TRUE", "TRUE", Padded("player"), Padded("secret"));
    surface.shift = shift;
    Start();
    if (!shift) logic->SetSuppressAutoLogin();
    EXPECT_EQ(logic->Run(), Next::EndProgram);
    EXPECT_TRUE(surface.modalShown);
    EXPECT_EQ(Opened(), "save auto player/secret enabled");
  }
  peer.Finish();
  EXPECT_EQ(peer.connections(), 0u);
  EXPECT_TRUE(web.requests().empty());
}

// --- The sealed password --------------------------------------------------------------------

// With a protector the password is saved only sealed, beside "Password", which holds zeros; the
// next start logs in with it. A password that cannot be sealed is not saved at all.
TEST_F(LoginLogicTest, ThePasswordIsSavedSealedAndAutoLoginOpensIt) {
  test::FakeProtector alice("alice");
  Open(&alice);
  SaveLogin("FALSE", "FALSE", Nuls(20), Nuls(20));
  surface.user = [this] {
    logic->TextsChanged("player", "secret");
    logic->PressSaveSettings();
    logic->PressAutoLogin();
    logic->SaveSettings();
  };
  EXPECT_EQ(Start(1).Run(), Next::EndProgram);
  uint32_t type = 0;
  const std::string sealed = Value("ProtectedPassword", &type);
  EXPECT_EQ(Values(), (Log{"TRUE", "TRUE", Padded("player"), Nuls(20), sealed}));
  EXPECT_EQ(type, kTypeBinary);
  EXPECT_EQ(sealed.find("secret"), std::string::npos);
  EXPECT_EQ(alice.Unseal(sealed), "secret");

  log.clear();
  test::ScriptGoodLogin(peer, "player", "secret", "True");
  EXPECT_EQ(Start().Run(), Next::GoOn);
  EXPECT_EQ(log, (Log{"connecting", "close-connecting"}));
  EXPECT_EQ(passwordDest, "secret");

  alice.refuseSeal = true;
  logic->TextsChanged("player", "other");
  logic->SaveSettings();
  EXPECT_EQ(Values(), (Log{"TRUE", "TRUE", Padded("player"), Nuls(20), ""}));
  logic->PressSaveSettings();
  EXPECT_EQ(Values(), (Log{"FALSE", "FALSE", Nuls(20), Nuls(20), ""}));
}

// A plain password saved before passwords were sealed is used once, then replaced by its sealed
// form; a sealed value that does not open here (another user) means no saved password.
TEST_F(LoginLogicTest, APlainPasswordIsSealedOnceAndOneThatDoesNotOpenIsNotSaved) {
  test::FakeProtector alice("alice");
  Open(&alice);
  SaveLogin("TRUE", "TRUE", Padded("player"), Padded("secret"));
  test::ScriptGoodLogin(peer, "player", "secret", "True");
  peer.NextConnection();
  test::ScriptGoodLogin(peer, "player", "secret", "True");
  EXPECT_EQ(Start().Run(), Next::GoOn);
  EXPECT_EQ(Value("Password"), Nuls(20));
  EXPECT_EQ(alice.Unseal(Value("ProtectedPassword")), "secret");
  session->Disconnect();
  EXPECT_EQ(Start().Run(), Next::GoOn) << "the sealed form logs in at the next start";

  log.clear();
  Save("ProtectedPassword", *test::FakeProtector("bob").Seal("secret"), kTypeBinary);
  const Log before = Values();
  EXPECT_EQ(Start(1).Run(), Next::EndProgram);
  EXPECT_EQ(log, Log{"show-window"}) << "no error, no automatic login";
  EXPECT_EQ(Opened(), "save auto player/ enabled");
  EXPECT_EQ(Values(), before);
}

}  // namespace
}  // namespace vt
