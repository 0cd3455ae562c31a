// The catalogue query: "qr", the alias, the pattern, "ok", the 5-byte count, then the records.

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "text/Decimal.h"
#include "service/ServerSession.h"
#include "service/SystemTable.h"

namespace vt {

namespace {
// Limits of the client's fixed buffers; longer data is truncated, not overflowed (the server's
// own data stays within them).
constexpr size_t kMaxRecord = ServerSession::kReplySize - 1;
constexpr size_t kMaxField = 254;
// How much of the socket one peek looks at while searching for record ends.
constexpr size_t kPeekWindow = 256 * 1024;
// Below this many missing records a blind receive would take too little per call: peek instead.
constexpr uint32_t kBlindReceiveMin = 4096;

// A text as the client sends it: its characters up to the first NUL, then a NUL.
std::string Terminated(const std::string& text) {
  std::string out = text.substr(0, text.find('\0'));
  out.push_back('\0');
  return out;
}

void SetText(std::string& text, const char* bytes, size_t length) { text.assign(bytes, length); }

// The first line feed or NUL in [p, end), or end. The catalogue's bytes are mostly short fields,
// so a library call per field costs more than the search itself: scan 16 bytes at a time.
inline const char* FindDelimiter(const char* p, const char* end) {
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i nul = _mm_setzero_si128();
  while (end - p >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, nul)));
    if (mask) return p + std::countr_zero(static_cast<unsigned>(mask));
    p += 16;
  }
#endif
  while (p < end && *p != '\n' && *p != '\0') ++p;
  return p;
}

// Empties records [from, to): texts empty, full-account copies 0.
void ClearRecords(ServerSession& s, uint32_t from, uint32_t to) {
  for (uint32_t i = from; i < to; ++i) {
    s.rawRecords[i].clear();
    s.titles[i].clear();
    s.gameKeys[i].clear();
    s.availableCopies[i].clear();
    s.fullAccountCopies[i] = 0;
  }
}

// The error mark at record index: the socket goes and the session is logged out, so that the
// next command logs in again instead of failing on the closed socket; the records before it
// are left as received and unsplit, and it and those after it are empty.
bool ErrorMark(ServerSession& s, uint32_t index) {
  for (uint32_t i = 0; i < index; ++i) {
    s.titles[i].clear();
    s.gameKeys[i].clear();
    s.availableCopies[i].clear();
    s.fullAccountCopies[i] = 0;
  }
  ClearRecords(s, index, s.gameCount);
  s.socket.Close();
  s.connected = s.loggedIn = false;
  s.queryFailure = QueryFailure::ErrorMark;
  return false;
}

}  // namespace

bool ServerSession::QueryFailed(QueryFailure how) {
  queryFailure = how;
  return ConnectionFailure();
}

bool ServerSession::QueryGames() {
  queryFailure = QueryFailure::None;
  const std::string sends[] = {std::string("qr", 3), Terminated(QueryAliasText(system)),
                               Terminated(filter)};
  for (const std::string& bytes : sends) {
    const bool first = &bytes == &sends[0];
    if (!SendBytes(bytes)) return QueryFailed(first ? QueryFailure::Dropped : QueryFailure::Broken);
    ClearReply();
    const long got = socket.Receive(reply.data(), reply.size());
    // A session the server closed while it sat idle shows at the first reply, as the peer's
    // close or a reset; a silent server is not that.
    if (first && (got == 0 || (got < 0 && !socket.TimedOut())))
      return QueryFailed(QueryFailure::Dropped);
    if (got < 0) return QueryFailed(QueryFailure::Broken);
  }
  if (!SendBytes(std::string_view("ok", 3))) return QueryFailed(QueryFailure::Broken);

  char countField[5] = {};
  if (socket.Receive(countField, sizeof countField) < 0) return QueryFailed(QueryFailure::Broken);
  size_t countLength = 0;
  while (countLength < sizeof countField && countField[countLength] != '\0') ++countLength;
  const int32_t count = ReadDecimal(std::string_view(countField, countLength));

  gameCount = count > 0 ? static_cast<uint32_t>(count) : 0;
  // The entries of the previous answer are overwritten in place as the records arrive, not
  // emptied first: the texts keep their storage, and each entry is written once, so a large
  // catalogue is not walked twice.
  for (std::vector<std::string>* texts : {&rawRecords, &titles, &gameKeys, &availableCopies})
    texts->resize(gameCount);
  fullAccountCopies.resize(gameCount);

  return ReceiveRecords(gameCount);
}

