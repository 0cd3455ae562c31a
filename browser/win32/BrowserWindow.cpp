#include "browser/win32/BrowserWindow.h"

#include <commctrl.h>

#include <vector>

#include "account/win32/LoginWindow.h"
#include "browser/win32/AboutBox.h"
#include "controllers/win32/SetupWindow.h"
#include "platform/win32/Input.h"
#include "platform/win32/ProgramStart.h"
#include "resources/resource.h"

namespace vt {

namespace {

skin::SkinOptions BrowserSkin() {
  return skin::SkinOptions{.background = IDB_BROWSER_BACKGROUND,
                           .region = skin::SkinRegion::Rectangular,
                           .drag = true,
                           .controlColours = skin::kMessageBoxColours | skin::kTextBoxColours,
                           .closeReleasesImage = true};
}

// Every button of the window in the order its images are given.
constexpr skin::ButtonRow kButtons[] = {
    {IDC_BROWSER_RANGE_0_9, IDB_RANGE_0_9_NORMAL, IDB_RANGE_0_9_PRESSED, 0},
    {IDC_BROWSER_RANGE_A_B, IDB_RANGE_A_B_NORMAL, IDB_RANGE_A_B_PRESSED, 0},
    {IDC_BROWSER_RANGE_C_D, IDB_RANGE_C_D_NORMAL, IDB_RANGE_C_D_PRESSED, 0},
    {IDC_BROWSER_RANGE_E_F, IDB_RANGE_E_F_NORMAL, IDB_RANGE_E_F_PRESSED, 0},
    {IDC_BROWSER_RANGE_G_H, IDB_RANGE_G_H_NORMAL, IDB_RANGE_G_H_PRESSED, 0},
    {IDC_BROWSER_RANGE_I_J, IDB_RANGE_I_J_NORMAL, IDB_RANGE_I_J_PRESSED, 0},
    {IDC_BROWSER_RANGE_K_L, IDB_RANGE_K_L_NORMAL, IDB_RANGE_K_L_PRESSED, 0},
    {IDC_BROWSER_RANGE_M_N, IDB_RANGE_M_N_NORMAL, IDB_RANGE_M_N_PRESSED, 0},
    {IDC_BROWSER_RANGE_O_P, IDB_RANGE_O_P_NORMAL, IDB_RANGE_O_P_PRESSED, 0},
    {IDC_BROWSER_RANGE_Q_R, IDB_RANGE_Q_R_NORMAL, IDB_RANGE_Q_R_PRESSED, 0},
    {IDC_BROWSER_RANGE_S_T, IDB_RANGE_S_T_NORMAL, IDB_RANGE_S_T_PRESSED, 0},
    {IDC_BROWSER_RANGE_U_V, IDB_RANGE_U_V_NORMAL, IDB_RANGE_U_V_PRESSED, 0},
    {IDC_BROWSER_RANGE_W_X, IDB_RANGE_W_X_NORMAL, IDB_RANGE_W_X_PRESSED, 0},
    {IDC_BROWSER_RANGE_Y_Z, IDB_RANGE_Y_Z_NORMAL, IDB_RANGE_Y_Z_PRESSED, 0},
    {IDC_BROWSER_RANGE_ALL, IDB_RANGE_ALL_NORMAL, IDB_RANGE_ALL_PRESSED, 0},
    {IDC_BROWSER_CLOSE, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED, 0},
    {IDC_BROWSER_LAUNCH, IDB_LAUNCH_NORMAL, IDB_LAUNCH_PRESSED, IDB_LAUNCH_DISABLED},
    {IDC_BROWSER_GAME_INFO, IDB_GAME_INFO_NORMAL, IDB_GAME_INFO_PRESSED, IDB_GAME_INFO_DISABLED},
    {IDC_BROWSER_SETUP_HELP, IDB_CONTROLS_NORMAL, IDB_CONTROLS_PRESSED, 0},
    {IDC_BROWSER_UPGRADE_NOW, IDB_UPGRADE_NORMAL, IDB_UPGRADE_PRESSED, 0},
    {IDC_BROWSER_SEARCH, IDB_SEARCH_NORMAL, IDB_SEARCH_PRESSED, IDB_SEARCH_DISABLED},
    {IDC_BROWSER_NES, IDB_NES_NORMAL, IDB_NES_PRESSED, 0},
    {IDC_BROWSER_SNES, IDB_SNES_NORMAL, IDB_SNES_PRESSED, 0},
    {IDC_BROWSER_ATARI, IDB_ATARI_NORMAL, IDB_ATARI_PRESSED, 0},
    {IDC_BROWSER_GENESIS, IDB_GENESIS_NORMAL, IDB_GENESIS_PRESSED, 0},
    {IDC_BROWSER_GAMEBOY, IDB_GAMEBOY_NORMAL, IDB_GAMEBOY_PRESSED, 0},
    {IDC_BROWSER_COLECO, IDB_COLECO_NORMAL, IDB_COLECO_PRESSED, 0},
    {IDC_BROWSER_SMS, IDB_SMS_NORMAL, IDB_SMS_PRESSED, 0},
    {IDC_BROWSER_GAMEGEAR, IDB_GAMEGEAR_NORMAL, IDB_GAMEGEAR_PRESSED, 0},
    {IDC_BROWSER_QUIT, IDB_QUIT_NORMAL, IDB_QUIT_PRESSED, 0},
    {IDC_BROWSER_MINIMISE, IDB_MINIMISE_NORMAL, IDB_MINIMISE_PRESSED, 0},
    {IDC_BROWSER_CHANGE_USER, IDB_CHANGE_USER_NORMAL, IDB_CHANGE_USER_PRESSED, 0},
};

}  // namespace

BrowserWindow::BrowserWindow(ServerSession& session, SettingsStore& settings)
    : SkinnedDialog(IDD_BROWSER, BrowserSkin()),
      session_(session),
      settings_(settings),
      logic_(*this, session, settings, *this),
      loginStep_([](BrowserWindow& w, bool suppress) { return w.RunLoginWindow(suppress); }),
      random_(&StartUpRandom),
      startProgram_(&win::StartWatchedProgram),
      appIcon_(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PROGRAM))),
      loading_(NoticeKind::Loading, *this) {}

