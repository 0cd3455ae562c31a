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
  SimulatedList(int length, int limit, int page) : length_(length), limit_(limit), page_(page) {}

  int Length() override { return length_; }
  int Position() override { return pos_; }
  int Limit() override { return limit_; }
  void Scroll(ScrollCommand c) override {
    commands.push_back(c);
    switch (c) {
      case ScrollCommand::LineBack: Move(-1); break;
      case ScrollCommand::LineForward: Move(1); break;
      case ScrollCommand::PageBack: Move(-page_); break;
      case ScrollCommand::PageForward: Move(page_); break;
    }
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

  // Advances the clock to `until`, firing due timers in time order as a message queue would.
  void RunUntil(ListBarLogic& bar, int until) {
    while (true) {
      int id = -1, due = until + 1;
      for (auto& [tid, t] : timers_)
        if (t.due < due) id = tid, due = t.due;
      if (id < 0) break;
      now_ = due;
      timers_[id].due += timers_[id].period;
      const int before = pos_;
      bar.Timer(id);
      if (pos_ != before) changes.push_back(now_);
    }
    now_ = until;
  }
  void At(int t, ListBarLogic& bar) { RunUntil(bar, t); }
  bool TimerRunning(int id) const { return timers_.count(id) != 0; }
  void SetPosition(int p) { pos_ = p; }
  int Now() const { return now_; }

  std::vector<ScrollCommand> commands;
  std::vector<int> scrolledBy;
  std::vector<int> changes;  // virtual times at which a timer scrolled the list
  bool captured = false;
  int repaints = 0;

private:
  void Move(int d) { pos_ = std::clamp(pos_ + d, 0, limit_); }
  struct Timer {
    int period, due;
  };
  int length_, limit_, page_, pos_ = 0, now_ = 0;
  std::map<int, Timer> timers_;
};

constexpr int kH = 400;
// Points on the vertical bar of height 400.
constexpr int kUpY = 20, kDownY = kH - 20, kX = 5;

TEST(ListBarThumb, ThumbFollowsThePositionTruncatedAndClampsAtTheEnd) {
  struct Case {
    BarOrientation orientation;
    int limit, page, position, thumb;
  } cases[] = {
      {BarOrientation::Vertical, 302, 10, 151, 187},  // ratio (400 - 98) / 302 = 1
      {BarOrientation::Vertical, 302, 10, 302, kH - 62},
      {BarOrientation::Horizontal, 325, 50, 100, 125},  // ratio (400 - 75) / 325 = 1
      {BarOrientation::Horizontal, 325, 50, 325, 349},  // 350 + 26 > 400 - 26
      {BarOrientation::Horizontal, 650, 50, 3, 26},     // ratio 0.5: 1.5 truncated toward zero
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.limit) + " at " + std::to_string(c.position));
    SimulatedList list(kH, c.limit, c.page);
    ListBarLogic bar(c.orientation, list);
    EXPECT_EQ(bar.ThumbStart(), c.orientation == BarOrientation::Vertical ? 36 : 25) << "before any update";
    list.SetPosition(c.position);
    bar.UpdateBar();
    EXPECT_EQ(bar.ThumbStart(), c.thumb);
    EXPECT_TRUE(bar.ThumbShown());
    EXPECT_GE(list.repaints, 1);
  }
}

TEST(ListBarThumb, ListThatFitsHasHiddenThumbAndArrowsAndTrackScrollNothing) {
  SimulatedList list(kH, 0, 10);
  ListBarLogic bar(BarOrientation::Vertical, list);
  bar.UpdateBar();
  EXPECT_EQ(bar.ThumbStart(), 36);
  EXPECT_FALSE(bar.ThumbShown());
  for (int y : {kDownY, kUpY, 200}) {
    bar.ButtonDown(kX, y);
    bar.ButtonUp(kX, y);
  }
  bar.ButtonDown(kX, 40);  // on the (hidden) thumb
  bar.PointerMove(kX, 300);
  bar.ButtonUp(kX, 300);
  EXPECT_EQ(list.Position(), 0);
  EXPECT_TRUE(list.scrolledBy.empty());
}

TEST(ListBarThumb, BarShorterThanItsPiecesKeepsThumbAtStartAndCannotDrag) {
  SimulatedList list(80, 50, 5);
  ListBarLogic bar(BarOrientation::Vertical, list);
  bar.UpdateBar();
  EXPECT_EQ(bar.ThumbStart(), 36);
  bar.ButtonDown(kX, 40);
  bar.PointerMove(kX, 70);
  EXPECT_TRUE(list.scrolledBy.empty());
  EXPECT_EQ(bar.ThumbStart(), 36);
}

TEST(ListBarLogic, ScrollLimitIsMaximumLessPageButNeverNegative) {
  EXPECT_EQ(ScrollLimit(99, 20), 80);
  EXPECT_EQ(ScrollLimit(9, 20), 0);
  EXPECT_EQ(ScrollLimit(9, 0), 9);
  EXPECT_EQ(ScrollLimit(9, 1), 9);
  EXPECT_EQ(ScrollLimit(0, 0xFFFFFFFFu), 0);
}

