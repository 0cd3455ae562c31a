// emustub on Windows: records its command line byte for byte and its current folder, then shows
// a small window naming the console and game it was asked to play until a click or a few seconds
// pass.
// With VT_EMUSTUB_EXIT set it ends right after recording, for tests; VT_EMUSTUB_SHOW_MS
// changes how long the window stays; VT_EMUSTUB_HOLD names a file it waits for (at most a
// minute) after recording, touching no window or message first, as a slow emulator would.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "tools/emustub/LaunchLine.h"

namespace {

constexpr UINT_PTR kCloseTimer = 1;
constexpr UINT kShowMs = 4000;

std::string g_text;

std::string ExeDir() {
  char buf[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
  std::string path(buf, n);
  std::size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? "." : path.substr(0, cut);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT rc;
      GetClientRect(hwnd, &rc);
      InflateRect(&rc, -12, -12);
      DrawTextA(dc, g_text.c_str(), -1, &rc, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_TIMER:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  using namespace vt::emustub;
  const std::string line = GetCommandLineA();
  const std::string log = LogPath(std::getenv("VT_EMUSTUB_LOG"), ExeDir());
  char folder[MAX_PATH] = {};
  const DWORD n = GetCurrentDirectoryA(MAX_PATH, folder);
  if (!AppendLogLine(log, line) || !AppendLogLine(FolderLogPath(log), std::string(folder, n)))
    return 1;
  if (const char* hold = std::getenv("VT_EMUSTUB_HOLD"); hold && *hold)
    for (int i = 0; i < 1200 && GetFileAttributesA(hold) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(50);
  const char* exitAtOnce = std::getenv("VT_EMUSTUB_EXIT");
  if (exitAtOnce && *exitAtOnce) return 0;

  LaunchRequest r = ParseLaunchLine(line);
  std::string title = "emustub - " + (r.scheme.empty() ? std::string("no launch address")
                                                       : r.console + " - " + r.gameKey);
  g_text = "Console: " + (r.scheme.empty() ? std::string("none") : r.console) +
           "\r\nGame key: " + r.gameKey + "\r\n\r\nA stand-in emulator: click to close.";

  WNDCLASSA wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "VtEmustub";
  RegisterClassA(&wc);
  HWND hwnd =
      CreateWindowA("VtEmustub", title.c_str(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                    CW_USEDEFAULT, CW_USEDEFAULT, 360, 140, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  SetWindowTextA(hwnd, title.c_str());
  ShowWindow(hwnd, show == SW_HIDE ? SW_SHOWNORMAL : show);
  UINT showMs = kShowMs;
  if (const char* v = std::getenv("VT_EMUSTUB_SHOW_MS"); v && *v)
    showMs = static_cast<UINT>(std::strtoul(v, nullptr, 10));
  SetTimer(hwnd, kCloseTimer, showMs, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
