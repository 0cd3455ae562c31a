// How a console family's emulator numbers what a capture found: each set-up window's layout
// names its family, and the capture numbers by it.
#pragma once

namespace vt {

enum class CaptureFamily { Snes, Genesis, GameBoy, MasterSystem, Nes };

}  // namespace vt
