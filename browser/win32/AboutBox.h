// The About box: the program's name and version in a plain captioned dialog.
#pragma once

#include "platform/win32/Dialog.h"
#include "resources/resource.h"

namespace vt {

class AboutBox : public win::Dialog {
public:
  AboutBox() : Dialog(IDD_ABOUTBOX) {}
};

}  // namespace vt
