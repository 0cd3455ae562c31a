#include "service/VersionCheck.h"

#include "platform/HttpGet.h"

namespace vt {

Next CheckClientVersion(const std::string& clientVersion, const std::string& webHost, Host& host) {
  HttpGetResult r = HttpGetFirstRead(webHost, "/version_check.php", 256);
  switch (r.status) {
    case HttpGetStatus::SessionFailed:
      host.ShowMessage("Can not open internet connection!", "hInternet");
      return Next::GoOn;
    case HttpGetStatus::OpenFailed:
      host.ShowMessage("Can not open internet connection!", "hOpenUrl");
      return Next::GoOn;
    case HttpGetStatus::ReadFailed:
      // No reply bytes exist: like the other two failures, an unreachable page never blocks a
      // login, rather than telling a current client to update.
      host.ShowMessage("Can not open internet connection!", "InternetReadFile");
      return Next::GoOn;
    case HttpGetStatus::Ok:
      break;
  }
  if (r.body.find(clientVersion) != std::string::npos) return Next::GoOn;
  host.ShowMessage("Visit Vintara to update your client.", "Error");
  return Next::EndProgram;
}

}  // namespace vt
