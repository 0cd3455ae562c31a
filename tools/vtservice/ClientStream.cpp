#include "tools/vtservice/ClientStream.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

namespace vt::service {

ClientStream::ClientStream(int fd, int idleTimeoutMs, int messageTimeoutMs)
    : fd_(fd), idleMs_(idleTimeoutMs), messageMs_(messageTimeoutMs) {}

ClientStream::Clock::time_point ClientStream::Deadline() const {
  return Clock::now() + std::chrono::milliseconds(buf_.empty() ? idleMs_ : messageMs_);
}

ReadStatus ClientStream::Fill(Clock::time_point deadline) {
  for (;;) {
    auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left < 0) left = 0;
    pollfd p{fd_, POLLIN, 0};
    int r = ::poll(&p, 1, static_cast<int>(left));
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return ReadStatus::Failed;
    if (r == 0) return ReadStatus::TimedOut;
    char chunk[4096];
    ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n < 0) return ReadStatus::Failed;
    if (n == 0) return ReadStatus::Closed;
    buf_.append(chunk, static_cast<std::size_t>(n));
    return ReadStatus::Ok;
  }
}

ReadStatus ClientStream::ReadBurst(std::size_t max, std::string& out) {
  if (buf_.empty()) {
    ReadStatus s = Fill(Deadline());
    if (s != ReadStatus::Ok) return s;
  }
  // Take whatever else is already waiting: a text sent in one piece may still arrive in
  // more than one segment.
  while (buf_.size() <= max) {
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, 0) <= 0) break;
    if (Fill(Clock::now()) != ReadStatus::Ok) break;  // a close is seen by the next read
  }
  if (buf_.size() > max) return ReadStatus::Oversized;
  out.swap(buf_);
  buf_.clear();
  return ReadStatus::Ok;
}

ReadStatus ClientStream::ReadToken(std::size_t max, std::string& out) {
  auto deadline = Deadline();
  bool begun = !buf_.empty();
  for (;;) {
    std::size_t nul = buf_.find('\0');
    if (nul != std::string::npos) {
      if (nul > max) return ReadStatus::Oversized;
      out.assign(buf_, 0, nul);
      buf_.erase(0, nul + 1);
      return ReadStatus::Ok;
    }
    if (buf_.size() > max) return ReadStatus::Oversized;
    ReadStatus s = Fill(deadline);
    if (s != ReadStatus::Ok) return s;
    if (!begun) {
      begun = true;
      deadline = Deadline();
    }
  }
}

ReadStatus ClientStream::ReadExact(std::size_t n, std::string& out) {
  auto deadline = Deadline();
  bool begun = !buf_.empty();
  while (buf_.size() < n) {
    ReadStatus s = Fill(deadline);
    if (s != ReadStatus::Ok) return s;
    if (!begun) {
      begun = true;
      deadline = Deadline();
    }
  }
  out.assign(buf_, 0, n);
  buf_.erase(0, n);
  return ReadStatus::Ok;
}

bool ClientStream::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;  // includes the send time-out set on the socket
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace vt::service
