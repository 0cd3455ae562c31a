// A session pointed at a scripted game server and an in-process web host on loopback.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "service/ServerSession.h"
#include "tests/support/HttpPeer.h"
#include "tests/support/ScriptedPeer.h"

namespace vt::test {

// Records message boxes and program ends instead of showing or ending anything.
class RecordingUi : public ServiceUi {
public:
  void ShowMessage(const std::string& text, const char* caption) override {
    messages.push_back(std::string(caption ? caption : "(default)") + ": " + text);
  }
  void EndProgram(int code) override { endCodes.push_back(code); }
  std::vector<std::string> messages;
  std::vector<int> endCodes;
};

// The 64-byte local-address field the client sends after "ok" on a loopback connection.
inline std::string LoopbackAddressField() {
  std::string field = "127.0.0.1";
  field.resize(64, '\0');
  return field;
}

// The peer's side of a login that succeeds with the given tier.
inline void ScriptGoodLogin(ScriptedPeer& peer, const std::string& user,
                            const std::string& password, const std::string& tier) {
  peer.Expect(user).Send("user?").Expect(password).Send("ok").Expect(64).Send("ok").Expect(3).Send(
      tier);
}

inline std::string GoodLoginBytes(const std::string& user, const std::string& password) {
  return user + password + LoopbackAddressField() + std::string("qp\0", 3);
}

class SessionTest : public ::testing::Test {
protected:
  // The receive time-out is short here so that stalls end quickly; the client's own is 30 s.
  std::unique_ptr<ServerSession> MakeSession(uint32_t receiveTimeoutMs = 2000) {
    ServiceEndpoints e;
    e.gameServer = "127.0.0.1";
    e.gamePort = peer.port();
    e.webHost = web.hostPort();
    e.receiveTimeoutMs = receiveTimeoutMs;
    return std::make_unique<ServerSession>(ui, e);
  }

  RecordingUi ui;
  HttpPeer web{"<html>current: 4.05</html>"};
  ScriptedPeer peer;
};

}  // namespace vt::test
