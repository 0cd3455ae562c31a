// A caption-less dialog whose whole face is one bitmap: it takes the image's size, is centred
// on the primary screen when it first appears and stays where the user puts it, may be cut to
// the image's outline, is dragged by its face, and gives its text controls the skin's blue and
// white.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/MessageBox.h"
#include "platform/win32/Dialog.h"
#include "platform/win32/Handles.h"
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


class SkinnedDialog : public win::Dialog {
public:
  SkinnedDialog(int templateId, const SkinOptions& options, HINSTANCE instance = nullptr);
  ~SkinnedDialog() override;

  // Replace where the background comes from and how the window's plain messages (text,
  // caption) are shown; default MessageBoxA (tests).
  void SetImageLoader(BitmapLoader loader) { loader_ = std::move(loader); }
  void SetMessageReporter(MessageFn reporter) { reporter_ = std::move(reporter); }

  HBITMAP Image() const { return image_.get(); }
  SIZE ImageSize() const { return BitmapSize(image_.get()); }
  HBRUSH ControlBrush() const { return brush_.get(); }
  const SkinOptions& Options() const { return options_; }

  // The executable's name without folder or extension: the caption of the skin's messages.
  static std::string ProgramName();

protected:
  void Report(const std::string& text, const std::string& caption) { reporter_(text, caption); }
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
  MessageFn reporter_;
  win::Bitmap image_;
  win::Brush brush_;
  bool placed_ = false;  // centred once in this window's life
  bool focusCues_ = false;  // the keyboard moved the focus: focus marks show
};

}  // namespace vt::skin
