#include "tools/vtcli/ControlsCommand.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

#include "controllers/ConsoleLayouts.h"
#include "controllers/EmulatorBindings.h"
#include "emuconfig/ConfigFile.h"
#include "emuconfig/EmulatorLocations.h"
#include "emuconfig/NesterConfig.h"
#include "input/ControllerConfig.h"

namespace vt::cli {
namespace {

std::optional<Emulator> ParseEmulator(std::string_view name) {
  if (name == "nester") return Emulator::Nester;
  if (name == "gens") return Emulator::Gens;
  if (name == "meka") return Emulator::Meka;
  if (name == "zsnes") return Emulator::Zsnes;
  if (name == "gest") return Emulator::Gest;
  return std::nullopt;
}

bool IsJoystickSlot(BindingSlot s) { return s >= SlotJoyUp; }

bool InRange(std::int64_t v, std::int64_t lo, std::int64_t hi) { return v >= lo && v <= hi; }

// Codes the emulator's family can produce and store for the slot.
bool CodeFits(Emulator e, BindingSlot slot, std::int64_t code) {
  const bool key = InRange(code, 1, 255);
  switch (e) {
    case Emulator::Nester:
      return key;
    case Emulator::Gens: {
      std::int64_t d = (code - 0x1000) % 256, j = (code - 0x1000) / 256;
      return key || (code >= 0x1000 && j <= 4 && (InRange(d, 1, 4) || InRange(d, 0x10, 0x2F)));
    }
    case Emulator::Zsnes: {
      std::int64_t d = (code - 256) % 32, j = (code - 256) / 32;
      return key || (code >= 256 && j <= 4 && (InRange(d, 0, 13) || InRange(d, 16, 31)));
    }
    case Emulator::Meka:
      return IsJoystickSlot(slot) ? InRange(code, 256, 287) : key;
    case Emulator::Gest:
      return IsJoystickSlot(slot) ? InRange(code, 0, 31) : key;  // joystick slots hold a button number
    case Emulator::None:
      break;
  }
  return false;
}

std::optional<std::int64_t> ParseCode(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::int64_t v = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return std::nullopt;
    v = v * base + digit;
  }
  return v;
}

struct Request {
  bool set = false;
  bool restore = false;
  Emulator emulator{};
  int player = 1;
  std::optional<std::string> folder;
  std::vector<std::pair<BindingSlot, std::int32_t>> changes;
};

const char* kUsage =
    "usage: vtcli controls show EMULATOR [--player N] [--folder DIR]\n"
    "       vtcli controls set EMULATOR [--player N] [--folder DIR] SLOTNAME=CODE ...\n"
    "       vtcli controls restore EMULATOR [--folder DIR]\n"
    "EMULATOR is nester, gens, meka, zsnes or gest\n";

// Parses everything before touching any configuration, so a bad word writes nothing.
bool ParseRequest(const std::vector<std::string>& args, Request& r, std::ostream& err) {
  if (args.size() < 2 || (args[0] != "show" && args[0] != "set" && args[0] != "restore")) {
    err << kUsage;
    return false;
  }
  r.set = args[0] == "set";
  r.restore = args[0] == "restore";
  auto emulator = ParseEmulator(args[1]);
  if (!emulator) {
    err << "vtcli controls: unknown emulator \"" << args[1] << "\"\n" << kUsage;
    return false;
  }
  r.emulator = *emulator;
  std::vector<std::string> assignments;
  for (std::size_t i = 2; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--player" || a == "--folder") {
      if (i + 1 == args.size()) {
        err << "vtcli controls: " << a << " needs a value\n";
        return false;
      }
      const std::string& v = args[++i];
      if (a == "--folder") {
        r.folder = v;
      } else if (v == "1" || v == "2") {
        r.player = v[0] - '0';
      } else {
        err << "vtcli controls: the player is 1 or 2, not \"" << v << "\"\n";
        return false;
      }
    } else if (r.set && a.find('=') != std::string::npos) {
      assignments.push_back(a);
    } else {
      err << "vtcli controls: unexpected argument \"" << a << "\"\n" << kUsage;
      return false;
    }
  }
  if (r.emulator == Emulator::Gest && r.player != 1) {
    err << "vtcli controls: gest has one player\n";
    return false;
  }
  if (r.set && assignments.empty()) {
    err << "vtcli controls: set needs at least one SLOTNAME=CODE\n";
    return false;
  }
  const std::vector<BindingSlot> used = EmulatorSlots(r.emulator, r.player);
  for (const std::string& a : assignments) {
    std::size_t eq = a.find('=');
    std::string name = a.substr(0, eq);
    auto slot = FindBindingSlot(name);
    bool usedHere = false;
    for (BindingSlot s : used) usedHere = usedHere || (slot && s == *slot);
    if (!usedHere) {
      err << "vtcli controls: " << args[1] << " has no slot \"" << name << "\"\n";
      return false;
    }
    auto code = ParseCode(std::string_view(a).substr(eq + 1));
    if (!code || !CodeFits(r.emulator, *slot, *code)) {
      err << "vtcli controls: \"" << a.substr(eq + 1) << "\" is not a binding code " << args[1] << " can store in "
          << name << "\n";
      return false;
    }
    r.changes.emplace_back(*slot, static_cast<std::int32_t>(*code));
  }
  return true;
}

