// account_shots DIR: shows the login window and every notice, as the client builds them, and
// saves what the screen shows at each as DIR/<name>.bmp (run under with-wine; convert to PNG
// to look at them).
#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "account/win32/LoginWindow.h"
#include "account/win32/Notices.h"
#include "platform/SettingsStore.h"
#include "service/ServerSession.h"
#include "tests/account/WineNoticeSupport.h"

namespace {

using vt::test::CaptureScreen;

void SaveBmp(const std::string& path, const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  const std::vector<COLORREF> px = CaptureScreen(r);
  const int stride = (w * 3 + 3) & ~3;
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{sizeof ih, w, h, 1, 24, BI_RGB, static_cast<DWORD>(stride * h), 0, 0, 0, 0};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof ih;
  fh.bfSize = fh.bfOffBits + ih.biSizeImage;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  std::fwrite(&fh, sizeof fh, 1, f);
  std::fwrite(&ih, sizeof ih, 1, f);
  std::vector<unsigned char> row(static_cast<size_t>(stride), 0);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const COLORREF c = px[static_cast<size_t>(y) * w + x];
      row[x * 3] = GetBValue(c);
      row[x * 3 + 1] = GetGValue(c);
      row[x * 3 + 2] = GetRValue(c);
    }
    std::fwrite(row.data(), 1, row.size(), f);
  }
  std::fclose(f);
}

void Snap(const std::string& dir, const std::string& name, HWND hwnd) {
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
  RECT r{};
  GetWindowRect(hwnd, &r);
  // Until the display has caught up: two captures in a row alike.
  std::vector<COLORREF> last;
  vt::test::PumpUntil([&] {
    std::vector<COLORREF> now = CaptureScreen(r);
    const bool same = now == last;
    last = std::move(now);
    return same;
  }, 3000);
  SaveBmp(dir + "\\" + name + ".bmp", r);
  std::printf("saved %s\n", name.c_str());
}

class NoUi : public vt::ServiceUi {
public:
  void ShowMessage(const std::string&, const char*) override {}
  void EndProgram(int) override {}
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string dir = argv[1];
  vt::test::RecordingAccountShell shell;
  const std::string web = "www.vintara.com";

  struct Modal {
    const char* name;
    std::function<std::unique_ptr<vt::Notice>()> make;
  };
  std::vector<Modal> modals = {
      {"connection-error", [] { return std::make_unique<vt::ConnectionErrorNotice>(); }},
      {"bad-login", [] { return std::make_unique<vt::BadLoginNotice>(); }},
      {"user-in-use", [] { return std::make_unique<vt::UserInUseNotice>(); }},
      {"close-clients", [] { return std::make_unique<vt::CloseClientsNotice>(); }},
      {"game-in-use-full", [&] {
         auto n = std::make_unique<vt::GameInUseNotice>(shell, web);
         n->SetAccountTier("True");
         return std::unique_ptr<vt::Notice>(std::move(n));
       }},
      {"game-in-use-free", [&] {
         auto n = std::make_unique<vt::GameInUseNotice>(shell, web);
         n->SetAccountTier("False");
         return std::unique_ptr<vt::Notice>(std::move(n));
       }},
      {"full-account-only", [&] { return std::make_unique<vt::FullAccountOnlyNotice>(shell, web); }},
      {"light-account", [&] { return std::make_unique<vt::LightAccountNotice>(shell, web); }},
      {"upgrade-reminder", [&] { return std::make_unique<vt::UpgradeReminder>(shell, web); }},
  };
  for (const Modal& m : modals) {
    auto notice = m.make();
    vt::test::RunModalWith(*notice, [&](HWND dlg) {
      Snap(dir, m.name, dlg);
      EndDialog(dlg, IDOK);
    });
  }
  {
    vt::ConnectingNotice connecting;
    connecting.Open();
    Snap(dir, "connecting", connecting.Hwnd());
    connecting.Close();
    vt::LoadingNotice loading;
    loading.Open();
    Snap(dir, "loading", loading.Hwnd());
    loading.Close();
  }
  {
    auto store = vt::OpenFileSettings(dir + "\\registry.txt");
    store->CreateKey(vt::Hive::Machine, vt::kVintaraKey);
    store->SetValue(vt::Hive::Machine, vt::kVintaraKey, "SAVE", vt::kTypeNone, "TRUE");
    store->SetValue(vt::Hive::Machine, vt::kVintaraKey, "AUTOLOGIN", vt::kTypeNone, "FALSE");
    store->SetValue(vt::Hive::Machine, vt::kVintaraKey, "Username", vt::kTypeNone, "alice");
    store->SetValue(vt::Hive::Machine, vt::kVintaraKey, "Password", vt::kTypeNone, "wonderland");
    NoUi ui;
    vt::ServerSession session(ui, vt::ServiceEndpoints{});
    std::string password, user;
    vt::LoginWindow login(shell, *store);
    login.Setup(password, user, session);
    vt::test::WhenTrue([&] { return login.Hwnd() && IsWindowVisible(login.Hwnd()); }, [&] {
      Snap(dir, "login-saved", login.Hwnd());
      EndDialog(login.Hwnd(), IDCANCEL);
    });
    login.Run();
  }
  return 0;
}
