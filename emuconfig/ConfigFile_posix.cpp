#include "emuconfig/ConfigFile.h"

#include <algorithm>

namespace vt {

// The folder and file names are joined with a backslash as on Windows; here that is a slash.
std::string NativeConfigPath(const std::string& path) {
  std::string native = path;
  std::replace(native.begin(), native.end(), '\\', '/');
  return native;
}

}  // namespace vt
