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
int AddOne(volatile int n) { return n + 1; }  // past INT_MAX: a signed overflow

TEST(SanitizerBuild, HeapAndSignedOverflowsAreCaught) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(ReadPastEnd(16), "heap-buffer-overflow");
  EXPECT_DEATH(AddOne(0x7fffffff), "signed integer overflow");
}

}  // namespace
