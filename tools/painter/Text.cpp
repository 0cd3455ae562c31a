#include "Text.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#include <stb/stb_truetype.h>

namespace vtpaint {

struct Font::Impl {
  std::vector<unsigned char> data;
  stbtt_fontinfo info{};
  int ascent = 0, descent = 0, lineGap = 0;
};

Font::~Font() = default;

std::unique_ptr<Font> Font::Load(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return nullptr;
  auto impl = std::make_unique<Font::Impl>();
  impl->data.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  if (impl->data.empty() || !stbtt_InitFont(&impl->info, impl->data.data(),
                                            stbtt_GetFontOffsetForIndex(impl->data.data(), 0)))
    return nullptr;
  stbtt_GetFontVMetrics(&impl->info, &impl->ascent, &impl->descent, &impl->lineGap);
  std::unique_ptr<Font> font(new Font());
  font->impl_ = std::move(impl);
  return font;
}

double Font::Ascent(double size) const {
  return impl_->ascent * stbtt_ScaleForPixelHeight(&impl_->info, static_cast<float>(size));
}

double Font::Width(const std::string& text, double size) const {
  float scale = stbtt_ScaleForPixelHeight(&impl_->info, static_cast<float>(size));
  double width = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    int c = static_cast<unsigned char>(text[i]);
    int advance = 0, bearing = 0;
    stbtt_GetCodepointHMetrics(&impl_->info, c, &advance, &bearing);
    width += advance * scale;
    if (i + 1 < text.size())
      width += scale * stbtt_GetCodepointKernAdvance(&impl_->info, c,
                                                     static_cast<unsigned char>(text[i + 1]));
  }
  return width;
}

void Font::Draw(Canvas& canvas, const std::string& text, double x, double baseline, double size,
                Rgb colour) const {
  float scale = stbtt_ScaleForPixelHeight(&impl_->info, static_cast<float>(size));
  double pen = x;
  int baseY = static_cast<int>(std::floor(baseline));
  float shiftY = static_cast<float>(baseline - baseY);
  for (size_t i = 0; i < text.size(); ++i) {
    int c = static_cast<unsigned char>(text[i]);
    int penX = static_cast<int>(std::floor(pen));
    float shiftX = static_cast<float>(pen - penX);
    int x0, y0, x1, y1;
    stbtt_GetCodepointBitmapBoxSubpixel(&impl_->info, c, scale, scale, shiftX, shiftY, &x0, &y0,
                                        &x1, &y1);
    int w = x1 - x0, h = y1 - y0;
    if (w > 0 && h > 0) {
      std::vector<unsigned char> glyph(static_cast<size_t>(w) * h);
      stbtt_MakeCodepointBitmapSubpixel(&impl_->info, glyph.data(), w, h, w, scale, scale, shiftX,
                                        shiftY, c);
      for (int gy = 0; gy < h; ++gy)
        for (int gx = 0; gx < w; ++gx)
          canvas.Blend(penX + x0 + gx, baseY + y0 + gy, colour,
                       glyph[static_cast<size_t>(gy) * w + gx] / 255.0);
    }
    int advance = 0, bearing = 0;
    stbtt_GetCodepointHMetrics(&impl_->info, c, &advance, &bearing);
    pen += advance * scale;
    if (i + 1 < text.size())
      pen += scale * stbtt_GetCodepointKernAdvance(&impl_->info, c,
                                                   static_cast<unsigned char>(text[i + 1]));
  }
}

std::vector<std::string> WrapText(const Font& font, const std::string& text, double size,
                                  double maxWidth) {
  // Words are separated by single blanks; a longer run of blanks belongs to its word.
  std::vector<std::string> words;
  std::string word;
  for (size_t i = 0; i < text.size(); ++i) {
    bool single = text[i] == ' ' && (i + 1 >= text.size() || text[i + 1] != ' ') &&
                  (i == 0 || text[i - 1] != ' ');
    if (single) {
      words.push_back(word);
      word.clear();
    } else {
      word += text[i];
    }
  }
  words.push_back(word);
  std::vector<std::string> lines;
  std::string line;
  for (const std::string& w : words) {
    std::string candidate = line.empty() ? w : line + " " + w;
    if (!line.empty() && font.Width(candidate, size) > maxWidth) {
      lines.push_back(line);
      line = w;
    } else {
      line = candidate;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

void DrawLine(Canvas& canvas, const Font& font, const std::string& text, double x, double top,
              double size, Rgb colour, Align align) {
  double w = font.Width(text, size);
  if (align == Align::Centre) x -= w / 2;
  if (align == Align::Right) x -= w;
  font.Draw(canvas, text, std::round(x), top + std::round(font.Ascent(size)), size, colour);
}

const Fonts* Fonts::Get() {
  static const Fonts* fonts = [] {
    static Fonts f;
    const char* dir = "/usr/share/fonts/truetype/liberation/";
    f.regular = Font::Load(std::string(dir) + "LiberationSans-Regular.ttf");
    f.bold = Font::Load(std::string(dir) + "LiberationSans-Bold.ttf");
    if (!f.regular || !f.bold) {
      std::fprintf(stderr, "vtpaint: fonts-liberation not found in %s\n", dir);
      return static_cast<const Fonts*>(nullptr);
    }
    return static_cast<const Fonts*>(&f);
  }();
  return fonts;
}

}  // namespace vtpaint
