// A caption-less dialog whose whole face is one bitmap: it takes the image's size, is centred
// on the primary screen when it first appears and stays where the user puts it, may be cut to
// the image's outline, is dragged by its face, and gives its text controls the skin's blue and
// white. It is the host of what runs while it is in front: its boxes are its own.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/Host.h"
#include "platform/win32/Dialog.h"
#include "platform/win32/Handles.h"
#include "skin/win32/BitmapButton.h"
#include "skin/win32/SkinImages.h"

namespace vt::skin {

enum class SkinRegion { Rectangular, Keyed };

// Which kinds of control get the skin's colours.
enum ControlColours : unsigned {
  kNoControlColours = 0,
  kMessageBoxColours = 1,
  kTextBoxColours = 2,
  kStaticTextColours = 4,
};

struct SkinOptions {
  int background = 0;  // bitmap resource number
  SkinRegion region = SkinRegion::Rectangular;
  bool drag = true;
  unsigned controlColours = kNoControlColours;
  bool closeReleasesImage = false;
  // False for a window that only informs while the thread is blocked: it never takes
  // activation or the focus (and no window manager then waits for it).
  bool activates = true;
};

// One bitmap button of a window's table: its control and its images (0: none; no button of the
// client has a focused image).
struct ButtonRow {
  int id = 0;
  int normal = 0, pressed = 0, disabled = 0;
};

// A lamp (a two-state button: the login's settings, the set-up window's players): lit shows the
// lit image normally and the dark one pressed, and the reverse.
ButtonRow LampRow(int id, bool lit);

class SkinnedDialog : public win::Dialog, public Host {
public:
  SkinnedDialog(int templateId, const SkinOptions& options, HINSTANCE instance = nullptr);
  ~SkinnedDialog() override;

  // Replace where the background comes from, and where the window's boxes and pages go
  // (default: boxes owned by the window, pages through the shell); for tests.
  void SetImageLoader(BitmapLoader loader) { loader_ = std::move(loader); }
  void SetHost(Host& host) { host_ = &host; }

  // Host
  void ShowMessage(const std::string& text, const char* caption) override {
    host_->ShowMessage(text, caption);
  }
  void OpenPage(const std::string& address) override { host_->OpenPage(address); }

  HBITMAP Image() const { return image_.get(); }
  SIZE ImageSize() const { return BitmapSize(image_.get()); }
  HBRUSH ControlBrush() const { return brush_.get(); }
  const SkinOptions& Options() const { return options_; }
  // The button of a control attached by AttachButtons, or null.
  BitmapButton* Button(int id) const;

protected:
  // Binds the button of each row, loads its images and sizes it to its normal image, in the
  // table's order (after the buttons of an earlier call).
  void AttachButtons(std::span<const ButtonRow> rows);
  // Shows an attached lamp lit or dark.
  void ShowLamp(int id, bool lit);
  // A control's text, as the window shows it.
  std::string ItemText(int id) const;
  // Loads the image if needed, sets the region, sizes the window and centres it the first time.
  void ApplySkin();
  void ReleaseImage() { image_.reset(); }

  // Subclasses that override these call the base first (OnClose: instead of Dialog's).
  void OnBeforeInit() override;
  void OnSize(UINT kind, int width, int height) override;
  bool OnPaint() override;
  HBRUSH OnCtlColor(UINT msg, HDC dc, HWND control) override;
  bool OnClose() override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override;

private:
  HBRUSH SkinColours(HDC dc);

  SkinOptions options_;
  BitmapLoader loader_;
  WindowHost ownHost_;
  Host* host_ = &ownHost_;
  std::vector<std::unique_ptr<BitmapButton>> buttons_;
  win::Bitmap image_;
  win::Brush brush_;
  bool placed_ = false;     // centred once in this window's life
  bool focusCues_ = false;  // the keyboard moved the focus: focus marks show
};

}  // namespace vt::skin
