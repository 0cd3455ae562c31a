// The game list's column header, painted from the skin's images with 12-pixel Arial text.
#pragma once

#include <windows.h>

#include "platform/win32/WindowHook.h"

namespace vt::skin {

class GameList;

class GameListHeader : private win::WindowHook {
public:
  GameListHeader() = default;
  ~GameListHeader() override = default;
  GameListHeader(const GameListHeader&) = delete;
  GameListHeader& operator=(const GameListHeader&) = delete;

  // Takes over painting of the list's header window.
  bool Attach(HWND header, GameList& list);
  void Detach();
  HWND Hwnd() const { return HookedWindow(); }

private:
  LRESULT OnHookedMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void Paint(HDC dc, const RECT& client);

  GameList* list_ = nullptr;
};

}  // namespace vt::skin
