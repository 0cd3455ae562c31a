#include "skin/ListBarLogic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

namespace vt::skin {
namespace {

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

// A press released elsewhere. From the first arrow onto the second, the vertical bar pages and
// the horizontal one scrolls a line. On the track, a page toward the pointer: below, above,
// none exactly at the thumb's top edge (in the thumb), but one there outside the bar's width,
// which the page rule counts as above the thumb.
TEST(ListBarRelease, ArrowOntoArrowAndClicksOnTheTrack) {
  for (BarOrientation o : {kV, kHorizontal}) {
    const bool v = o == kV;
    SimulatedList list(kH, 100, 10);
    ListBarLogic bar(o, list);
    const int x = v ? kX : kH - 10, y = v ? kDownY : 5;
    bar.ButtonDown(v ? kX : 5, v ? kUpY : 5);
    bar.PointerMove(x, y);
    bar.ButtonUp(x, y);
    EXPECT_EQ(list.commands.at(0), v ? ScrollCommand::PageForward : ScrollCommand::LineForward);
    EXPECT_EQ(list.Position(), v ? 10 : 1);
  }
  SimulatedList list(kH, 100, 10, 50);
  ListBarLogic bar(kV, list);
  bar.UpdateBar();
  ASSERT_EQ(bar.ThumbStart(), 187);  // 36 + 50 * 3.02
  for (auto [x, y, position] :
       {std::tuple{kX, 300, 60}, {kX, 50, 50}, {kX, 187, 50}, {40, 187, 40}}) {
    bar.ButtonDown(x, y);
    bar.ButtonUp(x, y);
    EXPECT_EQ(list.Position(), position) << x << "," << y;
  }
  EXPECT_FALSE(list.captured);
}

TEST(ListBarDrag, VerticalDragScrollsWholeRowsAndReleaseDoesNotPage) {
  SimulatedList list(kH, 302, 10);  // ratio 1
  ListBarLogic bar(kV, list);
  bar.UpdateBar();
  bar.ButtonDown(kX, 40);
  EXPECT_TRUE(bar.ThumbGrabbed());
  bar.PointerMove(kX, 113);  // thumbTop 100 -> row 64
  EXPECT_FALSE(bar.Dragging()) << "only the horizontal bar drags";
  EXPECT_EQ(list.Position(), 64);
  EXPECT_EQ(bar.ThumbStart(), 100);
  bar.PointerMove(kX, 395);  // beyond the end: thumb clamps, list goes to its limit
  EXPECT_EQ(list.Position(), 302);
  EXPECT_EQ(bar.ThumbStart(), kH - 62);
  // The delta is taken from the unclamped thumb (382 - 36 - 64); the list stops at its limit.
  EXPECT_EQ(list.scrolledBy, (std::vector<int>{64, 282}));
  // Released over the cap, below the thumb: a grabbed thumb never pages.
  bar.ButtonUp(kX, 395);
  EXPECT_TRUE(list.commands.empty());
  EXPECT_FALSE(bar.ThumbGrabbed());
}

TEST(ListBarDrag, HorizontalDragSetsDraggingAndScrollsPixels) {
  SimulatedList list(400, 650, 50);  // ratio 0.5
  ListBarLogic bar(kHorizontal, list);
  bar.UpdateBar();
  bar.ButtonDown(30, 5);
  EXPECT_TRUE(bar.ThumbGrabbed());
  EXPECT_FALSE(bar.Dragging());
  bar.PointerMove(113, 5);  // thumbLeft 100 -> (100 - 25) / 0.5 = 150 pixels
  EXPECT_TRUE(bar.Dragging());
  EXPECT_EQ(list.Position(), 150);
  EXPECT_EQ(bar.ThumbStart(), 100);
  // Released over the left arrow after a drag: the horizontal bar still scrolls a line.
  bar.ButtonUp(10, 5);
  EXPECT_EQ(list.commands, (std::vector<ScrollCommand>{ScrollCommand::LineBack}));
  EXPECT_EQ(list.Position(), 149);
  EXPECT_FALSE(bar.Dragging() || bar.ThumbGrabbed());
}

}  // namespace
}  // namespace vt::skin
