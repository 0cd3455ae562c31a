// Fixtures for the configuration tests: a temporary emulator folder seeded with our sample files.
#pragma once

#include <memory>
#include <string>

#include "emuconfig/Emulator.h"
#include "platform/SettingsStore.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/TempDir.h"

namespace vt::test {

// Bytes of a sample file in tests/support/fixtures (gest.cfg: six text lines in its first 64
// bytes, then its buffer with keys, and buttons 0, 1, 9, 8, 2 and 31 in the joystick slots).
std::string Fixture(const std::string& name);

// A fresh emulator folder; config's folder is it, and the settings file lies in it.
struct EmulatorFolder {
  TempDir dir;
  ControllerConfig config{dir.path().string()};
  std::unique_ptr<SettingsStore> settings = OpenFileSettings(dir.File("registry.txt"));
  RecordingHost host;

  std::string Path(const std::string& name) const { return dir.File(name); }
  void Put(const std::string& name, const std::string& bytes) const {
    WriteFileBytes(Path(name), bytes);
  }
  void PutFixture(const std::string& name) const { Put(name, Fixture(name)); }
  std::string Get(const std::string& name) const { return ReadFileBytes(Path(name)); }
  // No temporary file left beside it (its kept original aside).
  bool OnlyFileIs(const std::string& name) const;
  bool Load(const Emulator& e, int player = 1) { return e.Load(*settings, config, player, host); }
  bool Save(const Emulator& e, int player = 1) {
    return e.Save(*settings, config, player, host).done;
  }
};

// `text` with the first `from` replaced by `to` (a test failure when `from` is not there).
std::string Replace(std::string text, const std::string& from, const std::string& to);

}  // namespace vt::test
