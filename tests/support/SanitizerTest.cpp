// Proves that the host test build really runs under the sanitizers: if these fail, every
// other host test is running without the memory checks it is relied on for.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

int ReadPastEnd(size_t n) {
  auto buf = std::make_unique<char[]>(n);
  std::memset(buf.get(), 1, n);
  volatile char* p = buf.get();
  return p[n];  // one past the end
}

TEST(SanitizerBuild, HeapAndSignedOverflowsAreCaught) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(ReadPastEnd(16), "heap-buffer-overflow");
  volatile int big = 0x7fffffff;
  EXPECT_DEATH(
      {
        volatile int r = big + 1;
        (void)r;
      },
      "signed integer overflow");
}

}  // namespace
