#include "Skin.h"

#include <algorithm>
#include <cmath>

#include "Logo.h"

namespace vtpaint {

int DuX(int du) { return (du * 6 + 2) / 4; }
int DuY(int du) { return (du * 13 + 4) / 8; }
Rect DuRect(int left, int top, int width, int height) {
  return {DuX(left), DuY(top), DuX(width), DuY(height)};
}

namespace {

struct PillColours {
  Rgb top, bottom, outline, text, shadow;
};

PillColours ColoursOf(Pill pill, bool pressed) {
  switch (pill) {
    case Pill::Green:
      if (pressed) return {{24, 104, 34}, {76, 172, 74}, {8, 50, 14}, colour::kWhite, {6, 40, 10}};
      return {{112, 212, 102}, {30, 128, 40}, {10, 60, 18}, colour::kWhite, {8, 60, 16}};
    case Pill::Grey:
      return {{150, 154, 164}, {104, 108, 120}, {60, 64, 76}, {206, 208, 214}, {92, 96, 108}};
    case Pill::Blue:
    default:
      if (pressed) return {{22, 54, 128}, {58, 106, 196}, {8, 22, 60}, colour::kWhite, {6, 18, 50}};
      return {{98, 152, 236}, {28, 70, 160}, {10, 28, 72}, colour::kWhite, {10, 30, 80}};
  }
}

// Baseline offset that centres capital letters of Liberation Sans on a line.
double CapCentreOffset(double size) { return 0.31 * size; }

}  // namespace

void PaintLabel(Canvas& canvas, const std::string& text, double x, double centreY, double size,
                Rgb colour, Align align, bool bold) {
  const Fonts* fonts = Fonts::Get();
  const Font& font = bold ? *fonts->bold : *fonts->regular;
  double w = font.Width(text, size);
  if (align == Align::Centre) x -= w / 2;
  if (align == Align::Right) x -= w;
  font.Draw(canvas, text, std::round(x), std::round(centreY + CapCentreOffset(size)), size, colour);
}

Canvas ButtonImage(int width, int height, Insets body, Pill pill, bool pressed,
                   const std::string& label, double fontSize) {
  Canvas c(width, height, colour::kPanel);
  PillColours pc = ColoursOf(pill, pressed);
  double x0 = body.left, y0 = body.top, x1 = width - body.right, y1 = height - body.bottom;
  double radius = (y1 - y0) / 2;
  Shape shape = RoundRect(x0, y0, x1, y1, radius);
  c.Paint(shape, Solid(pc.outline));
  Shape inner = RoundRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, radius - 1);
  c.Paint(inner, VerticalGradient(y0, pc.top, y1, pc.bottom));
  if (!pressed && pill != Pill::Grey) {
    // Gloss over the upper half.
    Shape gloss = RoundRect(x0 + 3, y0 + 2, x1 - 3, (y0 + y1) / 2, radius - 3);
    c.Paint(gloss, Solid(colour::kWhite), 0.18);
  }
  const Font& font = *Fonts::Get()->bold;
  double size = fontSize;
  while (size > 8 && font.Width(label, size) > (x1 - x0) - radius) size -= 0.5;
  double cx = (x0 + x1) / 2 + (pressed ? 1 : 0), cy = (y0 + y1) / 2 + (pressed ? 1 : 0);
  if (pill != Pill::Grey) PaintLabel(c, label, cx + 1, cy + 1, size, pc.shadow, Align::Centre);
  PaintLabel(c, label, cx, cy, size, pc.text, Align::Centre);
  return c;
}

Canvas RoundButtonImage(int size, Glyph glyph, bool pressed) {
  Canvas c(size, size, colour::kPanel);
  PillColours pc = ColoursOf(Pill::Blue, pressed);
  double mid = size / 2.0, r = size / 2.0 - 1;
  c.Paint(Circle(mid, mid, r), Solid(pc.outline));
  c.Paint(Circle(mid, mid, r - 1), VerticalGradient(1, pc.top, size - 1, pc.bottom));
  if (!pressed) c.Paint(Circle(mid, mid - r * 0.35, r * 0.6), Solid(colour::kWhite), 0.15);
  double o = pressed ? 1 : 0, arm = r * 0.42;
  if (glyph == Glyph::Cross) {
    c.Paint(Segment(mid - arm + o, mid - arm + o, mid + arm + o, mid + arm + o, 1.4),
            Solid(colour::kWhite));
    c.Paint(Segment(mid - arm + o, mid + arm + o, mid + arm + o, mid - arm + o, 1.4),
            Solid(colour::kWhite));
  } else {
    c.Paint(Segment(mid - arm + o, mid + o, mid + arm + o, mid + o, 1.5), Solid(colour::kWhite));
  }
  return c;
}

