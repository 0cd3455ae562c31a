// A loopback game server for measuring the catalogue receive: answers every query with the same
// 10,000 records, and every one-byte bulk request with the same bytes in one send.
#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/LoopbackSocket.h"

namespace vt::bench {

inline std::string CatalogueRecords(int count) {
  std::string out;
  char record[96];
  for (int i = 0; i < count; ++i) {
    int n = std::snprintf(record, sizeof record, "Game Title Number %05d (USA)\nnes-%05d\n%d\n%d",
                          i, i, i % 4, i % 3);
    out.append(record, static_cast<size_t>(n));
    out.push_back('\0');
  }
  return out;
}

class CatalogueServer {
public:
  explicit CatalogueServer(int records) : records_(CatalogueRecords(records)) {
    std::string count = std::to_string(records);
    count.resize(5, '\0');
    answer_ = count + records_;
    listener_ = test::ListenLoopback(0, &port_);
    thread_ = std::thread([this] { Serve(); });
  }
  ~CatalogueServer() {
    stop_ = true;
    thread_.join();
    for (std::thread& t : connections_) t.join();
    test::CloseSocket(listener_);
  }
  uint16_t port() const { return port_; }
  const std::string& records() const { return records_; }

private:
  // Each connection on a thread of its own. A query exchange is four NUL-terminated sends, a reply
  // after each of the first three, then count and records; a lone "b" asks for the records in bulk.
  void Serve() {
    while (!stop_) {
      if (test::WaitReadable(listener_, 10) <= 0) continue;
      test::RawSocket s = test::AcceptOne(listener_);
      if (s != test::kNoSocket) connections_.emplace_back([this, s] { Answer(s); });
    }
  }

  void Answer(test::RawSocket s) {
    {
      std::string pending;
      int terminators = 0;
      char buf[4096];
      bool open = true;
      while (open && !stop_) {
        int ready = test::WaitReadable(s, 10);
        if (ready < 0) break;
        if (ready == 0) continue;
        long n = test::RecvSome(s, buf, sizeof buf);
        if (n <= 0) break;
        for (long i = 0; i < n && open; ++i) {
          if (terminators == 0 && pending.empty() && buf[i] == 'b') {
            open = test::SendAll(s, records_);
            continue;
          }
          if (buf[i] != '\0') {
            pending.push_back(buf[i]);
            continue;
          }
          pending.clear();
          ++terminators;
          if (terminators < 4) {
            open = test::SendAll(s, "r");
          } else {
            open = test::SendAll(s, answer_);
            terminators = 0;
          }
        }
      }
      test::CloseSocket(s);
    }
  }

  std::vector<std::thread> connections_;
  std::string records_, answer_;
  test::RawSocket listener_ = test::kNoSocket;
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace vt::bench
