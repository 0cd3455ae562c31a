#include "service/ServerSession.h"

#include <cstdio>
#include <cstring>

#include "service/VersionCheck.h"

namespace vt {

namespace {
constexpr const char* kClientVersion = "4.05";
constexpr uint16_t kSocketsVersion = 0x0202;
}  // namespace

ServerSession::ServerSession(ServiceEndpoints endpoints) : endpoints_(std::move(endpoints)) {}

ServerSession::ServerSession(ServiceEndpoints endpoints, TcpSocket connection,
                             std::optional<std::string> tier)
    : ServerSession(std::move(endpoints)) {
  socket_ = std::move(connection);
  connected_ = true;
  loggedIn_ = tier.has_value();
  if (tier) tier_ = std::move(*tier);
}

ServerSession::~ServerSession() { Disconnect(); }

std::string ServerSession::ReplyText() const {
  const void* nul = std::memchr(reply_.data(), 0, reply_.size());
  size_t n =
      nul ? static_cast<size_t>(static_cast<const char*>(nul) - reply_.data()) : reply_.size();
  return std::string(reply_.data(), n);
}

bool ServerSession::ConnectionFailure() {
  connectFailed_ = true;
  connected_ = false;
  loggedIn_ = false;
  socket_.Close();
  return false;
}

bool ServerSession::ClosedBeforeReply(long got) const {
  return got == 0 || (got < 0 && !socket_.TimedOut());
}

bool ServerSession::ReceiveReply(size_t size) {
  return socket_.Receive(reply_.data(), std::min(size, reply_.size())) >= 0;
}

bool ServerSession::Connect(Host& ui) {
  ClearReply();
  if (CheckClientVersion(kClientVersion, endpoints_.webHost, ui) == Next::EndProgram) {
    outOfDate_ = true;
    return false;
  }
  StartSocketLibrary(kSocketsVersion);
  if (!socket_.Create()) ui.ShowMessage("Error Creating Socket", nullptr);
  ResolvedHost resolved = ResolveIpv4(endpoints_.gameServer);
  if (!resolved.ok) {
    char text[64];
    std::snprintf(text, sizeof text, " Error getting host: %d", resolved.error);
    ui.ShowMessage(text, nullptr);
    return ConnectionFailure();
  }
  if (!socket_.Connect(resolved.address, endpoints_.gamePort)) return ConnectionFailure();
  socket_.SetReceiveTimeout(endpoints_.receiveTimeoutMs);
  connected_ = true;
  return true;
}

LoginResult ServerSession::Refused() const {
  if (userInUse_) return LoginResult::UserInUse;
  if (badCredentials_) return LoginResult::BadCredentials;
  if (connectFailed_) return LoginResult::ConnectionFailed;
  return LoginResult::ServerText;
}

LoginResult ServerSession::Login(std::string user, std::string password, Host& ui) {
  if (outOfDate_) return LoginResult::OutOfDate;
  // The server may have closed a connection kept since a refused login (it sat idle, or the
  // server restarted): the user name finds it closed before any reply. That is no answer to
  // this login, which goes out once more on a new connection.
  const bool kept = connected_;
  if (!connected_ && !Connect(ui)) return outOfDate_ ? LoginResult::OutOfDate : Refused();

  const bool sent = socket_.Send(user);
  const long got = sent ? socket_.Receive(reply_.data(), reply_.size()) : -1;
  if (kept && (!sent || ClosedBeforeReply(got))) {
    Disconnect();
    return Login(std::move(user), std::move(password), ui);
  }
  if (got < 0) return ConnectionFailure(), Refused();
  ClearReply();
  if (!socket_.Send(password) || !ReceiveReply(kReplySize)) return ConnectionFailure(), Refused();

  const std::string answer = ReplyText();
  if (answer == "Username in use login again to clear.") {
    userInUse_ = true;
    loggedIn_ = false;
    return Refused();
  }
  if (answer == "Incorrect Username or Password") {
    userInUse_ = false;
    badCredentials_ = true;
    loggedIn_ = false;
    return Refused();
  }
  if (answer != "ok") return Refused();  // the text stays in reply_ for ShowReply

  char local[64] = {};
  const std::string address = socket_.LocalAddressText();
  std::memcpy(local, address.data(), std::min(address.size(), sizeof local - 1));
  if (!socket_.Send(std::string_view(local, sizeof local)) || !ReceiveReply(3) ||
      !socket_.Send(std::string_view("qp", 3)))
    return ConnectionFailure(), Refused();
  ClearReply();
  if (!ReceiveReply(kReplySize)) return ConnectionFailure(), Refused();
  tier_ = ReplyText();
  loggedIn_ = true;
  userInUse_ = false;
  badCredentials_ = false;
  return LoginResult::SignedIn;
}

void ServerSession::Disconnect() {
  connected_ = loggedIn_ = userInUse_ = badCredentials_ = false;
  socket_.Close();
}

void ServerSession::ShowReply(Host& ui) { ui.ShowMessage(ReplyText(), nullptr); }

}  // namespace vt
