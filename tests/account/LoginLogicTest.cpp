// The login window's behaviour against a real session on loopback, a real web host for the
// version check and the real settings store in a temporary file; only the window, the shell
// and message boxes are recorded.
#include "account/LoginLogic.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/account/LoginTestSupport.h"
#include "tests/support/HttpPeer.h"
#include "tests/support/ScriptedPeer.h"
#include "tests/support/TempDir.h"

namespace vt {
namespace {

using test::FakeSurface;
using test::RecordingShell;
using Log = std::vector<std::string>;

const std::string kBad = "Incorrect Username or Password";
const std::string kInUse = "Username in use login again to clear.";

std::string Nuls(size_t n) { return std::string(n, '\0'); }

class LoginLogicTest : public ::testing::Test {
protected:
  void SetUp() override {
    shell.log = &log;
    surface.log = &log;
    store = OpenFileSettings(dir.File("registry.txt"));
    ASSERT_TRUE(store->CreateKey(Hive::Machine, kVintaraKey));
  }

  void Save(const std::string& name, const std::string& bytes, uint32_t type = kTypeNone) {
    ASSERT_TRUE(store->SetValue(Hive::Machine, kVintaraKey, name, type, bytes));
  }
  // The saved value's bytes, or "<missing>".
  std::string Value(const std::string& name, uint32_t* type = nullptr) {
    std::string bytes;
    if (!store->QueryValue(Hive::Machine, kVintaraKey, name, bytes, type)) return "<missing>";
    return bytes;
  }
  void SaveLogin(const std::string& save, const std::string& autoLogin, const std::string& user,
                 const std::string& pass) {
    Save("SAVE", save);
    Save("AUTOLOGIN", autoLogin);
    Save("Username", user);
    Save("Password", pass);
  }

  // A session pointed at the peer (started here) and the web host, and the logic set up on it.
  LoginLogic& Start(uint16_t port = 0) {
    if (port == 0) {
      peer.Start();
      port = peer.port();
    }
    ServiceEndpoints e;
    e.gameServer = "127.0.0.1";
    e.gamePort = port;
    e.webHost = web.hostPort();
    e.receiveTimeoutMs = 5000;
    session = std::make_unique<ServerSession>(shell, e);
    logic = std::make_unique<LoginLogic>(surface, shell, *store);
    logic->Setup(passwordDest, usernameDest, *session);
    return *logic;
  }

  void ScriptRefusal(const std::string& user, const std::string& pass, const std::string& answer) {
    peer.Expect(user).Send("user?").Expect(pass).Send(answer);
  }
  void ScriptGoodLogin(const std::string& user, const std::string& pass, const std::string& tier) {
    peer.Expect(user).Send("user?").Expect(pass).Send("ok").Expect(64).Send("ok").Expect(3).Send(tier);
  }

