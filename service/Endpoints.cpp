#include "service/Endpoints.h"

namespace vt {

std::string ReadVintaraText(SettingsStore& settings, const std::string& name, size_t maxBytes) {
  std::string bytes;
  if (!settings.QueryValue(Hive::Machine, kVintaraKey, name, bytes)) return "";
  if (bytes.size() > maxBytes) return "";
  std::string text = bytes.substr(0, bytes.find('\0'));
  // A value that fills the whole buffer has no room for its terminator: drop the last byte
  // rather than read past the buffer.
  if (maxBytes > 0 && text.size() > maxBytes - 1) text.resize(maxBytes - 1);
  return text;
}

ServiceEndpoints ReadEndpoints(SettingsStore& settings) {
  ServiceEndpoints e;
  if (std::string v = ReadVintaraText(settings, "GameServer"); !v.empty()) e.gameServer = v;
  if (std::string v = ReadVintaraText(settings, "WebHost"); !v.empty()) e.webHost = v;
  return e;
}

}  // namespace vt
