#include "tests/e2e/E2eClient.h"

#include <commctrl.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <type_traits>

#include "resources/resource.h"

namespace vt::e2e {

std::string WebHost(std::string* whyMissing) {
  const char* state = std::getenv("VT_E2E_SERVICE");
  const char* web = std::getenv("VT_E2E_WEBHOST");
  if (state && std::string(state) == "running" && web && *web) return web;
  const char* path = std::getenv("VT_E2E_SERVICE_PATH");
  *whyMissing = state ? std::string("vtservice is not built at ") + (path ? path : "?") +
                            " (build the host preset first, or set VT_HOST_BUILD_DIR)"
                      : "not started by tests/e2e/with-vtservice, so no service is running";
  return "";
}

namespace {
// Software\Vintara is in the machine hive's 32-bit view, where the client and its installer
// keep it.
constexpr REGSAM kVintaraView = KEY_WOW64_32KEY;
// The key emptied of every value (and subkey); created when `create` (an uninstalled machine has
// none).
HKEY EmptiedKey(bool create) {
  HKEY key = nullptr;
  const REGSAM access = KEY_ALL_ACCESS | kVintaraView;
  if (create)
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Vintara", 0, nullptr, 0, access, nullptr, &key,
                    nullptr);
  else
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Vintara", 0, access, &key);
  if (key) RegDeleteTreeA(key, nullptr);
  return key;
}

void SetRaw(HKEY key, const std::string& name, const std::string& bytes, DWORD type) {
  RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                 static_cast<DWORD>(bytes.size()));
}
}  // namespace

void PrepareVintaraKey(const std::string& webHost, const std::map<std::string, std::string>& raw) {
  HKEY key = EmptiedKey(true);
  SetRaw(key, "GameServer", std::string("127.0.0.1", 10), REG_SZ);
  SetRaw(key, "WebHost", webHost + '\0', REG_SZ);
  for (const auto& [name, bytes] : raw) SetRaw(key, name, bytes, REG_NONE);
  RegCloseKey(key);
}

void ClearVintaraKey() { RegCloseKey(EmptiedKey(false)); }

std::string RegistryValue(HKEY root, const char* key, REGSAM view, const std::string& name,
                          DWORD* type) {
  char buffer[1024];
  DWORD size = sizeof buffer;
  HKEY h = nullptr;
  if (RegOpenKeyExA(root, key, 0, KEY_READ | view, &h) != ERROR_SUCCESS) return "<missing>";
  const LONG rc =
      RegQueryValueExA(h, name.c_str(), nullptr, type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(h);
  return rc == ERROR_SUCCESS ? std::string(buffer, size) : "<missing>";
}

std::string VintaraValue(const std::string& name, DWORD* type) {
  return RegistryValue(HKEY_LOCAL_MACHINE, "Software\\Vintara", kVintaraView, name, type);
}

std::string WindowsPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

Client::Client(std::string line) {
  if (line.empty()) line = '"' + WindowsPath(VT_E2E_CLIENT) + '"';
  STARTUPINFOA si{};
  si.cb = sizeof si;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &process_))
    process_ = {};
}

Client::~Client() {
  if (!process_.hProcess) return;
  if (Running()) {
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, 10000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool Client::Running() const {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD Client::WaitExit(DWORD timeoutMs) {
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0)
    GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

std::vector<HWND> Client::Windows() const {
  struct Found {
    DWORD pid;
    std::vector<HWND> windows;
  } found{process_.dwProcessId, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) {
        auto* f = reinterpret_cast<Found*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == f->pid && IsWindowVisible(hwnd)) f->windows.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found.windows;
}

HWND Client::WaitWindow(const std::function<bool(HWND)>& match, DWORD timeoutMs) const {
  HWND found = nullptr;
  WaitUntil([&] {
    for (HWND h : Windows())
      if (match(h)) return (found = h) != nullptr;
    return !Running();
  }, timeoutMs);
  return found;
}

bool Client::WaitGone(HWND hwnd) const {
  return WaitUntil([&] { return !IsWindowVisible(hwnd); }, 60000);
}

Kind Classify(HWND hwnd) {
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
  return br.left - wr.left == 101 ? Kind::BadLogin
         : br.left - wr.left == 95 ? Kind::UserInUse
                                   : Kind::Other;
}

const char* KindName(Kind kind) {
  return std::array{"login window", "connecting notice", "connection error notice",
                    "bad login notice", "user in use notice", "full-account-only notice",
                    "upgrade reminder", "browser window", "set-up window", "message box",
                    "other window"}[static_cast<size_t>(kind)];
}

void Click(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void SetText(HWND dialog, int id, const std::string& text) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 10000, &ignored);
}

std::string Text(HWND hwnd) {
  wchar_t text[512] = {};
  const int n = InternalGetWindowText(hwnd, text, 512);
  return std::string(text, text + n);  // the client's texts are ASCII
}

std::string EditText(HWND edit) {
  char buffer[512] = {};
  DWORD_PTR got = 0;
  SendMessageTimeoutA(edit, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                      SMTO_ABORTIFHUNG, 10000, &got);
  return std::string(buffer, got);
}

std::string MessageBoxText(HWND box) {
  std::string all;
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char cls[32] = {};
    GetClassNameA(c, cls, sizeof cls);
    if (std::string(cls) == "Static") all += Text(c);
  }
  return all;
}

namespace {
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
}  // namespace

std::vector<std::string> ListRows(HWND list) {
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

void ClickRow(HWND list, int row, bool doubleClick) {
  RECT r{LVIR_BOUNDS, 0, 0, 0};
  SendWithRemote(list, LVM_GETITEMRECT, row, r);
  const LPARAM at = MAKELPARAM(r.left + 20, (r.top + r.bottom) / 2);
  // Posted, so that the client sees press and release in this order and before any message
  // the test posts next (a press sent from another thread could overtake a posted release).
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(list, WM_LBUTTONUP, 0, at);
  if (doubleClick) {
    PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
  }
}

void LogIn(HWND login, const std::string& user, const std::string& password) {
  SetText(login, IDC_LOGIN_USERNAME, user);
  SetText(login, IDC_LOGIN_PASSWORD, password);
  Click(login, IDC_LOGIN_LOGIN);
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  for (const DWORD start = GetTickCount(); !done(); Sleep(20))
    if (GetTickCount() - start > timeoutMs) return false;
  return true;
}

namespace {
// One line to the test command, and its answer awaited.
void AskTheTestCommand(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
  char answer[16];
  if (!std::fgets(answer, sizeof answer, stdin)) answer[0] = 0;
}
}  // namespace

void HoldKey(HWND window, const std::string& xKeyName) {
  RECT r{};
  GetWindowRect(window, &r);
  char geometry[64];
  std::snprintf(geometry, sizeof geometry, "%ldx%ld+%ld+%ld", r.right - r.left,
                r.bottom - r.top, r.left, r.top);
  AskTheTestCommand("KEYDOWN " + xKeyName + " " + geometry);
}

void ReleaseKey(const std::string& xKeyName) { AskTheTestCommand("KEYUP " + xKeyName); }

std::string Padded(const std::string& text) {
  std::string out = text.substr(0, 20);
  out.resize(20, '\0');
  return out;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

std::string TempPath(const std::string& name) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + "vt-e2e-" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

}  // namespace vt::e2e
