#include "controllers/ConsoleLayouts.h"

#include "resources/resource.h"

namespace vt {

namespace {

constexpr DeviceRule kAny = DeviceRule::Any;
constexpr DeviceRule kKeys = DeviceRule::Keyboard;

SetupField Plain(int id, std::string_view prompt, BindingSlot slot, DeviceRule rule = kAny,
                 std::string_view nesButton = {}) {
  return {id, prompt, prompt, slot, rule, nesButton, false};
}

std::vector<int> Ids(const std::vector<SetupField>& fields) {
  std::vector<int> ids;
  for (const SetupField& f : fields) ids.push_back(f.id);
  return ids;
}

ConsoleLayout MakeA26C() {
  return {"A26C", IDD_A26C, IDB_A26C_BACKGROUND, "", "2600_HELP.php", Emulator::None, false, false, true, {}, {}};
}

ConsoleLayout MakeGBCC() {
  std::vector<SetupField> keys = {
      Plain(IDC_SETUP_UP, "Push Up", SlotUp, kKeys),
      Plain(IDC_SETUP_DOWN, "Push Down", SlotDown, kKeys),
      Plain(IDC_SETUP_LEFT, "Push Left", SlotLeft, kKeys),
      Plain(IDC_SETUP_RIGHT, "Push Right", SlotRight, kKeys),
      Plain(IDC_SETUP_SELECT, "Push Select", SlotSelect, kKeys),
      Plain(IDC_SETUP_START, "Push Start", SlotStart, kKeys),
      Plain(IDC_SETUP_A, "Push A", SlotA, kKeys),
      Plain(IDC_SETUP_B, "Push B", SlotB, kKeys),
      Plain(IDC_GBCC_AUTO_A, "Push Auto A", SlotAutoA, kKeys),
      Plain(IDC_GBCC_AUTO_B, "Push Auto B", SlotAutoB, kKeys),
  };
  constexpr DeviceRule kJoy = DeviceRule::GameBoyJoystick;
  std::vector<SetupField> joys = {
      Plain(IDC_GBCC_JOY_SELECT, "Push Select", SlotJoySelect, kJoy),
      Plain(IDC_GBCC_JOY_START, "Push Start", SlotJoyStart, kJoy),
      Plain(IDC_GBCC_JOY_A, "Push A", SlotJoyA, kJoy),
      Plain(IDC_GBCC_JOY_B, "Push B", SlotJoyB, kJoy),
      Plain(IDC_GBCC_JOY_AUTO_A, "Push Auto A", SlotJoyAutoA, kJoy),
      Plain(IDC_GBCC_JOY_AUTO_B, "Push Auto B", SlotJoyAutoB, kJoy),
  };
  std::vector<SetAllButton> setAlls = {{IDC_GBCC_SET_ALL_KEYBOARD, Ids(keys)},
                                       {IDC_GBCC_SET_ALL_JOYSTICK, Ids(joys)}};
  keys.insert(keys.end(), joys.begin(), joys.end());
  return {"GBCC", IDD_GBCC, IDB_GBCC_BACKGROUND, "GBC", "GBC_HELP.php", Emulator::Gest, false, false, true, keys, setAlls};
}

ConsoleLayout MakeGENC() {
  std::vector<SetupField> fields = {
      Plain(IDC_SETUP_UP, "Push Up", SlotUp),       Plain(IDC_SETUP_DOWN, "Push Down", SlotDown),
      Plain(IDC_SETUP_LEFT, "Push Left", SlotLeft), Plain(IDC_SETUP_RIGHT, "Push Right", SlotRight),
      Plain(IDC_SETUP_START, "Push Start", SlotStart), Plain(IDC_SETUP_A, "Push A", SlotA),
      Plain(IDC_SETUP_B, "Push B", SlotB),          Plain(IDC_GENC_C, "Push C", SlotC),
  };
  return {"GENC", IDD_GENC, IDB_GENC_BACKGROUND, "GEN", "GEN_HELP.php", Emulator::Gens, true, false, true, fields, {{IDC_SETUP_SET_ALL, Ids(fields)}}};
}

ConsoleLayout MakeNESC() {
  std::vector<SetupField> fields = {
      Plain(IDC_SETUP_UP, "Push Up", SlotUp, kAny, "Up"),
      Plain(IDC_SETUP_DOWN, "Push Down", SlotDown, kAny, "Down"),
      Plain(IDC_SETUP_LEFT, "Push Left", SlotLeft, kAny, "Left"),
      Plain(IDC_SETUP_RIGHT, "Push Right", SlotRight, kAny, "Right"),
      Plain(IDC_SETUP_SELECT, "Push Select", SlotSelect, kAny, "Select"),
      Plain(IDC_SETUP_START, "Push Start", SlotStart, kAny, "Start"),
      Plain(IDC_SETUP_A, "Push A", SlotA, kAny, "A"),
      Plain(IDC_SETUP_B, "Push B", SlotB, kAny, "B"),
  };
  return {"NESC", IDD_NESC, IDB_NESC_BACKGROUND, "NES", "NES_HELP.php", Emulator::Nester, true, false, true, fields, {{IDC_SETUP_SET_ALL, Ids(fields)}}};
}

ConsoleLayout MakeSMSC() {
  // The keyboard fields' own prompts for the buttons have no blank; their Set All's do.
  std::vector<SetupField> keys = {
      Plain(IDC_SMSC_UP, "Push Up", SlotUp, kKeys),
      Plain(IDC_SMSC_DOWN, "Push Down", SlotDown, kKeys),
      Plain(IDC_SMSC_LEFT, "Push Left", SlotLeft, kKeys),
      Plain(IDC_SMSC_RIGHT, "Push Right", SlotRight, kKeys),
      {IDC_SMSC_BUTTON1, "Push Button1", "Push Button 1", SlotButton1, kKeys, {}, false},
      {IDC_SMSC_BUTTON2, "Push Button2", "Push Button 2", SlotButton2, kKeys, {}, false},
      Plain(IDC_SMSC_PAUSE, "Push Pause", SlotPause, kKeys),
  };
  constexpr DeviceRule kJoy = DeviceRule::MasterSystemJoystick;
  auto joy = [](int id, std::string_view prompt, BindingSlot slot) {
    return SetupField{id, prompt, prompt, slot, kJoy, {}, true};
  };
  std::vector<SetupField> joys = {
      joy(IDC_SMSC_JOY_UP, "Push Up", SlotJoyUp),
      joy(IDC_SMSC_JOY_DOWN, "Push Down", SlotJoyDown),
      joy(IDC_SMSC_JOY_LEFT, "Push Left", SlotJoyLeft),
      joy(IDC_SMSC_JOY_RIGHT, "Push Right", SlotJoyRight),
      joy(IDC_SMSC_JOY_BUTTON1, "Push Button 1", SlotJoyButton1),
      joy(IDC_SMSC_JOY_BUTTON2, "Push Button 2", SlotJoyButton2),
      joy(IDC_SMSC_JOY_PAUSE, "Push Pause", SlotJoyPause),
  };
  std::vector<SetAllButton> setAlls = {{IDC_SMSC_SET_ALL_KEYBOARD, Ids(keys)},
                                       {IDC_SMSC_SET_ALL_JOYSTICK, Ids(joys)}};
  keys.insert(keys.end(), joys.begin(), joys.end());
  return {"SMSC", IDD_SMSC, IDB_SMSC_BACKGROUND, "SMS", "SMS_HELP.php", Emulator::Meka, true, true, false, keys, setAlls};
}

ConsoleLayout MakeSNESC() {
  std::vector<SetupField> fields = {
      Plain(IDC_SETUP_UP, "Push Up", SlotUp),           Plain(IDC_SETUP_DOWN, "Push Down", SlotDown),
      Plain(IDC_SETUP_LEFT, "Push Left", SlotLeft),     Plain(IDC_SETUP_RIGHT, "Push Right", SlotRight),
      Plain(IDC_SETUP_SELECT, "Push Select", SlotSelect), Plain(IDC_SETUP_START, "Push Start", SlotStart),
      Plain(IDC_SETUP_A, "Push A", SlotA),              Plain(IDC_SETUP_B, "Push B", SlotB),
      Plain(IDC_SNESC_X, "Push X", SlotX),              Plain(IDC_SNESC_Y, "Push Y", SlotY),
      Plain(IDC_SNESC_L, "Push L", SlotL),              Plain(IDC_SNESC_R, "Push R", SlotR),
  };
  return {"SNESC", IDD_SNESC, IDB_SNESC_BACKGROUND, "SNES", "SNES_HELP.php", Emulator::Zsnes, true, false, true, fields, {{IDC_SETUP_SET_ALL, Ids(fields)}}};
}

}  // namespace

const SetupField* ConsoleLayout::Field(int id) const {
  for (const SetupField& f : fields)
    if (f.id == id) return &f;
  return nullptr;
}

const SetAllButton* ConsoleLayout::SetAll(int id) const {
  for (const SetAllButton& b : setAlls)
    if (b.id == id) return &b;
  return nullptr;
}

const ConsoleLayout& Layout(Console console) {
  static const ConsoleLayout kLayouts[] = {MakeA26C(), MakeGBCC(), MakeGENC(),
                                           MakeNESC(), MakeSMSC(), MakeSNESC()};
  return kLayouts[static_cast<int>(console)];
}

const ConsoleLayout* LayoutForSystem(std::string_view alias) {
  static constexpr std::pair<std::string_view, Console> kTable[] = {
      {"SNES", Console::SNESC}, {"GEN", Console::GENC}, {"NES", Console::NESC},
      {"2600", Console::A26C},  {"GBC", Console::GBCC}, {"SMS", Console::SMSC},
      {"SGG", Console::SMSC},   {"COL", Console::SMSC}};
  for (const auto& [a, console] : kTable)
    if (a == alias) return &Layout(console);
  return nullptr;
}

std::vector<BindingSlot> EmulatorSlots(Emulator emulator, int player) {
  switch (emulator) {
    case Emulator::Nester:
      return {SlotUp, SlotDown, SlotLeft, SlotRight, SlotSelect, SlotStart, SlotA, SlotB};
    case Emulator::Gens:
      return {SlotUp, SlotDown, SlotLeft, SlotRight, SlotStart, SlotA, SlotB, SlotC};
    case Emulator::Zsnes:
      return {SlotRight, SlotLeft, SlotDown, SlotUp, SlotStart, SlotSelect,
              SlotB,     SlotY,    SlotA,    SlotX,  SlotL,     SlotR};
    case Emulator::Gest:
      return {SlotA,        SlotB,         SlotStart,    SlotSelect,    SlotAutoA,    SlotAutoB,
              SlotUp,       SlotDown,      SlotLeft,     SlotRight,     SlotJoyA,     SlotJoyB,
              SlotJoyStart, SlotJoySelect, SlotJoyAutoA, SlotJoyAutoB};
    case Emulator::Meka: {
      std::vector<BindingSlot> keys = {SlotUp, SlotDown, SlotLeft, SlotRight, SlotButton1, SlotButton2};
      if (player == 1)
        keys.push_back(SlotPause);
      else
        keys.insert(keys.begin(), SlotPause);  // player 2 reads "[Keyboard 1]"'s pause first
      for (BindingSlot s : {SlotJoyUp, SlotJoyDown, SlotJoyLeft, SlotJoyRight, SlotJoyButton1,
                            SlotJoyButton2, SlotJoyPause})
        keys.push_back(s);
      return keys;
    }
    case Emulator::None:
      break;
  }
  return {};
}

}  // namespace vt