// A record splits at its line feeds into title, key, copies and full-account copies; fields
// after the fourth are ignored, missing ones come out empty (and 0).
void ServerSession::SplitRecord(uint32_t i) {
  const char* p = rawRecords[i].data();
  const char* const end = p + rawRecords[i].size();
  std::string* const texts[3] = {&titles[i], &gameKeys[i], &availableCopies[i]};
  fullAccountCopies[i] = 0;
  for (int f = 0; f < 3; ++f) {
    if (!p) {
      texts[f]->clear();
      continue;
    }
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    SetText(*texts[f], p, std::min(static_cast<size_t>((lf ? lf : end) - p), kMaxField));
    p = lf ? lf + 1 : nullptr;
  }
  if (!p) return;
  const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
  fullAccountCopies[i] = ReadDecimal(std::string_view(p, static_cast<size_t>((lf ? lf : end) - p)));
}

// Consumes from the socket exactly the bytes a byte-at-a-time reader would (through the NUL of
// the last record, not one byte more, so the next reply stays in the socket), in few calls.
// Every record still to come is at least its NUL, so while r records are missing, r bytes can be
// received without looking; when few are missing, peek, find the NULs and receive exactly
// through the last one needed. Each record is split as soon as it is complete, from the bytes
// just received.
bool ServerSession::ReceiveRecords(uint32_t count) {
  // Not zeroed: only what a receive wrote is ever read.
  const std::unique_ptr<char[]> window = std::make_unique_for_overwrite<char[]>(kPeekWindow);
  uint32_t index = 0;
  bool underWay = false;  // rawRecords[index] holds the first bytes of a record cut by a window
  // An early end: the record under way ends with what came, the rest are empty.
  auto finishEarly = [&] {
    if (index >= count) return;
    if (!underWay) rawRecords[index].clear();
    SplitRecord(index);
    ClearRecords(*this, index + 1, count);
  };
  while (index < count) {
    const uint32_t missing = count - index;
    const bool blind = missing >= kBlindReceiveMin;
    long got = blind ? socket.Receive(window.get(), std::min<size_t>(kPeekWindow, missing))
                     : socket.Peek(window.get(), kPeekWindow);
    if (got < 0) {
      finishEarly();
      return QueryFailed(QueryFailure::Broken);
    }
    if (got == 0) {
      // The server closed before the last record: the answer is incomplete, and rows made of
      // what came would pass for the catalogue. It fails like a broken connection.
      if (underWay && rawRecords[index] == "error") return ErrorMark(*this, index);
      finishEarly();
      return QueryFailed(QueryFailure::Broken);
    }
    const char* const begin = window.get();
    const char* const end = begin + got;
    const char* p = begin;
    // The error mark ends the query: consume exactly through it first, as reading a byte at a
    // time would, so that the close that follows is an orderly one and not a reset for bytes
    // left unread.
    auto errorMarkThrough = [&](const char* afterMark) {
      if (!blind) socket.ReceiveExactly(window.get(), static_cast<size_t>(afterMark - begin));
      return ErrorMark(*this, index);
    };
    while (p < end && index < count) {
      std::string& record = rawRecords[index];
      if (!underWay) {
        // The usual case, a whole record at hand: find its line feeds and NUL in one pass.
        const char* lfs[4];
        int fieldEnds = 0;
        const char* d = FindDelimiter(p, end);
        while (d < end && *d == '\n') {
          if (fieldEnds < 4) lfs[fieldEnds++] = d;
          d = FindDelimiter(d + 1, end);
        }
        const size_t length = static_cast<size_t>(d - p);
        if (d < end && length <= kMaxRecord) {
          SetText(record, p, length);
          if (length == 5 && std::memcmp(p, "error", 5) == 0) return errorMarkThrough(d + 1);
          std::string* const texts[3] = {&titles[index], &gameKeys[index], &availableCopies[index]};
          const char* field = p;
          for (int f = 0; f < 3; ++f) {
            if (f > fieldEnds) {
              texts[f]->clear();
              continue;
            }
            const char* fieldEnd = f < fieldEnds ? lfs[f] : d;
            SetText(*texts[f], field, std::min(static_cast<size_t>(fieldEnd - field), kMaxField));
            field = fieldEnd + 1;
          }
          fullAccountCopies[index] =
              fieldEnds < 3
                  ? 0
                  : ReadDecimal(std::string_view(
                        field, static_cast<size_t>((fieldEnds > 3 ? lfs[3] : d) - field)));
          p = d + 1;
          ++index;
          continue;
        }
        record.clear();
        underWay = true;
      }
      // A record cut by the end of the window, or longer than the limit: gather it, then split.
      const char* nul =
          static_cast<const char*>(std::memchr(p, '\0', static_cast<size_t>(end - p)));
      const size_t length = static_cast<size_t>((nul ? nul : end) - p);
      if (record.size() < kMaxRecord)
        record.append(p, std::min(length, kMaxRecord - record.size()));
      if (!nul) {
        p = end;
        break;
      }
      p = nul + 1;
      underWay = false;
      if (record == "error") return errorMarkThrough(p);
      SplitRecord(index);
      ++index;
    }
    if (!blind && !socket.ReceiveExactly(window.get(), static_cast<size_t>(p - begin))) {
      finishEarly();
      return QueryFailed(QueryFailure::Broken);
    }
  }
  return true;
}

}  // namespace vt
