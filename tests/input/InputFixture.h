// A ControllerConfig whose devices are scripted and whose message boxes are recorded.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "input/Capture.h"
#include "tests/support/ScriptedInput.h"

namespace vt::test {

using Message = std::pair<std::string, std::string>;  // text, caption

// Scripted devices under a configuration; a plain object, so that table rows can make their own.
struct InputRig {
  InputRig() {
    config.input = InputDevices(input, [this](const std::string& text, const std::string& caption) {
      messages.emplace_back(text, caption);
      if (duringBox) duringBox();
    });
  }
  InputRig(const InputRig&) = delete;
  void Open() { OpenInput(config, window); }
  ScriptedDevice& Attach(std::uint8_t seed) { return input.Attach(ScriptedInput::TestGuid(seed)); }
  // Attaches `count` controllers with the GUIDs 0x10, 0x11, ... and opens.
  void OpenWith(int count) {
    for (int i = 0; i < count; ++i) joysticks.push_back(&input.Attach(ScriptedInput::TestGuid(0x10 + i)));
    Open();
  }
  std::vector<std::string> LogOf(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& entry : input.Log())
      if (entry.rfind(prefix, 0) == 0) out.push_back(entry);
    return out;
  }

  ScriptedInput input;  // outlives the devices the config holds
  std::vector<Message> messages;
  std::function<void()> duringBox;  // what the user does while a box shows
  ControllerConfig config;
  std::vector<ScriptedDevice*> joysticks;
  WindowHandle window = reinterpret_cast<WindowHandle>(0x1234);
};

class InputFixture : public ::testing::Test, public InputRig {};

}  // namespace vt::test
