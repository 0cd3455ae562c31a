#include "tests/emuconfig/EmuconfigTestSupport.h"

#include <filesystem>
#include <random>
#include <vector>

namespace vt::test {

std::string Fixture(const std::string& name) { return ReadFileBytes(std::string(VT_EMUCONFIG_FIXTURES) + "/" + name); }

bool EmulatorFolder::OnlyFileIs(const std::string& name) const {
  int count = 0;
  bool found = false;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    if (entry.path().filename() == name + ".vintara-original") continue;  // the kept original
    ++count;
    found = found || entry.path().filename() == name;
  }
  return count == 1 && found;
}

std::string GestFile(std::size_t lineEnd, std::size_t size) {
  std::string text = "Gest 1.1.1\n320\n288\n0\nC:\\Games\\Emu\\roms\n";
  std::string sixth = "Sound=1";
  // Pad the sixth line so its LF lands at lineEnd - 1.
  if (text.size() + sixth.size() + 1 < lineEnd) sixth.append(lineEnd - 1 - text.size() - sixth.size(), 'x');
  text += sixth + "\n";
  std::string bytes = text;
  for (std::size_t i = bytes.size(); i < size; ++i) bytes.push_back(static_cast<char>(0x80 | (i * 7 % 127)));
  bytes.resize(size);
  return bytes;
}

std::vector<std::string> HostileInputs(const std::string& text, const std::vector<std::string>& words,
                                       unsigned seed, int count) {
  std::vector<std::string> inputs;
  for (std::size_t n = 0; n <= text.size(); ++n) inputs.push_back(text.substr(0, n));
  std::mt19937 rng(seed);
  for (int i = 0; i < count; ++i) {
    std::string buf;
    std::size_t len = rng() % 600;
    while (buf.size() < len) {
      switch (rng() % 5) {
        case 0: buf += words[rng() % words.size()]; break;
        case 1: buf += "\r\n"; break;
        case 2: buf += '\n'; break;
        case 3: buf += ", "; break;
        default: buf.push_back(static_cast<char>(rng() & 0xFF)); break;
      }
    }
    inputs.push_back(buf);
  }
  return inputs;
}

}  // namespace vt::test
