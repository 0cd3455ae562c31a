#include "input/NesterBinding.h"

#include <algorithm>

namespace vt {
namespace {

void PutU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::uint32_t GetU32(std::string_view in, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= std::uint32_t{static_cast<unsigned char>(in[at + i])} << (8 * i);
  return v;
}

}  // namespace

std::string EncodeNesterBinding(const NesterBinding& b) {
  std::string out(b.DeviceGUID.begin(), b.DeviceGUID.end());
  PutU32(out, b.DeviceType);
  PutU32(out, b.JAxisPositive);
  PutU32(out, b.JOffset);
  PutU32(out, b.Key);
  return out;
}

std::optional<NesterBinding> DecodeNesterBinding(std::string_view bytes) {
  if (bytes.size() != kNesterBindingBytes) return std::nullopt;
  NesterBinding b;
  std::transform(bytes.begin(), bytes.begin() + 16, b.DeviceGUID.begin(),
                 [](char c) { return static_cast<std::uint8_t>(c); });
  b.DeviceType = GetU32(bytes, 16);
  b.JAxisPositive = GetU32(bytes, 20);
  b.JOffset = GetU32(bytes, 24);
  b.Key = GetU32(bytes, 28);
  return b;
}

NesterBinding NesterKeyboardBinding(std::uint32_t scanCode) {
  NesterBinding b;
  b.DeviceGUID = kGuidSysKeyboard;
  b.DeviceType = kNesterKeyboard;
  b.Key = scanCode;
  return b;
}

}  // namespace vt
