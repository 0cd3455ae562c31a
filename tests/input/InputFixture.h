// A ControllerConfig whose devices are scripted and whose message boxes are recorded.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "input/Capture.h"
#include "input/ControllerConfig.h"
#include "tests/support/ScriptedInput.h"

namespace vt::test {

using Message = std::pair<std::string, std::string>;  // text, caption

class InputFixture : public ::testing::Test {
protected:
  InputFixture() {
    config.input = InputDevices(input, [this](const std::string& text, const std::string& caption) {
      messages.emplace_back(text, caption);
    });
  }

  void Open() { OpenInput(config, window); }

  // Log entries that start with `prefix`, in order.
  std::vector<std::string> LogOf(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& entry : input.Log())
      if (entry.rfind(prefix, 0) == 0) out.push_back(entry);
    return out;
  }

  // Declared first so that it outlives the devices the config holds.
  ScriptedInput input;
  std::vector<Message> messages;
  ControllerConfig config;
  WindowHandle window = reinterpret_cast<WindowHandle>(0x1234);
};

}  // namespace vt::test
