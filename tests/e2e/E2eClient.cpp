#include "tests/e2e/E2eClient.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "resources/resource.h"

namespace vt::e2e {

std::string WebHost(std::string* whyMissing) {
  const char* state = std::getenv("VT_E2E_SERVICE");
  const char* web = std::getenv("VT_E2E_WEBHOST");
  if (state && std::string(state) == "running" && web && *web) return web;
  if (whyMissing) {
    const char* path = std::getenv("VT_E2E_SERVICE_PATH");
    *whyMissing = state ? std::string("vtservice is not built at ") + (path ? path : "?") +
                              " (build the host preset first, or set VT_HOST_BUILD_DIR)"
                        : "not started by tests/e2e/with-vtservice, so no service is running";
  }
  return "";
}

namespace {
// Software\Vintara is in the machine hive's 32-bit view, where the client and its installer
// keep it.
constexpr REGSAM kVintaraView = KEY_WOW64_32KEY;
// Every value the client reads or writes besides the deployment values.
const char* const kClientValues[] = {"SAVE",     "AUTOLOGIN", "Username", "Password", "SYSTEM",
                                     "SEARCH",   "COUNT",     "VT_PATH",  "NES_PATH", "SNES_PATH",
                                     "2600_PATH", "GEN_PATH", "GBC_PATH", "SMS_PATH", "SGG_PATH",
                                     "COL_PATH", "ProtectedPassword"};

void SetRaw(HKEY key, const std::string& name, const std::string& bytes, DWORD type) {
  RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                 static_cast<DWORD>(bytes.size()));
}
}  // namespace

void PrepareVintaraKey(const std::string& webHost, const std::map<std::string, std::string>& raw) {
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Vintara", 0, nullptr, 0, KEY_ALL_ACCESS | kVintaraView, nullptr,
                  &key, nullptr);
  if (!key) return;
  for (const char* name : kClientValues) RegDeleteValueA(key, name);
  const std::string server = "127.0.0.1";
  SetRaw(key, "GameServer", server + '\0', REG_SZ);
  SetRaw(key, "WebHost", webHost + '\0', REG_SZ);
  for (const auto& [name, bytes] : raw) SetRaw(key, name, bytes, REG_NONE);
  RegCloseKey(key);
}

void ClearVintaraKey() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Vintara", 0, KEY_ALL_ACCESS | kVintaraView, &key) != ERROR_SUCCESS)
    return;
  for (const char* name : kClientValues) RegDeleteValueA(key, name);
  for (const char* name : {"GameServer", "WebHost"}) RegDeleteValueA(key, name);
  RegCloseKey(key);
}

std::string RegistryValue(HKEY root, const char* key, REGSAM view, const std::string& name, DWORD* type) {
  HKEY h = nullptr;
  if (RegOpenKeyExA(root, key, 0, KEY_READ | view, &h) != ERROR_SUCCESS) return "<missing>";
  char buffer[1024];
  DWORD size = sizeof buffer;
  const LONG rc = RegQueryValueExA(h, name.c_str(), nullptr, type, reinterpret_cast<BYTE*>(buffer), &size);
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

// The client in the build tree, as Wine sees it.
Client::Client() : Client('"' + WindowsPath(VT_E2E_CLIENT) + '"') {}

Client::Client(std::string line) {
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
  if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

namespace {
struct EnumState {
  DWORD pid;
  std::vector<HWND> found;
};
BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lp) {
  auto* state = reinterpret_cast<EnumState*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == state->pid && IsWindowVisible(hwnd)) state->found.push_back(hwnd);
  return TRUE;
}
}  // namespace

std::vector<HWND> Client::Windows() const {
  EnumState state{process_.dwProcessId, {}};
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&state));
  return state.found;
}

HWND Client::WaitWindow(const std::function<bool(HWND)>& match, DWORD timeoutMs) const {
  const DWORD start = GetTickCount();
  for (;;) {
    for (HWND h : Windows())
      if (match(h)) return h;
    if (!Running() || GetTickCount() - start > timeoutMs) return nullptr;
    // Waiting for the client's next window: the process handle wakes us if it ends.
    WaitForSingleObject(process_.hProcess, 20);
  }
}

bool Client::WaitGone(HWND hwnd, DWORD timeoutMs) const {
  const DWORD start = GetTickCount();
  while (IsWindow(hwnd) && IsWindowVisible(hwnd)) {
    if (GetTickCount() - start > timeoutMs) return false;
    WaitForSingleObject(process_.hProcess, 20);
  }
  return true;
}

namespace {
// Pixel positions of a template point in the client's dialog metrics: this process has the
// same templates and the same prefix, so one of its own hidden dialogs measures them.
POINT TemplatePoint(int x, int y) {
  HWND probe = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_BAD_LOGIN_NOTICE),
                                  nullptr, [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
  RECT r{x, y, x, y};
  MapDialogRect(probe, &r);
  DestroyWindow(probe);
  return POINT{r.left, r.top};
}

bool Keyed(HWND hwnd) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  const int kind = GetWindowRgn(hwnd, rgn);
  DeleteObject(rgn);
  return kind == COMPLEXREGION;
}
}  // namespace

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
  const std::string title = Text(hwnd);
  if (title == "About VTBrowser") return Kind::About;
  if (!title.empty()) return Kind::MessageBox;
  if (w == 275 && h == 200 && GetDlgItem(hwnd, IDC_NOTICE_CANCEL)) return Kind::UpgradeReminder;
  if (w != 275 || h != 150) return Kind::Other;
  if (GetDlgItem(hwnd, IDC_LOGIN_USERNAME)) return Kind::Login;
  HWND button = GetDlgItem(hwnd, IDC_NOTICE_OK);
  if (!button) return GetWindow(hwnd, GW_CHILD) ? Kind::Other : Kind::Connecting;
  if (!Keyed(hwnd)) return Kind::ConnectionError;
  if (GetDlgItem(hwnd, IDC_NOTICE_CANCEL)) return Kind::FullAccountOnly;
  RECT br{};
  GetWindowRect(button, &br);
  const int left = br.left - wr.left;
  if (left == TemplatePoint(67, 69).x) return Kind::BadLogin;
  if (left == TemplatePoint(63, 69).x) return Kind::UserInUse;
  return Kind::Other;
}

