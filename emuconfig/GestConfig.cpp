#include "emuconfig/GestConfig.h"

#include <array>

#include "emuconfig/ConfigFile.h"

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

constexpr std::size_t kTextLines = 6;
constexpr std::size_t kTextSearchBytes = 2048;

// First byte after the sixth line feed, if it lies within the first 2048 bytes.
std::optional<std::size_t> BindingBase(std::string_view bytes) {
  std::size_t seen = 0;
  std::size_t limit = bytes.size() < kTextSearchBytes ? bytes.size() : kTextSearchBytes;
  for (std::size_t i = 0; i < limit; ++i) {
    if (bytes[i] == '\n' && ++seen == kTextLines) return i + 1;
  }
  return std::nullopt;
}

}  // namespace

bool ReadGestBindings(std::string_view bytes, ControllerConfig& config) {
  std::optional<std::size_t> base = BindingBase(bytes);
  if (!base) return false;
  for (const GestByte& b : kBytes) {
    std::size_t at = *base + b.offset;
    config.Code(b.slot) = at < bytes.size() ? static_cast<unsigned char>(bytes[at]) : 0;
  }
  config.RefreshGameBoyNames();
  return true;
}

std::optional<std::string> WriteGestBindings(std::string_view bytes, const ControllerConfig& config) {
  std::optional<std::size_t> base = BindingBase(bytes);
  if (!base) return std::nullopt;
  std::string out(bytes);
  if (out.size() < kGestBufferBytes) out.resize(kGestBufferBytes, '\0');
  // base + 361 < 2048 + 362, always inside the 10240-byte buffer.
  for (const GestByte& b : kBytes) out[*base + b.offset] = static_cast<char>(config.Code(b.slot) & 0xFF);
  return out;
}

bool LoadGestConfig(ControllerConfig& config) {
  std::string bytes;
  return ReadConfigFile(config.gestPath, bytes) && ReadGestBindings(bytes, config);
}

bool SaveGestConfig(const ControllerConfig& config) {
  return PatchConfigFile(config.gestPath, [&](std::string_view bytes) { return WriteGestBindings(bytes, config); });
}

}  // namespace vt
