#include "emuconfig/Emulator.h"

#include "emuconfig/ConfigFile.h"

namespace vt {

void Emulator::Bind(ControllerConfig& config, BindingSlot slot, std::int32_t code) const {
  config.Code(slot) = code;
}

std::vector<std::int64_t> Emulator::Stored(const ControllerConfig& config, BindingSlot slot) const {
  return {config.Code(slot)};
}

std::string FileEmulator::Location(const std::string& folder, int) const {
  return folder + "\\" + std::string(file);
}

bool FileEmulator::Load(SettingsStore&, ControllerConfig& config, int player, Host&) const {
  std::string text;
  return ReadConfigFile(Location(config.emulatorFolder, player), text) &&
         Read(text, player, config);
}

Outcome FileEmulator::Save(SettingsStore&, const ControllerConfig& config, int player,
                           Host&) const {
  const std::string path = Location(config.emulatorFolder, player);
  if (PatchConfigFile(path, [&](std::string_view text) { return Write(text, player, config); }))
    return {true, {}};
  std::string text;
  if (!ReadConfigFile(path, text)) return {false, "there is no such file, or it cannot be read"};
  return {false, "it does not hold the settings where " + std::string(name) +
                     " keeps them, or it cannot be replaced"};
}

Outcome FileEmulator::Restore(SettingsStore&, const std::string& folder) const {
  const std::string path = Location(folder, 1);
  std::string original;
  if (!ReadConfigFile(OriginalCopyPath(path), original))
    return {false, "no original of " + path + " was kept"};
  if (!WriteConfigFile(path, original)) return {false, "cannot write " + path};
  return {true, path};
}

std::span<const Emulator* const> Emulators() {
  static const Emulator* const kAll[] = {&Nester(), &Gens(), &Meka(), &Zsnes(), &Gest()};
  return kAll;
}

const Emulator* FindEmulator(std::string_view word) {
  for (const Emulator* e : Emulators())
    if (e->word == word) return e;
  return nullptr;
}

}  // namespace vt
