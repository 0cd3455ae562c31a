#include "controllers/win32/SetupWindow.h"

#include "platform/win32/Input.h"
#include "resources/resource.h"

namespace vt {

namespace {

bool IsUserInput(UINT msg) {
  return (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) ||
         (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) ||
         (msg >= WM_NCMOUSEMOVE && msg <= WM_NCXBUTTONDBLCLK);
}

skin::SkinOptions SetupSkin(const ConsoleLayout& layout) {
  return skin::SkinOptions{
      .background = layout.background,
      .region = skin::SkinRegion::Rectangular,
      .drag = true,
      .controlColours = skin::kMessageBoxColours | skin::kTextBoxColours | skin::kStaticTextColours,
      .closeReleasesImage = layout.closeReleasesImage};
}

}  // namespace

SetupWindow::SetupWindow(const ConsoleLayout& layout, SettingsStore& settings, std::string webHost,
                         InputBackend& input)
    : SkinnedDialog(layout.templateId, SetupSkin(layout)),
      logic_(layout, *this, *this, settings, std::move(webHost), input),
      pause_([this](std::chrono::milliseconds d) {
        const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(d.count());
        for (ULONGLONG now = GetTickCount64(); now < until; now = GetTickCount64()) {
          Idle();
          const DWORD left = static_cast<DWORD>(until - now);
          MsgWaitForMultipleObjects(0, nullptr, FALSE, left, QS_ALLINPUT);
        }
      }) {}

SetupWindow::~SetupWindow() = default;

bool SetupWindow::OnInit() {
  const ConsoleLayout& layout = logic_.layout();
  std::vector<skin::ButtonRow> buttons;
  if (!layout.fields.empty())
    buttons.push_back({IDC_SETUP_OK, IDB_OK_NORMAL, IDB_OK_PRESSED, IDB_OK_DISABLED});
  buttons.push_back({IDC_SETUP_CANCEL, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED});
  buttons.push_back({IDC_SETUP_ADVANCED, IDB_ADVANCED_NORMAL, IDB_ADVANCED_PRESSED});
  for (const SetAllButton& b : layout.setAlls)
    buttons.push_back({b.id, IDB_SET_ALL_NORMAL, IDB_SET_ALL_PRESSED, IDB_SET_ALL_DISABLED});
  if (layout.players) {
    buttons.push_back(skin::LampRow(IDC_SETUP_PLAYER1, true));
    buttons.push_back(skin::LampRow(IDC_SETUP_PLAYER2, false));
  }
  AttachButtons(buttons);

  fieldFont_.reset(skin::CreateSkinFont(20));
  smallFont_.reset(skin::CreateSkinFont(14));
  for (const SetupField& f : layout.fields) {
    HFONT font = f.smallFont ? smallFont_.get() : fieldFont_.get();
    SendMessageA(Item(f.id), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  logic_.Start();
  return true;
}

bool SetupWindow::OnCommand(int id, int code, HWND control) {
  const ConsoleLayout& layout = logic_.layout();
  // Fields are static texts that report clicks (STN_CLICKED, the same value as BN_CLICKED).
  if (code == STN_CLICKED && layout.Field(id)) {
    logic_.CaptureField(id);
    return true;
  }
  if (code == BN_CLICKED) {
    if (layout.SetAll(id)) {
      logic_.SetAll(id);
      return true;
    }
    switch (id) {
      case IDC_SETUP_PLAYER1:
        if (layout.players) logic_.SwitchPlayer(1);
        return true;
      case IDC_SETUP_PLAYER2:
        if (layout.players) logic_.SwitchPlayer(2);
        return true;
      case IDC_SETUP_ADVANCED:
        logic_.Advanced();
        return true;
      default:
        break;
    }
  }
  return SkinnedDialog::OnCommand(id, code, control);
}

// OK, and Enter (the dialog manager's default command).
void SetupWindow::OnOK() {
  if (IsWindowEnabled(Item(IDC_SETUP_OK))) logic_.Ok();
}

void SetupWindow::OnCancel() { logic_.Cancel(); }

// The capture's own message loop: the window paints and answers (the platform never sees it hang),
// while keys and clicks meant for it are dropped, as the capture reads the devices itself.
void SetupWindow::Idle() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the modal loop, after the capture
      logic_.Cancel();
      return;
    }
    if (IsUserInput(msg.message)) {
      const bool press = msg.message == WM_LBUTTONDOWN || msg.message == WM_LBUTTONDBLCLK;
      if (press && msg.hwnd == Item(IDC_SETUP_CANCEL)) logic_.Cancel();
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void SetupWindow::DropInput() { win::DropQueuedInput(nullptr); }

// A text wider than its field (a prompt with its seconds left) takes the smaller font, so that
// its end shows.
void SetupWindow::SetFieldText(int id, const std::string& text) {
  HWND field = Item(id);
  const SetupField* f = logic_.layout().Field(id);
  HFONT font = f && f->smallFont ? smallFont_.get() : fieldFont_.get();
  if (font != smallFont_.get()) {
    RECT client{};
    GetClientRect(field, &client);
    SIZE extent{};
    {
      win::WindowDc dc(field);
      win::SelectScope selected(dc.get(), font);
      GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    }
    if (extent.cx > client.right) font = smallFont_.get();
  }
  if (reinterpret_cast<HFONT>(SendMessageA(field, WM_GETFONT, 0, 0)) != font)
    SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SetWindowTextA(field, text.c_str());
  UpdateWindow(field);
}

void SetupWindow::EnableButton(int id, bool on) { EnableWindow(Item(id), on ? TRUE : FALSE); }

void SetupWindow::ShowLamps(int currentPlayer) {
  ShowLamp(IDC_SETUP_PLAYER1, currentPlayer == 1);
  ShowLamp(IDC_SETUP_PLAYER2, currentPlayer == 2);
}

}  // namespace vt