const char* KindName(Kind kind) {
  // In the order of Kind.
  static const char* const names[] = {
      "login window",       "connecting notice", "connection error notice", "bad login notice",
      "user in use notice", "full-account-only notice", "upgrade reminder", "browser window",
      "set-up window",      "About box",         "message box",             "other"};
  static_assert(std::size(names) == static_cast<size_t>(Kind::Other) + 1);
  return names[static_cast<int>(kind)];
}

void Click(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void SetText(HWND dialog, int id, const std::string& text) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                      SMTO_ABORTIFHUNG, 10000, &ignored);
}

std::string Text(HWND hwnd) {
  char buffer[512] = {};
  GetWindowTextA(hwnd, buffer, sizeof buffer);
  return buffer;
}

std::string EditText(HWND edit) {
  char buffer[512] = {};
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(edit, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 10000,
                      &ignored);
  return buffer;
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
// Memory lent in the process that owns a window, for messages whose arguments point at it.
class RemoteBuffer {
public:
  RemoteBuffer(HWND owner, size_t size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(owner, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) at_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  bool ok() const { return at_ != nullptr; }
  char* at(size_t offset = 0) const { return static_cast<char*>(at_) + offset; }
  void Write(const void* data, size_t n, size_t offset = 0) {
    WriteProcessMemory(process_, at(offset), data, n, nullptr);
  }
  void Read(void* data, size_t n, size_t offset = 0) {
    ReadProcessMemory(process_, at(offset), data, n, nullptr);
  }

private:
  HANDLE process_ = nullptr;
  void* at_ = nullptr;
  size_t size_;
};
}  // namespace

std::vector<std::string> ListRows(HWND list) {
  std::vector<std::string> rows;
  RemoteBuffer remote(list, sizeof(LVITEMA) + 512);
  if (!remote.ok()) return rows;
  const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::string row;
    for (int sub = 0; sub < 2; ++sub) {
      LVITEMA item{};
      item.iSubItem = sub;
      item.pszText = remote.at(sizeof item);
      item.cchTextMax = 512;
      remote.Write(&item, sizeof item);
      const int n = static_cast<int>(SendMessageA(list, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(remote.at())));
      char text[512] = {};
      remote.Read(text, static_cast<size_t>(n > 0 ? n : 0), sizeof item);
      if (sub) row += '|';
      row.append(text, static_cast<size_t>(n > 0 ? n : 0));
    }
    rows.push_back(row);
  }
  return rows;
}

void ClickRow(HWND list, int row, bool doubleClick) {
  RemoteBuffer remote(list, sizeof(RECT));
  RECT r{LVIR_BOUNDS, 0, 0, 0};
  remote.Write(&r, sizeof r);
  SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(remote.at()));
  remote.Read(&r, sizeof r);
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
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

namespace {
// One line to the test command and its answer.
void AskTheTestCommand(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
  char answer[16];
  if (!std::fgets(answer, sizeof answer, stdin)) {
  }
}
}  // namespace

void HoldKey(HWND window, const std::string& xKeyName) {
  RECT r{};
  GetWindowRect(window, &r);
  char geometry[64];
  std::snprintf(geometry, sizeof geometry, "%ldx%ld+%ld+%ld", r.right - r.left, r.bottom - r.top, r.left, r.top);
  AskTheTestCommand("KEYDOWN " + xKeyName + " " + geometry);
}

void ReleaseKey(const std::string& xKeyName) { AskTheTestCommand("KEYUP " + xKeyName); }

std::string Padded(const std::string& text) {
  std::string out = text.substr(0, 20);
  out.resize(20, '\0');
  return out;
}

std::string ReadWholeFile(const std::string& path) {
  std::string bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.append(buffer, n);
    std::fclose(f);
  }
  return bytes;
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
}

std::string TempPath(const std::string& name) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + "vt-e2e-" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

std::string WindowText(HWND hwnd) {
  wchar_t text[256] = {};
  const int n = InternalGetWindowText(hwnd, text, 256);
  std::string out;
  for (int i = 0; i < n; ++i) out += static_cast<char>(text[i]);
  return out;
}

RawLogin::~RawLogin() {
  if (s_ != INVALID_SOCKET) closesocket(s_);
}

std::string RawLogin::Login(const std::string& user, const std::string& password) {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  s_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_port = htons(11001);
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(s_, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0) return "<no connection>";
  char reply[1024];
  auto exchange = [&](const std::string& bytes) {
    send(s_, bytes.data(), static_cast<int>(bytes.size()), 0);
    const int n = recv(s_, reply, sizeof reply, 0);
    return n > 0 ? std::string(reply, strnlen(reply, static_cast<size_t>(n))) : std::string();
  };
  exchange(user);
  const std::string answer = exchange(password);
  if (answer == "ok") {
    std::string address = "127.0.0.1";
    address.resize(64, '\0');
    exchange(address);
    exchange(std::string("qp\0", 3));
  }
  return answer;
}

}  // namespace vt::e2e
