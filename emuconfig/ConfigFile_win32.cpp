#include "emuconfig/ConfigFile.h"

namespace vt {

std::string NativeConfigPath(const std::string& path) { return path; }

}  // namespace vt