Canvas LampImage(bool lit) {
  Canvas c(22, 23, colour::kPanel);
  const double cx = 11, cy = 11.5, r = 9.5;
  c.Paint(Circle(cx, cy, r), VerticalGradient(cy - r, {150, 160, 180}, cy + r, {40, 46, 60}));
  Rgb inner = lit ? Rgb{60, 220, 80} : Rgb{22, 58, 30};
  Rgb rim = lit ? Rgb{10, 120, 30} : Rgb{8, 28, 12};
  c.Paint(Circle(cx, cy, r - 2), [&](double x, double y) {
    return Mix(inner, rim, std::hypot(x - cx + 2, y - cy + 2) / (r + 1));
  });
  c.Paint(Circle(cx - 2.5, cy - 3, 2.6), Solid(colour::kWhite), lit ? 0.75 : 0.25);
  return c;
}

void PaintLogo(Canvas& canvas, double x, double y, double size) {
  const int ss = 4;
  int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  int n = static_cast<int>(std::ceil(size)) + 1;
  for (int py = y0; py < y0 + n; ++py)
    for (int px = x0; px < x0 + n; ++px) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < ss; ++sy)
        for (int sx = 0; sx < ss; ++sx) {
          Rgba s = LogoSample((px + (sx + 0.5) / ss - x) / size, (py + (sy + 0.5) / ss - y) / size);
          double w = s.a / 255.0;
          r += s.r * w;
          g += s.g * w;
          b += s.b * w;
          a += w;
        }
      if (a <= 0) continue;
      Rgb col{static_cast<uint8_t>(std::lround(r / a)), static_cast<uint8_t>(std::lround(g / a)),
              static_cast<uint8_t>(std::lround(b / a))};
      canvas.Blend(px, py, col, a / (ss * ss));
    }
}

void PaintField(Canvas& canvas, Rect r) {
  canvas.FillRect(r.x - 1, r.y - 1, r.Right() + 1, r.Bottom() + 1, colour::kPanelEdge);
  canvas.FillRect(r.x, r.y, r.Right(), r.Bottom(), colour::kSkinBlue);
}

namespace {
Shape Outline(const Canvas& c) { return RoundRect(0, 0, c.Width(), c.Height(), 14); }
}  // namespace

void PaintFace(Canvas& canvas, bool keyed) {
  int w = canvas.Width(), h = canvas.Height();
  canvas.FillRect(0, 0, w, h, colour::kPanel);
  if (keyed) {
    canvas.Paint(Ring(Outline(canvas), 2), Solid(colour::kPanelEdge));
  } else {
    canvas.FillRect(0, 0, w, 2, colour::kPanelEdge);
    canvas.FillRect(0, h - 2, w, h, colour::kPanelEdge);
    canvas.FillRect(0, 0, 2, h, colour::kPanelEdge);
    canvas.FillRect(w - 2, 0, w, h, colour::kPanelEdge);
  }
}

void KeyFace(Canvas& canvas) { canvas.KeyOutside(Outline(canvas), colour::kKey); }

int PaintTitle(Canvas& canvas, const std::string& title, double logoSize, double titleSize) {
  const double margin = 10;
  PaintLogo(canvas, margin, 7, logoSize);
  double centre = 7 + logoSize / 2;
  PaintLabel(canvas, title, margin + logoSize + 8, centre, titleSize, colour::kWhite, Align::Left);
  int rule = static_cast<int>(std::lround(7 + logoSize + 4));
  for (int x = static_cast<int>(margin); x < canvas.Width() - margin; ++x)
    canvas.Blend(x, rule, colour::kGold, 0.7);
  return rule + 1;
}

}  // namespace vtpaint