BrowserWindow::~BrowserWindow() { session_.Disconnect(); }

LoginExit BrowserWindow::RunLoginWindow(bool suppressAutoLogin) {
  LoginWindow login(settings_, Hwnd());
  login.Setup(logic_.password, logic_.userName, session_);
  if (suppressAutoLogin) login.SetSuppressAutoLogin();
  return login.Run();
}

LoginExit BrowserWindow::RunLogin(bool suppressAutoLogin) {
  return loginStep_(*this, suppressAutoLogin);
}

// The end of the program ends the run here, before anything else could be shown or saved.
void BrowserWindow::After(Next next) {
  if (next == Next::EndProgram)
    End(IDABORT);
  else
    win::DropQueuedInput(Hwnd());
}

bool BrowserWindow::OnInit() {
  HWND hwnd = Hwnd();
  // The About item of the system menu (the window has no caption; the task bar's menu shows it).
  char about[128] = {};
  if (LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, about, sizeof about) > 0) {
    if (HMENU menu = GetSystemMenu(hwnd, FALSE)) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, about);
    }
  }
  SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon_));
  SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(appIcon_));

  if (logic_.LogIn() == Next::EndProgram) {
    End(IDABORT);  // before the window ever shows
    return true;
  }

  searchFont_.reset(skin::CreateSkinFont(20));
  SendMessageA(Item(IDC_BROWSER_SEARCH_BOX), WM_SETFONT,
               reinterpret_cast<WPARAM>(searchFont_.get()), TRUE);
  AttachButtons(kButtons);
  logic_.RestoreBrowserState();

  Attach(list_, IDC_BROWSER_LIST);
  list_.InitList();
  ListView_SetBkColor(list_.Hwnd(), skin::kSkinBlue);
  ListView_SetTextColor(list_.Hwnd(), skin::kSkinText);
  InitColumns();
  listFont_.reset(skin::CreateSkinFont(16));
  SendMessageA(list_.Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(listFont_.get()), TRUE);

  if (logic_.StartList() == Next::EndProgram) {
    End(IDABORT);
    return true;
  }
  if (logic_.ShowsUpgradeNow()) ShowWindow(Item(IDC_BROWSER_UPGRADE_NOW), SW_SHOW);
  SetWindowTextA(hwnd, "Vintara");
  logic_.UpgradeReminderAtStart(random_());
  return true;
}

