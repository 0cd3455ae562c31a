// Writing a file so that readers see either the old or the new contents, never a mix.
#pragma once

#include <string>
#include <string_view>

namespace vt {

// Writes bytes to a temporary file beside path, flushes it, then replaces path with it in one
// step. On failure path is left as it was and the temporary file is removed.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

// Whole-file read; false if the file cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

}  // namespace vt
