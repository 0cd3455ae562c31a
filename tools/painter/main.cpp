// vtpaint COMMAND OUT
//   icon FILE.ico    the program icon (resource 128)
#include <cstdio>
#include <cstring>

#include "Icon.h"

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "icon") == 0) {
    if (!vtpaint::WriteProgramIcon(argv[2])) {
      std::fprintf(stderr, "vtpaint: cannot write %s\n", argv[2]);
      return 1;
    }
    return 0;
  }
  std::fprintf(stderr, "usage: vtpaint icon FILE.ico\n");
  return 2;
}
