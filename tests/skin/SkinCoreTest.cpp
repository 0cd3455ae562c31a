// The portable skin logic, natively: which button image shows, the list's own scroll bars
// against a simulated list, and the keyed skin's pixel views.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

#include "skin/ButtonImage.h"
#include "skin/ListBarLogic.h"
#include "skin/SkinGeometry.h"

namespace vt::skin {
namespace {

// First match wins: pressed, focused, disabled, each only with its image; else normal.
TEST(ChooseButtonImage, FirstStateWithAnImageWins) {
  using S = ButtonSlot;
  const ButtonSlots launch{.pressed = true, .disabled = true}, all{true, true, true};
  const struct {
    ButtonState state;
    ButtonSlots slots;
    ButtonSlot shown;
  } cases[] = {
      {{}, all, S::Normal},
      {{.pressed = true, .focused = true, .disabled = true}, all, S::Pressed},
      {{.focused = true, .disabled = true}, all, S::Focused},
      {{.disabled = true}, all, S::Disabled},
      // The Launch button: no focused image, so focus alone shows the normal one.
      {{.focused = true}, launch, S::Normal},
      {{.pressed = true, .focused = true}, launch, S::Pressed},
      {{.focused = true, .disabled = true}, launch, S::Disabled},
      {{.disabled = true}, {.pressed = true}, S::Normal},
      {{.pressed = true, .disabled = true}, {.disabled = true}, S::Disabled},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ChooseButtonImage(c.state, c.slots), c.shown)
        << c.state.pressed << c.state.focused << c.state.disabled << " with " << c.slots.pressed
        << c.slots.focused << c.slots.disabled;
}

// A list that scrolls like the platform's: position clamped to 0..limit, pages of `page`
// units; and the bar window's timers on a virtual clock.
class SimulatedList : public ListBarHost {
public:
  SimulatedList(int length, int limit, int page, int position = 0)
      : length_(length), limit_(limit), page_(page), pos_(position) {}

  int Length() override { return length_; }
  int Position() override { return pos_; }
  int Limit() override { return limit_; }
  void Scroll(ScrollCommand c) override {
    commands.push_back(c);
    const int steps[] = {-1, 1, -page_, page_};
    Move(steps[static_cast<int>(c)]);
  }
  void ScrollBy(int delta) override {
    scrolledBy.push_back(delta);
    Move(delta);
  }
  void StartTimer(int id, int ms) override { timers_[id] = {ms, now_ + ms}; }
  void StopTimer(int id) override { timers_.erase(id); }
  void Capture() override { captured = true; }
  void ReleaseCapture() override { captured = false; }
  void Repaint() override { ++repaints; }

  // Advances the clock to `until`, firing due timers in time order as a message queue would;
  // notes when a timer scrolled the list.
  void RunUntil(ListBarLogic& bar, int until) {
    for (;;) {
      auto due = std::min_element(timers_.begin(), timers_.end(),
                                  [](auto& a, auto& b) { return a.second.due < b.second.due; });
      if (due == timers_.end() || due->second.due > until) break;
      now_ = due->second.due;
      due->second.due += due->second.period;
      const int before = pos_;
      bar.Timer(due->first);
      if (pos_ != before) changes.push_back(now_);
    }
    now_ = until;
  }
  bool TimerRunning() const { return !timers_.empty(); }

