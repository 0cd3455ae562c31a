#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace vtpaint {

Rgb Mix(Rgb a, Rgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  auto m = [t](uint8_t p, uint8_t q) { return static_cast<uint8_t>(std::lround(p + (q - p) * t)); };
  return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

Rgb Scale(Rgb c, double f) {
  auto s = [f](uint8_t v) {
    return static_cast<uint8_t>(std::clamp(std::lround(v * f), 0L, 255L));
  };
  return {s(c.r), s(c.g), s(c.b)};
}

Shape RoundRect(double x0, double y0, double x1, double y1, double radius) {
  return [=](double x, double y) {
    double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    double hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
    double qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
    double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
  };
}

Shape Circle(double cx, double cy, double r) {
  return [=](double x, double y) { return std::hypot(x - cx, y - cy) - r; };
}

Shape Segment(double ax, double ay, double bx, double by, double halfWidth) {
  return [=](double x, double y) {
    double dx = bx - ax, dy = by - ay;
    double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(ax + t * dx - x, ay + t * dy - y) - halfWidth;
  };
}

Shape Triangle(double ax, double ay, double bx, double by, double cx, double cy) {
  double area = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
  double orient = area > 0 ? 1.0 : -1.0;
  return [=](double x, double y) {
    // Inside points lie on the inner side of all three edges.
    auto edge = [&](double px, double py, double qx, double qy) {
      double ex = qx - px, ey = qy - py;
      return -orient * (ex * (y - py) - ey * (x - px)) / std::hypot(ex, ey);
    };
    return std::max({edge(ax, ay, bx, by), edge(bx, by, cx, cy), edge(cx, cy, ax, ay)});
  };
}

Shape Ring(Shape outer, double width) {
  return [=](double x, double y) {
    double d = outer(x, y);
    return std::max(d, -d - width);
  };
}

Shader Solid(Rgb c) {
  return [c](double, double) { return c; };
}

Shader VerticalGradient(double y0, Rgb top, double y1, Rgb bottom) {
  return [=](double, double y) { return Mix(top, bottom, (y - y0) / (y1 - y0)); };
}

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(width), height_(height), px_(static_cast<size_t>(width) * height, fill) {}

void Canvas::Set(int x, int y, Rgb c) {
  if (x >= 0 && y >= 0 && x < width_ && y < height_) px_[Index(x, y)] = c;
}

void Canvas::Blend(int x, int y, Rgb c, double alpha) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0) return;
  Rgb& p = px_[Index(x, y)];
  p = Mix(p, c, alpha);
}

void Canvas::FillRect(int x0, int y0, int x1, int y1, Rgb c) {
  for (int y = std::max(y0, 0); y < std::min(y1, height_); ++y)
    for (int x = std::max(x0, 0); x < std::min(x1, width_); ++x) px_[Index(x, y)] = c;
}

void Canvas::Paint(const Shape& shape, const Shader& shader, double alpha) {
  const int ss = 4;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      // Far from the edge a single sample decides; only edge pixels are supersampled.
      double centre = shape(x + 0.5, y + 0.5);
      if (centre > 1.0) continue;
      double cover = 1.0;
      if (centre > -1.0) {
        int hits = 0;
        for (int sy = 0; sy < ss; ++sy)
          for (int sx = 0; sx < ss; ++sx)
            if (shape(x + (sx + 0.5) / ss, y + (sy + 0.5) / ss) < 0) ++hits;
        cover = hits / double(ss * ss);
      }
      Blend(x, y, shader(x + 0.5, y + 0.5), cover * alpha);
    }
}

void Canvas::KeyOutside(const Shape& shape, Rgb key) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (shape(x + 0.5, y + 0.5) >= 0) px_[Index(x, y)] = key;
}

void Canvas::Draw(const Canvas& src, int x, int y) {
  for (int sy = 0; sy < src.height_; ++sy)
    for (int sx = 0; sx < src.width_; ++sx) Set(x + sx, y + sy, src.At(sx, sy));
}

void PutLe16(std::vector<uint8_t>& out, unsigned v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void PutLe32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back((v >> (8 * i)) & 0xFF);
}

bool WriteBmp(const Canvas& canvas, int bitsPerPixel, const std::string& path) {
  if (bitsPerPixel != 24 && bitsPerPixel != 16) return false;
  const int w = canvas.Width(), h = canvas.Height();
  const uint32_t stride = ((static_cast<uint32_t>(w) * bitsPerPixel + 31) / 32) * 4;
  const uint32_t imageSize = stride * h;
  std::vector<uint8_t> out;
  out.reserve(54 + imageSize);
  out.push_back('B');
  out.push_back('M');
  PutLe32(out, 54 + imageSize);
  PutLe32(out, 0);
  PutLe32(out, 54);
  PutLe32(out, 40);
  PutLe32(out, w);
  PutLe32(out, h);  // positive: bottom-up
  PutLe16(out, 1);
  PutLe16(out, bitsPerPixel);
  PutLe32(out, 0);  // BI_RGB
  PutLe32(out, imageSize);
  PutLe32(out, 3780);  // 96 DPI
  PutLe32(out, 3780);
  PutLe32(out, 0);
  PutLe32(out, 0);
  for (int y = h - 1; y >= 0; --y) {
    size_t rowStart = out.size();
    for (int x = 0; x < w; ++x) {
      Rgb p = canvas.At(x, y);
      if (bitsPerPixel == 24) {
        out.insert(out.end(), {p.b, p.g, p.r});
      } else {
        PutLe16(out, ((p.r >> 3) << 10) | ((p.g >> 3) << 5) | (p.b >> 3));
      }
    }
    out.resize(rowStart + stride, 0);
  }
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(f);
}

}  // namespace vtpaint
