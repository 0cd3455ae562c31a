// nester's bindings: one registry key per player and button under the current user, holding the
// five fields of a NesterBinding, and the copy of them the client keeps in its own key.
#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <iterator>
#include <vector>

#include "emuconfig/Emulator.h"
#include "input/KeyNames.h"
#include "platform/SettingsStore.h"

namespace vt {
namespace {

constexpr std::array<std::uint32_t, kNesButtonCount> kDefaultKeys = {0xC8, 0xD0, 0xCB, 0xCD,
                                                                     0x1E, 0x1F, 0x2D, 0x2C};
constexpr const char* kValueNames[] = {"DeviceGUID", "DeviceType", "JAxisPositive", "JOffset",
                                       "Key"};
constexpr const char* kTree = "Software\\nester\\NES\\Input";
// The copy of nester's values as they were before the client first wrote them, in the client's
// own key of the current user, with the value "Complete" once every key that existed was
// copied. nester's tree is nester's.
const std::string kOriginal = std::string(kVintaraKey) + "\\Originals\\nester";
// Where earlier versions kept the copy, inside nester's tree; a copy found there is moved.
constexpr const char* kOldOriginal = "Software\\nester\\NES\\Input.vintara-original";

// "<root>\Controller<player>\<button>", button 0..7 = Up .. B.
std::string KeyPath(const std::string& root, int player, int button) {
  return root + "\\Controller" + std::to_string(player) + "\\" +
         std::string(ButtonWord(kNesButtons[button]));
}

// The value in a zeroed buffer of `width` bytes; a missing value, or one too long for the buffer,
// reads as zeros.
std::string QueryBytes(SettingsStore& s, const std::string& key, const char* name,
                       std::size_t width) {
  std::string bytes = ReadFixedBytes(s, Hive::User, key, name, width).value_or(std::string());
  bytes.resize(width, '\0');
  return bytes;
}

std::uint32_t QueryU32(SettingsStore& s, const std::string& key, const char* name) {
  const std::string b = QueryBytes(s, key, name, 4);
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= std::uint32_t{static_cast<unsigned char>(b[i])} << (8 * i);
  return v;
}

std::string U32Bytes(std::uint32_t v) {
  std::string b(4, '\0');
  for (int i = 0; i < 4; ++i) b[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return b;
}

// A key that does not exist is not created: "Hmmmmm" / "Not Sure" and nothing written.
bool WriteBinding(SettingsStore& settings, const std::string& keyPath, const NesterBinding& b,
                  Host& host) {
  if (!settings.KeyExists(Hive::User, keyPath)) {
    host.ShowMessage("Hmmmmm", "Not Sure");
    return false;
  }
  // The five values in one go: one opening of the key (one file replace in the file store).
  const std::string guid(reinterpret_cast<const char*>(b.DeviceGUID.data()), b.DeviceGUID.size());
  const std::string type = U32Bytes(b.DeviceType), axis = U32Bytes(b.JAxisPositive),
                    offset = U32Bytes(b.JOffset);
  const char key = static_cast<char>(b.Key & 0xFF);
  const NamedValue values[] = {{"DeviceGUID", kTypeBinary, guid},
                               {"DeviceType", kTypeDword, type},
                               {"JAxisPositive", kTypeDword, axis},
                               {"JOffset", kTypeDword, offset},
                               {"Key", kTypeBinary, std::string_view(&key, 1)}};
  return settings.SetValues(Hive::User, keyPath, values);
}

// A missing key yields the default of its button, once every missing key of both players got
// its own: a player's bindings survive the other player's keys being absent, which is common.
NesterBinding ReadBinding(SettingsStore& settings, int player, int button, Host& host) {
  const std::string keyPath = KeyPath(kTree, player, button);
  if (!settings.KeyExists(Hive::User, keyPath)) {
    for (int p = 1; p <= 2; ++p) {
      for (int b = 0; b < kNesButtonCount; ++b) {
        const std::string path = KeyPath(kTree, p, b);
        if (settings.KeyExists(Hive::User, path) || !settings.CreateKey(Hive::User, path)) continue;
        WriteBinding(settings, path, NesterKeyboardBinding(kDefaultKeys[b]), host);
      }
    }
    return NesterKeyboardBinding(kDefaultKeys[button]);
  }
  NesterBinding b;
  const std::string guid = QueryBytes(settings, keyPath, "DeviceGUID", 16);
  std::memcpy(b.DeviceGUID.data(), guid.data(), 16);
  b.DeviceType = QueryU32(settings, keyPath, "DeviceType");
  b.JAxisPositive = QueryU32(settings, keyPath, "JAxisPositive");
  b.JOffset = QueryU32(settings, keyPath, "JOffset");
  // nester writes one byte but a value of up to four reads into its field; the first is the key.
  b.Key = static_cast<unsigned char>(QueryBytes(settings, keyPath, "Key", 4)[0]);
  return b;
}

// Copies the five values of a button key that exists in `from` to the same key under `to`.
bool CopyValues(SettingsStore& settings, const std::string& from, const std::string& to) {
  if (!settings.KeyExists(Hive::User, from)) return true;
  if (!settings.CreateKey(Hive::User, to)) return false;
  std::string bytes[std::size(kValueNames)];
  std::vector<NamedValue> values;
  for (std::size_t i = 0; i < std::size(kValueNames); ++i) {
    std::uint32_t type = 0;
    if (settings.QueryValue(Hive::User, from, kValueNames[i], bytes[i], &type))
      values.push_back({kValueNames[i], type, bytes[i]});
  }
  return settings.SetValues(Hive::User, to, values);
}

// Copies all sixteen button keys that exist under `from` to `to`.
bool CopyAll(SettingsStore& settings, const std::string& from, const std::string& to) {
  for (int player = 1; player <= 2; ++player)
    for (int button = 0; button < kNesButtonCount; ++button)
      if (!CopyValues(settings, KeyPath(from, player, button), KeyPath(to, player, button)))
        return false;
  return true;
}

bool Complete(SettingsStore& settings, const std::string& root) {
  std::string complete;
  return settings.QueryValue(Hive::User, root, "Complete", complete);
}

// A copy under `to` is marked complete last: a copy cut short is taken again.
bool KeepCopy(SettingsStore& settings, const std::string& from, const std::string& to) {
  return settings.CreateKey(Hive::User, to) && CopyAll(settings, from, to) &&
         settings.SetValue(Hive::User, to, "Complete", kTypeString, std::string("1\0", 2));
}

// A copy an earlier version kept in nester's tree: a complete one becomes ours unless we have
// one, and the old key goes (one cut short too: nothing was written over the originals yet).
bool MoveOldOriginal(SettingsStore& settings) {
  if (!settings.KeyExists(Hive::User, kOldOriginal)) return true;
  if (Complete(settings, kOldOriginal) && !Complete(settings, kOriginal) &&
      !KeepCopy(settings, kOldOriginal, kOriginal))
    return false;
  return settings.DeleteKey(Hive::User, kOldOriginal);
}

class NesterRegistry final : public Emulator {
public:
  NesterRegistry() : Emulator("nester", "nester", 2) {}

  std::span<const BindingSlot> Slots(int) const override { return kNesButtons; }

  bool Fits(BindingSlot, std::int64_t code) const override { return IsKeyCode(code); }

  // As a keyboard capture does: the joystick fields of the record keep their values.
  void Bind(ControllerConfig& config, BindingSlot slot, std::int32_t code) const override {
    config.Code(slot) = code;
    if (const int i = NesRecordIndex(slot); i >= 0) {
      NesterBinding& record = config.nesRecords[i];
      record.DeviceGUID = kGuidSysKeyboard;
      record.DeviceType = kNesterKeyboard;
      record.Key = static_cast<std::uint32_t>(code);
    }
  }

  // A capture writes its device's fields over the button's record; the others keep theirs.
  NesterBinding CaptureRecord(const ControllerConfig& config, BindingSlot slot) const override {
    const int i = NesRecordIndex(slot);
    return i < 0 ? NesterBinding{} : config.nesRecords[i];
  }
  void StoreCaptured(ControllerConfig& config, BindingSlot slot, std::int32_t code,
                     const NesterBinding& record) const override {
    config.Code(slot) = code;
    if (const int i = NesRecordIndex(slot); i >= 0) config.nesRecords[i] = record;
  }

  // As nester tells inputs apart: a key by the one byte it keeps, a button by device and
  // offset, an axis by device, offset and direction.
  bool SameInput(const ControllerConfig& config, BindingSlot a, BindingSlot b) const override {
    const int i = NesRecordIndex(a), j = NesRecordIndex(b);
    if (i < 0 || j < 0) return Emulator::SameInput(config, a, b);
    const NesterBinding &x = config.nesRecords[i], &y = config.nesRecords[j];
    if (x.DeviceType != y.DeviceType) return false;
    switch (x.DeviceType) {
      case kNesterKeyboard:
        return (x.Key & 0xFF) == (y.Key & 0xFF);
      case kNesterJoystickButton:
        return x.DeviceGUID == y.DeviceGUID && x.JOffset == y.JOffset;
      case kNesterJoystickAxis:
        return x.DeviceGUID == y.DeviceGUID && x.JOffset == y.JOffset &&
               x.JAxisPositive == y.JAxisPositive;
      default:
        return false;
    }
  }

  std::vector<std::int64_t> Stored(const ControllerConfig& config,
                                   BindingSlot slot) const override {
    const int i = NesRecordIndex(slot);
    if (i < 0) return Emulator::Stored(config, slot);
    const NesterBinding& r = config.nesRecords[i];
    return {r.DeviceType, r.Key, r.JOffset, r.JAxisPositive};
  }

  // The NES names.
  void RefreshNames(ControllerConfig& config) const override {
    for (int i = 0; i < kNesButtonCount; ++i)
      config.DisplayName(kNesButtons[i]) = NesterBindingName(config.nesRecords[i]);
  }

  std::string Location(const std::string&, int player) const override {
    return "the registry key HKEY_CURRENT_USER\\" + std::string(kTree) + "\\Controller" +
           std::to_string(player);
  }

  bool Load(SettingsStore& settings, ControllerConfig& config, int player,
            Host& host) const override {
    if (player != 1 && player != 2) return false;
    for (int button = 0; button < kNesButtonCount; ++button)
      config.nesRecords[button] = ReadBinding(settings, player, button, host);
    RefreshNames(config);
    return true;
  }

  // Every button is written, even after one that could not be.
  Outcome Save(SettingsStore& settings, const ControllerConfig& config, int player,
               Host& host) const override {
    bool ok = (player == 1 || player == 2) && MoveOldOriginal(settings) &&
              (Complete(settings, kOriginal) || KeepCopy(settings, kTree, kOriginal));
    if (ok) {
      for (int button = 0; button < kNesButtonCount; ++button)
        ok = WriteBinding(settings, KeyPath(kTree, player, button), config.nesRecords[button],
                          host) &&
             ok;
    }
    if (ok) return {true, {}};
    return {false, "one of its keys is missing or cannot be written"};
  }

  Outcome Restore(SettingsStore& settings, const std::string&) const override {
    MoveOldOriginal(settings);  // when it cannot move now, our own key decides as before
    if (!Complete(settings, kOriginal) || !CopyAll(settings, kOriginal, kTree))
      return {false, "no complete copy of nester's original bindings was kept"};
    return {true, "nester's bindings of both players"};
  }
};

}  // namespace

const Emulator& Nester() {
  static const NesterRegistry kRegistry;
  return kRegistry;
}

}  // namespace vt