  std::vector<ScrollCommand> commands;
  std::vector<int> scrolledBy;
  std::vector<int> changes;  // virtual times at which a timer scrolled the list
  bool captured = false;
  int repaints = 0;

private:
  void Move(int delta) { pos_ = std::clamp(pos_ + delta, 0, limit_); }
  struct Timer {
    int period, due;
  };
  int length_, limit_, page_, pos_, now_ = 0;
  std::map<int, Timer> timers_;
};

constexpr int kH = 400;
// Points on the vertical bar of height 400.
constexpr int kUpY = 20, kDownY = kH - 20, kX = 5;
constexpr auto kV = BarOrientation::Vertical, kHorizontal = BarOrientation::Horizontal;

// A list that fits hides the thumb; a bar shorter than its pieces keeps it at its start. Neither
// scrolls for a drag.
TEST(ListBarThumb, ThumbFollowsThePositionTruncatedAndClampsAtTheEnd) {
  const struct {
    BarOrientation orientation;
    int length, limit, page, position, thumb;
  } cases[] = {
      {kV, kH, 302, 10, 151, 187},  // ratio (400 - 98) / 302 = 1
      {kV, kH, 302, 10, 302, kH - 62},
      {kHorizontal, kH, 325, 50, 100, 125},  // ratio (400 - 75) / 325 = 1
      {kHorizontal, kH, 325, 50, 325, 349},  // 350 + 26 > 400 - 26
      {kHorizontal, kH, 650, 50, 3, 26},     // ratio 0.5: 1.5 truncated toward zero
      {kV, kH, 0, 5, 0, 36},
      {kV, 80, 50, 5, 0, 36},
  };
  for (const auto& c : cases) {
    SimulatedList list(c.length, c.limit, c.page, c.position);
    ListBarLogic bar(c.orientation, list);
    EXPECT_EQ(bar.ThumbStart(), c.orientation == kV ? 36 : 25) << "before any update";
    bar.UpdateBar();
    EXPECT_EQ(bar.ThumbStart(), c.thumb) << c.limit << " at " << c.position;
    EXPECT_EQ(bar.ThumbShown(), c.limit != 0);
    EXPECT_EQ(list.repaints, 1);
    if (c.limit != 0 && c.length == kH) continue;  // but the list that fits and the short bar
    bar.ButtonDown(kX, 40);                        // on the thumb
    bar.PointerMove(kX, c.length - 10);
    EXPECT_EQ(list.Position(), 0);
    EXPECT_TRUE(list.scrolledBy.empty());
  }
  for (auto [max, page, limit] :
       {std::tuple{99, 20u, 80}, {9, 20u, 0}, {9, 0u, 9}, {9, 1u, 9}, {0, 0xFFFFFFFFu, 0}})
    EXPECT_EQ(ScrollLimit(max, page), limit) << max << " " << page;
}

// Either arrow of either bar, clicked or held: lines at 300 ms (the delay, then a first
// repeat), then every 50 ms, and one more at the release; nothing after it. A capture lost
// instead, before the delay ran out or while repeating, stops the repeat without that line.
TEST(ListBarArrows, HoldingScrollsAt300msThenEvery50msPlusOneAtRelease) {
  for (BarOrientation o : {kV, kHorizontal})
    for (int step : {+1, -1})
      for (int held : {200, 420})
        for (bool lost : {false, true}) {
          const bool v = o == kV;
          SCOPED_TRACE(std::to_string(v) + " " + std::to_string(step) + " " + std::to_string(held) +
                       (lost ? " lost" : ""));
          SimulatedList list(kH, 100, 10, 50);
          ListBarLogic bar(o, list);
          bar.UpdateBar();
          const int x = v ? kX : step > 0 ? kH - 10 : 5, y = v ? (step > 0 ? kDownY : kUpY) : 5;
          bar.ButtonDown(x, y);
          EXPECT_TRUE(list.captured);
          EXPECT_EQ(bar.ForwardPressed(), step > 0);
          EXPECT_EQ(bar.BackPressed(), step < 0);
          list.RunUntil(bar, held);
          const int lines = held < 300 ? 0 : 3;
          EXPECT_EQ(list.changes, (lines ? std::vector<int>{300, 350, 400} : std::vector<int>{}));
          EXPECT_EQ(bar.ThumbStart(), bar.ThumbMin() + int(list.Position() * bar.Ratio()));
          if (lost) {
            bar.CaptureLost();
          } else {
            bar.ButtonUp(x, y);
            EXPECT_FALSE(list.captured);
          }
          EXPECT_FALSE(bar.ForwardPressed() || bar.BackPressed());
          EXPECT_FALSE(list.TimerRunning());
          list.RunUntil(bar, 2000);
          EXPECT_EQ(list.Position(), 50 + step * (lines + !lost));
        }
}

// A click, or a press, a move and a release. On the track, a page toward the pointer: below, above,
// none exactly at the thumb's top edge (in the thumb), but one there outside the bar's width, which
// the page rule counts as above the thumb. From the first arrow onto the second, the vertical bar
// pages and the horizontal one scrolls a line. A grabbed thumb scrolls the vertical list by whole
// rows and the horizontal one by pixels (only that counts as dragging), by the delta of the
// unclamped thumb; its release never pages, but over the horizontal bar's left arrow still scrolls
// a line.
TEST(ListBarPointer, PressMoveAndReleaseScrollTowardThePointer) {
  using enum ScrollCommand;
  const struct {
    BarOrientation orientation;
    int limit, page, position;
    std::pair<int, int> press, move, release;  // x, y
    std::vector<int> scrolledBy;               // by the move
    int thumb;                                 // after the move
    bool dragging;
    std::vector<ScrollCommand> commands;  // by the release
    int end;
  } cases[] = {
      {kV, 100, 10, 50, {kX, 300}, {kX, 300}, {kX, 300}, {}, 187, false, {PageForward}, 60},
      {kV, 100, 10, 50, {kX, 50}, {kX, 50}, {kX, 50}, {}, 187, false, {PageBack}, 40},
      {kV, 100, 10, 50, {kX, 187}, {kX, 187}, {kX, 187}, {}, 187, false, {}, 50},
      {kV, 100, 10, 50, {40, 187}, {40, 187}, {40, 187}, {}, 187, false, {PageBack}, 40},
      {kV, 100, 10, 0, {kX, kUpY}, {kX, kDownY}, {kX, kDownY}, {}, 36, false, {PageForward}, 10},
      {kHorizontal, 100, 10, 0, {5, 5}, {390, 5}, {390, 5}, {}, 25, false, {LineForward}, 1},
      // Ratio 1: thumb top 100 is row 64; past the end, the thumb clamps and the list stops.
      {kV, 302, 10, 0, {kX, 40}, {kX, 113}, {kX, 395}, {64}, 100, false, {}, 64},
      {kV, 302, 10, 0, {kX, 40}, {kX, 395}, {kX, 395}, {346}, kH - 62, false, {}, 302},
      // Ratio 0.5: thumb left 100 is (100 - 25) / 0.5 = 150 pixels.
      {kHorizontal, 650, 50, 0, {30, 5}, {113, 5}, {10, 5}, {150}, 100, true, {LineBack}, 149},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.press.first << "," << c.press.second << " to "
                                    << c.release.first << "," << c.release.second);
    SimulatedList list(kH, c.limit, c.page, c.position);
    ListBarLogic bar(c.orientation, list);
    bar.UpdateBar();
    bar.ButtonDown(c.press.first, c.press.second);
    if (c.move != c.press) bar.PointerMove(c.move.first, c.move.second);  // else a click
    EXPECT_EQ(list.scrolledBy, c.scrolledBy);
    EXPECT_EQ(bar.ThumbStart(), c.thumb);
    EXPECT_EQ(bar.Dragging(), c.dragging);
    bar.ButtonUp(c.release.first, c.release.second);
    EXPECT_EQ(list.commands, c.commands);
    EXPECT_EQ(list.Position(), c.end);
    EXPECT_FALSE(list.captured || bar.Dragging() || bar.ThumbGrabbed());
  }
}

// Which pixels a keyed skin keeps is shown live by the skinned window's test and by the painted
// skins' outlines; here, what no live image can show: views that do not fit their buffer. (The
// centring's rounding: every skinned window's place on the 1024 x 768 screen, odd sizes too.)
TEST(KeyedRuns, ViewsThatDoNotFitTheirBufferAreRefused) {
  const std::vector<std::uint8_t> bytes(4 * 4 * 2, 90);  // 4 x 2 grey pixels of 32 bits
  const auto fits = [&](auto change) {
    PixelView v{bytes.data(), bytes.size(), 4, 2, 16};
    change(v);
    return KeyedRuns(v).has_value();
  };
  EXPECT_TRUE(fits([](PixelView&) {}));
  EXPECT_FALSE(fits([](PixelView& v) { v.size -= 1; }));    // last pixel missing
  EXPECT_FALSE(fits([](PixelView& v) { v.stride = 15; }));  // narrower than a row
  EXPECT_FALSE(fits([](PixelView& v) { v.stride = 17; }));  // the last row would overrun
  EXPECT_FALSE(fits([](PixelView& v) { v.height = 1 << 30; }));
  EXPECT_FALSE(fits([](PixelView& v) { v.width = 0; }));
  EXPECT_FALSE(fits([](PixelView& v) { v.data = nullptr; }));
  EXPECT_FALSE(fits([](PixelView& v) { v.format = PixelFormat::Bgr24, v.stride = 11; }));
  EXPECT_TRUE(fits([](PixelView& v) { v.format = PixelFormat::Bgr24, v.stride = 12; }));
}

}  // namespace
}  // namespace vt::skin
