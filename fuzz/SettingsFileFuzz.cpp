// The file settings store over any file content, and nester's bindings read from and written
// to it: queries never leave the text; a value written reads back exactly, and nothing else of
// the store changes.
#include <fuzzer/FuzzedDataProvider.h>
#include <strings.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "emuconfig/Emulator.h"
#include "fuzz/FuzzCheck.h"
#include "platform/SettingsStore.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/TempDir.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // In memory where the system has it: every change of the store is an atomic, synced replace.
  static const std::string path =
      std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/vt-fuzz-settings-" +
      std::to_string(::getpid()) + ".txt";
  FuzzedDataProvider in(data, size);
  const std::string name = in.ConsumeRandomLengthString(32);
  const std::string bytes = in.ConsumeRandomLengthString(64);
  const uint32_t type = in.ConsumeIntegral<uint32_t>();
  const int player = in.ConsumeIntegralInRange(1, 2);
  const std::string file = in.ConsumeRemainingBytesAsString();
  vt::test::WriteFileBytes(path, file);
  auto store = vt::OpenFileSettings(path);
  const vt::Hive m = vt::Hive::Machine;
  const std::string key = "Software\\Vintara";
  std::string before, back, after;
  const bool had = store->QueryValue(m, key, "VT_PATH", before);
  vt::ReadFixedText(*store, m, key, "SYSTEM", 20, vt::FullBuffer::Absent);
  if (store->CreateKey(m, key) && store->SetValue(m, key, name, type, bytes)) {
    uint32_t backType = 0;
    FUZZ_CHECK(store->QueryValue(m, key, name, back, &backType));
    FUZZ_CHECK(back == bytes && backType == type);
    // Names compare without case, as the registry's do.
    const bool sameName = name.size() == 7 && ::strncasecmp(name.data(), "VT_PATH", 7) == 0;
    if (had && !sameName)
      FUZZ_CHECK(store->QueryValue(m, key, "VT_PATH", after) && after == before);
  }
  vt::ControllerConfig config, reread;
  const vt::Emulator& nester = vt::Nester();
  vt::test::RecordingHost host;
  if (nester.Load(*store, config, player, host)) {
    FUZZ_CHECK(nester.Save(*store, config, player, host).done);
    FUZZ_CHECK(nester.Load(*store, reread, player, host));
    FUZZ_CHECK(reread.nesRecords == config.nesRecords);
  }
  std::remove(path.c_str());
  return 0;
}