  Log log;
  RecordingShell shell;
  FakeSurface surface;
  test::TempDir dir;
  std::unique_ptr<SettingsStore> store;
  test::HttpPeer web{"<p>4.05</p>"};
  test::ScriptedPeer peer;
  std::string passwordDest = "unchanged", usernameDest = "unchanged";
  std::unique_ptr<ServerSession> session;
  std::unique_ptr<LoginLogic> logic;
};

// --- What the window opens with -------------------------------------------------------------

// Only an exact TRUE in SAVE restores the login; AUTOLOGIN must be exact too, and needs SAVE. The
// saved texts are read up to their first NUL, at most twenty bytes.
TEST_F(LoginLogicTest, OnlyExactTrueValuesRestoreTheLoginOrLogInAutomatically) {
  struct Case {
    std::string save;
    uint32_t type;
    std::string autoLogin;
    bool on;
    std::string user = "alice", pass = "wonderland", openUser = "alice", openPass = "wonderland";
  } cases[] = {
      {"TRUE", kTypeNone, "FALSE", true},       {std::string("TRUE\0", 5), kTypeString, "FALSE", true},
      {"true", kTypeNone, "FALSE", false},      {"True", kTypeNone, "FALSE", false},
      {"TRUE ", kTypeNone, "FALSE", false},     {" TRUE", kTypeNone, "FALSE", false},
      {"TRU", kTypeNone, "FALSE", false},       {"TRUEXY", kTypeNone, "FALSE", false},
      {"TRUE\nX", kTypeBinary, "FALSE", false}, {"FALSE", kTypeNone, "FALSE", false},
      {"", kTypeNone, "FALSE", false},          {"TRUE-and-much-longer", kTypeNone, "FALSE", false},
      {"TRUE", kTypeNone, "true", true},        {"TRUE", kTypeNone, "TRUE ", true},
      {"TRUE", kTypeNone, "TRUEX", true},       {"FALSE", kTypeNone, "TRUE", false},
      {"TRUE", kTypeNone, "FALSE", true, std::string("bob\0junk", 8), "p" + Nuls(19), "bob", "p"},
      // Twenty bytes without a terminator are the whole name; a value longer than its buffer is
      // not read at all, as the registry refuses it; one text is enough for Login.
      {"TRUE", kTypeNone, "FALSE", true, "abcdefghijklmnopqrst", "abcdefghijklmnopqrstu", "abcdefghijklmnopqrst", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("SAVE = \"" + c.save + "\", AUTOLOGIN = \"" + c.autoLogin + "\"");
    Save("SAVE", c.save, c.type);
    Save("AUTOLOGIN", c.autoLogin);
    Save("Username", c.user);
    Save("Password", c.pass);
    log.clear();
    surface.modalShown = false;
    Start(1).Run();
    EXPECT_TRUE(surface.modalShown) << "no automatic login";
    EXPECT_EQ(log, Log{"show-window"}) << "nothing but the window";
    const LoginLogic::Opening o = logic->Open();
    EXPECT_EQ(o.saveOn, c.on);
    EXPECT_FALSE(o.autoOn);
    EXPECT_EQ(o.username, c.on ? c.openUser : "");
    EXPECT_EQ(o.password, c.on ? c.openPass : "");
    EXPECT_EQ(o.loginEnabled, c.on);
  }
}

TEST_F(LoginLogicTest, MissingKeyReadsNothingAndWritesNothing) {
  store = OpenFileSettings(dir.File("none.txt"));  // a store without Software\Vintara
  surface.user = [this] {
    logic->TextsChanged("alice", "wonderland");
    logic->PressSaveSettings();
    logic->PressAutoLogin();
    logic->SaveSettings();
  };
  Start(1).Run();
  EXPECT_FALSE(store->KeyExists(Hive::Machine, kVintaraKey));
  EXPECT_EQ(Value("SAVE"), "<missing>");
  EXPECT_TRUE(logic->saveSettings()) << "the lamps still work without the key";
}

TEST_F(LoginLogicTest, LoginButtonFollowsBothTextsAfterAnyEdit) {
  surface.user = [this] {
    logic->TextsChanged("a", "");
    EXPECT_FALSE(surface.loginEnabled);
    logic->TextsChanged("", "b");
    EXPECT_FALSE(surface.loginEnabled);
    logic->TextsChanged("a", "b");
    EXPECT_TRUE(surface.loginEnabled);
    logic->TextsChanged("a", "");
    EXPECT_FALSE(surface.loginEnabled);
  };
  Start(1).Run();
  EXPECT_FALSE(Start(1).Open().loginEnabled) << "an empty window opens with Login disabled";
}

// --- Lamps and what SaveSettings writes -----------------------------------------------------

TEST_F(LoginLogicTest, LampsFollowTheirRulesAndSaveSettingsWritesAtOnce) {
  SaveLogin("FALSE", "FALSE", Nuls(20), Nuls(20));
  surface.user = [this] {
    logic->TextsChanged("alice", "wonderland");
    logic->PressAutoLogin();  // Save Settings is off: nothing happens
    EXPECT_FALSE(logic->autoLogin());
    EXPECT_FALSE(surface.autoLamp);

    logic->PressSaveSettings();  // on: written at once, Auto Login still off
    EXPECT_TRUE(surface.saveLamp);
    EXPECT_FALSE(surface.autoLamp);
    EXPECT_EQ(Value("SAVE"), "TRUE");
    EXPECT_EQ(Value("AUTOLOGIN"), "FALSE");
    EXPECT_EQ(Value("Username"), "alice" + Nuls(15));
    EXPECT_EQ(Value("Password"), "wonderland" + Nuls(10));

    logic->PressAutoLogin();  // lit, but not written until the next SaveSettings
    EXPECT_TRUE(surface.autoLamp);
    EXPECT_EQ(Value("AUTOLOGIN"), "FALSE");
    logic->SaveSettings();
    EXPECT_EQ(Value("AUTOLOGIN"), "TRUE");

    logic->PressAutoLogin();  // toggles back off
    EXPECT_FALSE(surface.autoLamp);
    logic->PressAutoLogin();
    EXPECT_TRUE(surface.autoLamp);

    logic->PressSaveSettings();  // off: both lamps out and everything cleared
    EXPECT_FALSE(surface.saveLamp);
    EXPECT_FALSE(surface.autoLamp);
    EXPECT_FALSE(logic->autoLogin());
  };
  Start(1).Run();
  for (auto [name, bytes] : {std::pair{"SAVE", std::string("FALSE")}, {"AUTOLOGIN", std::string("FALSE")},
                             {"Username", Nuls(20)}, {"Password", Nuls(20)}}) {
    uint32_t type = 99;
    EXPECT_EQ(Value(name, &type), bytes) << name;
    EXPECT_EQ(type, kTypeNone) << name;
  }
}

TEST_F(LoginLogicTest, TextsAreSavedAsTwentyPaddedBytesAndReadBackAtTheNextStart) {
  struct Case {
    std::string user, pass, savedUser, savedPass;
  } cases[] = {
      {"abcdefghijklmnopqrstuvwxyz", "01234567890123456789", "abcdefghijklmnopqrst", "01234567890123456789"},
      {"alice", "", "alice" + Nuls(15), Nuls(20)},  // a user name alone enables Login at the next start
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.user);
    SaveLogin("FALSE", "FALSE", Nuls(20), Nuls(20));
    surface.user = [&] {
      logic->TextsChanged(c.user, c.pass);
      logic->PressSaveSettings();
    };
    Start(1).Run();
    EXPECT_EQ(Value("SAVE"), "TRUE");
    EXPECT_EQ(Value("Username"), c.savedUser);
    EXPECT_EQ(Value("Password"), c.savedPass);
    surface.user = nullptr;
    Start(1).Run();
    const LoginLogic::Opening o = logic->Open();
    EXPECT_EQ(o.username, c.savedUser.c_str());
    EXPECT_EQ(o.password, c.savedPass.c_str());
    EXPECT_TRUE(o.loginEnabled);
    EXPECT_TRUE(o.saveOn);
  }
}

// --- Notices for refused logins -------------------------------------------------------------

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

TEST_F(LoginLogicTest, EachServerAnswerGetsItsNoticeAndTheWindowStaysOpen) {
  ScriptRefusal("alice", "wonder", "Your account is suspended.");
  ScriptRefusal("alice", "wonder", kInUse);
  ScriptRefusal("alice", "wonder", kBad);
  peer.Expect("alice").Send("user?").Expect("wonder").Close();
  surface.user = [this] {
    logic->TextsChanged("alice", "wonder");
    logic->PressLogin();
    logic->PressLogin();
  };
  Start().Run();
  EXPECT_EQ(log, (Log{"show-window", "connecting", "message:(default):Your account is suspended.",
                      "close-connecting", "connecting", "notice:UserInUse", "close-connecting"}));
  EXPECT_EQ(logic->failedAttempts(), 2);
  EXPECT_TRUE(shell.endCodes.empty());
  EXPECT_EQ(usernameDest, "unchanged");

  // A second window on the same session. An answer the session does not know leaves the flags
  // as they were, so after a bad-credentials refusal an empty answer (the server closed)
  // still gets the bad-login notice.
  log.clear();
  LoginLogic second(surface, shell, *store);
  second.Setup(passwordDest, usernameDest, *session);
  second.TextsChanged("alice", "wonder");
  second.PressLogin();
  second.PressLogin();
  EXPECT_EQ(log, (Log{"connecting", "notice:BadLogin", "close-connecting", "connecting",
                      "notice:BadLogin", "close-connecting"}));
}

TEST_F(LoginLogicTest, AnEmptyAnswerShowsTheEmptyServerText) {
  peer.Expect("alice").Send("user?").Expect("wonder").Close();
  Start();
  logic->TextsChanged("alice", "wonder");
  logic->PressLogin();
  EXPECT_EQ(log, (Log{"connecting", "message:(default):", "close-connecting"}));
}

TEST_F(LoginLogicTest, NoServerGivesTheConnectionErrorNotice) {
  uint16_t deadPort = 0;
  {
    test::ScriptedPeer gone;
    deadPort = gone.port();
  }
  surface.user = [this] {
    logic->TextsChanged("alice", "wonder");
    logic->PressLogin();
  };
  Start(deadPort).Run();
  EXPECT_EQ(log, (Log{"show-window", "connecting", "notice:ConnectionError", "close-connecting"}));
  EXPECT_TRUE(session->connectFailed);
}

TEST_F(LoginLogicTest, TheThirdFailedLoginOfAnyKindEndsTheProgramAfterItsNotice) {
  ScriptRefusal("alice", "nope", "Try later");
  ScriptRefusal("alice", "nope", kInUse);
  ScriptRefusal("alice", "nope", kBad);
  surface.user = [this] {
    logic->TextsChanged("alice", "nope");
    for (int i = 0; i < 4 && !logic->ended(); ++i) logic->PressLogin();
  };
  EXPECT_EQ(Start().Run(), 0);
  EXPECT_EQ(log, (Log{"show-window", "connecting", "message:(default):Try later", "close-connecting", "connecting",
                      "notice:UserInUse", "close-connecting", "connecting", "notice:BadLogin", "end:0"}));
  EXPECT_EQ(shell.endCodes, (std::vector<int>{0}));
  EXPECT_EQ(logic->failedAttempts(), 3);
  peer.Finish();
  EXPECT_EQ(peer.Received(), "alicenopealicenopealicenope");
}

// --- Successful logins ----------------------------------------------------------------------

TEST_F(LoginLogicTest, LoginSavesFirstThenLogsInAndEndsTheWindowAlsoAfterUserInUse) {
  ScriptRefusal("carol", "c@r:ol/1", kInUse);
  ScriptGoodLogin("carol", "c@r:ol/1", "True");
  std::string savedWhileConnecting;
  surface.onConnecting = [&] { savedWhileConnecting = Value("Username"); };
  surface.user = [this] {
    logic->TextsChanged("carol", "c@r:ol/1");
    logic->PressSaveSettings();
    logic->PressAutoLogin();
    logic->PressLogin();
    logic->PressLogin();
  };
  EXPECT_EQ(Start().Run(), kLoginOk);
  EXPECT_EQ(savedWhileConnecting, "carol" + Nuls(15)) << "saved before the server answers";
  EXPECT_EQ(Value("AUTOLOGIN"), "TRUE") << "the lamp is written by Login's SaveSettings";
  EXPECT_EQ(usernameDest, "carol");
  EXPECT_EQ(passwordDest, "c@r:ol/1");
  EXPECT_EQ(log, (Log{"show-window", "connecting", "notice:UserInUse", "close-connecting", "connecting",
                      "close-connecting", "end-window:1"}));
  EXPECT_EQ(logic->failedAttempts(), 1);
  EXPECT_TRUE(session->loggedIn);
  EXPECT_EQ(session->fullAccount, "True");
}

TEST_F(LoginLogicTest, AutoLoginLogsInWithoutShowingTheWindow) {
  SaveLogin("TRUE", "TRUE", "player" + Nuls(14), "player" + Nuls(14));
  ScriptGoodLogin("player", "player", "True");
  EXPECT_EQ(Start().Run(), kLoginOk);
  EXPECT_FALSE(surface.modalShown);
  EXPECT_EQ(log, (Log{"connecting", "close-connecting"}));
  EXPECT_EQ(usernameDest, "player");
  EXPECT_EQ(passwordDest, "player");
  EXPECT_EQ(Value("SAVE"), "TRUE") << "a successful automatic login keeps the settings";
  EXPECT_EQ(Value("Username"), "player" + Nuls(14));
  peer.Finish();
  EXPECT_EQ(peer.Received().substr(0, 12), "playerplayer");
}

TEST_F(LoginLogicTest, FailedAutoLoginClearsTheSettingsAndEndsTheProgram) {
  SaveLogin("TRUE", "TRUE", "player" + Nuls(14), "secret" + Nuls(14));
  ScriptRefusal("player", "secret", kBad);
  EXPECT_EQ(Start().Run(), 0);
  EXPECT_FALSE(surface.modalShown);
  EXPECT_EQ(log, (Log{"connecting", "notice:BadLogin", "end:0"}));
  EXPECT_EQ(Value("SAVE"), "FALSE");
  EXPECT_EQ(Value("AUTOLOGIN"), "FALSE");
  EXPECT_EQ(Value("Username"), Nuls(20));
  EXPECT_EQ(Value("Password"), Nuls(20));
  EXPECT_EQ(usernameDest, "unchanged");

  // The next start opens the empty window.
  Start(1).Run();
  EXPECT_TRUE(surface.modalShown);
  EXPECT_EQ(logic->Open().username, "");
  EXPECT_FALSE(logic->Open().saveOn);
}

TEST_F(LoginLogicTest, SuppressedAutoLoginShowsTheFilledWindow) {
  SaveLogin("TRUE", "TRUE", "player", "player");
  Start(1);
  logic->SetSuppressAutoLogin();
  logic->Run();
  EXPECT_TRUE(surface.modalShown);
  EXPECT_EQ(log, (Log{"show-window"}));
  const LoginLogic::Opening o = logic->Open();
  EXPECT_TRUE(o.saveOn);
  EXPECT_TRUE(o.autoOn);
  EXPECT_EQ(o.username, "player");
}

// --- Signup and Cancel ----------------------------------------------------------------------

TEST_F(LoginLogicTest, SignupOpensThePageAndCancelEndsWithoutSaving) {
  SaveLogin("TRUE", "FALSE", "alice", "wonderland");
  surface.user = [this] {
    logic->PressSignup();
    logic->TextsChanged("mallory", "x");
    logic->PressCancel();
  };
  Start(1).Run();
  EXPECT_EQ(shell.pages, (std::vector<std::string>{"http://" + web.hostPort() + "/signup.php"}));
  EXPECT_EQ(shell.endCodes, (std::vector<int>{0}));
  EXPECT_TRUE(logic->ended());
  EXPECT_EQ(Value("Username"), "alice") << "Cancel saves nothing";
}

TEST_F(LoginLogicTest, RunWithoutSetupEndsTheProgramInsteadOfTouchingNoSession) {
  LoginLogic bare(surface, shell, *store);
  EXPECT_EQ(bare.Run(), 0);
  EXPECT_EQ(shell.endCodes, std::vector<int>{0});
  EXPECT_FALSE(surface.modalShown);
}

}  // namespace
}  // namespace vt
