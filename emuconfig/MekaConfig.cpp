// MEKA's "meka.inp": the keyboard and joypad sections of players 1 and 2.
#include <algorithm>
#include <array>
#include <initializer_list>
#include <span>
#include <utility>
#include <vector>

#include "emuconfig/ConfigText.h"
#include "emuconfig/Emulator.h"
#include "input/KeyNames.h"

namespace vt {
namespace {

using namespace configtext;

struct MekaLine {
  const char* word;
  BindingSlot key;
  BindingSlot joy;
};

// Section order; the reader takes values by position, not by word.
constexpr std::array<MekaLine, 7> kLines = {{{"player_up", SlotUp, SlotJoyUp},
                                             {"player_down", SlotDown, SlotJoyDown},
                                             {"player_left", SlotLeft, SlotJoyLeft},
                                             {"player_right", SlotRight, SlotJoyRight},
                                             {"player_button1", SlotButton1, SlotJoyButton1},
                                             {"player_button2", SlotButton2, SlotJoyButton2},
                                             {"player_start_pause", SlotPause, SlotJoyPause}}};
constexpr std::size_t kPauseLine = 6;

// What the reader fills, in its order: the keyboard values, then the joypad's. Player 2 reads
// "[Keyboard 1]"'s pause first.
using Slots14 = std::array<BindingSlot, 2 * kLines.size()>;
constexpr Slots14 ReaderOrder(int player) {
  Slots14 slots{};
  std::size_t n = 0;
  if (player == 2) slots[n++] = kLines[kPauseLine].key;
  for (std::size_t i = 0; i < kLines.size(); ++i)
    if (player == 1 || i != kPauseLine) slots[n++] = kLines[i].key;
  for (const MekaLine& l : kLines) slots[n++] = l.joy;
  return slots;
}
constexpr Slots14 kPlayer1 = ReaderOrder(1), kPlayer2 = ReaderOrder(2);

std::string BindingLine(const char* word, std::string_view prefix, std::string_view value,
                        std::string_view eol) {
  std::string line = word;
  line.resize(20, ' ');
  line += "= ";
  line += prefix;
  line += value;
  line += eol;
  return line;
}

std::string_view LineEnd(std::string_view text) {
  return Find(text, "\r\n") != npos ? "\r\n" : "\n";
}

bool Ascending(std::initializer_list<std::size_t> positions) {
  std::size_t last = 0;
  bool first = true;
  for (std::size_t p : positions) {
    if (p == npos || (!first && p <= last)) return false;
    last = p;
    first = false;
  }
  return true;
}

using Values = std::array<std::int32_t, 7>;
using Places = std::array<std::size_t, 7>;  // where each value read starts in the text

// Reads `count` keyboard values from `p` on; p ends at the last value's start.
bool ReadKeys(std::string_view text, std::size_t& p, std::size_t count, Values& codes,
              Places& places) {
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t at = Find(text, "key ", p);
    if (at == npos) return false;
    p = places[i] = at + 4;
    codes[i] = MekaKeyCode(LineValue(text, p));
  }
  return true;
}

// Seven joypad values after the first "player" from `p` (a joypad section's header) on.
bool ReadJoys(std::string_view text, std::size_t p, Values& codes, Places& places) {
  p = Find(text, "player", p);
  for (std::size_t i = 0; i < kLines.size(); ++i) {
    std::size_t at = Find(text, "joy", p);
    if (at == npos) return false;
    std::string_view value = LineValue(text, at);
    codes[i] = MekaJoyCode(value);
    places[i] = at;
    p = at + value.size();
  }
  return true;
}

// A binding line as the writer would put it (empty: it cannot), and whether the line there is
// kept as it stands instead.
struct NewLine {
  std::string text;
  bool keep = false;
};

// The reader takes values by position (each "key " or "joy" from a section's start) and the
// writer puts them in by key word, so the writer takes a stretch only where the two agree: its
// binding lines stand in table order, each once, and the reader took value k from binding line
// k. Anything else is not the client's to rewrite: the bindings read would come back under other
// buttons.
// Taken, the stretch from its first binding line to `to` goes to `out` (after the text since
// `copied`) with binding line k replaced by lines[k]'s text unless that is empty or the line is
// to be kept, and every other line kept (a joypad section's own "player_reset" among them). Lines
// the stretch lacks (the last ones) are added after the last one it has: the reader took their
// values from what follows, so those must come later, and reads them from the added lines next
// time. A lacking line without a new text cannot be added, and adding only the others would shift
// what the reader takes, so then nothing is taken.
bool RewriteStretch(std::string_view text, std::size_t from, std::size_t to,
                    std::span<const MekaLine> words, const Places& places,
                    const std::vector<NewLine>& lines, std::size_t& copied, std::string& out) {
  if (from == npos || to == npos || from >= to || from < copied) return false;
  std::string stretch;
  std::size_t present = 0, first = npos, afterLast = 0, afterLastInStretch = 0;
  for (std::size_t pos = from; pos < to;) {
    const std::size_t lf = text.find('\n', pos);
    const std::size_t end = lf == npos || lf >= to ? to : lf + 1;
    const std::string_view line = text.substr(pos, end - pos);
    if (pos > from && line.starts_with('[')) return false;  // another section begins
    const std::string_view word = line.substr(0, line.find_first_of(" =\r\n"));
    const auto known =
        std::find_if(words.begin(), words.end(), [&](const MekaLine& l) { return word == l.word; });
    if (known != words.end()) {
      if (static_cast<std::size_t>(known - words.begin()) != present) return false;
      if (places[present] < pos || places[present] >= end) return false;
      if (present == 0) first = pos;
      const NewLine& next = lines[present];
      stretch += next.keep || next.text.empty() ? std::string(line) : next.text;
      ++present;
      afterLast = end;
      afterLastInStretch = stretch.size();
    } else if (first != npos) {
      stretch += line;
    }
    pos = end;
  }
  if (present == 0) return false;
  if (present < words.size()) {
    if (places[present] < afterLast) return false;
    std::string missing;
    for (std::size_t k = present; k < words.size(); ++k) {
      if (lines[k].text.empty()) return false;
      missing += lines[k].text;
    }
    stretch.insert(afterLastInStretch, missing);
  }
  out.append(text.substr(copied, first - copied));
  out += stretch;
  copied = to;
  return true;
}

// Where the reader finds one player's sections and values; the writer works from the same.
struct Scan {
  Values keys{}, joys{};
  Places pausePlace{}, keyPlaces{}, joyPlaces{};
  std::size_t keyboard1 = npos, pause = npos, keyboard2 = npos, joypad = npos;
};

bool ScanMeka(std::string_view text, int player, Scan& scan) {
  std::size_t p = scan.keyboard1 = FindLine(text, "[Keyboard 1]");
  if (p == npos) return false;
  if (player == 1) {
    if (!ReadKeys(text, p, 7, scan.keys, scan.keyPlaces)) return false;
    p = scan.joypad = FindLine(text, "[Joypad 1]", p);
  } else if (player == 2) {
    // Player 2's keyboard pause is the one of "[Keyboard 1]".
    p = scan.pause = FindLine(text, "player_start_pause", p);
    Values pause{};
    if (p == npos || !ReadKeys(text, p, 1, pause, scan.pausePlace)) return false;
    p = scan.keyboard2 = FindLine(text, "[Keyboard 2]", p);
    if (p == npos || !ReadKeys(text, p, kPauseLine, scan.keys, scan.keyPlaces)) return false;
    scan.keys[kPauseLine] = pause[0];
    p = scan.joypad = FindLine(text, "[Joypad 2]", p);
  } else {
    return false;
  }
  return p != npos && ReadJoys(text, p, scan.joys, scan.joyPlaces);
}

class MekaFormat final : public FileEmulator {
public:
  MekaFormat() : FileEmulator("meka", "MEKA", 2, "meka.inp") {}

