#include "emuconfig/ConfigFile.h"

#include "platform/FileReplace.h"

namespace vt {

bool ReadConfigFile(const std::string& path, std::string& bytes) {
  std::string read;
  if (!ReadWholeFile(NativeConfigPath(path), read) || read.size() > kMaxConfigFileBytes) return false;
  bytes = std::move(read);
  return true;
}

bool WriteConfigFile(const std::string& path, std::string_view bytes) {
  return WriteFileAtomically(NativeConfigPath(path), bytes);
}

bool PatchConfigFile(const std::string& path,
                     const std::function<std::optional<std::string>(std::string_view)>& patch) {
  std::string text;
  if (!ReadConfigFile(path, text)) return false;
  std::optional<std::string> out = patch(text);
  return out && WriteConfigFile(path, *out);
}

}  // namespace vt
