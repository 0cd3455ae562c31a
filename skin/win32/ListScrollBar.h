// The game list's own scroll bars: sibling windows of the list that paint from the skin's
// images and drive the list with its own scroll messages. The rules live in ListBarLogic.
#pragma once

#include <windows.h>

#include "skin/ListBarLogic.h"

namespace vt::skin {

class GameList;

class ListScrollBar : protected ListBarHost {
public:
  static constexpr int kControlId = 0xFFFF;

  ListScrollBar(BarOrientation orientation, GameList& list);
  ~ListScrollBar() override;
  ListScrollBar(const ListScrollBar&) = delete;
  ListScrollBar& operator=(const ListScrollBar&) = delete;

  // A visible child of `parent` with an empty rectangle.
  bool Create(HWND parent);
  HWND Hwnd() const { return hwnd_; }
  void UpdateBar() {
    if (hwnd_) logic_.UpdateBar();
  }
  const ListBarLogic& Logic() const { return logic_; }

protected:
  virtual void Paint(HDC dc, int width, int height) = 0;
  GameList& List() const { return list_; }
  int SystemBar() const;  // SB_VERT or SB_HORZ

  int Length() override;
  int Position() override;
  int Limit() override;
  void Scroll(ScrollCommand command) override;
  void ScrollBy(int delta) override;
  void StartTimer(int id, int milliseconds) override;
  void StopTimer(int id) override;
  void Capture() override;
  void ReleaseCapture() override;
  void Repaint() override;

private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);

  GameList& list_;
  ListBarLogic logic_;
  HWND hwnd_ = nullptr;
  bool releasing_ = false;
};

class ListVScrollBar : public ListScrollBar {
public:
  explicit ListVScrollBar(GameList& list) : ListScrollBar(BarOrientation::Vertical, list) {}

protected:
  void Paint(HDC dc, int width, int height) override;
};

class ListHScrollBar : public ListScrollBar {
public:
  explicit ListHScrollBar(GameList& list) : ListScrollBar(BarOrientation::Horizontal, list) {}

protected:
  void Paint(HDC dc, int width, int height) override;
};

}  // namespace vt::skin
