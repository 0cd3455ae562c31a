// Driving the real client from another Wine process: its registry values, its process, and its
// windows by window messages. Waits are for conditions, never fixed sleeps.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "resources/resource.h"

namespace vt::e2e {

// The web host tests/e2e/with-vtservice started vtservice on; empty, and the reason, without it.
inline std::string WebHost(std::string* whyMissing) {
  const char* unbuilt = std::getenv("VT_E2E_SERVICE_PATH");
  if (const char* web = std::getenv("VT_E2E_WEBHOST"); web && !unbuilt) return web;
  *whyMissing = unbuilt ? "vtservice is not built at " + std::string(unbuilt) +
                              " (build the host preset first, or set VT_HOST_BUILD_DIR)"
                        : "not started by tests/e2e/with-vtservice, so no service is running";
  return "";
}

// A value's bytes (and its type code) in a key in the given view, or "<missing>".
inline std::string RegistryValue(HKEY root, const char* key, REGSAM view, const std::string& name,
                                 DWORD* type = nullptr) {
  char buffer[1024];
  DWORD size = sizeof buffer;
  HKEY h = nullptr;
  if (RegOpenKeyExA(root, key, 0, KEY_READ | view, &h) != ERROR_SUCCESS) return "<missing>";
  const LONG rc =
      RegQueryValueExA(h, name.c_str(), nullptr, type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(h);
  return rc == ERROR_SUCCESS ? std::string(buffer, size) : "<missing>";
}

// A value set in a key in the given view, the key created when missing.
inline void SetRegistryValue(HKEY root, const char* key, REGSAM view, const std::string& name,
                             const std::string& bytes, DWORD type) {
  HKEY h = nullptr;
  RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &h, nullptr);
  RegSetValueExA(h, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                 static_cast<DWORD>(bytes.size()));
  RegCloseKey(h);
}

// Software\Vintara: the machine's in its 32-bit view, where the installer keeps it; the user's.
inline std::string VintaraValue(const std::string& name, DWORD* type = nullptr) {
  return RegistryValue(HKEY_LOCAL_MACHINE, "Software\\Vintara", KEY_WOW64_32KEY, name, type);
}
inline void SetVintaraValue(const std::string& name, const std::string& bytes, DWORD type) {
  SetRegistryValue(HKEY_LOCAL_MACHINE, "Software\\Vintara", KEY_WOW64_32KEY, name, bytes, type);
}
inline std::string UserValue(const std::string& name, DWORD* type = nullptr) {
  return RegistryValue(HKEY_CURRENT_USER, "Software\\Vintara", 0, name, type);
}
inline constexpr std::string_view kUserValues[] = {
    "SAVE", "AUTOLOGIN", "Username", "Password", "ProtectedPassword", "SYSTEM", "SEARCH", "COUNT"};

// Both keys emptied for the next tests; the keys stay (with an installer's rights).
inline void ClearVintaraKey() {
  for (auto [root, view] :
       {std::pair{HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY}, {HKEY_CURRENT_USER, 0}}) {
    HKEY key = nullptr;
    RegOpenKeyExA(root, "Software\\Vintara", 0, KEY_ALL_ACCESS | view, &key);
    if (key) RegDeleteTreeA(key, nullptr), RegCloseKey(key);
  }
}

// The machine key as an installer leaves it, pointing at vtservice, and these values as raw
// bytes: each in the key where this client keeps it, or all where an earlier client kept them.
inline void PrepareVintaraKey(const std::string& webHost,
                              const std::map<std::string, std::string>& raw,
                              bool earlierClient = false) {
  ClearVintaraKey();
  SetVintaraValue("GameServer", std::string("127.0.0.1", 10), REG_SZ);
  SetVintaraValue("WebHost", webHost + '\0', REG_SZ);
  for (const auto& [name, bytes] : raw) {
    if (!earlierClient && std::ranges::find(kUserValues, name) != std::end(kUserValues))
      SetRegistryValue(HKEY_CURRENT_USER, "Software\\Vintara", 0, name, bytes, REG_NONE);
    else
      SetVintaraValue(name, bytes, REG_NONE);
  }
}

// Polls until `done` holds; false after the time-out.
inline bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 30000) {
  for (const DWORD start = GetTickCount(); !done(); Sleep(20))
    if (GetTickCount() - start > timeoutMs) return false;
  return true;
}

