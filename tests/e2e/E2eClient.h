// Driving the real client from another Wine process: its registry values, its process, and
// its windows by window messages. Waits are for conditions (windows, exit), never fixed sleeps.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vt::e2e {

// The web host vtservice serves ("127.0.0.1:port"); empty (and the reason) when the test
// command did not start vtservice.
std::string WebHost(std::string* whyMissing);

// Software\Vintara of the machine hive as an installer leaves it, with the deployment values
// pointing at vtservice, and these values as raw bytes without a type. ClearVintaraKey removes
// what it wrote, so that other tests of the prefix do not see it.
void PrepareVintaraKey(const std::string& webHost, const std::map<std::string, std::string>& raw);
void ClearVintaraKey();
// A value's bytes (and its type code) in a key in the given view, or "<missing>"; VintaraValue
// reads Software\Vintara in the client's view.
std::string RegistryValue(HKEY root, const char* key, REGSAM view, const std::string& name,
                          DWORD* type = nullptr);
std::string VintaraValue(const std::string& name, DWORD* type = nullptr);

class Client {
public:
  // Another program, or (empty) the client of the build tree.
  explicit Client(std::string commandLine = "");
  ~Client();  // ends the client if it still runs
  bool started() const { return process_.hProcess != nullptr; }
  // The exit code once the process has ended, or STILL_ACTIVE after the time-out.
  DWORD WaitExit(DWORD timeoutMs = 60000);
  bool Running() const;
  // Visible top-level windows of the client.
  std::vector<HWND> Windows() const;
  // A visible window of the client that `match` accepts; null after the time-out or the end.
  HWND WaitWindow(const std::function<bool(HWND)>& match, DWORD timeoutMs = 60000) const;
  bool WaitGone(HWND hwnd) const;

private:
  PROCESS_INFORMATION process_{};
};

// What a client window is, from its geometry, region and controls.
enum class Kind {
  Login, Connecting, ConnectionError, BadLogin, UserInUse, FullAccountOnly, UpgradeReminder,
  Browser, Setup, MessageBox, Other
};
Kind Classify(HWND hwnd);
const char* KindName(Kind kind);

void Click(HWND dialog, int id);
void SetText(HWND dialog, int id, const std::string& text);
// A window's text, read without a message to its thread (which may be blocked in a capture).
std::string Text(HWND hwnd);
// A text box's text, asked of the box (another process's box keeps its text to itself).
std::string EditText(HWND edit);
// All texts of a message box's static controls.
std::string MessageBoxText(HWND box);
// The rows of another process's list control, "title|mark" each.
std::vector<std::string> ListRows(HWND list);
// A click (or double-click) on row i of another process's list, as the pointer's messages.
void ClickRow(HWND list, int row, bool doubleClick = false);
// The login window's texts set and Login clicked.
void LogIn(HWND login, const std::string& user, const std::string& password);
// Polls until `done` holds; false after the time-out.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 30000);

// A real key through the X server (tests/e2e/with-keys presses it): the window, found by its
// place on the screen, gets the X input focus, then the key is held until ReleaseKey.
void HoldKey(HWND window, const std::string& xKeyName);
void ReleaseKey(const std::string& xKeyName);

// A saved login text as the login window keeps it: padded with zeros to 20 bytes.
std::string Padded(const std::string& text);
// A path of the build machine as Wine sees it ("Z:\\...").
std::string WindowsPath(const std::string& unixPath);
// A whole file's bytes ("" when it cannot be read).
std::string ReadWholeFile(const std::string& path);
// A fresh path in the temporary folder, named for this process.
std::string TempPath(const std::string& name);

}  // namespace vt::e2e
