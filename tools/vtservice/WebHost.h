// The service's web host: the version check the client makes at every connect, and the pages
// it opens in the user's browser (sign-up, account, game information, help per console).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "tools/vtservice/Catalogue.h"

namespace httplib {
class Server;
}

namespace vt::service {

struct WebHostConfig {
  std::string bindAddress = "127.0.0.1";
  std::uint16_t port = 8011;  // 0 picks a free port
  std::string versionText = "4.05";
};

class WebHost {
public:
  WebHost(const Catalogue& catalogue, WebHostConfig config);
  ~WebHost();
  WebHost(const WebHost&) = delete;
  WebHost& operator=(const WebHost&) = delete;

  bool Start(std::string* error);
  void Stop();
  std::uint16_t Port() const { return port_; }

private:
  void Routes();

  const Catalogue& catalogue_;
  WebHostConfig config_;
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  std::atomic<bool> listenReturned_{false};
  std::uint16_t port_ = 0;
};

// Text made safe inside HTML element content and attribute values.
std::string HtmlEscape(std::string_view text);

}  // namespace vt::service
