// Captures one binding through the real DirectInput keyboard, for the end-to-end key test: opens
// a window titled argv[1], opens the devices, retitles the window argv[1] + " ready" (the test
// sends its key only then), waits for a code and prints it as "code 0x%X". Gives up after 60 s.
// With a third argument "away", moves the activation to another window and reads once. With a
// third argument N, measures instead: waits N ms with nothing pressed and prints the CPU
// used (percent of one core) and the mean time between two captures.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "input/Capture.h"

namespace {

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: probe TITLE ALIAS\n");
    return 2;
  }
  const std::string title = argv[1];
  WNDCLASSA wc{};
  wc.lpfnWndProc = ProbeProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "VtCaptureProbe";
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowExA(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 320, 200,
                              nullptr, nullptr, wc.hInstance, nullptr);
  if (!hwnd) {
    std::printf("no window\n");
    return 1;
  }
  UpdateWindow(hwnd);
  PumpMessages();

  vt::ControllerConfig config;
  int messages = 0;
  config.input = vt::InputDevices(vt::PlatformInputBackend(), [&](const std::string& text, const std::string& caption) {
    ++messages;
    std::printf("message %s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stdout);
  });
  config.systemAlias = argv[2];
  vt::OpenInput(config, hwnd);
  if (!config.input.HasDevices()) {
    std::printf("no devices\n");
    return 1;
  }
  SetWindowTextA(hwnd, (title + " ready").c_str());
  PumpMessages();

  if (argc > 3 && std::string(argv[3]) == "away") {
    // Another window takes the activation and the focus; the devices must stay acquired, so the
    // capture reads the keyboard without an error box.
    HWND other = CreateWindowExA(0, wc.lpszClassName, (title + " other").c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 400, 50, 320, 200, nullptr, nullptr, wc.hInstance, nullptr);
    SetForegroundWindow(other);
    SetActiveWindow(other);
    SetFocus(other);
    PumpMessages();
    const bool moved = GetActiveWindow() == other && GetFocus() == other;
    const std::int32_t code = vt::CaptureBinding(config);
    std::printf("focus %s, capture %d\n", moved ? "moved" : "stayed", static_cast<int>(code));
    std::fflush(stdout);
    vt::CloseInput(config);
    return moved && code == 0 && messages == 0 ? 0 : 1;
  }

  if (argc > 3) {
    const auto idle = std::chrono::milliseconds(std::atoi(argv[3]));
    FILETIME created, exited, kernel0, user0, kernel1, user1;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel0, &user0);
    const auto start = std::chrono::steady_clock::now();
    long polls = 0;
    vt::WaitForCode(config, [&](vt::ControllerConfig& c) -> std::int32_t {
      ++polls;
      if (std::chrono::steady_clock::now() - start > idle) return -1;
      return vt::CaptureBinding(c);
    });
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel1, &user1);
    auto seconds = [](const FILETIME& a, const FILETIME& b) {
      const auto value = [](const FILETIME& t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
      return static_cast<double>(value(b) - value(a)) * 1e-7;
    };
    const double cpu = seconds(kernel0, kernel1) + seconds(user0, user1);
    std::printf("idle cpu %.2f%% polls %ld mean interval %.0f us\n", 100.0 * cpu / wall, polls, 1e6 * wall / polls);
    vt::CloseInput(config);
    return 0;
  }

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  const std::int32_t code = vt::WaitForCode(config, [&](vt::ControllerConfig& c) -> std::int32_t {
    if (std::chrono::steady_clock::now() > deadline) return -1;
    return vt::CaptureBinding(c);
  });
  vt::CloseInput(config);
  DestroyWindow(hwnd);
  std::printf("code 0x%X\n", static_cast<unsigned>(code));
  std::fflush(stdout);
  return code > 0 ? 0 : 1;
}
