#include "tests/support/HttpPeer.h"

namespace vt::test {

HttpPeer::HttpPeer(std::string body, int status)
    : reply_("HTTP/1.1 " + std::to_string(status) + " Status\r\nContent-Type: text/html\r\n" +
             "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" +
             body) {
  if ((listener_ = ListenLoopback(0, &port_)) == kNoSocket) return;
  thread_ = std::thread([this] {
    while (!stopping_)
      if (WaitReadable(listener_, 10) > 0) Serve(AcceptOne(listener_));
  });
}

HttpPeer::~HttpPeer() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
  if (listener_ != kNoSocket) CloseSocket(listener_);
}

void HttpPeer::Serve(RawSocket s) {
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

}  // namespace vt::test
