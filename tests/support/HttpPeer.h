// An in-process HTTP server on a real loopback socket: answers every GET with one fixed status
// and body (or one fixed reply), and records each request's head (request line and headers).
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/LoopbackSocket.h"

namespace vt::test {

class HttpPeer {
public:
  explicit HttpPeer(std::string body, int status = 200);
  ~HttpPeer();
  HttpPeer(const HttpPeer&) = delete;
  HttpPeer& operator=(const HttpPeer&) = delete;

  uint16_t port() const { return port_; }
  std::string hostPort() const { return "127.0.0.1:" + std::to_string(port_); }
  std::vector<std::string> requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }
  // From now on, answers every request with these bytes as they are (status line, headers, body).
  void SetRawReply(std::string reply) {
    std::lock_guard lock(mutex_);
    reply_ = std::move(reply);
  }

private:
  void Serve(RawSocket s);

  std::string reply_;
  RawSocket listener_ = kNoSocket;
  uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
};

}  // namespace vt::test
