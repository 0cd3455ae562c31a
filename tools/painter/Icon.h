#pragma once

#include <string>

namespace vtpaint {

// Writes the program icon (32x32 and 16x16, 32-bit with alpha) as a .ico file.
bool WriteProgramIcon(const std::string& path);

}  // namespace vtpaint
