// The catalogue query's receive: the three replies, the count field and the records, arriving
// in the pieces the input chooses, ending in a close or an error.
#include "fuzz/FakeSocket.h"
#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  vt::fuzz::WireFromInput(in, 4, 3000);
  vt::fuzz::WiredSession wired("True");
  vt::Catalogue games;
  const bool ok = wired.session.QueryGames("NES", "^[a-b]", games) == vt::QueryResult::Ok;
  const vt::fuzz::Wire& w = vt::fuzz::TheWire();
  FUZZ_CHECK(w.consumed <= w.incoming.size());
  if (!ok) return 0;
  for (const vt::Game& g : games)
    FUZZ_CHECK(g.title.size() <= 254 && g.key.size() <= 254 && g.copies.size() <= 254);
  // Exactly through the last record's NUL, as reading a byte at a time would, when the records
  // are all there.
  size_t end = w.afterCountField;
  for (size_t i = 0; i < games.size() && end != std::string::npos; ++i)
    if ((end = w.incoming.find('\0', end)) != std::string::npos) ++end;
  if (end != std::string::npos) FUZZ_CHECK(w.consumed == end);
  return 0;
}
