#include "tests/platform/SettingsStoreFixture.h"

namespace vt {

std::vector<StoreKind> AllStoreKinds() { return {StoreKind::File}; }
std::string StoreKindName(StoreKind) { return "File"; }
std::unique_ptr<SettingsStore> MakeStore(StoreKind, const test::TempDir& dir) {
  return OpenFileSettings(dir.File("registry.txt"));
}
std::string StoreRoot(StoreKind) { return ""; }
void DropStore(StoreKind) {}

}  // namespace vt
