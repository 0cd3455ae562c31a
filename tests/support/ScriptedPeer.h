// A scripted game server on a real loopback socket: it records every byte the client sends and
// answers step by step. Each connection runs the steps up to the next NextConnection(), then
// keeps reading (and recording) until the client closes or Finish() is called.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/LoopbackSocket.h"

namespace vt::test {

class ScriptedPeer {
public:
  ScriptedPeer() { listener_ = ListenLoopback(0, &port_); }
  ~ScriptedPeer() {
    Finish();
    if (listener_ != kNoSocket) CloseSocket(listener_);
  }
  ScriptedPeer(const ScriptedPeer&) = delete;
  ScriptedPeer& operator=(const ScriptedPeer&) = delete;

  uint16_t port() const { return port_; }

  // Reads exactly n bytes from the client before going on (the bytes are recorded).
  ScriptedPeer& Expect(size_t n) { return Add(Step::Expect, {}, n); }
  ScriptedPeer& Expect(const std::string& bytes) { return Expect(bytes.size()); }
  ScriptedPeer& Send(std::string bytes) { return Add(Step::Send, std::move(bytes)); }
  // Sends in pieces of `piece` bytes with a pause after each, so the client sees them split.
  ScriptedPeer& SendInPieces(const std::string& bytes, size_t piece, uint32_t pauseMs) {
    piece = std::max<size_t>(piece, 1);
    for (size_t i = 0; i < bytes.size(); i += piece) {
      Send(bytes.substr(i, piece));
      if (i + piece < bytes.size()) Pause(pauseMs);
    }
    return *this;
  }
  ScriptedPeer& Pause(uint32_t ms) { return Add(Step::Pause, {}, ms); }
  ScriptedPeer& Close() { return Add(Step::Close); }  // orderly close of this connection
  ScriptedPeer& Reset() { return Add(Step::Reset); }  // abortive close (RST)
  ScriptedPeer& NextConnection() { return Add(Step::Next); }

  // Starts serving the script; add every step first.
  void Start() {
    if (!thread_.joinable() && listener_ != kNoSocket) thread_ = std::thread([this] { Run(); });
  }
  // Stops serving: records what the client sent until now, closes everything, joins.
  void Finish() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
  }

  std::string Received(size_t connection = 0) const {
    std::lock_guard lock(mutex_);
    return connection < received_.size() ? received_[connection] : std::string();
  }
  size_t connections() const {
    std::lock_guard lock(mutex_);
    return received_.size();
  }

private:
  struct Step {
    enum Kind { Expect, Send, Pause, Close, Reset, Next } kind;
    std::string bytes;
    size_t count = 0;
  };
  ScriptedPeer& Add(Step::Kind kind, std::string bytes = {}, size_t count = 0) {
    steps_.push_back({kind, std::move(bytes), count});
    return *this;
  }
  // Waits in short slices until `s` is readable: 1, or 0 once stopped or after 20 s (a peer
  // that waits longer for the client has met a broken client: it gives up), -1 on error.
  int AwaitReadable(RawSocket s) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (;;) {
      // Bytes already sent are read before a stop takes effect.
      if (const int ready = WaitReadable(s, 10); ready != 0) return ready;
      if (stopping_ || std::chrono::steady_clock::now() > deadline) return 0;
    }
  }
  // Reads (and records) up to `limit` bytes; false on error, close, stop or the time-out.
  bool Read(RawSocket s, size_t limit, size_t* got = nullptr) {
    char buf[65536];
    const long n = AwaitReadable(s) > 0 ? RecvSome(s, buf, std::min(limit, sizeof buf)) : 0;
    if (n <= 0) return false;
    std::lock_guard lock(mutex_);
    received_.back().append(buf, static_cast<size_t>(n));
    if (got) *got = static_cast<size_t>(n);
    return true;
  }
  void Run() {
    for (size_t step = 0; !stopping_;) {
      if (AwaitReadable(listener_) <= 0) return;
      const RawSocket s = AcceptOne(listener_);
      if (s == kNoSocket) return;
      {
        std::lock_guard lock(mutex_);
        received_.emplace_back();
      }
      bool open = true, next = false;
      auto drain = [&] {
        while (Read(s, SIZE_MAX)) {}
      };
      for (; step < steps_.size() && !next; ++step) {
        const Step& st = steps_[step];
        switch (st.kind) {
          case Step::Expect:
            for (size_t left = st.count, got = 0; open && left > 0 && Read(s, left, &got);)
              left -= got;
            break;
          case Step::Send:
            if (open) SendAll(s, st.bytes);
            break;
          case Step::Pause:
            std::this_thread::sleep_for(std::chrono::milliseconds(st.count));
            break;
          case Step::Close:
            if (open) ShutdownSend(s), drain(), CloseSocket(s);
            open = false;
            break;
          case Step::Reset:
            if (open) ResetSocket(s);
            open = false;
            break;
          case Step::Next:
            next = true;
            break;
        }
      }
      if (open) drain(), CloseSocket(s);
      if (!next) return;
    }
  }

  RawSocket listener_ = kNoSocket;
  uint16_t port_ = 0;
  std::vector<Step> steps_;
  std::thread thread_;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> received_;
};

}  // namespace vt::test
