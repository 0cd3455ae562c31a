// vtshots: shows the client's windows one at a time, each the real window class of the client
// with sample contents, so that tools/screenshots/screenshots.sh can photograph it. For each
// window it prints
//   READY <name> <left> <top> <width> <height>
// once the window has painted, then waits for a line on standard input before the next one.
// The browser logs in and gets its rows from a scripted game server and web host on loopback
// inside this program.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "account/win32/LoginWindow.h"
#include "account/win32/Notices.h"
#include "browser/win32/AboutBox.h"
#include "browser/win32/BrowserWindow.h"
#include "controllers/win32/SetupWindow.h"
#include "emuconfig/Emulator.h"
#include "resources/resource.h"
#include "service/Endpoints.h"
#include "tests/support/HttpPeer.h"
#include "tests/support/ScriptedPeer.h"

namespace vt {
namespace {

// Lets every pending paint run, then waits until the window has been idle for a moment so
// that Wine has pushed its window surface to the X server.
void Settle() {
  for (int idle = 0; idle < 4;) {
    MSG m;
    bool any = false;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
      any = true;
    }
    idle = any ? 0 : idle + 1;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 60, QS_ALLINPUT);
  }
}

// Announces the window and waits for the photographer.
void Photograph(const char* name, HWND hwnd) {
  Settle();
  RECT r{};
  GetWindowRect(hwnd, &r);
  std::printf("READY %s %ld %ld %ld %ld\n", name, r.left, r.top, r.right - r.left,
              r.bottom - r.top);
  std::fflush(stdout);
  char line[64];
  if (!std::fgets(line, sizeof line, stdin)) {}
}

void Failed(const char* name) {
  std::printf("FAILED %s\n", name);
  std::fflush(stdout);
}

std::string Z(const std::string& text) { return text + std::string(1, '\0'); }

// The sample rows: title, copies, full-account copies.
struct SampleGame {
  const char* title;
  const char* copies;
  const char* full;
};
constexpr SampleGame kGames[] = {
    {"Aurora Chase", "4", "4"},    {"Axel's Derby", "1", "3"},     {"Bubble Bowling", "0", "1"},
    {"Bubble in Space", "2", "3"}, {"Bubble Party '95", "0", "0"}, {"Bubble Racer", "3", "4"},
    {"Bolt Kingdom", "1", "1"},    {"Brass Lantern", "0", "2"},
};

void ScriptQuery(test::ScriptedPeer& peer, const std::string& filter, bool empty) {
  peer.Expect(Z("qr")).Send("1").Expect(Z("NES")).Send("2").Expect(Z(filter)).Send("3");
  std::string answer = std::to_string(empty ? 0 : std::size(kGames));
  answer.resize(5, '\0');
  if (!empty)
    for (const SampleGame& g : kGames)
      answer += Z(std::string(g.title) + "\nkey\n" + g.copies + "\n" + g.full);
  peer.Expect(Z("ok")).Send(answer);
}

// One browser on a scripted server; `then` runs once it is on screen.
void ShootBrowser(const char* name, const std::string& tier, bool empty,
                  const std::function<void(BrowserWindow&)>& then = nullptr) {
  test::ScriptedPeer peer;
  peer.Expect("demo").Send("user?").Expect("demo").Send("ok");
  peer.Expect(64).Send("ok").Expect(3).Send(tier);
  ScriptQuery(peer, "^[a-b]", empty);
  peer.Start();
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string store = std::string(temp) + "vtshots-registry.txt";
  DeleteFileA(store.c_str());
  std::unique_ptr<SettingsStore> settings = OpenFileSettings(store);
  settings->CreateKey(Hive::Machine, kVintaraKey);
  test::HttpPeer web("4.05");  // the version check's page
  ServerSession session(ServiceEndpoints{"127.0.0.1", peer.port(), web.hostPort()});
  BrowserWindow window(session, *settings);
  window.SetLoginStep([](BrowserWindow& w, bool) {
    w.logic().userName = w.logic().password = "demo";
    return w.session().Login("demo", "demo", w) == LoginResult::SignedIn ? LoginExit::SignedIn
                                                                         : LoginExit::Left;
  });
  window.SetRandomSource([] { return 0; });
  if (!window.CreateModeless(nullptr)) return Failed(name);
  ShowWindow(window.Hwnd(), SW_SHOW);
  if (then) then(window);
  Photograph(name, window.Hwnd());
  DeleteFileA(store.c_str());
}

void SelectRow(BrowserWindow& w, int row) {
  HWND list = w.list().Hwnd();
  ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  NMITEMACTIVATE click{};
  click.hdr.hwndFrom = list;
  click.hdr.idFrom = IDC_BROWSER_LIST;
  click.hdr.code = NM_CLICK;
  click.iItem = row;
  SendMessageA(w.Hwnd(), WM_NOTIFY, IDC_BROWSER_LIST, reinterpret_cast<LPARAM>(&click));
}

