#include "tests/support/HttpPeer.h"

namespace vt::test {

HttpPeer::HttpPeer(std::string body, int status) : body_(std::move(body)), status_(status) {
  listener_ = ListenLoopback(0, &port_);
  if (listener_ != kNoSocket) thread_ = std::thread([this] { Run(); });
}

HttpPeer::~HttpPeer() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
  if (listener_ != kNoSocket) CloseSocket(listener_);
}

std::vector<std::string> HttpPeer::requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void HttpPeer::Run() {
  while (!stopping_) {
    if (WaitReadable(listener_, 10) <= 0) continue;
    RawSocket s = AcceptOne(listener_);
    if (s == kNoSocket) continue;
    std::string head;
    char buf[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536 && !stopping_) {
      int ready = WaitReadable(s, 10);
      if (ready < 0) break;
      if (ready == 0) continue;
      long n = RecvSome(s, buf, sizeof buf);
      if (n <= 0) break;
      head.append(buf, static_cast<size_t>(n));
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(head.substr(0, head.find("\r\n\r\n")));
    }
    std::string reply = "HTTP/1.1 " + std::to_string(status_) + " Status\r\n" +
                        "Content-Type: text/html\r\nContent-Length: " +
                        std::to_string(body_.size()) + "\r\nConnection: close\r\n\r\n" + body_;
    SendAll(s, reply);
    // The whole request head has been read, so closing now is an orderly end, not a reset.
    ShutdownSend(s);
    CloseSocket(s);
  }
}

}  // namespace vt::test
