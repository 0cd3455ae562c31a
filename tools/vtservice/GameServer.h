// The game server: one TCP listener, one thread per connection, each speaking the login and
// catalogue exchanges with its client. Any fault of one connection (garbage, oversized input,
// silence, a vanished peer) closes that connection and nothing else.
#pragma once

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>

#include "tools/vtservice/Catalogue.h"

namespace vt::service {

// A misbehaviour on demand, for testing clients against a hostile server: one catalogue answer
// (the faultQuery-th of the server's life) goes wrong, or no login is ever answered.
enum class Fault {
  None,
  Stall,             // half the answer, then silence while the connection stays open
  CloseMidRecord,    // the count and part of a record, then the connection closes
  CountNotHonoured,  // a count above the records sent, then the connection closes
  Garbage,           // a count, then bytes without a record end, then the connection closes
  Oversized,         // a record of 4 MiB that never ends, then the connection closes
  SilentLogin,       // user names are read and never answered
};

struct GameServerConfig {
  std::string bindAddress = "127.0.0.1";
  std::uint16_t port = 11001;  // 0 picks a free port
  // A connection with no message under way is closed after this long. Clients keep their
  // connection open while the user browses, so this is generous.
  int idleTimeoutMs = 15 * 60 * 1000;
  // Once a message has begun it must be complete within this long (and a reply must be
  // accepted by the peer within it), which bounds a peer that trickles bytes.
  int messageTimeoutMs = 30 * 1000;
  // Connections beyond this are accepted and closed at once.
  int maxConnections = 1000;
  Fault fault = Fault::None;
  int faultQuery = 2;
};

enum class LoginVerdict { Ok, InUse, Incorrect };
class ClientStream;

class GameServer {
public:
  GameServer(const Catalogue& catalogue, GameServerConfig config);
  ~GameServer();
  GameServer(const GameServer&) = delete;
  GameServer& operator=(const GameServer&) = delete;

  // Binds and starts accepting. False with `error` set when the address cannot be used.
  bool Start(std::string* error);
  // Closes the listener and every connection, and waits for their threads.
  void Stop();
  std::uint16_t Port() const { return port_; }

  int LiveConnections() const;

  // Used by the connection threads.
  struct Connection {
    int fd = -1;
    std::thread thread;
    std::atomic<bool> finished{false};
    std::string user;  // set once logged in; guarded by the server's mutex
  };
  LoginVerdict Login(Connection& c, const std::string& user, const std::string& password,
                     bool* full);
  const Catalogue& catalogue() const { return catalogue_; }
  // Counts a catalogue query; true for the one the configured fault spoils.
  bool SpoilsQuery() { return config_.fault != Fault::None && ++queries_ == config_.faultQuery; }
  const GameServerConfig& config() const { return config_; }

private:
  void AcceptLoop();
  void Serve(Connection* c);
  void ReapFinished();

  const Catalogue& catalogue_;
  GameServerConfig config_;
  int listenFd_ = -1;
  int wakeRead_ = -1, wakeWrite_ = -1;
  std::uint16_t port_ = 0;
  std::thread acceptThread_;
  std::atomic<bool> stopping_{false};
  std::atomic<int> queries_{0};

  mutable std::mutex mutex_;  // guards connections_ and sessions_
  std::list<std::unique_ptr<Connection>> connections_;
  std::unordered_map<std::string, Connection*> sessions_;  // logged-in user -> its connection
};

// Runs one connection until the peer leaves, misbehaves or falls silent.
void RunGameProtocol(GameServer& server, GameServer::Connection& connection, ClientStream& stream);

}  // namespace vt::service
