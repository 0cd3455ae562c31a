#include "emuconfig/NesterConfig.h"

#include <array>
#include <cstring>
#include <functional>
#include <iterator>
#include <vector>

#include "platform/SettingsStore.h"

namespace vt {
namespace {

constexpr std::array<const char*, kNesButtonCount> kButtons = {"Up",     "Down",  "Left", "Right",
                                                               "Select", "Start", "A",    "B"};
constexpr std::array<std::uint32_t, kNesButtonCount> kDefaultKeys = {0xC8, 0xD0, 0xCB, 0xCD,
                                                                     0x1E, 0x1F, 0x2D, 0x2C};

// The value in a zeroed buffer of `width` bytes; a missing value, or one too long for the buffer,
// reads as zeros.
std::string QueryBytes(SettingsStore& s, const std::string& key, const char* name, std::size_t width) {
  std::string bytes = ReadFixedBytes(s, Hive::User, key, name, width).value_or(std::string());
  bytes.resize(width, '\0');
  return bytes;
}

std::uint32_t QueryU32(SettingsStore& s, const std::string& key, const char* name) {
  std::string b = QueryBytes(s, key, name, 4);
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= std::uint32_t{static_cast<unsigned char>(b[i])} << (8 * i);
  return v;
}

std::string U32Bytes(std::uint32_t v) {
  std::string b(4, '\0');
  for (int i = 0; i < 4; ++i) b[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return b;
}

int ButtonOfPath(const std::string& keyPath) {
  std::size_t slash = keyPath.rfind('\\');
  std::string_view last = std::string_view(keyPath).substr(slash == std::string::npos ? 0 : slash + 1);
  for (int i = 0; i < kNesButtonCount; ++i) {
    if (last == kButtons[i]) return i;
  }
  return -1;
}

void WriteMissingDefaults(SettingsStore& settings, const MessageFn& showMessage) {
  for (int player = 1; player <= 2; ++player) {
    for (int button = 0; button < kNesButtonCount; ++button) {
      std::string path = NesterKeyPath(player, button);
      if (settings.KeyExists(Hive::User, path) || !settings.CreateKey(Hive::User, path)) continue;
      WriteNesterBinding(settings, path, NesterDefaultBinding(button), showMessage);
    }
  }
}

}  // namespace

std::string NesterKeyPath(int player, int button) {
  std::string path = "Software\\nester\\NES\\Input\\Controller" + std::to_string(player) + "\\";
  if (button >= 0 && button < kNesButtonCount) path += kButtons[button];
  return path;
}

NesterBinding NesterDefaultBinding(int button) {
  if (button < 0 || button >= kNesButtonCount) return {};
  return NesterKeyboardBinding(kDefaultKeys[button]);
}

NesterBinding ReadNesterBinding(SettingsStore& settings, ControllerConfig& config, const std::string& keyPath,
                                const MessageFn& showMessage) {
  if (!settings.KeyExists(Hive::User, keyPath)) {
    // Only the missing keys get defaults: a player's own bindings survive the other player's
    // keys being absent, which is common.
    WriteMissingDefaults(settings, showMessage);
    return NesterDefaultBinding(ButtonOfPath(keyPath));
  }
  NesterBinding b;
  std::string guid = QueryBytes(settings, keyPath, "DeviceGUID", 16);
  std::memcpy(b.DeviceGUID.data(), guid.data(), 16);
  b.DeviceType = QueryU32(settings, keyPath, "DeviceType");
  b.JAxisPositive = QueryU32(settings, keyPath, "JAxisPositive");
  b.JOffset = QueryU32(settings, keyPath, "JOffset");
  b.Key = static_cast<unsigned char>(QueryBytes(settings, keyPath, "Key", 1)[0]);
  return b;
}

bool WriteNesterBinding(SettingsStore& settings, const std::string& keyPath, const NesterBinding& b,
                        const MessageFn& showMessage) {
  if (!settings.KeyExists(Hive::User, keyPath)) {
    if (showMessage) showMessage("Hmmmmm", "Not Sure");
    return false;
  }
  // The five values in one go: one opening of the key (one file replace in the file store).
  const std::string guid(reinterpret_cast<const char*>(b.DeviceGUID.data()), b.DeviceGUID.size());
  const std::string type = U32Bytes(b.DeviceType), axis = U32Bytes(b.JAxisPositive), offset = U32Bytes(b.JOffset);
  const char key = static_cast<char>(b.Key & 0xFF);
  const NamedValue values[] = {{"DeviceGUID", kTypeBinary, guid},
                               {"DeviceType", kTypeDword, type},
                               {"JAxisPositive", kTypeDword, axis},
                               {"JOffset", kTypeDword, offset},
                               {"Key", kTypeBinary, std::string_view(&key, 1)}};
  return settings.SetValues(Hive::User, keyPath, values);
}

void WriteNesterDefaults(SettingsStore& settings, ControllerConfig& config, const MessageFn& showMessage) {
  for (int player = 1; player <= 2; ++player) {
    for (int button = 0; button < kNesButtonCount; ++button) settings.CreateKey(Hive::User, NesterKeyPath(player, button));
  }
  for (int button = 0; button < kNesButtonCount; ++button) {
    config.nesRecords[button] = NesterDefaultBinding(button);
    WriteNesterBinding(settings, NesterKeyPath(1, button), config.nesRecords[button], showMessage);
    WriteNesterBinding(settings, NesterKeyPath(2, button), config.nesRecords[button], showMessage);
  }
}

bool LoadNesterConfig(SettingsStore& settings, ControllerConfig& config, int player, const MessageFn& showMessage) {
  if (player != 1 && player != 2) return false;
  for (int button = 0; button < kNesButtonCount; ++button) {
    config.nesRecords[button] = ReadNesterBinding(settings, config, NesterKeyPath(player, button), showMessage);
  }
  config.RefreshNesNames();
  return true;
}

namespace {
constexpr const char* kValueNames[] = {"DeviceGUID", "DeviceType", "JAxisPositive", "JOffset", "Key"};

std::string OriginalKeyPath(const char* root, int player, int button) {
  return std::string(root) + "\\Controller" + std::to_string(player) + "\\" + kButtons[button];
}

// Copies the five values of every button key that exists in `from` to the same key under `to`.
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

bool Complete(SettingsStore& settings, const char* root) {
  std::string complete;
  return settings.QueryValue(Hive::User, root, "Complete", complete);
}

// Copies all sixteen button keys that exist under `from` (nester's tree or a copy's root) to
// `to`, then marks `to` complete: a copy cut short has no "Complete" and is taken again.
bool CopyAll(SettingsStore& settings, const std::function<std::string(int, int)>& from,
             const char* to) {
  if (!settings.CreateKey(Hive::User, to)) return false;
  for (int player = 1; player <= 2; ++player)
    for (int button = 0; button < kNesButtonCount; ++button)
      if (!CopyValues(settings, from(player, button), OriginalKeyPath(to, player, button)))
        return false;
  return settings.SetValue(Hive::User, to, "Complete", kTypeString, std::string("1\0", 2));
}

// A copy an earlier version kept in nester's tree: a complete one becomes ours unless we have
// one, and the old key goes (one cut short too: nothing was written over the originals yet).
bool MoveOldOriginal(SettingsStore& settings) {
  if (!settings.KeyExists(Hive::User, kOldNesterOriginalKey)) return true;
  if (Complete(settings, kOldNesterOriginalKey) && !Complete(settings, kNesterOriginalKey) &&
      !CopyAll(settings, [](int p, int b) { return OriginalKeyPath(kOldNesterOriginalKey, p, b); },
               kNesterOriginalKey))
    return false;
  return settings.DeleteKey(Hive::User, kOldNesterOriginalKey);
}
}  // namespace

bool KeepNesterOriginal(SettingsStore& settings) {
  if (!MoveOldOriginal(settings)) return false;
  if (Complete(settings, kNesterOriginalKey)) return true;
  return CopyAll(settings, NesterKeyPath, kNesterOriginalKey);
}

bool RestoreNesterOriginal(SettingsStore& settings) {
  MoveOldOriginal(settings);  // when it cannot move now, our own key decides as before
  if (!Complete(settings, kNesterOriginalKey)) return false;
  for (int player = 1; player <= 2; ++player)
    for (int button = 0; button < kNesButtonCount; ++button)
      if (!CopyValues(settings, OriginalKeyPath(kNesterOriginalKey, player, button),
                      NesterKeyPath(player, button)))
        return false;
  return true;
}

bool SaveNesterConfig(SettingsStore& settings, const ControllerConfig& config, int player,
                      const MessageFn& showMessage) {
  if (player != 1 && player != 2) return false;
  if (!KeepNesterOriginal(settings)) return false;
  bool ok = true;
  for (int button = 0; button < kNesButtonCount; ++button) {
    ok = WriteNesterBinding(settings, NesterKeyPath(player, button), config.nesRecords[button], showMessage) && ok;
  }
  return ok;
}

}  // namespace vt
