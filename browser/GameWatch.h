// When the browser comes back after a launch: the window minimised itself for the game, so it is
// restored and brought to the front when that game ends. Only the last game started counts (an
// earlier one ending while a later one runs changes nothing), a window the user restored
// meanwhile is left as it is, and a client that closes waits for nothing.
#pragma once

#include <cstdint>
#include <optional>

namespace vt {

class GameWatch {
public:
  // A launch started a game; the number names it when it ends.
  std::uint64_t Started() { return *(watched_ = ++last_); }
  // The game ended: true when the window is to be restored and brought to the front.
  bool Ended(std::uint64_t game, bool minimised) {
    if (watched_ != game) return false;
    watched_.reset();
    return minimised;
  }
  // The client closes: no game is waited for any more.
  void Stop() { watched_.reset(); }
  // The game whose end is waited for, if any.
  std::optional<std::uint64_t> Watched() const { return watched_; }

private:
  std::uint64_t last_ = 0;
  std::optional<std::uint64_t> watched_;
};

}  // namespace vt
