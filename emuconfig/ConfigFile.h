// Whole-file access for the emulator configurations: each format is a pure function over the
// file's bytes, and these two calls are the only file I/O around it.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
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

// The copy of a configuration as it was before the client first changed it, beside it.
std::string OriginalCopyPath(const std::string& path);

// Reads the file, rewrites it in memory with `patch` and writes the result as above. The first
// time the client changes the file, its original bytes are kept at OriginalCopyPath (written
// atomically, never overwritten); a file whose original cannot be kept is not changed. False,
// with the file as it was, when it cannot be read, `patch` finds nothing to replace, the
// original cannot be kept, or the write fails.
bool PatchConfigFile(const std::string& path,
                     const std::function<std::optional<std::string>(std::string_view)>& patch);

}  // namespace vt