  std::span<const BindingSlot> Slots(int player) const override {
    return player == 2 ? kPlayer2 : kPlayer1;
  }

  // The Master System window takes keys that MEKA names in the keyboard column and joystick
  // codes in the other.
  bool Fits(BindingSlot slot, std::int64_t code) const override {
    if (IsJoystickSlot(slot)) return code >= 256 && code <= 287;
    return IsKeyCode(code) && MekaNamesKey(static_cast<std::int32_t>(code));
  }

  // The Master System names are MEKA's texts, which the writer stores as they are.
  void RefreshNames(ControllerConfig& config) const override {
    for (BindingSlot slot : kPlayer1) config.DisplayName(slot) = MekaKeyName(config.Code(slot));
  }

  // False when a section or one of the binding values cannot be found.
  bool Read(std::string_view text, int player, ControllerConfig& config) const override {
    Scan scan;
    if (!ScanMeka(text, player, scan)) return false;
    for (std::size_t i = 0; i < kLines.size(); ++i) {
      config.Code(kLines[i].key) = scan.keys[i];
      config.Code(kLines[i].joy) = scan.joys[i];
    }
    RefreshNames(config);
    return true;
  }

  // The player's binding lines rewritten from the display names; nullopt when the words that
  // bound the replaced stretches are missing or out of order.
  std::optional<std::string> Write(std::string_view text, int player,
                                   const ControllerConfig& config) const override;
};

std::optional<std::string> MekaFormat::Write(std::string_view text, int player,
                                             const ControllerConfig& config) const {
  Scan scan;
  if (!ScanMeka(text, player, scan)) return std::nullopt;
  const std::string_view eol = LineEnd(text);
  // A line whose slot still holds what the reader took from it is kept byte for byte: nobody
  // bound it anew, and a value the reader did not know (read as 0) would come back as another.
  auto keyLines = [&](std::size_t from, std::size_t to) {
    std::vector<NewLine> lines;
    for (std::size_t i = from; i < to; ++i) {
      const BindingSlot slot = kLines[i].key;
      lines.push_back({BindingLine(kLines[i].word, "key ", config.DisplayName(slot), eol),
                       config.Code(slot) == scan.keys[i]});
    }
    return lines;
  };
  auto joyLines = [&] {
    std::vector<NewLine> lines;
    // A joypad value that is no joystick text (what an unreadable one reads as) is not written:
    // the reader finds joypad values by their "joy", and the line as it stands is kept.
    for (std::size_t i = 0; i < kLines.size(); ++i) {
      const std::string& name = config.DisplayName(kLines[i].joy);
      lines.push_back({name.starts_with("joy") ? BindingLine(kLines[i].word, "", name, eol) : "",
                       config.Code(kLines[i].joy) == scan.joys[i]});
    }
    return lines;
  };

  // The stretches the client owns, each from its first binding line to the line or section that
  // ends it, are rewritten line by line in file order; the text between them is copied.
  std::string out;
  std::size_t copied = 0;
  auto take = [&](std::size_t section, std::size_t end, std::span<const MekaLine> words,
                  const Places& places, const std::vector<NewLine>& lines) {
    return RewriteStretch(text, section, end, words, places, lines, copied, out);
  };
  const std::span<const MekaLine> all(kLines);
  // The reader looks for the next section from its last value on; once lines are added that
  // value stands in its own section, so the next must be the first after that section's end.
  if (player == 1) {
    const std::size_t reset = FindLine(text, "player_reset", scan.keyboard1);
    const std::size_t joypad2 = FindLine(text, "[Joypad 2]", scan.joypad);
    if (!Ascending({scan.keyboard1, reset, scan.joypad, joypad2}) ||
        scan.joypad != FindLine(text, "[Joypad 1]", reset) ||
        !take(scan.keyboard1, reset, all, scan.keyPlaces, keyLines(0, kLines.size())) ||
        !take(scan.joypad, joypad2, all, scan.joyPlaces, joyLines()))
      return std::nullopt;
  } else {
    const std::size_t reset = FindLine(text, "player_reset", scan.pause);
    const std::size_t joypad1 = FindLine(text, "[Joypad 1]", scan.keyboard2);
    const std::size_t mouse1 = FindLine(text, "[Mouse 1]", scan.joypad);
    if (!Ascending(
            {scan.keyboard1, scan.pause, reset, scan.keyboard2, joypad1, scan.joypad, mouse1}) ||
        scan.keyboard2 != FindLine(text, "[Keyboard 2]", reset) ||
        scan.joypad != FindLine(text, "[Joypad 2]", joypad1) ||
        !take(scan.pause, reset, all.subspan(kPauseLine), scan.pausePlace,
              keyLines(kPauseLine, kLines.size())) ||
        !take(scan.keyboard2, joypad1, all.first(kPauseLine), scan.keyPlaces,
              keyLines(0, kPauseLine)) ||
        !take(scan.joypad, mouse1, all, scan.joyPlaces, joyLines()))
      return std::nullopt;
  }
  out.append(text.substr(copied));
  return out;
}

}  // namespace

const FileEmulator& Meka() {
  static const MekaFormat kFormat;
  return kFormat;
}

}  // namespace vt
