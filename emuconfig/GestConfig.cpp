// Gest's "gest.cfg": six text lines, then binary settings with the sixteen binding bytes at fixed
// distances from the end of the sixth line. One player.
#include <algorithm>
#include <array>
#include <cstdint>

#include "emuconfig/Emulator.h"
#include "input/KeyNames.h"

namespace vt {
namespace {

struct GestByte {
  std::size_t offset;
  BindingSlot slot;
};

// Ascending offsets from the first byte after the sixth line feed.
constexpr std::array<GestByte, 16> kBytes = {{{12, SlotA},
                                              {16, SlotB},
                                              {20, SlotStart},
                                              {24, SlotSelect},
                                              {36, SlotAutoA},
                                              {40, SlotAutoB},
                                              {48, SlotUp},
                                              {52, SlotDown},
                                              {56, SlotLeft},
                                              {60, SlotRight},
                                              {341, SlotJoyA},
                                              {345, SlotJoyB},
                                              {349, SlotJoyStart},
                                              {353, SlotJoySelect},
                                              {357, SlotJoyAutoA},
                                              {361, SlotJoyAutoB}}};
constexpr std::array<BindingSlot, kBytes.size()> kSlots = [] {
  std::array<BindingSlot, kBytes.size()> slots{};
  for (std::size_t i = 0; i < kBytes.size(); ++i) slots[i] = kBytes[i].slot;
  return slots;
}();

constexpr std::size_t kTextLines = 6;
constexpr std::size_t kTextSearchBytes = 2048;

// First byte after the sixth line feed, if it lies within the first 2048 bytes.
std::optional<std::size_t> BindingBase(std::string_view bytes) {
  std::size_t seen = 0;
  const std::size_t limit = std::min(bytes.size(), kTextSearchBytes);
  for (std::size_t i = 0; i < limit; ++i) {
    if (bytes[i] == '\n' && ++seen == kTextLines) return i + 1;
  }
  return std::nullopt;
}

class GestFormat final : public FileEmulator {
public:
  GestFormat() : FileEmulator("gest", "Gest", 1, "gest.cfg") {}

  std::span<const BindingSlot> Slots(int) const override { return kSlots; }

  // The joystick slots hold a button number, the captured code minus 257.
  bool Fits(BindingSlot slot, std::int64_t code) const override {
    return IsJoystickSlot(slot) ? code >= 0 && code <= 31 : IsKeyCode(code);
  }

  // The Game Boy's capture numbers a joystick's inputs from 257 (every axis direction is 257,
  // button n 257 + n); the file keeps the button number.
  void StoreCaptured(ControllerConfig& config, BindingSlot slot, std::int32_t code,
                     const NesterBinding&) const override {
    config.Code(slot) = IsJoystickSlot(slot) ? code - 257 : code;
  }

  // The Game Boy names.
  void RefreshNames(ControllerConfig& config) const override {
    for (BindingSlot slot : kSlots) {
      // A button number + 256 shows as "J" and the number.
      const std::int64_t code = std::int64_t{config.Code(slot)} + (IsJoystickSlot(slot) ? 256 : 0);
      config.DisplayName(slot) =
          KeyDisplayName(code > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(code));
    }
  }

  // False when the first 2048 bytes hold fewer than six line feeds. Bytes past the end of a
  // short file read as 0, as the writer would pad them.
  bool Read(std::string_view bytes, int, ControllerConfig& config) const override {
    const std::optional<std::size_t> base = BindingBase(bytes);
    if (!base) return false;
    for (const GestByte& b : kBytes) {
      const std::size_t at = *base + b.offset;
      config.Code(b.slot) = at < bytes.size() ? static_cast<unsigned char>(bytes[at]) : 0;
    }
    RefreshNames(config);
    return true;
  }

  // The bytes padded to the buffer with zeros (a longer file keeps its extra bytes) and patched.
  std::optional<std::string> Write(std::string_view bytes, int,
                                   const ControllerConfig& config) const override {
    const std::optional<std::size_t> base = BindingBase(bytes);
    if (!base) return std::nullopt;
    std::string out(bytes);
    if (out.size() < kGestBufferBytes) out.resize(kGestBufferBytes, '\0');
    // base + 361 < 2048 + 362, always inside the buffer.
    for (const GestByte& b : kBytes)
      out[*base + b.offset] = static_cast<char>(config.Code(b.slot) & 0xFF);
    return out;
  }
};

}  // namespace

const FileEmulator& Gest() {
  static const GestFormat kFormat;
  return kFormat;
}

}  // namespace vt
