#include "Icon.h"

#include "Canvas.h"
#include "Logo.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <vector>

namespace vtpaint {
namespace {

std::vector<Rgba> Render(int size) {
  std::vector<Rgba> px(static_cast<size_t>(size) * size);
  const int ss = 4;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < ss; ++sy)
        for (int sx = 0; sx < ss; ++sx) {
          Rgba s = LogoSample((x + (sx + 0.5) / ss) / size, (y + (sy + 0.5) / ss) / size);
          double w = s.a / 255.0;
          r += s.r * w;
          g += s.g * w;
          b += s.b * w;
          a += w;
        }
      Rgba& o = px[static_cast<size_t>(y) * size + x];
      if (a > 0) {
        o.r = static_cast<uint8_t>(std::lround(r / a));
        o.g = static_cast<uint8_t>(std::lround(g / a));
        o.b = static_cast<uint8_t>(std::lround(b / a));
      }
      o.a = static_cast<uint8_t>(std::lround(255.0 * a / (ss * ss)));
    }
  return px;
}

// One icon image: BITMAPINFOHEADER with doubled height, bottom-up BGRA, then the AND mask.
std::vector<uint8_t> IconImage(int size) {
  std::vector<Rgba> px = Render(size);
  std::vector<uint8_t> out;
  PutLe32(out, 40);
  PutLe32(out, size);
  PutLe32(out, size * 2);
  PutLe16(out, 1);
  PutLe16(out, 32);
  for (int i = 0; i < 6; ++i) PutLe32(out, 0);
  for (int y = size - 1; y >= 0; --y)
    for (int x = 0; x < size; ++x) {
      const Rgba& p = px[static_cast<size_t>(y) * size + x];
      out.insert(out.end(), {p.b, p.g, p.r, p.a});
    }
  int maskStride = ((size + 31) / 32) * 4;
  for (int y = size - 1; y >= 0; --y) {
    std::vector<uint8_t> row(maskStride, 0);
    for (int x = 0; x < size; ++x)
      if (px[static_cast<size_t>(y) * size + x].a == 0) row[x / 8] |= 0x80 >> (x % 8);
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace

bool WriteProgramIcon(const std::string& path) {
  const int sizes[] = {32, 16};
  std::vector<std::vector<uint8_t>> images;
  for (int s : sizes) images.push_back(IconImage(s));
  std::vector<uint8_t> out;
  PutLe16(out, 0);
  PutLe16(out, 1);  // icon
  PutLe16(out, static_cast<unsigned>(images.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    out.push_back(static_cast<uint8_t>(sizes[i]));
    out.push_back(static_cast<uint8_t>(sizes[i]));
    out.push_back(0);
    out.push_back(0);
    PutLe16(out, 1);
    PutLe16(out, 32);
    PutLe32(out, static_cast<uint32_t>(images[i].size()));
    PutLe32(out, offset);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (auto& img : images) out.insert(out.end(), img.begin(), img.end());
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(f);
}

}  // namespace vtpaint
