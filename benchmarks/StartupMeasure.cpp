// What a user waits for at start: from the process start to the login window on screen, and
// from the Login click to the browser with its first list painted; and what a capture that
// waits for a key costs: the client's CPU while the NES window waits with nothing pressed. The
// real VTBrowser.exe under Wine against vtservice (run inside tests/e2e/with-vtservice).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/e2e/E2eClient.h"

using namespace vt::e2e;

namespace {

double NowMs() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// Polls the client's windows every millisecond until one of the kind is visible.
HWND AwaitKind(Client& client, Kind kind) {
  const double start = NowMs();
  while (NowMs() - start < 60000 && client.Running()) {
    for (HWND w : client.Windows())
      if (Classify(w) == kind) return w;
    Sleep(1);
  }
  return nullptr;
}

// "Z:\proc\<pid>\stat" of the Linux process whose command line names the program.
std::string UnixStatOf(const std::string& program) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
  std::string stat;
  if (search == INVALID_HANDLE_VALUE) return stat;
  do {
    const std::string name = found.cFileName;
    if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
    if (ReadWholeFile("Z:\\proc\\" + name + "\\cmdline").find(program) != std::string::npos) {
      stat = "Z:\\proc\\" + name + "\\stat";
      break;
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return stat;
}

// User and system time of the process so far, in milliseconds.
double CpuMs(const std::string& stat) {
  const std::string text = ReadWholeFile(stat);
  const size_t close = text.rfind(')');
  if (close == std::string::npos) return 0;
  // Fields after the command's closing parenthesis: state is field 3, utime 14, stime 15.
  std::vector<std::string> fields;
  for (size_t at = close + 2; at < text.size();) {
    const size_t space = text.find(' ', at);
    fields.push_back(text.substr(at, space - at));
    if (space == std::string::npos) break;
    at = space + 1;
  }
  if (fields.size() < 13) return 0;
  const double ticks = std::atof(fields[11].c_str()) + std::atof(fields[12].c_str());
  return ticks * 10.0;  // 100 ticks a second on Linux
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main() {
  std::string why;
  const std::string web = WebHost(&why);
  if (web.empty()) {
    std::printf("no service: %s\n", why.c_str());
    return 1;
  }
  PrepareVintaraKey(web, {});
  std::vector<double> toLogin, toBrowser;
  for (int run = 0; run < 7; ++run) {
    const double t0 = NowMs();
    Client client;
    HWND login = AwaitKind(client, Kind::Login);
    if (!login) return 1;
    const double shown = NowMs();
    SetText(login, IDC_LOGIN_USERNAME, "demo");
    SetText(login, IDC_LOGIN_PASSWORD, "demo");
    const double clicked = NowMs();
    Click(login, IDC_LOGIN_LOGIN);
    HWND browser = AwaitKind(client, Kind::Browser);
    if (!browser) return 1;
    UpdateWindow(browser);  // any paint still pending in the client is done before this returns
    const double painted = NowMs();
    if (ListRows(GetDlgItem(browser, IDC_BROWSER_LIST)).empty()) return 1;
    toLogin.push_back(shown - t0);
    toBrowser.push_back(painted - clicked);
    Click(browser, IDC_BROWSER_CLOSE);
    client.WaitExit();
  }
  // A capture waiting in the real NES set-up window, with the real DirectInput keyboard.
  double idlePercent = -1;
  {
    Client client;
    HWND login = AwaitKind(client, Kind::Login);
    if (!login) return 1;
    LogIn(login, "demo", "demo");
    HWND browser = AwaitKind(client, Kind::Browser);
    if (!browser) return 1;
    Click(browser, IDC_BROWSER_SETUP_HELP);
    HWND setup = AwaitKind(client, Kind::Setup);
    if (!setup) return 1;
    HWND field = GetDlgItem(setup, IDC_SETUP_UP);
    PostMessageA(setup, WM_COMMAND, MAKEWPARAM(IDC_SETUP_UP, STN_CLICKED),
                 reinterpret_cast<LPARAM>(field));
    WaitUntil([&] { return Text(field).starts_with("Push Up"); }, 10000);
    Sleep(500);
    // Wine reports no CPU times for other processes: read the client's from Linux's /proc
    // (drive Z: is the host's root), found by its command line.
    const std::string stat = UnixStatOf("VTBrowser.exe");
    const double c0 = CpuMs(stat), t0 = NowMs();
    Sleep(5000);
    if (!stat.empty()) idlePercent = 100.0 * (CpuMs(stat) - c0) / (NowMs() - t0);
  }  // the client is ended here, its capture still waiting
  ClearVintaraKey();
  std::printf("capture waiting in the NES window    %7.2f %% of one core\n", idlePercent);
  std::printf("process start to login window      %7.1f ms (median of %zu)\n", Median(toLogin),
              toLogin.size());
  std::printf("Login click to browser with rows   %7.1f ms\n", Median(toBrowser));
  return 0;
}
