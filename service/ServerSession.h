// The client's one link to the game server: the connection, the login it was granted, the
// account tier, the current system and pattern, and the catalogue of the last query.
// One instance exists for the whole run; windows read and write its fields directly.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Host.h"
#include "platform/TcpSocket.h"
#include "service/Endpoints.h"

namespace vt {

struct Ipv4SocketAddress {
  uint16_t family = 0;
  uint16_t port = 0;     // network byte order
  uint32_t address = 0;  // network byte order
  std::array<uint8_t, 8> zero{};
};

// How the last catalogue query failed.
enum class QueryFailure {
  None,
  // The connection was found closed before any reply came (the send failed, or the first reply
  // was the peer's close or reset): a session the server dropped while it was idle.
  Dropped,
  Broken,     // a send or receive failed (or timed out) later, or a time-out at once
  ErrorMark,  // the server's error mark; the session is logged out
};

class ServerSession {
public:
  static constexpr size_t kReplySize = 1024;

  explicit ServerSession(ServiceEndpoints endpoints);
  ~ServerSession();
  ServerSession(const ServerSession&) = delete;
  ServerSession& operator=(const ServerSession&) = delete;

  // Connects if not connected (version check first), then logs in; the boxes of the connect go
  // to the host. True means loggedIn; after false the flags say why, and clientOutOfDate that
  // the program must end. A connection kept since a refused login that the server has closed
  // meanwhile is replaced by a new one, once, before the exchange is repeated.
  bool Login(std::string user, std::string password, Host& host);
  void Disconnect();
  // A message box with the text of reply and the default caption.
  void ShowReply(Host& host);
  // The catalogue query; true means gameCount and the arrays hold the new answer. After false,
  // queryFailure says how it failed.
  bool QueryGames();
  void SetSystem(const std::string& alias);

  // The text of reply: its bytes up to the first NUL, at most kReplySize of them.
  std::string ReplyText() const;

  // Fields, in the order the client has always kept them.
  std::string host;
  Ipv4SocketAddress serverAddress;
  TcpSocket socket;
  uint16_t socketsVersion = 0;
  int32_t socketsStartResult = 0;
  std::array<char, kReplySize> reply{};
  std::string clientVersion = "4.05";
  std::string system = "NES";
  std::string filter = "^[a-b]";
  std::string scheme = "VTNES://";
  std::string fullAccount = "False";
  std::vector<std::string> rawRecords;
  std::vector<std::string> titles;
  std::vector<std::string> gameKeys;
  std::vector<std::string> availableCopies;
  std::vector<int32_t> fullAccountCopies;
  uint32_t gameCount = 0;
  uint32_t selectedIndex = 0;
  bool connected = false;
  bool loggedIn = false;
  bool userInUse = false;
  bool badCredentials = false;
  bool connectFailed = false;
  // The version check found the client out of date: the program must end, and no login goes out
  // any more.
  bool clientOutOfDate = false;
  QueryFailure queryFailure = QueryFailure::None;

  const ServiceEndpoints& endpoints() const { return endpoints_; }

private:
  bool Connect(Host& host);
  bool ConnectionFailure();
  bool QueryFailed(QueryFailure how);
  bool SendBytes(std::string_view bytes);
  // One receive of at most size bytes into reply (size <= kReplySize); false on an error.
  bool ReceiveReply(size_t size);
  void ClearReply() { reply.fill(0); }
  bool ReceiveRecords(uint32_t count);
  void SplitRecord(uint32_t index);

  ServiceEndpoints endpoints_;
};

}  // namespace vt
