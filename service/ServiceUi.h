// What the service client needs of the user interface: plain message boxes, and ending the
// program. The client builds implement it with MessageBoxA and process exit; tests record.
#pragma once

#include <string>

namespace vt {

class ServiceUi {
public:
  virtual ~ServiceUi() = default;
  // caption nullptr: the platform's default caption.
  virtual void ShowMessage(const std::string& text, const char* caption) = 0;
  // Ends the program with the code. A real implementation does not return; a test's may, and
  // the caller then returns as if the program had ended.
  virtual void EndProgram(int code) = 0;
};

}  // namespace vt
