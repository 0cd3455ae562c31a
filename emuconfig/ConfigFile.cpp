#include "emuconfig/ConfigFile.h"

#include "platform/FileReplace.h"

namespace vt {

bool ReadConfigFile(const std::string& path, std::string& bytes) {
  std::string read;
  if (!ReadWholeFile(NativeConfigPath(path), read) || read.size() > kMaxConfigFileBytes)
    return false;
  bytes = std::move(read);
  return true;
}

bool WriteConfigFile(const std::string& path, std::string_view bytes) {
  return WriteFileAtomically(NativeConfigPath(path), bytes);
}

std::string OriginalCopyPath(const std::string& path) { return path + ".vintara-original"; }

bool PatchConfigFile(const std::string& path,
                     const std::function<std::optional<std::string>(std::string_view)>& patch) {
  std::string text;
  if (!ReadConfigFile(path, text)) return false;
  std::optional<std::string> out = patch(text);
  if (!out) return false;
  if (*out == text) return true;  // nothing changes: nothing to write, nothing to keep
  const std::string original = NativeConfigPath(OriginalCopyPath(path));
  std::string kept;
  if (!ReadWholeFile(original, kept) && !WriteFileAtomically(original, text)) return false;
  return WriteConfigFile(path, *out);
}

}  // namespace vt
