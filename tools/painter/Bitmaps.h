// Every bitmap resource of the client, by number.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Canvas.h"

namespace vtpaint {

struct BitmapEntry {
  int number;
  int bitsPerPixel;  // 24, or 16 where the product ships 16-bit images
  std::function<Canvas()> paint;
};

const std::vector<BitmapEntry>& AllBitmaps();

// Paints every bitmap into dir as bitmap<number>.bmp. Returns false on the first failure.
bool WriteAllBitmaps(const std::string& dir);

}  // namespace vtpaint
