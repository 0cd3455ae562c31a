// Text of the skins: Liberation fonts rendered with stb_truetype.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Canvas.h"

namespace vtpaint {

class Font {
public:
  // Loads a TrueType file; returns null when it cannot be read or parsed.
  static std::unique_ptr<Font> Load(const std::string& path);
  ~Font();

  // Sizes are the font's cell height in pixels (ascent plus descent), as Windows matches a
  // positive font height.
  double Width(const std::string& text, double size) const;
  double Ascent(double size) const;
  // Draws one line with its baseline at y.
  void Draw(Canvas& canvas, const std::string& text, double x, double baseline, double size,
            Rgb colour) const;

private:
  Font() = default;
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Breaks a text into lines no wider than maxWidth at single blanks. A run of several blanks
// is kept inside its line, so text such as "free  customers" shows its blanks as written.
std::vector<std::string> WrapText(const Font& font, const std::string& text, double size,
                                  double maxWidth);

enum class Align { Left, Centre, Right };

// Draws text whose line box (cell height `size`) starts at top, aligned against x.
void DrawLine(Canvas& canvas, const Font& font, const std::string& text, double x, double top,
              double size, Rgb colour, Align align = Align::Left);

// The fonts the painter uses; loaded once from fonts-liberation.
struct Fonts {
  std::unique_ptr<Font> regular, bold;
  static const Fonts* Get();  // null when a font is missing
};

}  // namespace vtpaint
