// vtpaint COMMAND OUT
//   icon FILE.ico      the program icon (resource 128)
//   bitmaps DIR        every bitmap resource, as DIR/bitmap<number>.bmp
#include <cstdio>
#include <cstring>
#include <fstream>

#include "Bitmaps.h"
#include "Icon.h"

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "icon") == 0) {
    if (!vtpaint::WriteProgramIcon(argv[2])) {
      std::fprintf(stderr, "vtpaint: cannot write %s\n", argv[2]);
      return 1;
    }
    return 0;
  }
  if (argc == 3 && std::strcmp(argv[1], "bitmaps") == 0) {
    return vtpaint::WriteAllBitmaps(argv[2]) ? 0 : 1;
  }
  std::fprintf(stderr, "usage: vtpaint icon FILE.ico | vtpaint bitmaps DIR\n");
  return 2;
}
