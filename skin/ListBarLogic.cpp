#include "skin/ListBarLogic.h"

#include <cmath>
#include <limits>

namespace vt::skin {
namespace {

// Truncation toward zero that stays defined for any double (NaN and overflow give a bound).
int TruncToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(std::numeric_limits<int>::max()))
    return std::numeric_limits<int>::max();
  if (v <= static_cast<double>(std::numeric_limits<int>::min()))
    return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

}  // namespace

int ScrollLimit(int rangeMax, unsigned pageSize) {
  long long limit = rangeMax;
  if (pageSize >= 1) limit -= static_cast<long long>(pageSize) - 1;
  if (limit < 0) return 0;
  return static_cast<int>(limit);
}

ListBarLogic::ListBarLogic(BarOrientation orientation, ListBarHost& host)
    : orientation_(orientation), host_(host), thumb_(ThumbMin()) {}

int ListBarLogic::ThumbMin() const { return orientation_ == BarOrientation::Vertical ? 36 : 25; }

int ListBarLogic::ThumbMax(int length) const {
  return orientation_ == BarOrientation::Vertical ? length - 62 : length - 51;
}

BarSpan ListBarLogic::FirstArrow(int length) const {
  return orientation_ == BarOrientation::Vertical ? BarSpan{11, 37} : BarSpan{0, 26};
}

BarSpan ListBarLogic::SecondArrow(int length) const {
  return orientation_ == BarOrientation::Vertical ? BarSpan{length - 37, length - 11}
                                                  : BarSpan{length - 26, length};
}

bool ListBarLogic::Across(int x, int y) const {
  return orientation_ == BarOrientation::Vertical ? (x >= 0 && x < 12) : (y >= 0 && y < 20);
}

int ListBarLogic::Along(int x, int y) const {
  return orientation_ == BarOrientation::Vertical ? y : x;
}

double ListBarLogic::ComputeRatio(int length, int limit) const {
  // A list that cannot scroll has no ratio; its thumb stays at the start and is not drawn.
  if (limit == 0) return 0;
  const int travel = orientation_ == BarOrientation::Vertical ? length - 98 : length - 75;
  return static_cast<double>(travel) / limit;
}

void ListBarLogic::ClampThumb(int length) {
  const int edge = orientation_ == BarOrientation::Vertical ? length - 37 : length - 26;
  if (thumb_ + kThumbLength > edge) thumb_ = ThumbMax(length);
  if (thumb_ < ThumbMin()) thumb_ = ThumbMin();
}

void ListBarLogic::UpdateBar() {
  const int length = host_.Length();
  const int pos = host_.Position();
  const int limit = host_.Limit();
  ratio_ = ComputeRatio(length, limit);
  const long long top = static_cast<long long>(TruncToInt(pos * ratio_)) + ThumbMin();
  thumb_ = top > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                 : static_cast<int>(top);
  ClampThumb(length);
  host_.Repaint();
}

void ListBarLogic::Send(ScrollCommand command) {
  host_.Scroll(command);
  UpdateBar();
}

void ListBarLogic::ButtonDown(int x, int y) {
  host_.Capture();
  const int length = host_.Length();
  const int along = Along(x, y);
  const bool across = Across(x, y);
  if (across && Thumb().Contains(along)) thumbGrabbed_ = true;
  if (across && SecondArrow(length).Contains(along)) {
    forwardPressed_ = true;
    host_.StartTimer(kRepeatDelayTimer, kRepeatDelayMs);
  }
  if (across && FirstArrow(length).Contains(along)) {
    backPressed_ = true;
    host_.StartTimer(kRepeatDelayTimer, kRepeatDelayMs);
  }
}

void ListBarLogic::PointerMove(int x, int y) {
  if (!thumbGrabbed_) return;
  if (orientation_ == BarOrientation::Horizontal) dragging_ = true;
  const int length = host_.Length();
  thumb_ = Along(x, y) - kThumbLength / 2;
  const int limit = host_.Limit();
  const int pos = host_.Position();
  ratio_ = ComputeRatio(length, limit);
  // A bar too short to have thumb travel cannot be dragged.
  if (limit != 0 && ratio_ > 0) {
    const long long target = TruncToInt((thumb_ - ThumbMin()) / ratio_);
    const long long delta = target - pos;
    if (delta != 0)
      host_.ScrollBy(static_cast<int>(
          delta > std::numeric_limits<int>::max()   ? std::numeric_limits<int>::max()
          : delta < std::numeric_limits<int>::min() ? std::numeric_limits<int>::min()
                                                    : delta));
  }
  ClampThumb(length);
  host_.Repaint();
}

void ListBarLogic::ButtonUp(int x, int y) {
  UpdateBar();
  host_.StopTimer(kRepeatTimer);
  // A release before the repeat delay has run out leaves no idle timer behind.
  host_.StopTimer(kRepeatDelayTimer);
  host_.ReleaseCapture();

  const int length = host_.Length();
  const int along = Along(x, y);
  const bool across = Across(x, y);
  const bool vertical = orientation_ == BarOrientation::Vertical;
  bool page = true;
  // The vertical bar scrolls a line only on the arrow that was pressed; the horizontal bar
  // scrolls on whichever arrow the button is released over.
  if (across && FirstArrow(length).Contains(along) && (backPressed_ || !vertical)) {
    Send(ScrollCommand::LineBack);
    page = false;
  }
  if (across && SecondArrow(length).Contains(along) && (forwardPressed_ || !vertical)) {
    Send(ScrollCommand::LineForward);
    page = false;
  }
  if (across && Thumb().Contains(along)) page = false;
  if (page && !thumbGrabbed_)
    Send(along <= thumb_ ? ScrollCommand::PageBack : ScrollCommand::PageForward);

  backPressed_ = forwardPressed_ = thumbGrabbed_ = dragging_ = false;
}

void ListBarLogic::Timer(int id) {
  if (id == kRepeatDelayTimer) {
    if (forwardPressed_ || backPressed_) {
      host_.StopTimer(kRepeatDelayTimer);
      host_.StartTimer(kRepeatTimer, kRepeatMs);
    }
  } else if (id == kRepeatTimer) {
    if (forwardPressed_) Send(ScrollCommand::LineForward);
    if (backPressed_) Send(ScrollCommand::LineBack);
  }
}

}  // namespace vt::skin

namespace vt::skin {

void ListBarLogic::CaptureLost() {
  if (!backPressed_ && !forwardPressed_ && !thumbGrabbed_) return;
  host_.StopTimer(kRepeatTimer);
  host_.StopTimer(kRepeatDelayTimer);
  backPressed_ = forwardPressed_ = thumbGrabbed_ = dragging_ = false;
}

}  // namespace vt::skin
