// What a user waits for at start: from the process start to the login window on screen, and
// from the Login click to the browser with its first list painted. The real VTBrowser.exe under
// Wine against vtservice (run inside tests/e2e/with-vtservice); prints the medians.
#include <windows.h>

#include <algorithm>
#include <cstdio>
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
  ClearVintaraKey();
  std::printf("process start to login window      %7.1f ms (median of %zu)\n", Median(toLogin), toLogin.size());
  std::printf("Login click to browser with rows   %7.1f ms\n", Median(toBrowser));
  return 0;
}