// Either arrow of either bar, clicked or held: lines at 300 ms, then every 50 ms, and one more
// at the release; nothing after it.
TEST(ListBarArrows, HoldingScrollsAt300msThenEvery50msPlusOneAtRelease) {
  for (BarOrientation o : {BarOrientation::Vertical, BarOrientation::Horizontal}) {
    for (int step : {+1, -1}) {
      for (int held : {200, 420}) {
        const bool v = o == BarOrientation::Vertical;
        SCOPED_TRACE(std::string(v ? "vertical" : "horizontal") + (step > 0 ? " forward " : " back ") +
                     std::to_string(held) + " ms");
        SimulatedList list(kH, 100, 10);
        list.SetPosition(50);
        ListBarLogic bar(o, list);
        bar.UpdateBar();
        const int x = v ? kX : step > 0 ? kH - 10 : 5, y = v ? (step > 0 ? kDownY : kUpY) : 5;
        bar.ButtonDown(x, y);
        EXPECT_TRUE(list.captured);
        EXPECT_EQ(bar.ForwardPressed(), step > 0);
        EXPECT_EQ(bar.BackPressed(), step < 0);
        list.At(std::min(held, 299), bar);
        EXPECT_EQ(list.Position(), 50) << "nothing scrolls before 300 ms";
        list.At(held, bar);
        const int lines = held < 300 ? 0 : 3;
        EXPECT_EQ(list.changes, held < 300 ? std::vector<int>{} : (std::vector<int>{300, 350, 400}));
        EXPECT_EQ(list.Position(), 50 + step * lines);
        // The thumb followed every scroll.
        EXPECT_EQ(bar.ThumbStart(), bar.ThumbMin() + static_cast<int>((50 + step * lines) * bar.Ratio()));
        bar.ButtonUp(x, y);
        EXPECT_EQ(list.Position(), 50 + step * (lines + 1));
        EXPECT_FALSE(list.captured);
        EXPECT_FALSE(list.TimerRunning(kRepeatTimer));
        EXPECT_FALSE(list.TimerRunning(kRepeatDelayTimer));
        list.At(2000, bar);
        EXPECT_EQ(list.Position(), 50 + step * (lines + 1));
      }
    }
  }
}

TEST(ListBarArrows, LostCaptureStopsRepeatingWithoutScrolling) {
  SimulatedList list(kH, 100, 10);
  ListBarLogic bar(BarOrientation::Vertical, list);
  bar.ButtonDown(kX, kDownY);
  list.At(360, bar);
  ASSERT_EQ(list.Position(), 2);
  bar.CaptureLost();
  list.At(5000, bar);
  EXPECT_EQ(list.Position(), 2);
  EXPECT_FALSE(bar.ForwardPressed());
  EXPECT_FALSE(list.TimerRunning(kRepeatTimer));
}

// A press on the first arrow released on the second: the vertical bar pages, the horizontal one
// scrolls a line.
TEST(ListBarRelease, BackPressReleasedOnTheForwardArrowPagesVerticallyButScrollsALineHorizontally) {
  for (BarOrientation o : {BarOrientation::Vertical, BarOrientation::Horizontal}) {
    const bool v = o == BarOrientation::Vertical;
    SimulatedList list(kH, 100, 10);
    ListBarLogic bar(o, list);
    const int x = v ? kX : kH - 10, y = v ? kDownY : 5;
    bar.ButtonDown(v ? kX : 5, v ? kUpY : 5);
    bar.PointerMove(x, y);
    bar.ButtonUp(x, y);
    EXPECT_EQ(list.commands, std::vector<ScrollCommand>{v ? ScrollCommand::PageForward : ScrollCommand::LineForward});
    EXPECT_EQ(list.Position(), v ? 10 : 1);
  }
}

TEST(ListBarRelease, TrackClickPagesTowardThePointer) {
  SimulatedList list(kH, 100, 10);
  list.SetPosition(50);
  ListBarLogic bar(BarOrientation::Vertical, list);
  bar.UpdateBar();
  const int thumb = bar.ThumbStart();  // 36 + 50 * 3.02 = 187
  ASSERT_EQ(thumb, 187);
  bar.ButtonDown(kX, 300);
  bar.ButtonUp(kX, 300);
  EXPECT_EQ(list.Position(), 60);
  bar.ButtonDown(kX, 50);
  bar.ButtonUp(kX, 50);
  EXPECT_EQ(list.Position(), 50);
  // Releasing exactly at the thumb's top edge is in the thumb: no page.
  bar.ButtonDown(kX, 187);
  bar.ButtonUp(kX, 187);
  EXPECT_EQ(list.Position(), 50);
  // The page rule counts y <= thumbTop as above the thumb, even outside the bar's width.
  bar.ButtonDown(40, 187);
  bar.ButtonUp(40, 187);
  EXPECT_EQ(list.Position(), 40);
  EXPECT_FALSE(list.captured);
}

TEST(ListBarDrag, VerticalDragScrollsWholeRowsAndReleaseDoesNotPage) {
  SimulatedList list(kH, 302, 10);  // ratio 1
  ListBarLogic bar(BarOrientation::Vertical, list);
  bar.UpdateBar();
  bar.ButtonDown(kX, 40);
  EXPECT_TRUE(bar.ThumbGrabbed());
  bar.PointerMove(kX, 113);  // thumbTop 100 -> row 64
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
  EXPECT_EQ(list.Position(), 302);
  EXPECT_FALSE(bar.ThumbGrabbed());
}

TEST(ListBarDrag, HorizontalDragSetsDraggingAndScrollsPixels) {
  SimulatedList list(400, 650, 50);  // ratio 0.5
  ListBarLogic bar(BarOrientation::Horizontal, list);
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
  EXPECT_FALSE(bar.Dragging());
  EXPECT_FALSE(bar.ThumbGrabbed());
}

TEST(ListBarDrag, MovesWithoutGrabDoNothing) {
  SimulatedList list(kH, 302, 10);
  ListBarLogic bar(BarOrientation::Vertical, list);
  bar.PointerMove(kX, 200);
  EXPECT_EQ(list.Position(), 0);
  EXPECT_EQ(bar.ThumbStart(), 36);
  EXPECT_EQ(list.repaints, 0);
}

}  // namespace
}  // namespace vt::skin
