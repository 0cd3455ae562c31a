// The game list's column header, painted from the skin's images with 12-pixel Arial text.
#pragma once

#include <windows.h>

namespace vt::skin {

class GameList;

class GameListHeader {
public:
  GameListHeader() = default;
  ~GameListHeader();
  GameListHeader(const GameListHeader&) = delete;
  GameListHeader& operator=(const GameListHeader&) = delete;

  // Takes over painting of the list's header window.
  bool Attach(HWND header, GameList& list);
  void Detach();
  HWND Hwnd() const { return hwnd_; }

private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);
  void Paint(HDC dc, const RECT& client);

  HWND hwnd_ = nullptr;
  GameList* list_ = nullptr;
};

}  // namespace vt::skin
