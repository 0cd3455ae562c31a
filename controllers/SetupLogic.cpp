#include "controllers/SetupLogic.h"

#include <algorithm>

#include "emuconfig/EmulatorLocations.h"
#include "service/Endpoints.h"

namespace vt {

namespace {
constexpr int kCaptureSeconds = static_cast<int>(kCaptureTimeLimit.count() / 1000);
}  // namespace

SetupLogic::SetupLogic(const ConsoleLayout& layout, SetupSurface& surface, Host& host,
                       SettingsStore& settings, std::string webHost, InputBackend& input)
    : layout_(layout),
      surface_(surface),
      host_(host),
      settings_(settings),
      webHost_(std::move(webHost)),
      config_(LookUpEmulatorFolder(settings)),
      // The input layer's boxes are the window's own, so the window is disabled while one shows.
      devices_(input, host_) {
  devices_.SetClock([this] { return surface_.Now(); });
}

std::string CountdownText(std::string_view prompt, int seconds) {
  return std::string(prompt) + " (" + std::to_string(seconds) + ")";
}

void SetupLogic::Start() {
  if (!layout_.emulator) return;
  player_ = 1;
  loaded_[1] = Load(1);
  DisplayRefresh();
}

bool SetupLogic::AlsoBound(int fieldId) const {
  return std::find(alsoBound_.begin(), alsoBound_.end(), fieldId) != alsoBound_.end();
}

void SetupLogic::DisplayRefresh() {
  // A duplicate is stored (it may be meant) but marked, until one of the two changes.
  alsoBound_.clear();
  for (const SetAllButton& column : layout_.setAlls)
    for (int a : column.order)
      for (int b : column.order)
        if (a != b &&
            layout_.emulator->SameInput(config_, layout_.Field(a)->slot, layout_.Field(b)->slot)) {
          alsoBound_.push_back(a);
          break;
        }
  for (const SetupField& f : layout_.fields) {
    const std::string_view mark = AlsoBound(f.id) ? kAlsoBoundMark : "";
    surface_.SetFieldText(f.id, config_.DisplayName(f.slot) + std::string(mark));
  }
}

WaitResult SetupLogic::WaitForInput(const SetupField& field, std::string_view prompt,
                                    NesterBinding& record) {
  WaitOptions options;
  options.now = [this] { return surface_.Now(); };
  int shown = kCaptureSeconds;  // the caller showed it
  options.idle = [&](std::chrono::milliseconds left) {
    const int seconds = static_cast<int>((left.count() + 999) / 1000);
    if (seconds != shown) surface_.SetFieldText(field.id, CountdownText(prompt, shown = seconds));
    surface_.Idle();
    return !leaving_;
  };
  if (leaving_) return {0, WaitEnd::Left};  // Cancel came during a box of the opening
  // The capture writes over the record it starts from; one that ends without a code is not
  // stored, so the field stays as it was, nester's record included.
  record = layout_.emulator->CaptureRecord(config_, field.slot);
  const CaptureFamily family = *layout_.capture;
  return WaitForCode(
      devices_, [&](InputDevices& d) { return CaptureInput(d, family, &record); }, options);
}

void SetupLogic::WaitForKeysUp() {
  const auto until = surface_.Now() + kKeysUpWait;
  KeyboardState keys;
  for (;;) {
    devices_.ReadKeyboardState(keys);
    if (!FirstPressedKey(keys) || surface_.Now() >= until) return;
    surface_.Idle();
    devices_.WaitForInput(kCapturePollInterval);
  }
}

bool SetupLogic::Accepts(const SetupField& field, std::int32_t code) {
  bool accepted = true;
  switch (field.rule) {
    case DeviceRule::Keyboard:
      accepted = code < 256;
      break;
    case DeviceRule::GameBoyJoystick:
      accepted = code > 256;
      break;
    case DeviceRule::MasterSystemJoystick:
      accepted = code >= 256;
      break;
    case DeviceRule::Any:
      break;
  }
  const char* refusal = field.rule == DeviceRule::Keyboard ? kUseTheKeyboard : kUseAJoystick;
  // A key its emulator's file cannot name would be stored as another key.
  if (accepted && code < 256 && layout_.emulator && !layout_.emulator->Fits(field.slot, code)) {
    accepted = false;
    refusal = kKeyWithoutAName;
  }
  if (accepted) return true;
  // The key refused must not close the box before it can be read.
  WaitForKeysUp();
  surface_.DropInput();
  host_.ShowMessage(refusal, "Error");
  return false;
}

void SetupLogic::Store(const SetupField& field, std::int32_t code, const NesterBinding& record) {
  layout_.emulator->StoreCaptured(config_, field.slot, code, record);
}

void SetupLogic::RefreshNames() { layout_.emulator->RefreshNames(config_); }

// Nothing captured acts on the window: the keys are let go, and what was queued is dropped.
void SetupLogic::EndCapture() {
  DisplayRefresh();
  WaitForKeysUp();
  devices_.Close();
  surface_.DropInput();
  capturing_ = false;
}

void SetupLogic::CaptureField(int fieldId) {
  const SetupField* field = layout_.Field(fieldId);
  if (capturing_ || !field || !layout_.capture) return;
  capturing_ = true;
  leaving_ = false;
  surface_.SetFieldText(field->id, CountdownText(field->prompt, kCaptureSeconds));
  devices_.Open(surface_.Owner());
  surface_.EnableButton(kSetupOk, false);
  // Without a code (no device, Cancel, Escape held, the time limit) nothing changes.
  NesterBinding record;
  if (const std::int32_t code = WaitForInput(*field, field->prompt, record).code) {
    if (Accepts(*field, code)) Store(*field, code, record);
    surface_.Pause(kStoredCodePause);
    RefreshNames();
  }
  EndCapture();
  surface_.EnableButton(kSetupOk, true);
}

void SetupLogic::SetAll(int setAllId) {
  const SetAllButton* button = layout_.SetAll(setAllId);
  if (capturing_ || !button || !layout_.capture) return;
  capturing_ = true;
  leaving_ = false;
  devices_.Open(surface_.Owner());
  surface_.EnableButton(button->id, false);
  if (layout_.setAllDisablesOk) surface_.EnableButton(kSetupOk, false);
  for (int id : button->order) {
    const SetupField* field = layout_.Field(id);
    if (!field) continue;
    surface_.SetFieldText(field->id, CountdownText(field->setAllPrompt, kCaptureSeconds));
    NesterBinding record;
    const std::int32_t code = WaitForInput(*field, field->setAllPrompt, record).code;
    // Without a code the sequence ends, keeping the fields captured before.
    if (code == 0 || !Accepts(*field, code)) break;  // this field and the ones after it keep theirs
    Store(*field, code, record);
    surface_.Pause(kStoredCodePause);
    RefreshNames();
    DisplayRefresh();
  }
  EndCapture();
  surface_.EnableButton(button->id, true);
  if (layout_.setAllDisablesOk) surface_.EnableButton(kSetupOk, true);
}

void SetupLogic::SwitchPlayer(int player) {
  if (capturing_ || !layout_.players || (player != 1 && player != 2) || player == player_) return;
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
  // The window still holds the player left: under the new lamp a player that could not be
  // read shows empty fields, not the other player's names.
  if (!loaded_[player_]) {
    for (const SetupField& f : layout_.fields) {
      config_.Code(f.slot) = 0;
      config_.DisplayName(f.slot).clear();
    }
    config_.nesRecords = {};
  }
  DisplayRefresh();
}

// The Atari window has no OK: Enter, the dialog's default command, does nothing there.
void SetupLogic::Ok() {
  if (capturing_ || layout_.fields.empty()) return;
  if (Save(player_)) surface_.EndWindow(kSetupOk);
}

void SetupLogic::Cancel() {
  if (capturing_)
    leaving_ = true;
  else
    surface_.EndWindow(kSetupCancel);
}

void SetupLogic::Advanced() {
  if (capturing_) return;
  std::string page = "/";
  page += layout_.helpPage;
  host_.OpenPage(WebPageAddress(webHost_, page));
}

bool SetupLogic::Load(int player) {
  return layout_.emulator->Load(settings_, config_, player, host_);
}

bool SetupLogic::Save(int player) {
  const std::string where = layout_.emulator->Location(config_.emulatorFolder, player);
  if (!loaded_[player]) {
    host_.ShowMessage("The controller settings were not saved: " + where +
                          " could not be read, and saving would replace "
                          "the settings in it with empty ones.\n\n"
                          "Check it, then close this window and open it again.",
                      "Error");
    return false;
  }
  const Outcome saved = layout_.emulator->Save(settings_, config_, player, host_);
  if (saved.done) return true;
  host_.ShowMessage("The controller settings were not saved: " + where + " could not be written (" +
                        saved.text +
                        ").\n\nCheck it and press OK again, or press Close to leave without "
                        "saving.",
                    "Error");
  return false;
}

}  // namespace vt
