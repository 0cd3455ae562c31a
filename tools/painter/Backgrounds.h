// Window backgrounds: the browser, the login window, the notices and the set-up windows.
// Positions of painted labels follow the dialog templates in resources/WindowResources.rc.
#pragma once

#include <string>
#include <vector>

#include "Canvas.h"

namespace vtpaint {

Canvas BrowserBackground();
Canvas LoginBackground();

struct NoticeLayout {
  int width, height;
  bool keyed;
  std::vector<std::string> paragraphs;  // painted word for word
  int buttonTopDu;                      // top of the button row; 0 when there are no buttons
};
Canvas NoticeBackground(const NoticeLayout& layout);

Canvas AtariSetupBackground();
Canvas GameBoySetupBackground();
Canvas GenesisSetupBackground();
Canvas NesSetupBackground();
Canvas MasterSystemSetupBackground();
Canvas SnesSetupBackground();

}  // namespace vtpaint