// A path of the build machine as Wine sees it ("Z:\\...").
inline std::string WindowsPath(std::string path) {
  std::ranges::replace(path, '/', '\\');
  return "Z:" + path;
}

class Client {
public:
  // Another program, or (empty) the client of the build tree, started in the folder given.
  explicit Client(std::string line = "", const char* folder = nullptr) {
    if (line.empty()) line = '"' + WindowsPath(VT_E2E_CLIENT) + '"';
    STARTUPINFOA si{};
    si.cb = sizeof si;
    CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &si,
                   &process_);
  }
  // Ends the client if it still runs.
  ~Client() {
    if (!process_.hProcess) return;
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, 10000);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  // The exit code once the process has ended, else STILL_ACTIVE.
  DWORD WaitExit(DWORD timeoutMs = 60000) {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0)
      GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }
  bool Running() const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
  }
  // Visible top-level windows of the client.
  std::vector<HWND> Windows() const {
    std::vector<HWND> windows;
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(h, &pid);
      if (pid == process_.dwProcessId && IsWindowVisible(h)) windows.push_back(h);
    }
    return windows;
  }
  // A visible window of the client that `match` accepts; null after the time-out or the end.
  HWND WaitWindow(const std::function<bool(HWND)>& match, DWORD timeoutMs = 60000) const {
    HWND found = nullptr;
    auto foundOrEnded = [&] {
      for (HWND h : Windows())
        if (match(h)) return (found = h) != nullptr;
      return !Running();
    };
    WaitUntil(foundOrEnded, timeoutMs);
    return found;
  }
  bool WaitGone(HWND hwnd) const {
    return WaitUntil([&] { return !IsWindowVisible(hwnd); }, 60000);
  }

private:
  PROCESS_INFORMATION process_{};
};

// A window's text, read without a message to its thread (which may be blocked in a capture).
inline std::string Text(HWND hwnd) {
  wchar_t text[512] = {};
  const int n = InternalGetWindowText(hwnd, text, 512);
  return std::string(text, text + n);  // the client's texts are ASCII
}