// The launch's message for an emulator that is not set up, as the browser shows it.
void ShootLaunchFailure() {
  ShootBrowser("browser-full", "True", false, [](BrowserWindow& w) {
    SelectRow(w, 0);
    static BrowserWindow* browser = &w;
    SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
      HWND box = nullptr;
      for (HWND h = FindWindowA("#32770", nullptr); h;
           h = FindWindowExA(nullptr, h, "#32770", nullptr))
        if (h != browser->Hwnd() && IsWindowVisible(h) && GetWindow(h, GW_OWNER) == browser->Hwnd())
          box = h;
      if (!box) return;
      KillTimer(nullptr, id);
      Photograph("launch-failure", box);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    SendMessageA(w.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_BROWSER_LAUNCH, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(w.Hwnd(), IDC_BROWSER_LAUNCH)));
  });
}

void ShootDialog(const char* name, win::Dialog& dialog) {
  if (!dialog.CreateModeless(nullptr)) return Failed(name);
  ShowWindow(dialog.Hwnd(), SW_SHOW);
  Photograph(name, dialog.Hwnd());
  DestroyWindow(dialog.Hwnd());
}

void ShootNotices() {
  const std::pair<const char*, NoticeKind> notices[] = {
      {"connecting", NoticeKind::Connecting},
      {"connection-error", NoticeKind::ConnectionError},
      {"bad-login", NoticeKind::BadLogin},
      {"loading", NoticeKind::Loading},
      {"user-in-use", NoticeKind::UserInUse},
      {"close-clients", NoticeKind::CloseClients},
      {"game-in-use-full", NoticeKind::GameInUseFull},
      {"game-in-use-free", NoticeKind::GameInUseFree},
      {"full-account-only", NoticeKind::FullAccountOnly},
      {"light-account", NoticeKind::LightAccount},
      {"upgrade-reminder", NoticeKind::UpgradeReminder},
  };
  for (const auto& [name, kind] : notices) {
    Notice notice(kind, DesktopHost(), "www.vintara.com");
    ShootDialog(name, notice);
  }
}

void ShootLogin() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string store = std::string(temp) + "vtshots-login.txt";
  DeleteFileA(store.c_str());
  std::unique_ptr<SettingsStore> settings = OpenFileSettings(store);
  LoginWindow login(*settings);
  if (!login.CreateModeless(nullptr)) return Failed("login");
  ShowWindow(login.Hwnd(), SW_SHOW);
  SetDlgItemTextA(login.Hwnd(), IDC_LOGIN_USERNAME, "player one");
  SetDlgItemTextA(login.Hwnd(), IDC_LOGIN_PASSWORD, "secret");
  Photograph("login", login.Hwnd());
  DestroyWindow(login.Hwnd());
  DeleteFileA(store.c_str());
}

// The set-up windows over an emulator folder with sample configurations, so that every field
// shows a stored name.
void ShootSetupWindows() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "vtshots-emulators";
  CreateDirectoryA(folder.c_str(), nullptr);
  for (const char* name : {"gens.cfg", "meka.inp", "zsnesw.cfg"})
    CopyFileA((std::string(VT_SHOTS_FIXTURES) + "/" + name).c_str(), (folder + "\\" + name).c_str(),
              FALSE);
  // gest.cfg: six text lines, then the bindings at their offsets from the sixth line's end.
  std::string gest = "[gest]\r\nversion 1\r\n\r\n\r\n\r\nkeys\n";
  const size_t base = gest.size();
  gest.resize(kGestBufferBytes, '\0');
  const std::pair<size_t, unsigned char> bytes[] = {{12, 0x2D}, {16, 0x2C}, {20, 0x1C}, {24, 0x36},
                                                    {36, 0x1E}, {40, 0x1F}, {48, 0xC8}, {52, 0xD0},
                                                    {56, 0xCB}, {60, 0xCD}, {341, 0},   {345, 1},
                                                    {349, 9},   {353, 8},   {357, 2},   {361, 3}};
  for (const auto& [offset, value] : bytes) gest[base + offset] = static_cast<char>(value);
  if (FILE* f = std::fopen((folder + "\\gest.cfg").c_str(), "wb")) {
    std::fwrite(gest.data(), 1, gest.size(), f);
    std::fclose(f);
  }
  const std::string store = std::string(temp) + "vtshots-setup.txt";
  DeleteFileA(store.c_str());
  std::unique_ptr<SettingsStore> settings = OpenFileSettings(store);
  settings->CreateKey(Hive::Machine, kVintaraKey);
  settings->SetValue(Hive::Machine, kVintaraKey, "VT_PATH", kTypeString, folder);
  const std::pair<const char*, Console> windows[] = {
      {"setup-a26c", Console::A26C}, {"setup-gbcc", Console::GBCC},
      {"setup-genc", Console::GENC}, {"setup-nesc", Console::NESC},
      {"setup-smsc", Console::SMSC}, {"setup-snesc", Console::SNESC}};
  for (const auto& [name, console] : windows) {
    SetupWindow window(Layout(console), *settings, "www.vintara.com");
    ShootDialog(name, window);
  }
  DeleteFileA(store.c_str());
}

}  // namespace
}  // namespace vt

int main() {
  using namespace vt;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  {
    AboutBox about;
    ShootDialog("about", about);
  }
  ShootBrowser("browser", "False", false);
  ShootBrowser("browser-empty", "True", true);
  ShootBrowser("browser-selected", "True", false, [](BrowserWindow& w) { SelectRow(w, 3); });
  ShootLaunchFailure();
  ShootLogin();
  ShootNotices();
  ShootSetupWindows();
  std::printf("DONE\n");
  std::fflush(stdout);
  return 0;
}
