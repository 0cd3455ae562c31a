#include "tests/support/EmulatorFolder.h"

#include <filesystem>

#include <gtest/gtest.h>

namespace vt::test {

std::string Fixture(const std::string& name) {
  return ReadFileBytes(std::string(VT_EMUCONFIG_FIXTURES) + "/" + name);
}

bool EmulatorFolder::OnlyFileIs(const std::string& name) const {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    files.push_back(entry.path().filename().string());
  std::erase(files, name + ".vintara-original");
  return files == std::vector<std::string>{name};
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

}  // namespace vt::test