// What a client window is, from its geometry, region and controls.
enum class Kind {
  Login,
  Connecting,
  ConnectionError,
  BadLogin,
  UserInUse,
  FullAccountOnly,
  UpgradeReminder,
  Browser,
  Setup,
  MessageBox,
  Other
};
inline Kind Classify(HWND hwnd) {
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (std::string(cls) != "#32770") return Kind::Other;
  RECT wr{};
  GetWindowRect(hwnd, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  // The browser has a title ("Vintara") for the task bar, though no caption shows it.
  if (w == 500 && h == 600 && GetDlgItem(hwnd, IDC_BROWSER_LIST)) return Kind::Browser;
  // Every set-up window has Advanced; the login window and the notices have none.
  if (GetDlgItem(hwnd, IDC_SETUP_ADVANCED) && (w == 400 || w == 500)) return Kind::Setup;
  if (!Text(hwnd).empty()) return Kind::MessageBox;
  if (w == 275 && h == 200 && GetDlgItem(hwnd, IDC_NOTICE_CANCEL)) return Kind::UpgradeReminder;
  if (w != 275 || h != 150) return Kind::Other;
  if (GetDlgItem(hwnd, IDC_LOGIN_USERNAME)) return Kind::Login;
  HWND button = GetDlgItem(hwnd, IDC_NOTICE_OK);
  if (!button) return GetWindow(hwnd, GW_CHILD) ? Kind::Other : Kind::Connecting;
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  const bool keyed = GetWindowRgn(hwnd, rgn) == COMPLEXREGION;
  DeleteObject(rgn);
  if (!keyed) return Kind::ConnectionError;
  if (GetDlgItem(hwnd, IDC_NOTICE_CANCEL)) return Kind::FullAccountOnly;
  RECT br{};
  GetWindowRect(button, &br);
  // The two keyed notices with one button differ in its place: 67 or 63 dialog units.
  return br.left - wr.left == 101  ? Kind::BadLogin
         : br.left - wr.left == 95 ? Kind::UserInUse
                                   : Kind::Other;
}

inline const char* KindName(Kind kind) {
  return std::array{"login window",     "connecting notice",  "connection error notice",
                    "bad login notice", "user in use notice", "full-account-only notice",
                    "upgrade reminder", "browser window",     "set-up window",
                    "message box",      "other window"}[static_cast<size_t>(kind)];
}

inline void Click(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

inline void SetText(HWND dialog, int id, const std::string& text) {
  SetDlgItemTextA(dialog, id, text.c_str());
}

// A text box's text, asked of the box (another process's box keeps its text to itself).
inline std::string EditText(HWND edit) {
  char buffer[512] = {};
  DWORD_PTR got = 0;
  SendMessageTimeoutA(edit, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                      SMTO_ABORTIFHUNG, 10000, &got);
  return std::string(buffer, got);
}

// A message box's message: the text of its static control 0xFFFF.
inline std::string MessageBoxText(HWND box) { return Text(GetDlgItem(box, 0xFFFF)); }

// Memory lent in the process that owns a window, for a message whose argument points at it:
// `in` is copied there before the message, and the same bytes back into it after.
template <typename T>
LRESULT SendWithRemote(HWND window, UINT msg, WPARAM wp, T& in, char* text = nullptr) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  char* at = static_cast<char*>(
      VirtualAllocEx(process, nullptr, sizeof in + 512, MEM_COMMIT, PAGE_READWRITE));
  if constexpr (std::is_same_v<T, LVITEMA>) in.pszText = at + sizeof in, in.cchTextMax = 512;
  WriteProcessMemory(process, at, &in, sizeof in, nullptr);
  const LRESULT result = SendMessageA(window, msg, wp, reinterpret_cast<LPARAM>(at));
  ReadProcessMemory(process, at, &in, sizeof in, nullptr);
  if (text) ReadProcessMemory(process, at + sizeof in, text, 512, nullptr);
  VirtualFreeEx(process, at, 0, MEM_RELEASE);
  CloseHandle(process);
  return result;
}

// The rows of another process's list control, "title|mark" each.
inline std::vector<std::string> ListRows(HWND list) {
  std::vector<std::string> rows;
  const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::string row;
    for (int sub = 0; sub < 2; ++sub) {
      LVITEMA item{};
      item.iSubItem = sub;
      char text[512] = {};
      const auto n = SendWithRemote(list, LVM_GETITEMTEXTA, i, item, text);
      row.append(sub ? "|" : "").append(text, n > 0 ? static_cast<size_t>(n) : 0);
    }
    rows.push_back(row);
  }
  return rows;
}

// A click (or double-click) on row i of another process's list, as the pointer's messages.
inline void ClickRow(HWND list, int row, bool doubleClick = false) {
  RECT r{LVIR_BOUNDS, 0, 0, 0};
  SendWithRemote(list, LVM_GETITEMRECT, row, r);
  const LPARAM at = MAKELPARAM(r.left + 20, (r.top + r.bottom) / 2);
  // Posted, so that the client sees them in this order and before what the test posts next.
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(list, WM_LBUTTONUP, 0, at);
  if (doubleClick) {
    PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
  }
}

// The login window's texts set and Login clicked; the window.
inline HWND LogIn(HWND login, const std::string& user, const std::string& password) {
  SetText(login, IDC_LOGIN_USERNAME, user);
  SetText(login, IDC_LOGIN_PASSWORD, password);
  Click(login, IDC_LOGIN_LOGIN);
  return login;
}

// A real key held ("KEYDOWN") or released ("KEYUP") on the X server by tests/e2e/with-keys, which
// first gives the window, found by its place on the screen, the X input focus.
inline void Key(const char* action, const char* xKeyName, HWND window = nullptr) {
  RECT r{};
  GetWindowRect(window, &r);
  std::printf("%s %s %ldx%ld+%ld+%ld\n", action, xKeyName, r.right - r.left, r.bottom - r.top,
              r.left, r.top);
  std::fflush(stdout);
  char answer[16];
  std::fgets(answer, sizeof answer, stdin);  // its "ok", once done
}

// A saved login text as the login window keeps it: padded with zeros to 20 bytes.
inline std::string Padded(std::string text) {
  text.resize(20, '\0');
  return text;
}

// A whole file's bytes ("" when it cannot be read).
inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// A fresh path in the temporary folder, named for this process.
inline std::string TempPath(const std::string& name) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + "vt-e2e-" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

}  // namespace vt::e2e
