#include "service/VersionCheck.h"

#include "platform/HttpGet.h"

namespace vt {

bool CheckClientVersion(const std::string& clientVersion, const std::string& webHost,
                        ServiceUi& ui) {
  HttpGetResult r = HttpGetFirstRead(webHost, "/version_check.php", 256);
  switch (r.status) {
    case HttpGetStatus::SessionFailed:
      ui.ShowMessage("Can not open internet connection!", "hInternet");
      return true;
    case HttpGetStatus::OpenFailed:
      ui.ShowMessage("Can not open internet connection!", "hOpenUrl");
      return true;
    case HttpGetStatus::ReadFailed:
      // No reply bytes exist: like the other two failures, an unreachable page never blocks a
      // login, rather than telling a current client to update.
      ui.ShowMessage("Can not open internet connection!", "InternetReadFile");
      return true;
    case HttpGetStatus::Ok:
      break;
  }
  if (r.body.find(clientVersion) != std::string::npos) return true;
  ui.ShowMessage("Visit Vintara to update your client.", "Error");
  ui.EndProgram(0);
  return false;
}

}  // namespace vt