// NES records follow the nester slot order.
std::size_t NesRecordOf(BindingSlot slot) {
  const std::vector<BindingSlot> order = EmulatorSlots(Emulator::Nester, 1);
  std::size_t i = 0;
  while (i + 1 < order.size() && order[i] != slot) ++i;
  return i;
}

// Puts back the configuration as it was before the client first changed it.
int Restore(SettingsStore& settings, Emulator emulator, const ControllerConfig& config, std::ostream& out,
            std::ostream& err) {
  if (emulator == Emulator::Nester) {
    if (!RestoreNesterOriginal(settings)) {
      err << "vtcli controls: no complete copy of nester's original bindings was kept\n";
      return 1;
    }
    out << "restored nester's bindings of both players\n";
    return 0;
  }
  const std::string path = BindingsLocation(emulator, config, 1);
  std::string original;
  if (!ReadConfigFile(OriginalCopyPath(path), original)) {
    err << "vtcli controls: no original of " << path << " was kept\n";
    return 1;
  }
  if (!WriteConfigFile(path, original)) {
    err << "vtcli controls: cannot write " << path << "\n";
    return 1;
  }
  out << "restored " << path << "\n";
  return 0;
}

}  // namespace

int RunControls(vt::SettingsStore& settings, const std::vector<std::string>& args, std::ostream& out,
                std::ostream& err) {
  Request r;
  if (!ParseRequest(args, r, err)) return 2;

  ControllerConfig config(r.folder ? *r.folder : LookUpEmulatorFolder(settings));
  if (r.restore) return Restore(settings, r.emulator, config, out, err);
  const MessageFn show = [&err](std::string_view text, std::string_view caption) {
    err << caption << ": " << text << "\n";
  };
  const int p = r.player;
  if (!LoadBindings(r.emulator, settings, config, p, show)) {
    err << "vtcli controls: cannot read the bindings of player " << p << " from "
        << BindingsLocation(r.emulator, config, p) << "\n";
    return 1;
  }

  if (r.set) {
    for (auto [slot, code] : r.changes) {
      config.Code(slot) = code;
      if (r.emulator == Emulator::Nester) {
        // As a keyboard capture does: the joystick fields keep their values.
        NesterBinding& rec = config.nesRecords[NesRecordOf(slot)];
        rec.DeviceGUID = kGuidSysKeyboard;
        rec.DeviceType = kNesterKeyboard;
        rec.Key = static_cast<std::uint32_t>(code);
      }
    }
    RefreshNames(r.emulator, config);
    if (!SaveBindings(r.emulator, settings, config, p, show)) {
      err << "vtcli controls: cannot write the bindings of player " << p << "\n";
      return 1;
    }
    return 0;
  }

  const std::vector<BindingSlot> slots = EmulatorSlots(r.emulator, p);
  for (std::size_t i = 0; i < slots.size(); ++i) {
    out << BindingSlotName(slots[i]) << '\t';
    if (r.emulator == Emulator::Nester) {
      const NesterBinding& rec = config.nesRecords[i];
      out << rec.DeviceType << '\t' << rec.Key << '\t' << rec.JOffset << '\t' << rec.JAxisPositive;
    } else {
      out << config.Code(slots[i]);
    }
    out << '\t' << config.DisplayName(slots[i]) << '\n';
  }
  return 0;
}

}  // namespace vt::cli
