// The browser window's behaviour without the window: the rows and their marks, the selection
// rules, the refresh of the list with its notices, the search box's rules, the saved state and
// the upgrade reminder's rule. BrowserWindow (win32/) translates messages into these calls and
// draws what the logic asks for through BrowserSurface; host tests drive it with a fake one.
// A command after which the program must end (the login left, an out-of-date client) returns
// EndProgram without saving anything, and the window's run ends with it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "account/LoginLogic.h"
#include "controllers/ConsoleLayouts.h"
#include "platform/Host.h"
#include "platform/SettingsStore.h"
#include "service/LaunchGame.h"
#include "service/LaunchHost.h"
#include "service/ServerSession.h"

namespace vt {

// One list row: texts of the catalogue on screen and a mark, valid while the surface fills the
// list (each ends with a terminating zero, as the list control wants them).
struct GameRow {
  const char* title;
  const char* mark;
};

// The window, and the launch's needs of it: its refusal notices and the emulator's start.
class BrowserSurface : public LaunchHost {
public:
  // RefreshList's windows: the in-use and connection-error notices run modally; the loading
  // notice is on screen when OpenLoadingNotice returns, since the query blocks the thread.
  virtual void ShowCloseClientsNotice() = 0;
  virtual void OpenLoadingNotice() = 0;
  virtual void CloseLoadingNotice() = 0;
  virtual void ShowConnectionErrorNotice() = 0;
  // FillList after all rows were deleted: row i is rows[i], no row selected, then the list
  // takes the focus.
  virtual void ReplaceRows(std::span<const GameRow> rows) = 0;
  // Launch and Game Info enabled with Launch the default button (a row is selected), or both
  // disabled (none is).
  virtual void ShowGameCommands(bool enabled) = 0;
  // The Search button enabled or not, and made the default button.
  virtual void SearchTextChanged(bool searchEnabled) = 0;
  // The search box shows the text (a change of the box like any other).
  virtual void SetSearchText(const std::string& text) = 0;
  virtual void ShowUpgradeReminder() = 0;
  // The login window (automatic or modal; shown even with automatic login when suppressed).
  virtual LoginExit RunLogin(bool suppressAutoLogin) = 0;
  // After a launch started its emulator.
  virtual void Minimise() = 0;
  // Setup Help: the console's set-up window, run modally.
  virtual void RunSetupWindow(const ConsoleLayout& layout) = 0;
};

// The system buttons and the letter-range buttons: control, and what each one sets.
struct SystemButton {
  int id;
  const char* alias;
};
struct RangeButton {
  int id;
  const char* pattern;
};
std::span<const SystemButton> SystemButtons();
std::span<const RangeButton> RangeButtons();
const SystemButton* FindSystemButton(int id);
const RangeButton* FindRangeButton(int id);

class BrowserLogic {
public:
  // The host shows the session's and the launch's boxes and opens the pages.
  BrowserLogic(BrowserSurface& surface, ServerSession& session, SettingsStore& settings,
               Host& host);

  // The window's fields that other windows read and write.
  std::string password;
  std::string userName;
  std::string searchText;
  std::int32_t startCount = 0;

  void RestoreBrowserState();
  void SaveBrowserState();

  // The current system alias and title pattern: what the next query asks for.
  const std::string& system() const { return system_; }
  const std::string& pattern() const { return pattern_; }

  // Logs in again when logged out, handles a user in use, and queries behind the loading
  // notice; the rows change only when the query succeeded. A session the server dropped while
  // idle is logged in again and asked once more, silently.
  Next RefreshList();
  // Start-up's first refresh: a saved search that the server refuses (its error mark) falls
  // back to the default range, with the refused text shown in the search box.
  Next StartList();

  // The list's own selection changed (mouse, keys, a refresh): its selected row, or none.
  // Launch and Game Info act on this row of the rows on screen, and only while there is one.
  void SelectGame(std::optional<std::uint32_t> row);
  std::optional<std::uint32_t> selection() const { return selected_; }

  Next ChooseSystem(const std::string& alias);   // a system button
  Next ChooseRange(const std::string& pattern);  // a letter-range button
  void SearchBoxChanged(std::string text);       // every edit of the search box
  Next Search(std::string text);                 // the Search button, or Enter while it is default

  // Start-up's tier rules: Upgrade Now! only for a tier of exactly "False"; the reminder from a
  // number r in 0..32767 (threshold (r mod 5) + 5).
  bool ShowsUpgradeNow() const;
  void UpgradeReminderAtStart(int random);

  // The commands.
  Next LogIn();  // start-up's login step
  // The selected row's game, with the system and scheme its rows were fetched for; after an
  // attempt to start it the state is saved, and the window minimised when it started.
  LaunchOutcome Launch();
  // The selected game's page on the web host, its key percent-encoded; nothing without one.
  void GameInfo();
  void UpgradeNow();
  // The set-up window of the current system; an alias without one opens nothing. The list is
  // not refreshed afterwards.
  void SetupHelp();
  // Logs out and runs the login window even when automatic login is saved; the rows stay. The
  // user's way out of it (Cancel, a third failure) ends the program as Close would, saving the
  // browser state first; an out-of-date client ends it without.
  Next ChangeUser();
  // Close, Escape and the close request: save, then disconnect when connected.
  void Close();

  ServerSession& session() { return session_; }
  SettingsStore& settings() { return settings_; }

private:
  // The query behind the loading notice, its failure's notice shown unless it is the error
  // mark and `quietErrorMark`; EndProgram, or how the query went (none: no query went out).
  struct Refreshed {
    Next next = Next::GoOn;
    std::optional<QueryResult> query;
  };
  Refreshed Refresh(bool quietErrorMark);
  // A query of the current system and pattern into fetched_; the rows on screen stay.
  QueryResult Query();
  // The rows on screen from shown_, none selected.
  void FillList();

  BrowserSurface& surface_;
  ServerSession& session_;
  SettingsStore& settings_;
  Host& host_;
  std::string system_ = "NES";
  std::string pattern_ = "^[a-b]";
  // The rows on screen and the system they were fetched for; the last answer, whose storage
  // the next query overwrites, changes places with them when it succeeds.
  std::string shownSystem_;
  Catalogue shown_, fetched_;
  std::optional<std::uint32_t> selected_;
};

// Every byte outside the URL-unreserved set (letters, digits, "-", ".", "_", "~") as %XX.
std::string PercentEncoded(std::string_view text);

// A number from 0 to 32767 from a generator seeded with the current time in seconds.
int StartUpRandom();

}  // namespace vt
