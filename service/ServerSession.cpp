#include "service/ServerSession.h"

#include <cstdio>
#include <cstring>

#include "service/SystemTable.h"
#include "service/VersionCheck.h"

namespace vt {

namespace {
constexpr uint16_t kAfInet = 2;
uint16_t HostToNet16(uint16_t v) {
  const uint8_t bytes[2] = {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v & 0xFF)};
  uint16_t out = 0;
  std::memcpy(&out, bytes, 2);
  return out;
}
}  // namespace

ServerSession::ServerSession(ServiceEndpoints endpoints)
    : host(endpoints.gameServer), endpoints_(std::move(endpoints)) {}

ServerSession::~ServerSession() {
  connected = loggedIn = userInUse = badCredentials = false;
  socket.Close();
}

std::string ServerSession::ReplyText() const {
  const void* nul = std::memchr(reply.data(), 0, reply.size());
  size_t n = nul ? static_cast<size_t>(static_cast<const char*>(nul) - reply.data()) : reply.size();
  return std::string(reply.data(), n);
}

bool ServerSession::ConnectionFailure() {
  connectFailed = true;
  connected = false;
  loggedIn = false;
  socket.Close();
  return false;
}

bool ServerSession::SendBytes(std::string_view bytes) { return socket.Send(bytes); }

bool ServerSession::ReceiveReply(size_t size) {
  return socket.Receive(reply.data(), std::min(size, reply.size())) >= 0;
}

bool ServerSession::Connect(Host& ui) {
  ClearReply();
  if (CheckClientVersion(clientVersion, endpoints_.webHost, ui) == Next::EndProgram) {
    clientOutOfDate = true;
    return false;
  }
  socketsVersion = 0x0202;
  socketsStartResult = StartSocketLibrary(socketsVersion);
  if (!socket.Create()) ui.ShowMessage("Error Creating Socket", nullptr);
  ResolvedHost resolved = ResolveIpv4(host);
  if (!resolved.ok) {
    char text[64];
    std::snprintf(text, sizeof text, " Error getting host: %d", resolved.error);
    ui.ShowMessage(text, nullptr);
    return ConnectionFailure();
  }
  serverAddress = Ipv4SocketAddress{};
  serverAddress.family = kAfInet;
  serverAddress.port = HostToNet16(endpoints_.gamePort);
  serverAddress.address = resolved.address;
  if (!socket.Connect(resolved.address, endpoints_.gamePort)) return ConnectionFailure();
  socket.SetReceiveTimeout(endpoints_.receiveTimeoutMs);
  connected = true;
  return true;
}

bool ServerSession::Login(std::string user, std::string password, Host& ui) {
  if (clientOutOfDate) return false;
  // The server may have closed a connection kept since a refused login (it sat idle, or the
  // server restarted): the user name finds it closed before any reply. That is no answer to
  // this login, which goes out once more on a new connection.
  const bool kept = connected;
  if (!connected && !Connect(ui)) return false;

  const bool sent = SendBytes(user);
  const long got = sent ? socket.Receive(reply.data(), reply.size()) : -1;
  if (kept && (!sent || got == 0 || (got < 0 && !socket.TimedOut()))) {
    Disconnect();
    return Login(std::move(user), std::move(password), ui);
  }
  if (got < 0) return ConnectionFailure();
  ClearReply();
  if (!SendBytes(password)) return ConnectionFailure();
  if (!ReceiveReply(kReplySize)) return ConnectionFailure();

  const std::string answer = ReplyText();
  if (answer == "Username in use login again to clear.") {
    userInUse = true;
    loggedIn = false;
    return false;
  }
  if (answer == "Incorrect Username or Password") {
    userInUse = false;
    badCredentials = true;
    loggedIn = false;
    return false;
  }
  if (answer != "ok") return false;  // the text stays in reply for ShowReply

  char local[64] = {};
  const std::string address = socket.LocalAddressText();
  std::memcpy(local, address.data(), std::min(address.size(), sizeof local - 1));
  if (!SendBytes(std::string_view(local, sizeof local))) return ConnectionFailure();
  if (!ReceiveReply(3)) return ConnectionFailure();
  if (!SendBytes(std::string_view("qp", 3))) return ConnectionFailure();
  ClearReply();
  if (!ReceiveReply(kReplySize)) return ConnectionFailure();
  fullAccount = ReplyText();
  loggedIn = true;
  userInUse = false;
  badCredentials = false;
  return true;
}

void ServerSession::Disconnect() {
  connected = loggedIn = userInUse = badCredentials = false;
  socket.Close();
}

void ServerSession::ShowReply(Host& ui) { ui.ShowMessage(ReplyText(), nullptr); }

void ServerSession::SetSystem(const std::string& alias) {
  system = alias;
  scheme = std::string(LookUpSystem(alias).scheme);
}

}  // namespace vt
