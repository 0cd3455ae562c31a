#include "platform/SettingsStore.h"

namespace vt {

std::optional<std::string> ReadFixedBytes(SettingsStore& settings, Hive hive,
                                          const std::string& key, const std::string& name,
                                          size_t bufferSize) {
  std::string bytes;
  if (!settings.QueryValue(hive, key, name, bytes) || bytes.size() > bufferSize)
    return std::nullopt;
  return bytes;
}

std::optional<std::string> ReadFixedText(SettingsStore& settings, Hive hive, const std::string& key,
                                         const std::string& name, size_t bufferSize,
                                         FullBuffer full) {
  std::optional<std::string> bytes = ReadFixedBytes(settings, hive, key, name, bufferSize);
  if (!bytes) return std::nullopt;
  const size_t zero = bytes->find('\0');
  if (zero == std::string::npos && bytes->size() == bufferSize && full == FullBuffer::Absent)
    return std::nullopt;
  if (zero != std::string::npos) bytes->resize(zero);
  return bytes;
}

}  // namespace vt