void BrowserWindow::InitColumns() {
  RECT client{};
  GetClientRect(list_.Hwnd(), &client);
  const int u = (client.right - client.left) / 6;
  char title[] = "Title", available[] = "Available";
  LVCOLUMNA column{};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  column.fmt = LVCFMT_LEFT;
  column.cx = 5 * u - 24;
  column.pszText = title;
  column.iSubItem = 0;
  ListView_InsertColumn(list_.Hwnd(), 0, &column);
  column.fmt = LVCFMT_RIGHT;
  column.cx = u + 20;
  column.pszText = available;
  column.iSubItem = 1;
  ListView_InsertColumn(list_.Hwnd(), 1, &column);
}

std::optional<std::uint32_t> BrowserWindow::FirstSelectedRow() const {
  const int row = ListView_GetNextItem(list_.Hwnd(), -1, LVNI_SELECTED);
  if (row < 0) return std::nullopt;
  return static_cast<std::uint32_t>(row);
}

bool BrowserWindow::OnCommand(int id, int code, HWND control) {
  if (id == IDC_BROWSER_SEARCH_BOX) {
    if (code == EN_CHANGE) logic_.SearchBoxChanged(ItemText(IDC_BROWSER_SEARCH_BOX));
    return true;
  }
  if (code != BN_CLICKED) return SkinnedDialog::OnCommand(id, code, control);
  if (const SystemButton* b = FindSystemButton(id)) {
    After(logic_.ChooseSystem(b->alias));
    return true;
  }
  if (const RangeButton* b = FindRangeButton(id)) {
    After(logic_.ChooseRange(b->pattern));
    return true;
  }
  switch (id) {
    case IDC_BROWSER_GAME_INFO:
      logic_.GameInfo();
      return true;
    case IDC_BROWSER_SETUP_HELP:
      logic_.SetupHelp();
      return true;
    case IDC_BROWSER_UPGRADE_NOW:
      logic_.UpgradeNow();
      return true;
    case IDC_BROWSER_CHANGE_USER:
      if (logic_.ChangeUser() == Next::EndProgram) End(IDABORT);
      return true;
    case IDC_BROWSER_MINIMISE:
      Minimise();
      return true;
    case IDC_BROWSER_SEARCH:
      // Enter reaches here as the default button's command even while Search is disabled.
      After(IsWindowEnabled(Item(IDC_BROWSER_SEARCH))
                ? logic_.Search(ItemText(IDC_BROWSER_SEARCH_BOX))
                : Next::GoOn);
      return true;
    case IDC_BROWSER_QUIT:
      Quit();
      return true;
    default:
      return SkinnedDialog::OnCommand(id, code, control);
  }
}

bool BrowserWindow::OnNotify(int id, NMHDR* header, INT_PTR& result) {
  if (id != IDC_BROWSER_LIST) return false;
  switch (header->code) {
    case LVN_ITEMCHANGED:
      // Mouse, arrow, Home, End and Page keys and type-ahead all move the list's own selection.
      if (reinterpret_cast<NMLISTVIEW*>(header)->uChanged & LVIF_STATE)
        logic_.SelectGame(FirstSelectedRow());
      return true;
    case NM_SETFOCUS:
      // Enter in the list launches, whatever the search box made the default before.
      if (IsWindowEnabled(Item(IDC_BROWSER_LAUNCH)))
        SendMessageA(Hwnd(), DM_SETDEFID, IDC_BROWSER_LAUNCH, 0);
      return true;
    case NM_DBLCLK:
      // Only a double-click on a row launches, and the row it hit.
      if (const int row = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem; row >= 0) {
        logic_.SelectGame(static_cast<std::uint32_t>(row));
        Launch();
      }
      return true;
    default:
      return false;
  }
}

bool BrowserWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) {
  if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == IDM_ABOUTBOX) {
    AboutBox about;
    about.RunModal(Hwnd());
    result = 0;
    return true;
  }
  return SkinnedDialog::OnMessage(msg, wp, lp, result);
}

// Launch's click, and Enter, which the dialog manager turns into the default button's command
// (into Launch's even while Launch is disabled, before the first selection).
void BrowserWindow::OnOK() {
  if (IsWindowEnabled(Item(IDC_BROWSER_LAUNCH))) Launch();
}

