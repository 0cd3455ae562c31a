// The game server's clients for the load programs: a catalogue of any size in the service's
// data format, and a blocking client that logs in and queries the way the real client does.
#pragma once

#include <cstdlib>
#include <string>
#include <string_view>

#include "tests/tools/WireClient.h"

namespace vt::bench {

// Free and full accounts "u0".."u<accounts-1>" (password "pw") and `games` NES games.
inline std::string LoadData(int accounts, int games) {
  std::string data;
  for (int i = 0; i < accounts; ++i)
    data += "account|" + std::string(i % 2 ? "full" : "free") + "|u" + std::to_string(i) + "|pw\n";
  for (int i = 0; i < games; ++i) {
    const std::string n = std::to_string(i);
    data += "game|NES|K" + n + "|" + std::to_string(i % 3) + "|" + std::to_string(i % 5) +
            "|Game number " + n + "\n";
  }
  return data;
}

// The tests' wire client with the load programs' two steps: a login that says when it was
// refused, and a query that reads its answer in bulk, as the real client does, and counts it.
class ServiceClient : public test::WireClient {
public:
  using WireClient::WireClient;

  // The account tier ("True"/"False"), or what came instead.
  std::string Login(const std::string& user, const std::string& password) {
    if (Exchange(user) != "ok" || Exchange(password) != "ok") return "<refused>";
    Exchange(std::string(64, '\0'), 3);
    return Exchange(std::string_view("qp\0", 3));
  }
  // The number of records of one catalogue answer, or -1 when it did not come whole.
  long Query(std::string_view alias, std::string_view pattern) {
    if (Exchange(std::string_view("qr\0", 3)) != "ok" ||
        Exchange(std::string(alias) + '\0') != "ok" ||
        Exchange(std::string(pattern) + '\0') != "ok" || !Send(std::string_view("ok\0", 3)))
      return -1;
    // Bulk reads: the answer is the last thing the server sends, so nothing after it is taken.
    std::string in;
    long count = -1, ends = 0;
    while (count < 0 || ends < count) {
      const std::string piece = RecvOnce(65536);
      if (piece.empty()) return -1;
      const std::size_t before = in.size();
      in += piece;
      if (count < 0 && in.size() >= 5) {
        count = std::strtol(in.substr(0, 5).c_str(), nullptr, 10);
        for (std::size_t i = 5; i < in.size(); ++i) ends += in[i] == '\0';
      } else if (count >= 0) {
        for (std::size_t i = before; i < in.size(); ++i) ends += in[i] == '\0';
      }
    }
    return count;
  }
};

}  // namespace vt::bench
