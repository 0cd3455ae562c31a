// Bounded reads from one client socket. Every read has a ceiling on its size and a deadline:
// the idle time-out while nothing of the next message has arrived, the message time-out once
// it has begun.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace vt::service {

enum class ReadStatus { Ok, Closed, TimedOut, Oversized, Failed };

class ClientStream {
public:
  ClientStream(int fd, int idleTimeoutMs, int messageTimeoutMs);

  // A text sent without terminator (the user name, the password): the bytes that arrive
  // together, more than `max` of them being oversized.
  ReadStatus ReadBurst(std::size_t max, std::string& out);
  // A NUL-terminated text, the NUL consumed and not returned; a text of more than `max`
  // bytes before its NUL is oversized.
  ReadStatus ReadToken(std::size_t max, std::string& out);
  // Exactly n bytes.
  ReadStatus ReadExact(std::size_t n, std::string& out);

  bool Send(std::string_view bytes);

private:
  using Clock = std::chrono::steady_clock;
  ReadStatus Fill(Clock::time_point deadline);
  Clock::time_point Deadline() const;

  int fd_;
  int idleMs_;
  int messageMs_;
  std::string buf_;
};

}  // namespace vt::service
