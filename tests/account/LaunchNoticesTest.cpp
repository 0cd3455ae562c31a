// The launch's refusals through the real launch logic: each shows its notice window, and none
// starts anything.
#include "account/win32/LaunchNotices.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "service/LaunchGame.h"
#include "tests/account/WineNoticeSupport.h"
#include "tests/support/TempDir.h"

namespace vt {
namespace {

class NoUi : public ServiceUi {
public:
  void ShowMessage(const std::string&, const char*) override {}
  void EndProgram(int) override {}
};

class RecordingLaunchHost : public NoticeLaunchHost {
public:
  using NoticeLaunchHost::NoticeLaunchHost;
  bool StartEmulator(const std::string& line) override {
    started.push_back(line);
    return true;
  }
  void ShowLaunchFailure(const std::string&) override { ++saved; }
  void SaveBrowserState() override { ++saved; }
  void Minimise() override { ++saved; }
  std::vector<std::string> started;
  int saved = 0;
};

struct Case {
  const char* name;
  std::string tier, system, copies;
  int fullCopies;
  int height;
  bool keyed, upgradeAccount, button2;
  std::vector<std::string> pages;
};

// Launches the case's one game; checks the notice window that comes up and closes it with
// button 1.
void LaunchAndLook(const Case& c, RecordingLaunchHost& host) {
  NoUi ui;
  ServiceEndpoints e;
  e.webHost = "www.example.test";
  ServerSession session(ui, e);
  session.fullAccount = c.tier;
  session.SetSystem(c.system);
  session.titles = {"Game"};
  session.gameKeys = {"KEY1"};
  session.availableCopies = {c.copies};
  session.fullAccountCopies = {c.fullCopies};
  session.gameCount = 1;
  test::TempDir dir;
  auto settings = OpenFileSettings(dir.File("registry.txt"));
  // The notice: the one visible dialog of this process.
  bool seen = false;
  test::WhenTrue([&] { return test::VisibleDialog() != nullptr; }, [&] {
    HWND w = test::VisibleDialog();
    seen = true;
    EXPECT_EQ(test::SkinGeometryFaults(w, 275, c.height, c.keyed), "");
    HWND upgrade = GetDlgItem(w, IDC_NOTICE_UPGRADE_ACCOUNT);
    EXPECT_EQ(upgrade && IsWindowVisible(upgrade), c.upgradeAccount);
    EXPECT_EQ(GetDlgItem(w, IDC_NOTICE_CANCEL) != nullptr, c.button2);
    PostMessageA(GetDlgItem(w, IDC_NOTICE_OK), BM_CLICK, 0, 0);
  });
  LaunchGame(session, Credentials{"u", "p"}, *settings, host);
  EXPECT_TRUE(seen) << "no notice";
}

TEST(LaunchNotices, EachRefusalShowsItsNoticeAndStartsNothing) {
  const std::vector<Case> cases = {
      {"game in use, full account", "True", "NES", "0", 3, 250, true, false, false, {}},
      {"game in use, free account", "False", "NES", "0", 0, 250, true, true, false, {}},
      {"light account", "False", "NES", " 0 copies", 3, 250, false, false, true,
       {"http://www.example.test/accountinfo.php"}},
      {"full account only", "False", "SNES", "2", 2, 150, true, false, true,
       {"http://www.example.test/index.php?vt=accountinfo"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::RecordingAccountShell shell;
    RecordingLaunchHost host(shell, "www.example.test");
    LaunchAndLook(c, host);
    EXPECT_EQ(shell.pages, c.pages);
    EXPECT_TRUE(host.started.empty());
    EXPECT_EQ(host.saved, 0);
  }
}

}  // namespace
}  // namespace vt
