#include "input/NesterBinding.h"

namespace vt {

NesterBinding NesterKeyboardBinding(std::uint32_t scanCode) {
  NesterBinding b;
  b.DeviceGUID = kGuidSysKeyboard;
  b.DeviceType = kNesterKeyboard;
  b.Key = scanCode;
  return b;
}

}  // namespace vt
