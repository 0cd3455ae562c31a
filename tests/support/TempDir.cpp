#include "tests/support/TempDir.h"

#include <fstream>
#include <iterator>
#include <random>

namespace vt::test {

// A random name, drawn again in the unlikely case that it is taken.
TempDir::TempDir() {
  std::random_device random;
  do path_ = std::filesystem::temp_directory_path() / ("vt-test-" + std::to_string(random()));
  while (!std::filesystem::create_directory(path_));
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace vt::test
