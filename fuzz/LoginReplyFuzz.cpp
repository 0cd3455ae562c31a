// The login exchange's replies (user name, password, address acknowledgement, account tier)
// in any pieces, ending in a close or an error.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/FakeSocket.h"
#include "fuzz/FuzzCheck.h"
#include "service/ServerSession.h"

namespace {
class NoUi : public vt::ServiceUi {
public:
  void ShowMessage(const std::string&, const char*) override {}
  void EndProgram(int) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const bool errorAtEnd = in.ConsumeBool();
  std::vector<size_t> pieces;
  for (int i = 0; i < 3; ++i) pieces.push_back(in.ConsumeIntegralInRange<size_t>(1, 1100));
  vt::fuzz::ResetWire(in.ConsumeRemainingBytesAsString(), pieces, errorAtEnd);

  NoUi ui;
  vt::ServerSession session(ui, vt::ServiceEndpoints{});
  session.socket.Create();
  session.connected = true;
  const bool ok = session.Login("user", "password");
  FUZZ_CHECK(ok == session.loggedIn);
  FUZZ_CHECK(!(session.loggedIn && (session.userInUse || session.badCredentials)));
  FUZZ_CHECK(session.fullAccount.size() <= vt::ServerSession::kReplySize);
  FUZZ_CHECK(session.ReplyText().size() <= vt::ServerSession::kReplySize);
  return 0;
}
