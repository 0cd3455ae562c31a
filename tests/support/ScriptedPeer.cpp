#include "tests/support/ScriptedPeer.h"

#include <algorithm>
#include <chrono>

namespace vt::test {

namespace {
// A peer that waits longer than this for the client has met a broken client: give up.
constexpr auto kPatience = std::chrono::seconds(20);

// Waits in short slices until `s` is readable: 1, or 0 once `stop` or the time-out came, -1.
template <typename Stop>
int AwaitReadable(RawSocket s, const Stop& stop) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  for (;;) {
    // Bytes already sent are read before a stop takes effect.
    if (const int ready = WaitReadable(s, 10); ready != 0) return ready;
    if (stop() || std::chrono::steady_clock::now() > deadline) return 0;
  }
}
}  // namespace

ScriptedPeer::~ScriptedPeer() {
  Finish();
  if (listener_ != kNoSocket) CloseSocket(listener_);
}

ScriptedPeer& ScriptedPeer::SendInPieces(const std::string& bytes, size_t piece,
                                         uint32_t pauseMs) {
  piece = std::max<size_t>(piece, 1);
  for (size_t i = 0; i < bytes.size(); i += piece) {
    Send(bytes.substr(i, piece));
    if (i + piece < bytes.size()) Pause(pauseMs);
  }
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
  std::lock_guard lock(mutex_);
  return connection < received_.size() ? received_[connection] : std::string();
}

size_t ScriptedPeer::connections() const {
  std::lock_guard lock(mutex_);
  return received_.size();
}

bool ScriptedPeer::Read(RawSocket s, size_t limit, size_t* got) {
  char buf[65536];
  const long n = AwaitReadable(s, [this] { return stopping_.load(); }) > 0
                     ? RecvSome(s, buf, std::min(limit, sizeof buf))
                     : 0;
  if (n <= 0) return false;
  std::lock_guard lock(mutex_);
  received_.back().append(buf, static_cast<size_t>(n));
  if (got) *got = static_cast<size_t>(n);
  return true;
}

void ScriptedPeer::Run() {
  for (size_t step = 0; !stopping_;) {
    if (AwaitReadable(listener_, [this] { return stopping_.load(); }) <= 0) return;
    const RawSocket s = AcceptOne(listener_);
    if (s == kNoSocket) return;
    {
      std::lock_guard lock(mutex_);
      received_.emplace_back();
    }
    bool open = true, next = false;
    auto drain = [&] {
      while (Read(s, SIZE_MAX)) {
      }
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

}  // namespace vt::test