void BrowserWindow::Launch() {
  logic_.Launch();
  win::DropQueuedInput(Hwnd());
}

// Close, Escape, and the close request once the image was released.
void BrowserWindow::OnCancel() { Close(); }

void BrowserWindow::Close() {
  games_.Stop();
  game_.reset();
  logic_.Close();
  End(IDCANCEL);
}

void BrowserWindow::Minimise() { ShowWindow(Hwnd(), SW_MINIMIZE); }

bool BrowserWindow::StartEmulator(const std::string& commandLine) {
  win::KernelHandle process = startProgram_(commandLine);
  if (!process) return false;
  // Only the last game started brings the window back: an earlier one is no longer waited for.
  game_ = std::move(process);
  games_.Started();
  return true;
}

HANDLE BrowserWindow::WaitHandle() const { return games_.Watched() ? game_.get() : nullptr; }

// The game ended: the player comes back to the list as it was, unless they restored it already.
void BrowserWindow::OnWaitEnded() {
  game_.reset();
  const std::optional<std::uint64_t> game = games_.Watched();  // the one whose handle ended
  if (!game || !games_.Ended(*game, IsIconic(Hwnd()) != FALSE)) return;
  ShowWindow(Hwnd(), SW_RESTORE);
  SetForegroundWindow(Hwnd());
}

void BrowserWindow::RunSetupWindow(const ConsoleLayout& layout) {
  SetupWindow window(layout, settings_, session_.endpoints().webHost);
  window.RunModal(Hwnd());
}

void BrowserWindow::Quit() {
  ReleaseImage();
  PostQuitMessage(0);
}

void BrowserWindow::ShowNotice(NoticeKind kind) {
  Notice(kind, *this, session_.endpoints().webHost).RunModal(Hwnd());
}

// The notices and rows that follow a login or a query come after the blocked stretch: the input
// queued meanwhile goes first, before a modal notice's loop could run it.
void BrowserWindow::ShowCloseClientsNotice() {
  win::DropQueuedInput(Hwnd());
  ShowNotice(NoticeKind::CloseClients);
}

void BrowserWindow::OpenLoadingNotice() { loading_.Open(Hwnd()); }

void BrowserWindow::CloseLoadingNotice() { loading_.Close(); }

void BrowserWindow::ShowConnectionErrorNotice() {
  win::DropQueuedInput(Hwnd());
  ShowNotice(NoticeKind::ConnectionError);
}

void BrowserWindow::ShowGameInUseNotice(bool fullAccountForm) {
  ShowNotice(fullAccountForm ? NoticeKind::GameInUseFull : NoticeKind::GameInUseFree);
}

void BrowserWindow::ShowLightAccountNotice() { ShowNotice(NoticeKind::LightAccount); }

void BrowserWindow::ShowFullAccountOnlyNotice() { ShowNotice(NoticeKind::FullAccountOnly); }

void BrowserWindow::ReplaceRows(std::span<const GameRow> rows) {
  win::DropQueuedInput(Hwnd());
  // The list keeps its own copy: a later query that fails half-way must not change what is shown.
  std::vector<skin::GameList::Row> copy;
  copy.reserve(rows.size());
  for (const GameRow& row : rows) copy.push_back({row.title, row.mark});
  list_.SetRows(std::move(copy));
  SetFocus(list_.Hwnd());
}

void BrowserWindow::ShowGameCommands(bool enabled) {
  EnableWindow(Item(IDC_BROWSER_LAUNCH), enabled ? TRUE : FALSE);
  EnableWindow(Item(IDC_BROWSER_GAME_INFO), enabled ? TRUE : FALSE);
  if (enabled) SendMessageA(Hwnd(), DM_SETDEFID, IDC_BROWSER_LAUNCH, 0);
}

void BrowserWindow::SetSearchText(const std::string& text) {
  SetWindowTextA(Item(IDC_BROWSER_SEARCH_BOX), text.c_str());
}

void BrowserWindow::SearchTextChanged(bool searchEnabled) {
  EnableWindow(Item(IDC_BROWSER_SEARCH), searchEnabled ? TRUE : FALSE);
  SendMessageA(Hwnd(), DM_SETDEFID, IDC_BROWSER_SEARCH, 0);
}

void BrowserWindow::ShowUpgradeReminder() { ShowNotice(NoticeKind::UpgradeReminder); }

}  // namespace vt
