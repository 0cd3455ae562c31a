// The five emulators whose controller bindings the client keeps, each described once: the slots
// its configuration holds in their order, the codes it can store, its reader and writer, the name
// refresh of its console family, where its bindings live and the copy of them kept before the
// client first changed them. The set-up windows, "vtcli controls" and the tests all use these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "input/ControllerConfig.h"
#include "platform/Host.h"

namespace vt {

class SettingsStore;

// Whether a save or a restore was done; in words for the user, why not, or what was restored.
struct Outcome {
  bool done = false;
  std::string text;
};

class Emulator {
public:
  Emulator(std::string_view word, std::string_view name, int players)
      : word(word), name(name), players(players) {}
  virtual ~Emulator() = default;

  const std::string_view word;  // vtcli's name of it: "gens"
  const std::string_view name;  // "Gens"
  const int players;            // 1 or 2

  // The slots its reader fills for the player, in the configuration's order.
  virtual std::span<const BindingSlot> Slots(int player) const = 0;
  // Whether the configuration holds `code` in the slot: a code its family's capture gives there.
  virtual bool Fits(BindingSlot slot, std::int64_t code) const = 0;
  // Binds the slot to a code as a capture of a key would (for nester, a keyboard record).
  virtual void Bind(ControllerConfig& config, BindingSlot slot, std::int32_t code) const;
  // The record a capture for the slot writes its findings over (nester's record of the button;
  // an empty one for the others, which keep codes only).
  virtual NesterBinding CaptureRecord(const ControllerConfig& config, BindingSlot slot) const {
    return {};
  }
  // Stores what a capture gave for the slot: its code, and nester's record.
  virtual void StoreCaptured(ControllerConfig& config, BindingSlot slot, std::int32_t code,
                             const NesterBinding& record) const {
    config.Code(slot) = code;
  }
  // Whether two slots hold the same input, for the mark of a field bound twice: by default the
  // same code, 0 being no input (the Game Boy's joystick column's button 0 too, which a fresh
  // file gives them all).
  virtual bool SameInput(const ControllerConfig& config, BindingSlot a, BindingSlot b) const {
    return config.Code(a) != 0 && config.Code(a) == config.Code(b);
  }
  // What the configuration stores for the slot: the code, or nester's record (device type, key,
  // offset, axis direction).
  virtual std::vector<std::int64_t> Stored(const ControllerConfig& config, BindingSlot slot) const;
  // The display names (and what the writer takes) from the codes or records, after a change.
  virtual void RefreshNames(ControllerConfig& config) const = 0;

  // The file in the folder, or nester's registry key of the player.
  virtual std::string Location(const std::string& folder, int player) const = 0;
  // False, with `config` as it was, when the bindings cannot be read.
  virtual bool Load(SettingsStore& settings, ControllerConfig& config, int player,
                    Host& host) const = 0;
  // The first change keeps the original; not done: the configuration is as it was (nester: the
  // buttons that could be written are).
  virtual Outcome Save(SettingsStore& settings, const ControllerConfig& config, int player,
                       Host& host) const = 0;
  // Puts back the original kept before the first change; the copy stays.
  virtual Outcome Restore(SettingsStore& settings, const std::string& folder) const = 0;
};

// An emulator whose bindings are one file in the emulator folder: its format is a pair of pure
// functions over the file's bytes, and the file is read, replaced and kept the same way for all.
class FileEmulator : public Emulator {
public:
  FileEmulator(std::string_view word, std::string_view name, int players, std::string_view file)
      : Emulator(word, name, players), file(file) {}

  const std::string_view file;  // "gens.cfg"

  // Fills the player's codes and names; false, with `config` as it was, when the text does not
  // hold them where the emulator keeps them.
  virtual bool Read(std::string_view text, int player, ControllerConfig& config) const = 0;
  // The text with the player's bindings written in; nullopt when they cannot be put back where
  // the reader takes them.
  virtual std::optional<std::string> Write(std::string_view text, int player,
                                           const ControllerConfig& config) const = 0;

  std::string Location(const std::string& folder, int player) const override;
  bool Load(SettingsStore& settings, ControllerConfig& config, int player,
            Host& host) const override;
  Outcome Save(SettingsStore& settings, const ControllerConfig& config, int player,
               Host& host) const override;
  Outcome Restore(SettingsStore& settings, const std::string& folder) const override;
};

const Emulator& Nester();
const FileEmulator& Gens();
const FileEmulator& Meka();
const FileEmulator& Zsnes();
const FileEmulator& Gest();

// The five in the order vtcli names them: nester, gens, meka, zsnes, gest.
std::span<const Emulator* const> Emulators();
// The emulator of vtcli's word, exact and case-sensitive; null for any other word.
const Emulator* FindEmulator(std::string_view word);

// A keyboard scan code, which every configuration holds in every keyboard slot.
constexpr bool IsKeyCode(std::int64_t code) { return code >= 1 && code <= 255; }

// A joystick code of the families that number joysticks: `base` + `stride` * joystick (0 to 4)
// + an input, which is an axis direction or a button of the family's ranges.
struct JoystickNumbering {
  std::int64_t base, stride, firstAxis, lastAxis, firstButton, lastButton;

  constexpr bool Holds(std::int64_t code) const {
    const std::int64_t input = (code - base) % stride;
    return code >= base && (code - base) / stride <= 4 &&
           ((input >= firstAxis && input <= lastAxis) ||
            (input >= firstButton && input <= lastButton));
  }
};

// Gest's file is at least its emulator's buffer: a shorter one is written back padded.
inline constexpr std::size_t kGestBufferBytes = 10240;

}  // namespace vt
