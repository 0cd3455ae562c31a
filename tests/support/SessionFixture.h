// A session pointed at a scripted game server and an in-process web host on loopback, and the
// bytes of the exchanges both sides script.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "service/ServerSession.h"
#include "tests/support/HttpPeer.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/ScriptedPeer.h"

namespace vt::test {

inline std::string Z(const std::string& text) { return text + std::string(1, '\0'); }
// The 5-byte count field: the digits, NUL-padded.
inline std::string CountField(const std::string& digits) {
  return (digits + std::string(5, '\0')).substr(0, 5);
}
inline std::string Record(const std::string& title, const std::string& key,
                          const std::string& copies, const std::string& fullCopies) {
  return Z(title + "\n" + key + "\n" + copies + "\n" + fullCopies);
}

// The client's login bytes on a loopback connection; the peer's side of a login up to its reply
// to the password, and of one that succeeds with the tier.
inline std::string GoodLoginBytes(const std::string& user, const std::string& password) {
  std::string address = "127.0.0.1";
  address.resize(64, '\0');
  return user + password + address + Z("qp");
}
inline ScriptedPeer& ScriptLoginReply(ScriptedPeer& peer, const std::string& user,
                                      const std::string& password, const std::string& reply) {
  return peer.Expect(user).Send("user?").Expect(password).Send(reply);
}
inline void ScriptGoodLogin(ScriptedPeer& peer, const std::string& user,
                            const std::string& password, const std::string& tier) {
  ScriptLoginReply(peer, user, password, "ok").Expect(64).Send("ok").Expect(3).Send(tier);
}
// A query's bytes from the client; the peer's side up to the client's "ok" (the answer is the
// caller's), with the answer of the records (each with its NUL), or with the error mark.
inline std::string QueryBytes(const std::string& alias, const std::string& pattern) {
  return Z("qr") + Z(alias) + Z(pattern) + Z("ok");
}
inline ScriptedPeer& ScriptQueryHead(ScriptedPeer& peer, const std::string& alias = "NES",
                                     const std::string& pattern = "^[a-b]") {
  peer.Expect(Z("qr")).Send("r1").Expect(Z(alias)).Send("r2");
  return peer.Expect(Z(pattern)).Send("r3").Expect(Z("ok"));
}
inline void ScriptQuery(ScriptedPeer& peer, const std::string& alias, const std::string& pattern,
                        const std::vector<std::string>& records) {
  std::string answer = CountField(std::to_string(records.size()));
  for (const std::string& r : records) answer += r;
  ScriptQueryHead(peer, alias, pattern).Send(answer);
}
inline void ScriptRefusal(ScriptedPeer& peer, const std::string& alias,
                          const std::string& pattern) {
  ScriptQueryHead(peer, alias, pattern).Send(CountField("1") + Z("error"));
}

class SessionTest : public ::testing::Test {
protected:
  // A session pointed at the peer (started at the first call: script it before) or at another
  // game port, and at the web host or another. The receive time-out is short here so that
  // stalls end quickly; the client's own is 30 s.
  std::unique_ptr<ServerSession> MakeSession(uint32_t receiveTimeoutMs = 2000, uint16_t port = 0,
                                             const std::string& webHost = "") {
    if (port == 0 && !peerStarted) peer.Start();
    peerStarted = peerStarted || port == 0;
    return std::make_unique<ServerSession>(
        ServiceEndpoints{"127.0.0.1", port ? port : peer.port(),
                         webHost.empty() ? web.hostPort() : webHost, receiveTimeoutMs});
  }
  // Everything the peer received on one connection, once the client has closed it.
  std::string Sent(ServerSession& s, size_t connection = 0) {
    s.Disconnect();
    peer.Finish();
    return peer.Received(connection);
  }

  RecordingHost ui;
  HttpPeer web{"<html>current: 4.05</html>"};
  ScriptedPeer peer;
  bool peerStarted = false;
};

}  // namespace vt::test
