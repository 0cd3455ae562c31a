// The client's one link to the game server: the connection, the login it was granted with its
// account tier, and the catalogue query. One instance exists for the whole run; callers learn
// what happened from what each call returns, and own the catalogue a query fills.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Host.h"
#include "platform/TcpSocket.h"
#include "service/Endpoints.h"

namespace vt {

// What a login came to. A refused login is told by the first that holds: the user name in use,
// or the credentials refused, as the last answer on this connection said; a connect, send or
// receive that failed, now or at any time before in this session's life; else the server's own
// text (ReplyText, ShowReply).
enum class LoginResult {
  SignedIn,  // tier() holds the account tier
  UserInUse,
  BadCredentials,
  ConnectionFailed,
  ServerText,
  // The version check found the client out of date and said so: the program must end, and no
  // login goes out any more.
  OutOfDate,
};

// What a catalogue query came to.
enum class QueryResult {
  Ok,
  // The connection was found closed before any reply came (the send failed, or the first reply
  // was the peer's close or reset): a session the server dropped while it was idle.
  Dropped,
  Broken,     // a send or receive failed (or timed out) later, or a time-out at once
  ErrorMark,  // the server's error mark; the session is logged out
};

// One record of the catalogue: its first three fields as texts (at most 254 bytes each) and the
// fourth by the decimal rule.
struct Game {
  std::string title, key, copies;
  int32_t fullCopies = 0;
};
// The games of one answer, in the server's order. A caller that keeps one catalogue for every
// query has each answer written over the last in place: the texts keep their storage.
using Catalogue = std::vector<Game>;

// The size of the buffer every reply of the server is received into, at most.
inline constexpr size_t kReplySize = 1024;

class ServerSession {
public:
  explicit ServerSession(ServiceEndpoints endpoints);
  // A session on a connection made elsewhere (no version check, no connect), signed in with
  // `tier` when one is given: where the measurements and fuzz targets start, past the exchanges
  // they do not look at.
  ServerSession(ServiceEndpoints endpoints, TcpSocket connection,
                std::optional<std::string> tier = std::nullopt);
  ~ServerSession();
  ServerSession(const ServerSession&) = delete;
  ServerSession& operator=(const ServerSession&) = delete;

  // Connects if not connected (version check first), then logs in; the boxes of the connect go
  // to the host. A connection kept since a refused login that the server has closed meanwhile
  // is replaced by a new one, once, before the exchange is repeated. A refused login keeps the
  // connection for the next attempt.
  LoginResult Login(std::string user, std::string password, Host& host);
  void Disconnect();
  // A message box with the text of the last reply and the default caption.
  void ShowReply(Host& host);
  // The catalogue query for the system alias and the title pattern. The catalogue holds as many
  // games as the answer announced; after Ok they are the answer, after a failure those not
  // received are empty (all of them after the error mark).
  QueryResult QueryGames(const std::string& alias, const std::string& pattern, Catalogue& games);

  // The text of the last reply: its bytes up to the first NUL, at most kReplySize of them.
  std::string ReplyText() const;

  bool connected() const { return connected_; }
  bool loggedIn() const { return loggedIn_; }
  // The account tier the server gave at the last login; a full account's is exactly "True".
  const std::string& tier() const { return tier_; }
  bool FullAccount() const { return tier_ == "True"; }
  const ServiceEndpoints& endpoints() const { return endpoints_; }

private:
  bool Connect(Host& host);
  bool ConnectionFailure();
  QueryResult QueryFailed(QueryResult how);
  // A receive's result that shows the connection closed before any reply: the peer's close or
  // a reset, not a silent peer.
  bool ClosedBeforeReply(long got) const;
  // One receive of at most size bytes into reply_ (size <= kReplySize); false on an error.
  bool ReceiveReply(size_t size);
  void ClearReply() { reply_.fill(0); }
  QueryResult ReceiveRecords(Catalogue& games);
  QueryResult ErrorMark(Catalogue& games);
  LoginResult Refused() const;

  ServiceEndpoints endpoints_;
  TcpSocket socket_;
  std::array<char, kReplySize> reply_{};
  std::string tier_ = "False";
  bool connected_ = false;
  bool loggedIn_ = false;
  bool userInUse_ = false;
  bool badCredentials_ = false;
  bool connectFailed_ = false;
  bool outOfDate_ = false;
};

}  // namespace vt
