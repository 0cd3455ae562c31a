// vtcli: the service client from the command line (see Cli.h for the commands).
#include <iostream>

#include "tools/vtcli/Cli.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  int code = vt::cli::Run(args, std::cout, std::cerr);
  std::cout.flush();
  return code;
}
