// One HTTP GET of a page and the first read of its body, as the version check makes it.
#pragma once

#include <cstddef>
#include <string>

namespace vt {

enum class HttpGetStatus {
  Ok,
  SessionFailed,  // no internet session (InternetOpenA)
  OpenFailed,     // the page could not be opened (InternetOpenUrlA)
  ReadFailed,     // the first read of the body failed (InternetReadFile)
};

struct HttpGetResult {
  HttpGetStatus status = HttpGetStatus::SessionFailed;
  std::string body;  // at most maxBytes: what the first read returned
};

// GET http://<hostPort><path> with the agent "VTBrowser", no proxy; hostPort is a host name or
// address, optionally followed by ":port".
HttpGetResult HttpGetFirstRead(const std::string& hostPort, const std::string& path,
                               size_t maxBytes);

}  // namespace vt
