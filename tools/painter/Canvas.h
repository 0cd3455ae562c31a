// An RGB drawing surface with anti-aliased shapes and the BMP writer of the painter.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vtpaint {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

Rgb Mix(Rgb a, Rgb b, double t);  // a at t = 0, b at t = 1
Rgb Scale(Rgb c, double f);

// Signed distance of a point from a shape's edge: negative inside.
using Shape = std::function<double(double x, double y)>;
// Colour of the paint at a point.
using Shader = std::function<Rgb(double x, double y)>;

Shape RoundRect(double x0, double y0, double x1, double y1, double radius);
Shape Circle(double cx, double cy, double r);
Shape Segment(double ax, double ay, double bx, double by, double halfWidth);
Shape Triangle(double ax, double ay, double bx, double by, double cx, double cy);
Shape Ring(Shape outer, double width);  // the band just inside outer's edge
Shader Solid(Rgb c);
Shader VerticalGradient(double y0, Rgb top, double y1, Rgb bottom);

class Canvas {
public:
  Canvas(int width, int height, Rgb fill = {});
  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgb At(int x, int y) const { return px_[Index(x, y)]; }
  void Set(int x, int y, Rgb c);
  void Blend(int x, int y, Rgb c, double alpha);
  void FillRect(int x0, int y0, int x1, int y1, Rgb c);  // [x0, x1) x [y0, y1)
  // Paints a shape with 4 x 4 supersampled coverage.
  void Paint(const Shape& shape, const Shader& shader, double alpha = 1.0);
  // Sets every pixel whose centre lies outside the shape to exactly `key` (no blending, so
  // no pixel inside is ever near the key colour because of the edge).
  void KeyOutside(const Shape& shape, Rgb key);
  // Copies `src` with its top-left corner at (x, y), clipped.
  void Draw(const Canvas& src, int x, int y);

private:
  size_t Index(int x, int y) const { return static_cast<size_t>(y) * width_ + x; }
  int width_, height_;
  std::vector<Rgb> px_;
};

// Little-endian fields of the image files the painter writes.
void PutLe16(std::vector<uint8_t>& out, unsigned v);
void PutLe32(std::vector<uint8_t>& out, uint32_t v);

// Writes a bottom-up BI_RGB bitmap file of 24 bits, or of 16 bits (5-5-5, each channel's top
// five bits). Returns false when the file cannot be written.
bool WriteBmp(const Canvas& canvas, int bitsPerPixel, const std::string& path);

}  // namespace vtpaint
