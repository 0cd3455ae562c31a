#include "tools/vtservice/GameServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "tools/vtservice/ClientStream.h"
#include "tools/vtservice/GameProtocol.h"

namespace vt::service {

namespace {

bool ResolveIPv4(const std::string& host, in_addr& out) {
  if (::inet_pton(AF_INET, host.c_str(), &out) == 1) return true;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* res = nullptr;
  if (::getaddrinfo(host.c_str(), nullptr, &hints, &res) != 0 || !res) return false;
  out = reinterpret_cast<sockaddr_in*>(res->ai_addr)->sin_addr;
  ::freeaddrinfo(res);
  return true;
}

// True once the peer has closed or reset the connection (or shut down its sending side, after
// which it can never send another command), whatever is still unread.
bool PeerHasLeft(int fd) {
  pollfd p{fd, POLLRDHUP, 0};
  return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0;
}

void Wake(int fd) {
  char b = 1;
  [[maybe_unused]] ssize_t n = ::write(fd, &b, 1);  // a full pipe already wakes the loop
}

}  // namespace

GameServer::GameServer(const Catalogue& catalogue, GameServerConfig config)
    : catalogue_(catalogue), config_(std::move(config)) {}

GameServer::~GameServer() { Stop(); }

bool GameServer::Start(std::string* error) {
  auto fail = [&](const std::string& what) {
    if (error) *error = what + (errno ? std::string(": ") + std::strerror(errno) : std::string());
    if (listenFd_ >= 0) ::close(listenFd_);
    listenFd_ = -1;
    return false;
  };
  errno = 0;
  in_addr addr{};
  if (!ResolveIPv4(config_.bindAddress, addr))
    return fail("cannot resolve bind address " + config_.bindAddress);
  listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listenFd_ < 0) return fail("cannot create the game server socket");
  int one = 1;
  ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(config_.port);
  sa.sin_addr = addr;
  if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0)
    return fail("cannot bind the game server to " + config_.bindAddress + ":" +
                std::to_string(config_.port));
  if (::listen(listenFd_, 512) != 0) return fail("cannot listen on the game server socket");
  socklen_t len = sizeof sa;
  ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&sa), &len);
  port_ = ntohs(sa.sin_port);

  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return fail("cannot create the wake pipe");
  wakeRead_ = pipeFds[0];
  wakeWrite_ = pipeFds[1];
  stopping_ = false;
  acceptThread_ = std::thread([this] { AcceptLoop(); });
  return true;
}

void GameServer::Stop() {
  if (!acceptThread_.joinable()) return;
  stopping_ = true;
  Wake(wakeWrite_);
  acceptThread_.join();
  std::list<std::unique_ptr<Connection>> all;
  {
    std::lock_guard lock(mutex_);
    for (auto& c : connections_) ::shutdown(c->fd, SHUT_RDWR);
    all.swap(connections_);
  }
  for (auto& c : all) {
    c->thread.join();
    ::close(c->fd);
  }
  sessions_.clear();
  ::close(listenFd_);
  ::close(wakeRead_);
  ::close(wakeWrite_);
  listenFd_ = wakeRead_ = wakeWrite_ = -1;
}

int GameServer::LiveConnections() const {
  std::lock_guard lock(mutex_);
  int n = 0;
  for (const auto& c : connections_) n += c->finished ? 0 : 1;
  return n;
}

void GameServer::ReapFinished() {
  std::list<std::unique_ptr<Connection>> done;
  {
    std::lock_guard lock(mutex_);
    for (auto it = connections_.begin(); it != connections_.end();) {
      if ((*it)->finished) {
        auto next = std::next(it);
        done.splice(done.end(), connections_, it);
        it = next;
      } else {
        ++it;
      }
    }
  }
  // Off the lists, nobody else can reach these sockets: safe to close.
  for (auto& c : done) {
    c->thread.join();
    ::close(c->fd);
  }
}

void GameServer::AcceptLoop() {
  pollfd fds[2] = {{listenFd_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
  while (!stopping_) {
    int r = ::poll(fds, 2, -1);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) break;
    if (fds[1].revents) {
      char drain[256];
      while (::read(wakeRead_, drain, sizeof drain) > 0) {}
      ReapFinished();
    }
    if (stopping_) break;
    if (!(fds[0].revents & POLLIN)) continue;
    int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;  // the peer left already, or out of descriptors for a moment
    if (LiveConnections() >= config_.maxConnections) {
      ::close(fd);
      continue;
    }
    timeval tv{config_.messageTimeoutMs / 1000, (config_.messageTimeoutMs % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    auto conn = std::make_unique<Connection>();
    conn->fd = fd;
    Connection* raw = conn.get();
    {
      std::lock_guard lock(mutex_);
      connections_.push_back(std::move(conn));
      raw->thread = std::thread([this, raw] { Serve(raw); });
    }
  }
}

void GameServer::Serve(Connection* c) {
  ClientStream stream(c->fd, config_.idleTimeoutMs, config_.messageTimeoutMs);
  RunGameProtocol(*this, *c, stream);
  {
    std::lock_guard lock(mutex_);
    auto it = sessions_.find(c->user);
    if (it != sessions_.end() && it->second == c) sessions_.erase(it);
    c->finished = true;
  }
  Wake(wakeWrite_);
}

LoginVerdict GameServer::Login(Connection& c, const std::string& user, const std::string& password,
                               bool* full) {
  const Account* account = catalogue_.FindAccount(user);
  if (!account || account->password != password) return LoginVerdict::Incorrect;
  std::lock_guard lock(mutex_);
  auto it = sessions_.find(user);
  if (it != sessions_.end() && PeerHasLeft(it->second->fd)) {
    // Its thread has not seen the close yet; the client that just logged out and is
    // logging in again must not be told it is in use.
    ::shutdown(it->second->fd, SHUT_RDWR);
    sessions_.erase(it);
    it = sessions_.end();
  }
  if (it != sessions_.end()) {
    // The refusal itself clears the stale session, so the user's next attempt succeeds.
    ::shutdown(it->second->fd, SHUT_RDWR);
    sessions_.erase(it);
    return LoginVerdict::InUse;
  }
  sessions_[user] = &c;
  c.user = user;
  *full = account->full;
  return LoginVerdict::Ok;
}

}  // namespace vt::service
