// The product mark shared by the icon and the skins.
#pragma once

#include <cstdint>

namespace vtpaint {

struct Rgba {
  uint8_t r, g, b, a;
};

// The mark (a blue disc with a white "V" and a small gold play dot) in coordinates of a unit
// square; transparent outside the disc.
Rgba LogoSample(double u, double v);

}  // namespace vtpaint
