#include "service/Endpoints.h"

namespace vt {

std::string ReadVintaraText(SettingsStore& settings, const std::string& name, size_t maxBytes) {
  return ReadClientText(settings, name, maxBytes, FullBuffer::Absent).value_or(std::string());
}

ServiceEndpoints ReadEndpoints(SettingsStore& settings) {
  ServiceEndpoints e;
  if (std::string v = ReadVintaraText(settings, "GameServer"); !v.empty()) e.gameServer = v;
  if (std::string v = ReadVintaraText(settings, "WebHost"); !v.empty()) e.webHost = v;
  return e;
}

}  // namespace vt
