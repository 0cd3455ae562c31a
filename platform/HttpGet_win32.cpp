#include <windows.h>
#include <wininet.h>

#include <vector>

#include "platform/HttpGet.h"

namespace vt {

namespace {
struct InternetHandle {
  HINTERNET h = nullptr;
  ~InternetHandle() {
    if (h) InternetCloseHandle(h);
  }
};
}  // namespace

HttpGetResult HttpGetFirstRead(const std::string& hostPort, const std::string& path,
                               size_t maxBytes) {
  HttpGetResult out;
  InternetAttemptConnect(0);  // result deliberately unused
  InternetHandle session{
      InternetOpenA("VTBrowser", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0)};
  if (!session.h) {
    out.status = HttpGetStatus::SessionFailed;
    return out;
  }
  const std::string url = "http://" + hostPort + path;
  InternetHandle request{
      InternetOpenUrlA(session.h, url.c_str(), nullptr, 0, INTERNET_FLAG_EXISTING_CONNECT, 0)};
  if (!request.h) {
    out.status = HttpGetStatus::OpenFailed;
    return out;
  }
  std::vector<char> buffer(maxBytes ? maxBytes : 1);
  DWORD got = 0;
  if (!InternetReadFile(request.h, buffer.data(), static_cast<DWORD>(maxBytes), &got)) {
    out.status = HttpGetStatus::ReadFailed;
    return out;
  }
  out.status = HttpGetStatus::Ok;
  out.body.assign(buffer.data(), std::min<size_t>(got, maxBytes));
  return out;
}

}  // namespace vt
