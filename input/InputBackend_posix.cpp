// Without DirectInput there is no device source: creating the interface fails, so a capture
// reports that no input can arrive instead of waiting for one.
#include "input/InputDevices.h"

namespace vt {

namespace {

class NoInputBackend final : public InputBackend {
public:
  void* ModuleInstance() override { return nullptr; }
  HResult Create(void*, std::unique_ptr<InputSystem>& system) override {
    system.reset();
    return dierr::Unsupported;
  }
};

}  // namespace

InputBackend& PlatformInputBackend() {
  static NoInputBackend backend;  // stateless
  return backend;
}

}  // namespace vt
