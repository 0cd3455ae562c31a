// The catalogue query's receive: the three replies, the count field and the records, arriving
// in the pieces the input chooses, ending in a close or an error.
#include "fuzz/FakeSocket.h"
#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  vt::fuzz::WireFromInput(in, 4, 3000);
  vt::fuzz::WiredSession wired;
  vt::ServerSession& session = wired.session;
  session.connected = session.loggedIn = true;
  const bool ok = session.QueryGames();
  const vt::fuzz::Wire& w = vt::fuzz::TheWire();
  FUZZ_CHECK(w.consumed <= w.incoming.size());
  if (!ok) return 0;
  for (const size_t n :
       {session.titles.size(), session.gameKeys.size(), session.availableCopies.size(),
        session.fullAccountCopies.size(), session.rawRecords.size()})
    FUZZ_CHECK(n == session.gameCount);
  for (uint32_t i = 0; i < session.gameCount; ++i)
    FUZZ_CHECK(session.rawRecords[i].size() <= 1023 && session.titles[i].size() <= 254 &&
               session.gameKeys[i].size() <= 254 && session.availableCopies[i].size() <= 254);
  // Exactly through the last record's NUL, as reading a byte at a time would, when the records
  // are all there.
  size_t end = w.afterCountField;
  uint32_t records = 0;
  while (records < session.gameCount && end < w.incoming.size()) {
    const size_t nul = w.incoming.find('\0', end);
    if (nul == std::string::npos) break;
    end = nul + 1;
    ++records;
  }
  if (records == session.gameCount) FUZZ_CHECK(w.consumed == end);
  return 0;
}
