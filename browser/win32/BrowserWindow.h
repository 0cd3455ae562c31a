// The main window: a skinned dialog over BrowserLogic. It runs the start-up sequence when the
// platform creates it, translates its controls' events into calls on the logic, draws what
// the logic asks for, and ends the run by Close, Escape, the close request, the quit button or a
// command after which the program must end.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "account/win32/Notices.h"
#include "browser/BrowserLogic.h"
#include "browser/GameWatch.h"
#include "platform/win32/Handles.h"
#include "skin/win32/GameList.h"
#include "skin/win32/SkinnedDialog.h"

namespace vt {

class BrowserWindow : public skin::SkinnedDialog, private BrowserSurface {
public:
  // The login of start-up and of Change User: SignedIn when the session is logged in and the
  // credentials are set; anything else ends the program. The default runs the login window.
  using LoginStep = std::function<LoginExit(BrowserWindow& window, bool suppressAutoLogin)>;
  // Starts an emulator from its command line: its process, null when it did not start.
  // Default: StartWatchedProgram.
  using ProgramStarter = std::function<win::KernelHandle(const std::string& commandLine)>;

  BrowserWindow(ServerSession& session, SettingsStore& settings);
  // The window's destruction always disconnects.
  ~BrowserWindow() override;

  void SetLoginStep(LoginStep step) { loginStep_ = std::move(step); }
  void SetRandomSource(std::function<int()> random) { random_ = std::move(random); }
  void SetProgramStarter(ProgramStarter starter) { startProgram_ = std::move(starter); }

  BrowserLogic& logic() { return logic_; }
  skin::GameList& list() { return list_; }
  ServerSession& session() { return session_; }
  // The modeless loading notice while a query runs (tests look at it).
  const Notice& loading() const { return loading_; }

protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(int id, NMHDR* header, INT_PTR& result) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override;
  HANDLE WaitHandle() const override;
  void OnWaitEnded() override;
  void OnOK() override;
  void OnCancel() override;

private:
  // BrowserSurface
  void ShowCloseClientsNotice() override;
  void OpenLoadingNotice() override;
  void CloseLoadingNotice() override;
  void ShowConnectionErrorNotice() override;
  void ReplaceRows(std::span<const GameRow> rows) override;
  void ShowGameCommands(bool enabled) override;
  void SearchTextChanged(bool searchEnabled) override;
  void SetSearchText(const std::string& text) override;
  void ShowUpgradeReminder() override;
  LoginExit RunLogin(bool suppressAutoLogin) override;
  void ShowGameInUseNotice(bool fullAccountForm) override;
  void ShowLightAccountNotice() override;
  void ShowFullAccountOnlyNotice() override;
  bool StartEmulator(const std::string& commandLine) override;
  void Minimise() override;
  void RunSetupWindow(const ConsoleLayout& layout) override;

  LoginExit RunLoginWindow(bool suppressAutoLogin);
  // A modal notice over this window, its pages opened through the window's host.
  void ShowNotice(NoticeKind kind);
  void InitColumns();
  std::optional<std::uint32_t> FirstSelectedRow() const;
  // A command's end: the rest of the run, or the end of the program (no saving on the way).
  void After(Next next);
  void Launch();
  void Close();
  void Quit();

  ServerSession& session_;
  SettingsStore& settings_;
  BrowserLogic logic_;
  LoginStep loginStep_;
  std::function<int()> random_;
  ProgramStarter startProgram_;
  // The last game a launch started, waited for until it ends or the window closes.
  GameWatch games_;
  win::KernelHandle game_;
  HICON appIcon_;  // shared (LoadIcon): never destroyed
  win::Font searchFont_, listFont_;
  skin::GameList list_;
  Notice loading_;
};

}  // namespace vt
