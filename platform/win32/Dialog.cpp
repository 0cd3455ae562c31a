#include "platform/win32/Dialog.h"

namespace vt::win {

namespace {
// The few messages whose result a dialog procedure returns itself; every other handled message
// answers through DWLP_MSGRESULT, and the procedure only says "handled".
bool ReturnsDirectly(UINT msg) {
  switch (msg) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
      return true;
    default:
      return false;
  }
}
}  // namespace

INT_PTR Dialog::Answer(UINT msg, INT_PTR result) {
  if (ReturnsDirectly(msg)) return result;
  SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
  return TRUE;
}

Dialog::Dialog(int templateId, HINSTANCE instance)
    : templateId_(templateId), instance_(instance ? instance : GetModuleHandleA(nullptr)) {}

Dialog::~Dialog() {
  // A modeless window must not outlive the object its procedure points at.
  if (hwnd_ && !modal_) {
    SetWindowLongPtrA(hwnd_, DWLP_USER, 0);
    DestroyWindow(hwnd_);
  }
}

INT_PTR Dialog::RunModal(HWND parent) {
  modal_ = true;
  return DialogBoxParamA(instance_, MAKEINTRESOURCEA(templateId_), parent, &Dialog::Proc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR Dialog::RunModalWatching(HWND parent) {
  modal_ = ownLoop_ = true;
  ended_ = false;
  result_ = -1;
  const HWND hwnd = CreateDialogParamA(instance_, MAKEINTRESOURCEA(templateId_), parent,
                                       &Dialog::Proc, reinterpret_cast<LPARAM>(this));
  if (!hwnd) {
    ownLoop_ = false;
    return -1;
  }
  const bool disableParent = parent && IsWindowEnabled(parent);
  if (disableParent) EnableWindow(parent, FALSE);
  if (!ended_) ShowWindow(hwnd, SW_SHOWNORMAL);  // a run ended by OnInit never shows
  bool quit = false;
  WPARAM quitCode = 0;
  while (!ended_) {
    HANDLE handle = WaitHandle();
    const DWORD count = handle ? 1 : 0;
    // Input already seen but still queued wakes the wait too (MWMO_INPUTAVAILABLE).
    const DWORD woke =
        MsgWaitForMultipleObjectsEx(count, &handle, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    // A handle that cannot be waited for would wake the wait at once forever.
    if (count && (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED)) {
      OnWaitEnded();
      continue;
    }
    MSG msg;
    while (!ended_ && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit = ended_ = true;
        quitCode = msg.wParam;
        break;
      }
      if (!IsDialogMessageA(hwnd, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
  }
  // The parent comes back before the window goes, so that it takes the activation.
  if (disableParent) EnableWindow(parent, TRUE);
  if (hwnd_) DestroyWindow(hwnd_);
  ownLoop_ = false;
  if (quit) PostQuitMessage(static_cast<int>(quitCode));
  return result_;
}

bool Dialog::CreateModeless(HWND parent) {
  modal_ = false;
  return CreateDialogParamA(instance_, MAKEINTRESOURCEA(templateId_), parent, &Dialog::Proc,
                            reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::End(INT_PTR result) {
  if (!hwnd_) return;
  if (ownLoop_) {
    result_ = result;
    ended_ = true;
  } else if (modal_)
    EndDialog(hwnd_, result);
  else
    DestroyWindow(hwnd_);
}

bool Dialog::Attach(Control& control, int id) {
  HWND h = GetDlgItem(hwnd_, id);
  if (!h) return false;
  control.id_ = id;
  control.hwnd_ = h;
  controls_.push_back(&control);
  control.OnAttached();
  return true;
}

Control* Dialog::FindControl(int id) const {
  for (Control* c : controls_)
    if (c->id_ == id) return c;
  return nullptr;
}

bool Dialog::OnCommand(int id, int code, HWND control) {
  if (id == IDOK && code == BN_CLICKED) {
    OnOK();
    return true;
  }
  if (id == IDCANCEL && code == BN_CLICKED) {
    OnCancel();
    return true;
  }
  return false;
}

bool Dialog::OnClose() {
  OnCancel();
  return true;
}

INT_PTR CALLBACK Dialog::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Dialog* self = nullptr;
  if (msg == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lp);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  }
  // Messages sent before WM_INITDIALOG (WM_SETFONT, WM_NCCREATE...) go to the defaults.
  if (!self) return FALSE;
  INT_PTR result = self->Dispatch(msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    self->controls_.clear();
    self->hwnd_ = nullptr;
  }
  return result;
}

INT_PTR Dialog::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  INT_PTR result = FALSE;
  // Reflection: the control that owns a notification sees it before its window does.
  int controlId = -1;
  switch (msg) {
    case WM_COMMAND:
      if (lp) controlId = LOWORD(wp);
      break;
    case WM_NOTIFY:
      controlId = static_cast<int>(reinterpret_cast<NMHDR*>(lp)->idFrom);
      break;
    case WM_DRAWITEM:
      controlId = static_cast<int>(wp);
      break;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
      controlId = GetDlgCtrlID(reinterpret_cast<HWND>(lp));
      break;
    default:
      break;
  }
  if (controlId >= 0) {
    if (Control* c = FindControl(controlId); c && c->OnReflect(msg, wp, lp, result))
      return Answer(msg, result);
  }

  switch (msg) {
    case WM_INITDIALOG:
      OnBeforeInit();
      return OnInit() ? TRUE : FALSE;
    case WM_COMMAND:
      return OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)) ? TRUE : FALSE;
    case WM_NOTIFY:
      return OnNotify(controlId, reinterpret_cast<NMHDR*>(lp), result) ? Answer(msg, result)
                                                                       : FALSE;
    case WM_DRAWITEM:
      return OnDrawItem(controlId, reinterpret_cast<DRAWITEMSTRUCT*>(lp)) ? TRUE : FALSE;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(
          OnCtlColor(msg, reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)));
    case WM_TIMER:
      return OnTimer(wp) ? TRUE : FALSE;
    case WM_SIZE:
      OnSize(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp));
      return FALSE;
    case WM_PAINT:
      return OnPaint() ? TRUE : FALSE;
    case WM_CLOSE:
      return OnClose() ? TRUE : FALSE;
    case WM_DESTROY:
      OnDestroy();
      return FALSE;
    default:
      return OnMessage(msg, wp, lp, result) ? Answer(msg, result) : FALSE;
  }
}

}  // namespace vt::win
