// Whole-file access for the emulator configurations: each format is a pure function over the
// file's bytes, and these two calls are the only file I/O around it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vt {

// Far above any real configuration (the largest is about 10 KB); a bigger file is not one of ours
// and is left alone rather than loaded into memory.
inline constexpr std::size_t kMaxConfigFileBytes = 1 << 20;

// The configuration paths are Windows paths ("folder\gens.cfg"); this gives the platform's form.
std::string NativeConfigPath(const std::string& path);

// False when the file cannot be read or exceeds kMaxConfigFileBytes.
bool ReadConfigFile(const std::string& path, std::string& bytes);
// Temporary file beside the target, flushed, then swapped in: the old file survives any failure.
bool WriteConfigFile(const std::string& path, std::string_view bytes);

}  // namespace vt
