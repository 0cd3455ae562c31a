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
  explicit HttpPeer(std::string body, int status = 200)
      : reply_("HTTP/1.1 " + std::to_string(status) + " Status\r\nContent-Type: text/html\r\n" +
               "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" +
               body) {
    if ((listener_ = ListenLoopback(0, &port_)) == kNoSocket) return;
    thread_ = std::thread([this] {
      while (!stopping_)
        if (WaitReadable(listener_, 10) > 0) Serve(AcceptOne(listener_));
    });
  }
  ~HttpPeer() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ != kNoSocket) CloseSocket(listener_);
  }
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
  void Serve(RawSocket s) {
    if (s == kNoSocket) return;
    std::string head;
    char buf[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536 && !stopping_) {
      const int ready = WaitReadable(s, 10);
      const long n = ready > 0 ? RecvSome(s, buf, sizeof buf) : 0;
      if (ready < 0 || (ready > 0 && n <= 0)) break;
      head.append(buf, static_cast<size_t>(n));
    }
    std::string reply;
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(head.substr(0, head.find("\r\n\r\n")));
      reply = reply_;
    }
    SendAll(s, reply);
    // The whole request head has been read, so closing now is an orderly end, not a reset.
    ShutdownSend(s);
    CloseSocket(s);
  }

  std::string reply_;
  RawSocket listener_ = kNoSocket;
  uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
};

}  // namespace vt::test
