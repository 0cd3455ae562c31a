// What a user waits for after a console or letter-range click: the browser's refresh of 10,000
// records from the click to the painted, filled list, measured in one run beside the catalogue
// receive alone and the two fastest fills the platform's list control offers (rows inserted with
// redraw off and the count set first, and a list that asks its owner for the texts). Windows
// build, run under Wine; prints the medians and the ratio to the goal of 2.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "benchmarks/CatalogueReceive.h"
#include "browser/win32/BrowserWindow.h"
#include "resources/resource.h"

using namespace vt;
using namespace vt::bench;

namespace {

constexpr int kRecords = 10000;
constexpr int kRuns = 7;

double MedianMs(int runs, const std::function<void()>& once) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    once();
    ms.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

// The texts an owner-data list asks for.
std::vector<std::string> g_titles;
LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == LVN_GETDISPINFOA) {
    auto* info = reinterpret_cast<NMLVDISPINFOA*>(lp);
    if (info->item.mask & LVIF_TEXT) {
      const char* text =
          info->item.iSubItem == 0 ? g_titles[info->item.iItem].c_str() : "Available";
      lstrcpynA(info->item.pszText, text, info->item.cchTextMax);
    }
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// A top-level window holding one report list of the browser list's size.
struct PlainList {
  HWND frame = nullptr, list = nullptr;
  PlainList(const RECT& at, DWORD extraStyle) {
    frame = CreateWindowExA(0, "VtMeasureFrame", "measure", WS_POPUP | WS_VISIBLE, 0, 0,
                            at.right + 20, at.bottom + 20, nullptr, nullptr, nullptr, nullptr);
    list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | extraStyle,
                           at.left, at.top, at.right - at.left, at.bottom - at.top, frame, nullptr,
                           nullptr, nullptr);
    LVCOLUMNA c{};
    c.mask = LVCF_WIDTH | LVCF_TEXT;
    c.cx = 300;
    c.pszText = const_cast<char*>("Title");
    ListView_InsertColumn(list, 0, &c);
    c.cx = 90;
    c.pszText = const_cast<char*>("Available");
    ListView_InsertColumn(list, 1, &c);
  }
  ~PlainList() { DestroyWindow(frame); }
};

struct Figures {
  double refresh = 0, receive = 0, ownerData = 0, insert = 0;
  int rows = 0;
};

Figures Measure(BrowserWindow& window, uint16_t port) {
  Figures f;
  HWND dlg = window.Hwnd();
  HWND list = window.list().Hwnd();
  // The whole command as a click gives it: query behind the loading notice, rows replaced, and
  // the list's paint.
  f.refresh = MedianMs(kRuns, [&] {
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_BROWSER_RANGE_A_B, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDC_BROWSER_RANGE_A_B)));
    UpdateWindow(list);
    GdiFlush();
  });
  f.rows = ListView_GetItemCount(list);
  ServerSession alone(ServiceEndpoints{}, ConnectLoopback(port));
  Catalogue games;
  f.receive = MedianMs(kRuns, [&] { QueryOnce(alone, games); });
  for (const Game& game : games) g_titles.push_back(game.title);

  RECT at{};
  GetWindowRect(list, &at);
  MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&at), 2);
  {
    PlainList owner(at, LVS_OWNERDATA);
    f.ownerData = MedianMs(kRuns, [&] {
      ListView_SetItemCountEx(owner.list, 0, 0);
      ListView_SetItemCountEx(owner.list, kRecords, 0);
      UpdateWindow(owner.list);
      GdiFlush();
    });
  }
  {
    PlainList plain(at, 0);
    f.insert = MedianMs(kRuns, [&] {
      SendMessageA(plain.list, WM_SETREDRAW, FALSE, 0);
      ListView_DeleteAllItems(plain.list);
      ListView_SetItemCountEx(plain.list, kRecords, LVSICF_NOINVALIDATEALL);
      LVITEMA item{};
      item.mask = LVIF_TEXT;
      for (int i = 0; i < kRecords; ++i) {
        item.iItem = i;
        item.pszText = const_cast<char*>(g_titles[i].c_str());
        const int row = ListView_InsertItem(plain.list, &item);
        ListView_SetItemText(plain.list, row, 1, const_cast<char*>("Available"));
      }
      SendMessageA(plain.list, WM_SETREDRAW, TRUE, 0);
      InvalidateRect(plain.list, nullptr, TRUE);
      UpdateWindow(plain.list);
      GdiFlush();
    });
  }
  return f;
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSA wc{};
  wc.lpfnWndProc = OwnerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "VtMeasureFrame";
  RegisterClassA(&wc);

  CatalogueServer server(kRecords);
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string store = std::string(temp) + "vt-refresh-measure.txt";
  std::unique_ptr<SettingsStore> settings = OpenFileSettings(store);
  settings->CreateKey(Hive::Machine, kVintaraKey);
  ServiceEndpoints e;
  e.gameServer = "127.0.0.1";
  e.gamePort = server.port();
  // The measure server knows no login: the window gets a connection that is already logged in.
  ServerSession session(e, ConnectLoopback(server.port()), "True");
  BrowserWindow window(session, *settings);
  window.SetLoginStep([](BrowserWindow&, bool) { return LoginExit::SignedIn; });
  static Figures figures;
  static BrowserWindow* measured = &window;
  static uint16_t port = server.port();
  SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    if (!measured->Hwnd() || !IsWindowVisible(measured->Hwnd())) return;
    KillTimer(nullptr, id);
    figures = Measure(*measured, port);
    measured->End(IDCANCEL);
  });
  window.RunModal(nullptr);
  DeleteFileA(store.c_str());

  const double fastest = std::min(figures.ownerData, figures.insert);
  std::printf("records %d (rows shown %d), medians of %d runs\n", kRecords, figures.rows, kRuns);
  std::printf("refresh (click to painted list)   %8.1f ms\n", figures.refresh);
  std::printf("catalogue receive alone           %8.1f ms\n", figures.receive);
  std::printf("fill, owner data                  %8.1f ms\n", figures.ownerData);
  std::printf("fill, redraw off and count set    %8.1f ms\n", figures.insert);
  std::printf("ratio refresh / (receive + fastest fill) %.2f (goal: 2 or less)\n",
              figures.refresh / (figures.receive + fastest));
  return figures.rows == kRecords ? 0 : 1;
}
