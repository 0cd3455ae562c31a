// The game list's own scroll bars without their windows: thumb geometry, the thumb's place for
// a scroll position, and the press / hold / release rules of the arrows, thumb and track. The
// window of a bar forwards its mouse and timer messages here and implements ListBarHost.
#pragma once

namespace vt::skin {

enum class BarOrientation { Vertical, Horizontal };

// The list's own scroll messages' codes: line up/left 0, line down/right 1, page 2 and 3.
enum class ScrollCommand { LineBack = 0, LineForward = 1, PageBack = 2, PageForward = 3 };

// Timer numbers on the bar window: the 250 ms repeat delay hands over to the 50 ms repeat.
inline constexpr int kRepeatTimer = 1;
inline constexpr int kRepeatDelayTimer = 2;
inline constexpr int kRepeatDelayMs = 250;
inline constexpr int kRepeatMs = 50;

// Length of the thumb along the bar, in pixels.
inline constexpr int kThumbLength = 26;

// Greatest scroll position: the range maximum minus (page size - 1); never below 0, so a list
// whose rows all fit has limit 0.
int ScrollLimit(int rangeMax, unsigned pageSize);

// What a bar needs from its list and its window.
class ListBarHost {
public:
  virtual ~ListBarHost() = default;
  virtual int Length() = 0;    // bar client height (vertical) or width (horizontal), pixels
  virtual int Position() = 0;  // the list's scroll position: rows, or pixels horizontally
  virtual int Limit() = 0;     // the list's scroll limit in the same unit
  virtual void Scroll(ScrollCommand command) = 0;
  virtual void ScrollBy(int delta) = 0;  // rows (vertical) or pixels (horizontal)
  virtual void StartTimer(int id, int milliseconds) = 0;
  virtual void StopTimer(int id) = 0;
  virtual void Capture() = 0;
  virtual void ReleaseCapture() = 0;
  virtual void Repaint() = 0;
};

// Where a bar's pieces lie along it, for a bar `length` pixels long. Spans are half-open.
struct BarSpan {
  int begin = 0, end = 0;
  bool Contains(int v) const { return v >= begin && v < end; }
};

class ListBarLogic {
public:
  ListBarLogic(BarOrientation orientation, ListBarHost& host);

  // Synchronise the thumb with the list's scroll position, then repaint.
  void UpdateBar();

  // Mouse and timer messages, in bar client coordinates.
  void ButtonDown(int x, int y);
  void ButtonUp(int x, int y);
  void PointerMove(int x, int y);
  void Timer(int id);
  // The bar lost the pointer capture without a release (another window took it): stop
  // repeating and forget the press, scrolling nothing.
  void CaptureLost();

  BarOrientation Orientation() const { return orientation_; }
  int ThumbStart() const { return thumb_; }  // thumbTop or thumbLeft
  double Ratio() const { return ratio_; }
  bool ThumbShown() { return host_.Limit() != 0; }
  bool BackPressed() const { return backPressed_; }        // up or left arrow
  bool ForwardPressed() const { return forwardPressed_; }  // down or right arrow
  bool ThumbGrabbed() const { return thumbGrabbed_; }
  bool Dragging() const { return dragging_; }

  // Hit areas along the bar (the other axis is 0..12 vertically, 0..20 horizontally).
  BarSpan FirstArrow(int length) const;
  BarSpan SecondArrow(int length) const;
  BarSpan Thumb() const { return BarSpan{thumb_, thumb_ + kThumbLength}; }
  int ThumbMin() const;
  int ThumbMax(int length) const;

private:
  bool Across(int x, int y) const;  // inside the bar's hit width
  int Along(int x, int y) const;
  double ComputeRatio(int length, int limit) const;
  void ClampThumb(int length);
  void Send(ScrollCommand command);

  BarOrientation orientation_;
  ListBarHost& host_;
  bool backPressed_ = false;
  bool forwardPressed_ = false;
  bool thumbGrabbed_ = false;
  bool dragging_ = false;  // horizontal bar only
  int thumb_;
  double ratio_ = 0;
};

}  // namespace vt::skin
