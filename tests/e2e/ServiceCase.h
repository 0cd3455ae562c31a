// The fixture every end-to-end suite starts from.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/E2eClient.h"

namespace vt::e2e {

// The base of every end-to-end suite: the web host of the vtservice the test command started
// (without it the cases prove nothing, so that fails them), and the client's key cleared after.
class ServiceCase : public ::testing::Test {
protected:
  void SetUp() override {
    std::string why;
    web = WebHost(&why);
    ASSERT_FALSE(web.empty()) << why;
  }
  void TearDown() override { ClearVintaraKey(); }
  // Waits for a window of the kind; fails the case when it does not come.
  static HWND Await(Client& client, Kind kind, DWORD timeoutMs = 60000) {
    HWND h = client.WaitWindow([kind](HWND w) { return Classify(w) == kind; }, timeoutMs);
    EXPECT_NE(h, nullptr) << "no " << KindName(kind) << " appeared";
    return h;
  }

  std::string web;
};

}  // namespace vt::e2e
