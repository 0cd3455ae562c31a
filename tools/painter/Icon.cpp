#include "Icon.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <vector>

namespace vtpaint {
namespace {

struct Rgba {
  uint8_t r, g, b, a;
};

void Put16(std::vector<uint8_t>& out, unsigned v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back((v >> (8 * i)) & 0xFF);
}

double Clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

// Distance from p to the segment a-b.
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  double dx = bx - ax, dy = by - ay;
  double t = Clamp01(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy));
  double cx = ax + t * dx - px, cy = ay + t * dy - py;
  return std::sqrt(cx * cx + cy * cy);
}

// The product mark: a blue disc with a white "V" and a small gold play dot, drawn in
// coordinates of a unit square and sampled with 4x4 supersampling for smooth edges.
Rgba Sample(double u, double v) {
  double disc = std::hypot(u - 0.5, v - 0.5);
  double vStroke = std::min(SegmentDistance(u, v, 0.25, 0.27, 0.47, 0.76),
                            SegmentDistance(u, v, 0.47, 0.76, 0.72, 0.27));
  if (disc > 0.48) return {0, 0, 0, 0};
  if (disc > 0.44) return {16, 40, 96, 255};  // rim
  if (vStroke < 0.075) return {255, 255, 255, 255};
  if (std::hypot(u - 0.70, v - 0.70) < 0.08) return {250, 196, 40, 255};
  double shade = 1.0 - 0.5 * v;  // lighter at the top
  return {static_cast<uint8_t>(34 * shade + 20), static_cast<uint8_t>(80 * shade + 30),
          static_cast<uint8_t>(163 * shade + 60), 255};
}

std::vector<Rgba> Render(int size) {
  std::vector<Rgba> px(static_cast<size_t>(size) * size);
  const int ss = 4;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < ss; ++sy)
        for (int sx = 0; sx < ss; ++sx) {
          Rgba s = Sample((x + (sx + 0.5) / ss) / size, (y + (sy + 0.5) / ss) / size);
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
  Put32(out, 40);
  Put32(out, size);
  Put32(out, size * 2);
  Put16(out, 1);
  Put16(out, 32);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
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
  Put16(out, 0);
  Put16(out, 1);  // icon
  Put16(out, static_cast<unsigned>(images.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    out.push_back(static_cast<uint8_t>(sizes[i]));
    out.push_back(static_cast<uint8_t>(sizes[i]));
    out.push_back(0);
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, static_cast<uint32_t>(images[i].size()));
    Put32(out, offset);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (auto& img : images) out.insert(out.end(), img.begin(), img.end());
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(f);
}

}  // namespace vtpaint
