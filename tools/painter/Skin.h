// The visual language of the product: palette, pill buttons, lamps, the brand and the parts
// of window backgrounds. Every bitmap is built from these so that the windows look alike.
#pragma once

#include <string>

#include "Canvas.h"
#include "Text.h"

namespace vtpaint {

namespace colour {
inline constexpr Rgb kPanel{20, 36, 78};        // window face behind every button
inline constexpr Rgb kPanelEdge{74, 116, 196};  // outline of every window
inline constexpr Rgb kSkinBlue{34, 80, 163};    // text boxes, fields and the list
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kLabel{214, 226, 250};
inline constexpr Rgb kMuted{140, 160, 205};
inline constexpr Rgb kGold{250, 196, 40};
inline constexpr Rgb kKey{255, 0, 255};  // transparent key of keyed skins
inline constexpr Rgb kScrollFill{74, 82, 107};
}  // namespace colour

// Pixel rectangle.
struct Rect {
  int x, y, w, h;
  int Right() const { return x + w; }
  int Bottom() const { return y + h; }
};

// Dialog units to pixels with the base units of 8-point MS Sans Serif at 96 DPI (6 x 13),
// rounded as MapDialogRect rounds.
int DuX(int du);
int DuY(int du);
// Where the dialog manager puts a control: position and size are each converted on their own,
// so the far edge is DuX(left) + DuX(width), which can differ by a pixel from DuX(left + width).
Rect DuRect(int left, int top, int width, int height);

enum class Pill { Blue, Green, Grey };

struct Insets {
  int left, top, right, bottom;
};

// A button image: the panel colour around a pill-shaped body carrying a white label (light
// grey on a grey body for disabled images). Pressed images are darker with the label moved
// down one pixel.
Canvas ButtonImage(int width, int height, Insets body, Pill pill, bool pressed,
                   const std::string& label, double fontSize);

enum class Glyph { Cross, Dash };
Canvas RoundButtonImage(int size, Glyph glyph, bool pressed);
Canvas LampImage(bool lit);  // 22 x 23

// Paints the product mark with its top-left corner at (x, y).
void PaintLogo(Canvas& canvas, double x, double y, double size);

// A label centred vertically on `centreY`.
void PaintLabel(Canvas& canvas, const std::string& text, double x, double centreY, double size,
                Rgb colour, Align align, bool bold = true);

// Where a text control lands: skin blue with a thin light frame just outside it.
void PaintField(Canvas& canvas, Rect r);

// The window face: panel colour with the outline. Keyed skins get a rounded outline with the
// key colour outside it; rectangular skins a square one.
void PaintFace(Canvas& canvas, bool keyed);
void KeyFace(Canvas& canvas);  // last step of a keyed skin

// The title line of a window: logo and a bold title at the top left, a gold rule below.
// Returns the y just below the rule.
int PaintTitle(Canvas& canvas, const std::string& title, double logoSize, double titleSize);

}  // namespace vtpaint
