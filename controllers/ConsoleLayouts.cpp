#include "controllers/ConsoleLayouts.h"

#include "resources/resource.h"

namespace vt {

namespace {

constexpr DeviceRule kAny = DeviceRule::Any;
constexpr DeviceRule kKeys = DeviceRule::Keyboard;

SetupField Plain(int id, std::string_view prompt, BindingSlot slot, DeviceRule rule = kAny) {
  return {id, prompt, prompt, slot, rule, false};
}

// The eight fields that are the same control with the same prompt in the Game Boy, Genesis, NES
// and SNES windows, in their order there.
std::vector<SetupField> Shared(DeviceRule rule = kAny) {
  return {Plain(IDC_SETUP_UP, "Push Up", SlotUp, rule),
          Plain(IDC_SETUP_DOWN, "Push Down", SlotDown, rule),
          Plain(IDC_SETUP_LEFT, "Push Left", SlotLeft, rule),
          Plain(IDC_SETUP_RIGHT, "Push Right", SlotRight, rule),
          Plain(IDC_SETUP_SELECT, "Push Select", SlotSelect, rule),
          Plain(IDC_SETUP_START, "Push Start", SlotStart, rule),
          Plain(IDC_SETUP_A, "Push A", SlotA, rule),
          Plain(IDC_SETUP_B, "Push B", SlotB, rule)};
}

std::vector<SetupField> Then(std::vector<SetupField> fields, std::vector<SetupField> more) {
  fields.insert(fields.end(), more.begin(), more.end());
  return fields;
}

std::vector<int> Ids(const std::vector<SetupField>& fields) {
  std::vector<int> ids;
  for (const SetupField& f : fields) ids.push_back(f.id);
  return ids;
}

// Two players with their lamps, fields that take any device and one Set All over all of them.
ConsoleLayout TwoPlayers(std::string_view className, int templateId, int background,
                         CaptureFamily family, std::string_view help, const Emulator& emulator,
                         std::vector<SetupField> fields) {
  std::vector<SetAllButton> setAll = {{IDC_SETUP_SET_ALL, Ids(fields)}};
  return {className, templateId, background,        family,           help, &emulator, true,
          false,     true,       std::move(fields), std::move(setAll)};
}

ConsoleLayout MakeA26C() {
  return {"A26C",
          IDD_A26C,
          IDB_A26C_BACKGROUND,
          std::nullopt,
          "2600_HELP.php",
          nullptr,
          false,
          false,
          true,
          {},
          {}};
}

ConsoleLayout MakeGBCC() {
  const std::vector<SetupField> keys =
      Then(Shared(kKeys), {Plain(IDC_GBCC_AUTO_A, "Push Auto A", SlotAutoA, kKeys),
                           Plain(IDC_GBCC_AUTO_B, "Push Auto B", SlotAutoB, kKeys)});
  constexpr DeviceRule kJoy = DeviceRule::GameBoyJoystick;
  const std::vector<SetupField> joys = {
      Plain(IDC_GBCC_JOY_SELECT, "Push Select", SlotJoySelect, kJoy),
      Plain(IDC_GBCC_JOY_START, "Push Start", SlotJoyStart, kJoy),
      Plain(IDC_GBCC_JOY_A, "Push A", SlotJoyA, kJoy),
      Plain(IDC_GBCC_JOY_B, "Push B", SlotJoyB, kJoy),
      Plain(IDC_GBCC_JOY_AUTO_A, "Push Auto A", SlotJoyAutoA, kJoy),
      Plain(IDC_GBCC_JOY_AUTO_B, "Push Auto B", SlotJoyAutoB, kJoy),
  };
  return {"GBCC",
          IDD_GBCC,
          IDB_GBCC_BACKGROUND,
          CaptureFamily::GameBoy,
          "GBC_HELP.php",
          &Gest(),
          false,
          false,
          true,
          Then(keys, joys),
          {{IDC_GBCC_SET_ALL_KEYBOARD, Ids(keys)}, {IDC_GBCC_SET_ALL_JOYSTICK, Ids(joys)}}};
}

ConsoleLayout MakeGENC() {
  std::vector<SetupField> fields = Then(Shared(), {Plain(IDC_GENC_C, "Push C", SlotC)});
  std::erase_if(fields, [](const SetupField& f) { return f.slot == SlotSelect; });  // none there
  return TwoPlayers("GENC", IDD_GENC, IDB_GENC_BACKGROUND, CaptureFamily::Genesis, "GEN_HELP.php",
                    Gens(), std::move(fields));
}

ConsoleLayout MakeNESC() {
  return TwoPlayers("NESC", IDD_NESC, IDB_NESC_BACKGROUND, CaptureFamily::Nes, "NES_HELP.php",
                    Nester(), Shared());
}

ConsoleLayout MakeSMSC() {
  // The keyboard fields' own prompts for the buttons have no blank; their Set All's do.
  std::vector<SetupField> keys = {
      Plain(IDC_SMSC_UP, "Push Up", SlotUp, kKeys),
      Plain(IDC_SMSC_DOWN, "Push Down", SlotDown, kKeys),
      Plain(IDC_SMSC_LEFT, "Push Left", SlotLeft, kKeys),
      Plain(IDC_SMSC_RIGHT, "Push Right", SlotRight, kKeys),
      {IDC_SMSC_BUTTON1, "Push Button1", "Push Button 1", SlotButton1, kKeys, false},
      {IDC_SMSC_BUTTON2, "Push Button2", "Push Button 2", SlotButton2, kKeys, false},
      Plain(IDC_SMSC_PAUSE, "Push Pause", SlotPause, kKeys),
  };
  constexpr DeviceRule kJoy = DeviceRule::MasterSystemJoystick;
  auto joy = [](int id, std::string_view prompt, BindingSlot slot) {
    return SetupField{id, prompt, prompt, slot, kJoy, true};
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
  return {"SMSC",
          IDD_SMSC,
          IDB_SMSC_BACKGROUND,
          CaptureFamily::MasterSystem,
          "SMS_HELP.php",
          &Meka(),
          true,
          true,
          false,
          keys,
          setAlls};
}

ConsoleLayout MakeSNESC() {
  return TwoPlayers(
      "SNESC", IDD_SNESC, IDB_SNESC_BACKGROUND, CaptureFamily::Snes, "SNES_HELP.php", Zsnes(),
      Then(Shared(), {Plain(IDC_SNESC_X, "Push X", SlotX), Plain(IDC_SNESC_Y, "Push Y", SlotY),
                      Plain(IDC_SNESC_L, "Push L", SlotL), Plain(IDC_SNESC_R, "Push R", SlotR)}));
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

}  // namespace vt
