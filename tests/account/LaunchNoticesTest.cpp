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

struct Seen {
  int width = 0, height = 0;
  bool upgradeAccountShown = false, hasButton2 = false, keyed = false;
};

// Launches one game; records the notice window that comes up and closes it with button 1.
Seen LaunchAndLook(const std::string& tier, const std::string& system, const std::string& copies,
                   int fullCopies, RecordingLaunchHost& host) {
  NoUi ui;
  ServiceEndpoints e;
  e.webHost = "www.example.test";
  ServerSession session(ui, e);
  session.fullAccount = tier;
  session.SetSystem(system);
  session.titles = {"Game"};
  session.gameKeys = {"KEY1"};
  session.availableCopies = {copies};
  session.fullAccountCopies = {fullCopies};
  session.gameCount = 1;
  test::TempDir dir;
  auto settings = OpenFileSettings(dir.File("registry.txt"));
  Seen seen;
  test::WhenTrue(
      [] {
        for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w;
             w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
          DWORD pid = 0;
          GetWindowThreadProcessId(w, &pid);
          if (pid == GetCurrentProcessId() && IsWindowVisible(w)) return true;
        }
        return false;
      },
      [&] {
        HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr);
        for (; w; w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
          DWORD pid = 0;
          GetWindowThreadProcessId(w, &pid);
          if (pid == GetCurrentProcessId() && IsWindowVisible(w)) break;
        }
        RECT r{};
        GetWindowRect(w, &r);
        seen.width = r.right - r.left;
        seen.height = r.bottom - r.top;
        HWND upgrade = GetDlgItem(w, IDC_NOTICE_UPGRADE_ACCOUNT);
        seen.upgradeAccountShown = upgrade && IsWindowVisible(upgrade);
        seen.hasButton2 = GetDlgItem(w, IDC_NOTICE_CANCEL) != nullptr;
        HRGN rgn = CreateRectRgn(0, 0, 0, 0);
        seen.keyed = GetWindowRgn(w, rgn) == COMPLEXREGION;
        DeleteObject(rgn);
        PostMessageA(GetDlgItem(w, IDC_NOTICE_OK), BM_CLICK, 0, 0);
      });
  LaunchGame(session, Credentials{"u", "p"}, *settings, host);
  return seen;
}

TEST(LaunchNotices, EachRefusalShowsItsNoticeAndStartsNothing) {
  struct Case {
    const char* name;
    std::string tier, system, copies;
    int fullCopies;
    int height;
    bool upgradeAccount, button2, keyed;
    std::vector<std::string> pages;
  };
  const std::vector<Case> cases = {
      {"game in use, full account", "True", "NES", "0", 3, 250, false, false, true, {}},
      {"game in use, free account", "False", "NES", "0", 0, 250, true, false, true, {}},
      {"light account", "False", "NES", " 0 copies", 3, 250, false, true, false,
       {"http://www.example.test/accountinfo.php"}},
      {"full account only", "False", "SNES", "2", 2, 150, false, true, true,
       {"http://www.example.test/index.php?vt=accountinfo"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::RecordingAccountShell shell;
    RecordingLaunchHost host(shell, "www.example.test");
    const Seen seen = LaunchAndLook(c.tier, c.system, c.copies, c.fullCopies, host);
    EXPECT_EQ(seen.width, 275);
    EXPECT_EQ(seen.height, c.height);
    EXPECT_EQ(seen.upgradeAccountShown, c.upgradeAccount);
    EXPECT_EQ(seen.hasButton2, c.button2);
    EXPECT_EQ(seen.keyed, c.keyed);
    EXPECT_EQ(shell.pages, c.pages);
    EXPECT_TRUE(host.started.empty());
    EXPECT_EQ(host.saved, 0);
  }
}

}  // namespace
}  // namespace vt
