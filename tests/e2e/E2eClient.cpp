#include "tests/e2e/E2eClient.h"

#include <cstdlib>
#include <cstring>

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
void SetRaw(HKEY key, const std::string& name, const std::string& bytes, DWORD type) {
  RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                 static_cast<DWORD>(bytes.size()));
}
}  // namespace

void PrepareVintaraKey(const std::string& webHost, const std::map<std::string, std::string>& raw) {
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Vintara", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                  &key, nullptr);
  if (!key) return;
  for (const char* name : {"SAVE", "AUTOLOGIN", "Username", "Password"}) RegDeleteValueA(key, name);
  const std::string server = "127.0.0.1";
  SetRaw(key, "GameServer", server + '\0', REG_SZ);
  SetRaw(key, "WebHost", webHost + '\0', REG_SZ);
  for (const auto& [name, bytes] : raw) SetRaw(key, name, bytes, REG_NONE);
  RegCloseKey(key);
}

void ClearVintaraKey() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Vintara", 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
    return;
  for (const char* name : {"SAVE", "AUTOLOGIN", "Username", "Password", "GameServer", "WebHost"})
    RegDeleteValueA(key, name);
  RegCloseKey(key);
}

std::string VintaraValue(const std::string& name, DWORD* type) {
  char buffer[256];
  DWORD size = sizeof buffer;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Vintara", name.c_str(), RRF_RT_ANY, type,
                   buffer, &size) != ERROR_SUCCESS)
    return "<missing>";
  return std::string(buffer, size);
}

Client::Client() {
  // The client's path in the build tree, as Wine sees it.
  std::string path = std::string("Z:") + VT_E2E_CLIENT;
  for (char& c : path)
    if (c == '/') c = '\\';
  std::string line = "\"" + path + "\"";
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
  const std::string title = Text(hwnd);
  if (title == "About VTBrowser") return Kind::About;
  if (!title.empty()) return Kind::MessageBox;
  RECT wr{};
  GetWindowRect(hwnd, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (w != 275 || h != 150) return Kind::Other;
  if (GetDlgItem(hwnd, IDC_LOGIN_USERNAME)) return Kind::Login;
  HWND button = GetDlgItem(hwnd, IDC_NOTICE_OK);
  if (!button) return GetWindow(hwnd, GW_CHILD) ? Kind::Other : Kind::Connecting;
  if (!Keyed(hwnd)) return Kind::ConnectionError;
  RECT br{};
  GetWindowRect(button, &br);
  const int left = br.left - wr.left;
  if (left == TemplatePoint(67, 69).x) return Kind::BadLogin;
  if (left == TemplatePoint(63, 69).x) return Kind::UserInUse;
  return Kind::Other;
}

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::Login: return "login window";
    case Kind::Connecting: return "connecting notice";
    case Kind::ConnectionError: return "connection error notice";
    case Kind::BadLogin: return "bad login notice";
    case Kind::UserInUse: return "user in use notice";
    case Kind::About: return "About box";
    case Kind::MessageBox: return "message box";
    case Kind::Other: return "other";
  }
  return "?";
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

std::string MessageBoxText(HWND box) {
  std::string all;
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char cls[32] = {};
    GetClassNameA(c, cls, sizeof cls);
    if (std::string(cls) == "Static") all += Text(c);
  }
  return all;
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
