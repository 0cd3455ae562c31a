#include "tools/vtcli/ControlsCommand.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

#include "emuconfig/Emulator.h"
#include "emuconfig/EmulatorLocations.h"
#include "tools/vtcli/StreamHost.h"

namespace vt::cli {
namespace {

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
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return std::nullopt;
    v = v * base + digit;
  }
  return v;
}

struct Request {
  bool set = false;
  bool restore = false;
  const Emulator* emulator = nullptr;
  int player = 1;
  std::optional<std::string> folder;
  std::vector<std::pair<BindingSlot, std::int32_t>> changes;
};

std::string Usage() {
  std::string words;
  const auto all = Emulators();
  for (std::size_t i = 0; i < all.size(); ++i)
    words += (i == 0 ? "" : i + 1 == all.size() ? " or " : ", ") + std::string(all[i]->word);
  return "usage: vtcli controls show EMULATOR [--player N] [--folder DIR]\n"
         "       vtcli controls set EMULATOR [--player N] [--folder DIR] SLOTNAME=CODE ...\n"
         "       vtcli controls restore EMULATOR [--folder DIR]\n"
         "EMULATOR is " +
         words + "\n";
}

// Parses everything before touching any configuration, so a bad word writes nothing.
bool ParseRequest(const std::vector<std::string>& args, Request& r, std::ostream& err) {
  if (args.size() < 2 || (args[0] != "show" && args[0] != "set" && args[0] != "restore")) {
    err << Usage();
    return false;
  }
  r.set = args[0] == "set";
  r.restore = args[0] == "restore";
  r.emulator = FindEmulator(args[1]);
  if (!r.emulator) {
    err << "vtcli controls: unknown emulator \"" << args[1] << "\"\n" << Usage();
    return false;
  }
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
      err << "vtcli controls: unexpected argument \"" << a << "\"\n" << Usage();
      return false;
    }
  }
  if (r.player > r.emulator->players) {
    err << "vtcli controls: " << args[1] << " has one player\n";
    return false;
  }
  if (r.set && assignments.empty()) {
    err << "vtcli controls: set needs at least one SLOTNAME=CODE\n";
    return false;
  }
  const std::span<const BindingSlot> used = r.emulator->Slots(r.player);
  for (const std::string& a : assignments) {
    const std::size_t eq = a.find('=');
    const std::string name = a.substr(0, eq);
    const auto slot = FindBindingSlot(name);
    if (!slot || std::find(used.begin(), used.end(), *slot) == used.end()) {
      err << "vtcli controls: " << args[1] << " has no slot \"" << name << "\"\n";
      return false;
    }
    const auto code = ParseCode(std::string_view(a).substr(eq + 1));
    if (!code || !r.emulator->Fits(*slot, *code)) {
      err << "vtcli controls: \"" << a.substr(eq + 1) << "\" is not a binding code " << args[1]
          << " can store in " << name << "\n";
      return false;
    }
    r.changes.emplace_back(*slot, static_cast<std::int32_t>(*code));
  }
  return true;
}

}  // namespace

int RunControls(vt::SettingsStore& settings, const std::vector<std::string>& args,
                std::ostream& out, std::ostream& err) {
  Request r;
  if (!ParseRequest(args, r, err)) return 2;
  const Emulator& e = *r.emulator;

  ControllerConfig config(r.folder ? *r.folder : LookUpEmulatorFolder(settings));
  if (r.restore) {
    const Outcome restored = e.Restore(settings, config.emulatorFolder);
    if (!restored.done) {
      err << "vtcli controls: " << restored.text << "\n";
      return 1;
    }
    out << "restored " << restored.text << "\n";
    return 0;
  }
  StreamHost show(err);
  const int p = r.player;
  if (!e.Load(settings, config, p, show)) {
    err << "vtcli controls: cannot read the bindings of player " << p << " from "
        << e.Location(config.emulatorFolder, p) << "\n";
    return 1;
  }

  if (r.set) {
    for (auto [slot, code] : r.changes) e.Bind(config, slot, code);
    e.RefreshNames(config);
    if (!e.Save(settings, config, p, show).done) {
      err << "vtcli controls: cannot write the bindings of player " << p << "\n";
      return 1;
    }
    return 0;
  }

  for (BindingSlot slot : e.Slots(p)) {
    out << BindingSlotName(slot) << '\t';
    for (std::int64_t value : e.Stored(config, slot)) out << value << '\t';
    out << config.DisplayName(slot) << '\n';
  }
  return 0;
}

}  // namespace vt::cli
