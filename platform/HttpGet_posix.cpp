#include <httplib.h>

#include "platform/HttpGet.h"

namespace vt {

HttpGetResult HttpGetFirstRead(const std::string& hostPort, const std::string& path,
                               size_t maxBytes) {
  HttpGetResult out;
  std::string host = hostPort;
  int port = 80;
  if (size_t colon = hostPort.rfind(':'); colon != std::string::npos) {
    host = hostPort.substr(0, colon);
    port = 0;
    for (char c : hostPort.substr(colon + 1)) {
      if (c < '0' || c > '9' || port > 65535) {
        out.status = HttpGetStatus::OpenFailed;
        return out;
      }
      port = port * 10 + (c - '0');
    }
    if (port == 0 || port > 65535) {
      out.status = HttpGetStatus::OpenFailed;
      return out;
    }
  }
  httplib::Client client(host, port);
  client.set_connection_timeout(30, 0);
  client.set_read_timeout(30, 0);
  httplib::Headers headers{{"User-Agent", "VTBrowser"}};
  // Stop reading once maxBytes are in: only the first read counts, and a server that streams
  // without end must not keep the client waiting.
  auto result = client.Get(path.c_str(), headers, [&](const char* data, size_t length) {
    out.body.append(data, std::min(length, maxBytes - out.body.size()));
    return out.body.size() < maxBytes;
  });
  if (result) {
    out.status = HttpGetStatus::Ok;
  } else if (result.error() == httplib::Error::Canceled) {
    out.status = HttpGetStatus::Ok;
  } else if (result.error() == httplib::Error::Read && !out.body.empty()) {
    out.status = HttpGetStatus::Ok;
  } else if (result.error() == httplib::Error::Read) {
    out.status = HttpGetStatus::ReadFailed;
  } else {
    out.status = HttpGetStatus::OpenFailed;
  }
  return out;
}

}  // namespace vt
