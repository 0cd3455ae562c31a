#include "tests/support/ScriptedPeer.h"

#include <chrono>

namespace vt::test {

namespace {
// A peer that waits longer than this for the client has met a broken client: give up.
constexpr auto kPatience = std::chrono::seconds(20);
constexpr uint32_t kSliceMs = 10;

void SleepMs(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
}  // namespace

ScriptedPeer::ScriptedPeer(uint16_t port) { listener_ = ListenLoopback(port, &port_); }

ScriptedPeer::~ScriptedPeer() {
  Finish();
  if (listener_ != kNoSocket) CloseSocket(listener_);
}

ScriptedPeer& ScriptedPeer::Expect(size_t n) {
  steps_.push_back({Step::Expect, {}, n});
  return *this;
}
ScriptedPeer& ScriptedPeer::Send(std::string bytes) {
  steps_.push_back({Step::Send, std::move(bytes), 0});
  return *this;
}
ScriptedPeer& ScriptedPeer::SendInPieces(std::string bytes, size_t piece, uint32_t pauseMs) {
  if (piece == 0) piece = 1;
  for (size_t i = 0; i < bytes.size(); i += piece) {
    Send(bytes.substr(i, piece));
    if (i + piece < bytes.size()) Pause(pauseMs);
  }
  return *this;
}
ScriptedPeer& ScriptedPeer::Pause(uint32_t ms) {
  steps_.push_back({Step::Pause, {}, ms});
  return *this;
}
ScriptedPeer& ScriptedPeer::Close() {
  steps_.push_back({Step::Close, {}, 0});
  return *this;
}
ScriptedPeer& ScriptedPeer::Reset() {
  steps_.push_back({Step::Reset, {}, 0});
  return *this;
}
ScriptedPeer& ScriptedPeer::NextConnection() {
  steps_.push_back({Step::Next, {}, 0});
  return *this;
}

void ScriptedPeer::Start() {
  if (!thread_.joinable() && listener_ != kNoSocket) thread_ = std::thread([this] { Run(); });
}

void ScriptedPeer::Finish() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
}

std::string ScriptedPeer::Received(size_t connection) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return connection < received_.size() ? received_[connection] : std::string();
}

size_t ScriptedPeer::connections() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return received_.size();
}

void ScriptedPeer::Record(size_t connection, const char* data, size_t n) {
  std::lock_guard<std::mutex> lock(mutex_);
  received_[connection].append(data, n);
}

long ScriptedPeer::ReadSome(RawSocket s, char* buffer, size_t size) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  for (;;) {
    int ready = WaitReadable(s, kSliceMs);
    if (ready < 0) return -1;
    if (ready > 0) return RecvSome(s, buffer, size);
    // Bytes already sent by the client are read before a stop takes effect (above).
    if (stopping_ || std::chrono::steady_clock::now() > deadline) return 0;
  }
}

void ScriptedPeer::Drain(RawSocket s, size_t connection) {
  char buf[65536];
  for (;;) {
    long n = ReadSome(s, buf, sizeof buf);
    if (n <= 0) return;
    Record(connection, buf, static_cast<size_t>(n));
  }
}

void ScriptedPeer::Run() {
  size_t step = 0;
  for (size_t connection = 0; !stopping_; ++connection) {
    RawSocket s = kNoSocket;
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!stopping_ && std::chrono::steady_clock::now() < deadline) {
      if (WaitReadable(listener_, kSliceMs) > 0) {
        s = AcceptOne(listener_);
        break;
      }
    }
    if (s == kNoSocket) return;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      received_.emplace_back();
    }
    bool open = true, next = false;
    for (; step < steps_.size() && !next; ++step) {
      const Step& st = steps_[step];
      switch (st.kind) {
        case Step::Expect: {
          size_t left = st.count;
          char buf[4096];
          while (open && left > 0) {
            long n = ReadSome(s, buf, std::min(left, sizeof buf));
            if (n <= 0) break;
            Record(connection, buf, static_cast<size_t>(n));
            left -= static_cast<size_t>(n);
          }
          break;
        }
        case Step::Send:
          if (open) SendAll(s, st.bytes);
          break;
        case Step::Pause:
          SleepMs(static_cast<uint32_t>(st.count));
          break;
        case Step::Close:
          if (open) {
            ShutdownSend(s);
            Drain(s, connection);
            CloseSocket(s);
            open = false;
          }
          break;
        case Step::Reset:
          if (open) {
            ResetSocket(s);
            open = false;
          }
          break;
        case Step::Next:
          next = true;
          break;
      }
    }
    if (open) {
      Drain(s, connection);
      CloseSocket(s);
    }
    if (!next) return;
  }
}

}  // namespace vt::test
