#include "controllers/EmulatorBindings.h"

#include "emuconfig/GensConfig.h"
#include "emuconfig/GestConfig.h"
#include "emuconfig/MekaConfig.h"
#include "emuconfig/NesterConfig.h"
#include "emuconfig/ZsnesConfig.h"

namespace vt {

bool LoadBindings(Emulator emulator, SettingsStore& settings, ControllerConfig& config, int player,
                  const MessageFn& showMessage) {
  switch (emulator) {
    case Emulator::Nester: return LoadNesterConfig(settings, config, player, showMessage);
    case Emulator::Gens: return LoadGensConfig(config, player);
    case Emulator::Meka: return LoadMekaConfig(config, player);
    case Emulator::Zsnes: return LoadZsnesConfig(config, player);
    case Emulator::Gest: return LoadGestConfig(config);
    case Emulator::None: break;
  }
  return false;
}

bool SaveBindings(Emulator emulator, SettingsStore& settings, const ControllerConfig& config, int player,
                  const MessageFn& showMessage) {
  switch (emulator) {
    case Emulator::Nester: return SaveNesterConfig(settings, config, player, showMessage);
    case Emulator::Gens: return SaveGensConfig(config, player);
    case Emulator::Meka: return SaveMekaConfig(config, player);
    case Emulator::Zsnes: return SaveZsnesConfig(config, player);
    case Emulator::Gest: return SaveGestConfig(config);
    case Emulator::None: break;
  }
  return false;
}

void RefreshNames(Emulator emulator, ControllerConfig& config) {
  switch (emulator) {
    case Emulator::Nester: config.RefreshNesNames(); break;
    case Emulator::Gens: config.RefreshGenesisNames(); break;
    case Emulator::Meka: config.RefreshMasterSystemNames(); break;
    case Emulator::Zsnes: config.RefreshSnesNames(); break;
    case Emulator::Gest: config.RefreshGameBoyNames(); break;
    case Emulator::None: break;
  }
}

std::string BindingsLocation(Emulator emulator, const ControllerConfig& config, int player) {
  switch (emulator) {
    case Emulator::Nester:
      return "the registry key HKEY_CURRENT_USER\\Software\\nester\\NES\\Input\\Controller" +
             std::to_string(player);
    case Emulator::Gens: return config.gensPath;
    case Emulator::Meka: return config.mekaPath;
    case Emulator::Zsnes: return config.zsnesPath;
    case Emulator::Gest: return config.gestPath;
    case Emulator::None: break;
  }
  return "";
}

const char* EmulatorName(Emulator emulator) {
  switch (emulator) {
    case Emulator::Nester: return "nester";
    case Emulator::Gens: return "Gens";
    case Emulator::Meka: return "MEKA";
    case Emulator::Zsnes: return "ZSNES";
    case Emulator::Gest: return "Gest";
    case Emulator::None: break;
  }
  return "";
}

}  // namespace vt
