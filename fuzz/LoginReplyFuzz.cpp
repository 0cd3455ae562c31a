// The login exchange's replies (user name, password, address acknowledgement, account tier)
// in any pieces, ending in a close or an error.
#include "fuzz/FakeSocket.h"
#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  vt::fuzz::WireFromInput(in, 3, 1100);
  vt::fuzz::WiredSession wired;
  vt::ServerSession& session = wired.session;
  const vt::LoginResult result = session.Login("user", "password", wired.host);
  FUZZ_CHECK((result == vt::LoginResult::SignedIn) == session.loggedIn());
  FUZZ_CHECK(session.tier().size() <= vt::kReplySize);
  FUZZ_CHECK(session.ReplyText().size() <= vt::kReplySize);
  return 0;
}
