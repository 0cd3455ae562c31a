// A scripted game server on a real loopback socket: it records every byte the client sends and
// answers step by step (whole sends, sends in pieces with pauses, closes, resets, stalls). Each
// connection runs the steps up to the next NextConnection(); after its last step it keeps
// reading (and recording) until the client closes or Finish() is called.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/LoopbackSocket.h"

namespace vt::test {

class ScriptedPeer {
public:
  explicit ScriptedPeer(uint16_t port = 0) { listener_ = ListenLoopback(port, &port_); }
  ~ScriptedPeer();
  ScriptedPeer(const ScriptedPeer&) = delete;
  ScriptedPeer& operator=(const ScriptedPeer&) = delete;

  uint16_t port() const { return port_; }

  // Reads exactly n bytes from the client before going on (the bytes are recorded).
  ScriptedPeer& Expect(size_t n) { return Add(Step::Expect, {}, n); }
  ScriptedPeer& Expect(const std::string& bytes) { return Expect(bytes.size()); }
  ScriptedPeer& Send(std::string bytes) { return Add(Step::Send, std::move(bytes)); }
  // Sends in pieces of `piece` bytes with a pause after each, so the client sees them split.
  ScriptedPeer& SendInPieces(const std::string& bytes, size_t piece, uint32_t pauseMs);
  ScriptedPeer& Pause(uint32_t ms) { return Add(Step::Pause, {}, ms); }
  ScriptedPeer& Close() { return Add(Step::Close); }  // orderly close of this connection
  ScriptedPeer& Reset() { return Add(Step::Reset); }  // abortive close (RST)
  ScriptedPeer& NextConnection() { return Add(Step::Next); }

  // Starts serving the script; add every step first.
  void Start();
  // Stops serving: records what the client sent until now, closes everything, joins.
  void Finish();

  std::string Received(size_t connection = 0) const;
  size_t connections() const;

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
  void Run();
  // Reads (and records) up to `limit` bytes; false on error, close, stop or the time-out.
  bool Read(RawSocket s, size_t limit, size_t* got = nullptr);

  RawSocket listener_ = kNoSocket;
  uint16_t port_ = 0;
  std::vector<Step> steps_;
  std::thread thread_;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> received_;
};

}  // namespace vt::test
