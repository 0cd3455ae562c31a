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

std::string GestFile(std::size_t lineEnd, std::size_t size) {
  std::string text = "Gest 1.1.1\n320\n288\n0\nC:\\Games\\Emu\\roms\n";
  std::string sixth = "Sound=1";
  // Pad the sixth line so its LF lands at lineEnd - 1.
  if (text.size() + sixth.size() + 1 < lineEnd)
    sixth.append(lineEnd - 1 - text.size() - sixth.size(), 'x');
  text += sixth + "\n";
  std::string bytes = text;
  for (std::size_t i = bytes.size(); i < size; ++i)
    bytes.push_back(static_cast<char>(0x80 | (i * 7 % 127)));
  bytes.resize(size);
  return bytes;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

}  // namespace vt::test
