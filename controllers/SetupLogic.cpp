#include "controllers/SetupLogic.h"

#include "controllers/EmulatorBindings.h"
#include "emuconfig/ConfigFile.h"
#include "emuconfig/EmulatorLocations.h"

namespace vt {

SetupLogic::SetupLogic(const ConsoleLayout& layout, SetupSurface& surface, SettingsStore& settings,
                       std::string webHost)
    : layout_(layout),
      surface_(surface),
      settings_(settings),
      webHost_(std::move(webHost)),
      config_(LookUpEmulatorFolder(settings)) {}

void SetupLogic::Start() {
  if (layout_.emulator == Emulator::None) return;
  player_ = 1;
  loaded_[1] = Load(1);
  DisplayRefresh();
}

void SetupLogic::DisplayRefresh() {
  for (const SetupField& f : layout_.fields) surface_.SetFieldText(f.id, config_.DisplayName(f.slot));
}

std::int32_t SetupLogic::WaitForInput(const SetupField& field) {
  if (!field.nesButton.empty()) {
    const std::string word(field.nesButton);
    return WaitForCode(config_, [word](ControllerConfig& c) { return CaptureNesButton(c, word); });
  }
  return WaitForCode(config_, [](ControllerConfig& c) { return CaptureBinding(c); });
}

bool SetupLogic::Accepts(const SetupField& field, std::int32_t code) {
  bool accepted = true;
  switch (field.rule) {
    case DeviceRule::Keyboard: accepted = code < 256; break;
    case DeviceRule::GameBoyJoystick: accepted = code > 256; break;
    case DeviceRule::MasterSystemJoystick: accepted = code >= 256; break;
    case DeviceRule::Any: break;
  }
  if (!accepted) surface_.ShowMessage(field.rule == DeviceRule::Keyboard ? kUseTheKeyboard : kUseAJoystick, "Error");
  return accepted;
}

void SetupLogic::Store(const SetupField& field, std::int32_t code) {
  config_.Code(field.slot) = field.rule == DeviceRule::GameBoyJoystick ? code - 257 : code;
}

void SetupLogic::RefreshNames() { vt::RefreshNames(layout_.emulator, config_); }

void SetupLogic::CaptureField(int fieldId) {
  const SetupField* field = layout_.Field(fieldId);
  if (!field || layout_.captureAlias.empty()) return;
  surface_.SetFieldText(field->id, std::string(field->prompt));
  config_.systemAlias = std::string(layout_.captureAlias);
  OpenInput(config_, surface_.Owner());
  surface_.EnableButton(kSetupOk, false);
  // 0 only when no device could be opened: the input layer has said why, nothing changes.
  if (const std::int32_t code = WaitForInput(*field)) {
    if (Accepts(*field, code)) Store(*field, code);
    surface_.Pause(kStoredCodePause);
    RefreshNames();
  }
  DisplayRefresh();
  CloseInput(config_);
  surface_.EnableButton(kSetupOk, true);
}

void SetupLogic::SetAll(int setAllId) {
  const SetAllButton* button = layout_.SetAll(setAllId);
  if (!button || layout_.captureAlias.empty()) return;
  config_.systemAlias = std::string(layout_.captureAlias);
  OpenInput(config_, surface_.Owner());
  surface_.EnableButton(button->id, false);
  if (layout_.setAllDisablesOk) surface_.EnableButton(kSetupOk, false);
  for (int id : button->order) {
    const SetupField* field = layout_.Field(id);
    if (!field) continue;
    surface_.SetFieldText(field->id, std::string(field->setAllPrompt));
    const std::int32_t code = WaitForInput(*field);
    if (code == 0) break;  // no device can deliver an input
    if (!Accepts(*field, code)) break;  // this field and the ones after it keep their bindings
    Store(*field, code);
    surface_.Pause(kStoredCodePause);
    RefreshNames();
    DisplayRefresh();
  }
  DisplayRefresh();
  CloseInput(config_);
  surface_.EnableButton(button->id, true);
  if (layout_.setAllDisablesOk) surface_.EnableButton(kSetupOk, true);
}

void SetupLogic::SwitchPlayer(int player) {
  if (!layout_.players || (player != 1 && player != 2) || player == player_) return;
  const int left = player_;
  player_ = player;
  surface_.ShowLamps(player_);
  // A player whose settings could not be read can never be saved from this window: say so and
  // go on, or that player's failed read would keep the user from the other one.
  if (!Save(left) && loaded_[left]) {
    // The captures of the player left stay in the window until they are saved or cancelled.
    player_ = left;
    surface_.ShowLamps(player_);
    return;
  }
  loaded_[player_] = Load(player_);
  DisplayRefresh();
}

void SetupLogic::Ok() {
  if (layout_.emulator == Emulator::None || Save(player_)) surface_.EndWindow(kSetupOk);
}

void SetupLogic::Cancel() { surface_.EndWindow(kSetupCancel); }

void SetupLogic::Advanced() { surface_.OpenPage("http://" + webHost_ + "/" + std::string(layout_.helpPage)); }

bool SetupLogic::Load(int player) {
  return LoadBindings(layout_.emulator, settings_, config_, player, Messages());
}

MessageFn SetupLogic::Messages() {
  return [this](const std::string& text, const std::string& caption) { surface_.ShowMessage(text, caption); };
}

bool SetupLogic::Save(int player) {
  const std::string where = BindingsLocation(layout_.emulator, config_, player);
  if (!loaded_[player]) {
    surface_.ShowMessage("The controller settings were not saved: " + where +
                             " could not be read, and saving would replace "
                             "the settings in it with empty ones.\n\n"
                             "Check it, then close this window and open it again.",
                         "Error");
    return false;
  }
  if (SaveBindings(layout_.emulator, settings_, config_, player, Messages())) return true;
  std::string why;
  if (layout_.emulator == Emulator::Nester) {
    why = "one of its keys is missing or cannot be written";
  } else {
    std::string bytes;
    why = ReadConfigFile(NativeConfigPath(where), bytes)
              ? std::string("it does not hold the settings where ") + EmulatorName(layout_.emulator) +
                    " keeps them, or it cannot be replaced"
              : "there is no such file, or it cannot be read";
  }
  surface_.ShowMessage("The controller settings were not saved: " + where + " could not be written (" +
                           why + ").\n\nCheck it and press OK again, or press Close to leave without saving.",
                       "Error");
  return false;
}

}  // namespace vt
