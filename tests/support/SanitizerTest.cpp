// Proves that the host test build really runs under the sanitizers: if these fail, every
// other host test is running without the memory checks it is relied on for.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "tests/support/TempDir.h"

namespace {

int ReadPastEnd(size_t n) {
  auto buf = std::make_unique<char[]>(n);
  std::memset(buf.get(), 1, n);
  volatile char* p = buf.get();
  return p[n];  // one past the end
}

TEST(SanitizerBuild, HeapOverflowIsCaught) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(ReadPastEnd(16), "heap-buffer-overflow");
}

TEST(SanitizerBuild, SignedOverflowIsCaught) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  volatile int big = 0x7fffffff;
  EXPECT_DEATH({ volatile int r = big + 1; (void)r; }, "signed integer overflow");
}

TEST(TempDirFixture, FilesRoundTripAndFolderIsRemoved) {
  std::filesystem::path where;
  {
    vt::test::TempDir dir;
    where = dir.path();
    std::string bytes("a\0b\r\n\xff", 6);
    vt::test::WriteFileBytes(dir.File("x.bin"), bytes);
    EXPECT_EQ(vt::test::ReadFileBytes(dir.File("x.bin")), bytes);
  }
  EXPECT_FALSE(std::filesystem::exists(where));
}

}  // namespace
