// A push button that draws nothing but one of its four images, chosen by its state.
#pragma once

#include <windows.h>

#include "platform/win32/Dialog.h"
#include "platform/win32/Handles.h"
#include "skin/ButtonImage.h"
#include "skin/win32/SkinImages.h"

namespace vt::skin {

class BitmapButton : public win::Control {
public:
  explicit BitmapButton(BitmapLoader loader = ResourceBitmapLoader());

  // Releases the old images, then loads the normal one and each other slot that is not 0.
  // False when any requested image failed; a failed normal image stops there.
  bool LoadImages(int normal, int pressed = 0, int focused = 0, int disabled = 0);
  // The normal image's size, without moving, reordering, redrawing or activating the button.
  // A button without a normal image keeps its template size.
  void SizeToContent();

  HBITMAP Image(ButtonSlot slot) const { return images_[static_cast<int>(slot)].get(); }
  void Draw(const DRAWITEMSTRUCT& item) const;

  bool OnReflect(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override;
  void OnAttached() override;

private:
  BitmapLoader loader_;
  win::Bitmap images_[4];
};

}  // namespace vt::skin
