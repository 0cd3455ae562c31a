#include "Logo.h"

#include <algorithm>
#include <cmath>

namespace vtpaint {
namespace {

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  double dx = bx - ax, dy = by - ay;
  double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  double cx = ax + t * dx - px, cy = ay + t * dy - py;
  return std::sqrt(cx * cx + cy * cy);
}

}  // namespace

Rgba LogoSample(double u, double v) {
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

}  // namespace vtpaint
