// Which settings stores the semantic tests run against on this platform.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/SettingsStore.h"
#include "tests/support/TempDir.h"

namespace vt {

enum class StoreKind { File, Registry };

std::vector<StoreKind> AllStoreKinds();
std::string StoreKindName(StoreKind kind);
std::unique_ptr<SettingsStore> MakeStore(StoreKind kind, const test::TempDir& dir);
// Prefix under which a test's keys live (the registry is shared, so tests get their own key).
std::string StoreRoot(StoreKind kind);
void DropStore(StoreKind kind);

}  // namespace vt
