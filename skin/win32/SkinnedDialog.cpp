#include "skin/win32/SkinnedDialog.h"

#include <windowsx.h>

#include "resources/resource.h"

namespace vt::skin {

SkinnedDialog::SkinnedDialog(int templateId, const SkinOptions& options, HINSTANCE instance)
    : win::Dialog(templateId, instance),
      options_(options),
      loader_(ResourceDibLoader(instance)),
      ownHost_([this] { return static_cast<void*>(Hwnd()); }) {
  if (options_.controlColours != kNoControlColours) brush_.reset(CreateSolidBrush(kSkinBlue));
}

SkinnedDialog::~SkinnedDialog() = default;

void SkinnedDialog::AttachButtons(std::span<const ButtonRow> rows) {
  for (const ButtonRow& row : rows) {
    auto button = std::make_unique<BitmapButton>();
    if (!Attach(*button, row.id)) continue;
    button->LoadImages(row.normal, row.pressed, 0, row.disabled);
    button->SizeToContent();
    buttons_.push_back(std::move(button));
  }
}

BitmapButton* SkinnedDialog::Button(int id) const {
  for (const auto& button : buttons_)
    if (button->Id() == id) return button.get();
  return nullptr;
}

ButtonRow LampRow(int id, bool lit) {
  return {id, lit ? IDB_LAMP_ON : IDB_LAMP_OFF, lit ? IDB_LAMP_OFF : IDB_LAMP_ON};
}

void SkinnedDialog::ShowLamp(int id, bool lit) {
  BitmapButton* lamp = Button(id);
  if (!lamp) return;
  const ButtonRow row = LampRow(id, lit);
  lamp->LoadImages(row.normal, row.pressed);
  InvalidateRect(lamp->Hwnd(), nullptr, FALSE);
}

std::string SkinnedDialog::ItemText(int id) const {
  HWND item = Item(id);
  const int n = GetWindowTextLengthA(item);
  std::string text(static_cast<size_t>(n) + 1, '\0');
  const int got = GetWindowTextA(item, text.data(), n + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

void SkinnedDialog::OnBeforeInit() {
  // The platform's first size change comes before the window is bound to this object, so the
  // skin is applied here once, before the subclass initialises its controls.
  if (options_.controlColours != kNoControlColours && !brush_)
    brush_.reset(CreateSolidBrush(kSkinBlue));
  // An owned window has no task bar button of its own; while its owner is hidden (the login
  // window and the notices at start-up, before the browser shows) it would have none at all.
  HWND hwnd = Hwnd();
  const LONG_PTR ex = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
  HWND owner = GetWindow(hwnd, GW_OWNER);
  if (!options_.activates)
    SetWindowLongPtrA(hwnd, GWL_EXSTYLE, ex | WS_EX_NOACTIVATE);
  else if (owner && !IsWindowVisible(owner))
    SetWindowLongPtrA(hwnd, GWL_EXSTYLE, ex | WS_EX_APPWINDOW);
  focusCues_ = false;
  placed_ = false;
  buttons_.clear();  // a later run of the same object binds its buttons anew
  ApplySkin();
}

void SkinnedDialog::OnSize(UINT kind, int width, int height) {
  if (kind == SIZE_MINIMIZED) return;
  ApplySkin();
}

void SkinnedDialog::ApplySkin() {
  HWND hwnd = Hwnd();
  if (!hwnd) return;
  if (!image_ && loader_) image_.reset(loader_(options_.background));
  if (!image_) {
    ShowMessage("Error loading bitmap", kProgramCaption);
    return;
  }
  const SIZE size = ImageSize();
  const int w = size.cx, h = size.cy;

  win::Region region;
  if (options_.region == SkinRegion::Keyed) {
    if (auto runs = KeyedRunsOf(image_.get())) region.reset(RegionFromRuns(*runs, w, h));
  }
  if (!region) region.reset(CreateRectRgn(0, 0, w, h));
  // The window owns the region from here on.
  if (SetWindowRgn(hwnd, region.get(), TRUE)) region.release();

  // Centred once; after that the window stays where the user dragged it, also across a
  // minimise and restore. Placing it never activates it: showing it does, when it should.
  const Point at =
      CentreOnScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), w, h);
  const bool centre = !placed_;
  placed_ = true;
  SetWindowPos(hwnd, HWND_TOP, at.x, at.y, w, h, SWP_NOACTIVATE | (centre ? 0 : SWP_NOMOVE));
  InvalidateRect(hwnd, nullptr, TRUE);
}

bool SkinnedDialog::OnPaint() {
  win::PaintDc dc(Hwnd());
  if (image_) {
    const SIZE size = ImageSize();
    DrawBitmap(dc.get(), image_.get(), 0, 0, size.cx, size.cy);
  }
  return true;
}

HBRUSH SkinnedDialog::SkinColours(HDC dc) {
  SetTextColor(dc, kSkinText);
  SetBkColor(dc, kSkinBlue);
  return brush_.get();
}

HBRUSH SkinnedDialog::OnCtlColor(UINT msg, HDC dc, HWND control) {
  const unsigned c = options_.controlColours;
  if (!brush_) return nullptr;
  if ((msg == WM_CTLCOLOREDIT && (c & kTextBoxColours)) ||
      (msg == WM_CTLCOLORSTATIC && (c & kStaticTextColours)) ||
      (msg == WM_CTLCOLORMSGBOX && (c & kMessageBoxColours)))
    return SkinColours(dc);
  return nullptr;
}

bool SkinnedDialog::OnClose() {
  if (options_.closeReleasesImage) ReleaseImage();
  return win::Dialog::OnClose();
}

bool SkinnedDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) {
  if (msg == WM_CTLCOLORMSGBOX) {
    result = reinterpret_cast<INT_PTR>(
        OnCtlColor(msg, reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)));
    return result != 0;
  }
  // Focus marks stay hidden for a user of the mouse, as in the platform's own dialogs, until Tab
  // or an arrow key moves the focus (the dialog manager does that through WM_NEXTDLGCTL). The
  // window keeps that state itself and tells its controls when they ask.
  if (msg == WM_NEXTDLGCTL) {
    focusCues_ = true;
    return false;
  }
  if (msg == WM_QUERYUISTATE) {
    result = focusCues_ ? 0 : UISF_HIDEFOCUS;
    return true;
  }
  if (msg == WM_NCDESTROY) {
    // After the controls are gone; a later run of the same object makes a new brush.
    brush_.reset();
    return false;
  }
  if (msg == WM_LBUTTONDOWN && options_.drag) {
    // The platform's own move, as if a caption had been pressed at the pointer.
    POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    ClientToScreen(Hwnd(), &pt);
    PostMessageA(Hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(pt.x, pt.y));
    return false;  // and the default handling of the press
  }
  return false;
}

}  // namespace vt::skin
