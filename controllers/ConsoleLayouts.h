// What is particular to each controller set-up window, as data: the aliases that open it, its
// template and background, the capture family, the fields with their prompts, slots and device
// rules, the Set All buttons and their orders, the help page and the emulator configuration it
// reads and writes. The windows and "vtcli controls" share these tables.
#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "emuconfig/Emulator.h"
#include "input/BindingSlot.h"
#include "input/CaptureFamily.h"

namespace vt {

// Which codes a field accepts (what it stores is its emulator's rule).
enum class DeviceRule {
  Any,                   // every code
  Keyboard,              // codes below 256
  GameBoyJoystick,       // codes above 256
  MasterSystemJoystick,  // codes of 256 and above
};

struct SetupField {
  int id;
  std::string_view prompt;        // shown on a click of the field
  std::string_view setAllPrompt;  // shown when its Set All reaches it
  BindingSlot slot;
  DeviceRule rule;
  bool smallFont;  // the Master System window's joystick column
};

struct SetAllButton {
  int id;
  std::vector<int> order;  // field ids in capture order
};

struct ConsoleLayout {
  std::string_view className;  // "NESC"
  int templateId;
  int background;
  std::optional<CaptureFamily> capture;  // none: no capture (the Atari 2600 window)
  std::string_view helpPage;
  const Emulator* emulator;  // whose configuration it reads and writes; null for the Atari 2600
  bool players;              // two players and their lamps
  bool setAllDisablesOk;     // the Master System window's Set All also disables OK
  bool closeReleasesImage;
  std::vector<SetupField> fields;
  std::vector<SetAllButton> setAlls;

  const SetupField* Field(int id) const;
  const SetAllButton* SetAll(int id) const;
};

enum class Console { A26C, GBCC, GENC, NESC, SMSC, SNESC };
const ConsoleLayout& Layout(Console console);

// Setup Help: the window for a system alias, compared exactly in the order SNES, GEN, NES, 2600,
// GBC, SMS, SGG, COL; null for any other alias.
const ConsoleLayout* LayoutForSystem(std::string_view alias);

}  // namespace vt
