// The catalogue query: "qr", the alias, the pattern, "ok", the 5-byte count, then the records.

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "service/ServerSession.h"
#include "service/SystemTable.h"
#include "text/Decimal.h"

namespace vt {

namespace {
// Limits of the client's fixed buffers; longer data is truncated, not overflowed (the server's
// own data stays within them).
constexpr size_t kMaxRecord = kReplySize - 1;
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

// A record splits at its line feeds into title, key, copies and full-account copies; fields
// after the fourth are ignored, missing ones come out empty (and 0). [p, end) holds no NUL.
void SplitRecord(const char* p, const char* end, Game& game) {
  game.fullCopies = 0;
  for (std::string* text : {&game.title, &game.key, &game.copies}) {
    if (!p) {
      text->clear();
      continue;
    }
    const char* lf = FindDelimiter(p, end);
    SetText(*text, p, std::min(static_cast<size_t>(lf - p), kMaxField));
    p = lf < end ? lf + 1 : nullptr;
  }
  if (p)
    game.fullCopies =
        ReadDecimal(std::string_view(p, static_cast<size_t>(FindDelimiter(p, end) - p)));
}

// Empties games [from, to): texts empty, full-account copies 0.
void ClearGames(Catalogue& games, size_t from, size_t to) {
  for (size_t i = from; i < to; ++i) SplitRecord(nullptr, nullptr, games[i]);
}

}  // namespace

QueryResult ServerSession::QueryFailed(QueryResult how) {
  ConnectionFailure();
  return how;
}

// The error mark: the socket goes and the session is logged out, so that the next command logs
// in again instead of failing on the closed socket; no game of the answer is kept.
QueryResult ServerSession::ErrorMark(Catalogue& games) {
  ClearGames(games, 0, games.size());
  socket_.Close();
  connected_ = loggedIn_ = false;
  return QueryResult::ErrorMark;
}

QueryResult ServerSession::QueryGames(const std::string& alias, const std::string& pattern,
                                      Catalogue& games) {
  const std::string sends[] = {std::string("qr", 3), Terminated(QueryAliasText(alias)),
                               Terminated(pattern)};
  for (const std::string& bytes : sends) {
    const bool first = &bytes == &sends[0];
    if (!socket_.Send(bytes))
      return QueryFailed(first ? QueryResult::Dropped : QueryResult::Broken);
    ClearReply();
    const long got = socket_.Receive(reply_.data(), reply_.size());
    if (first && ClosedBeforeReply(got)) return QueryFailed(QueryResult::Dropped);
    if (got < 0) return QueryFailed(QueryResult::Broken);
  }
  if (!socket_.Send(std::string_view("ok", 3))) return QueryFailed(QueryResult::Broken);

  char countField[5] = {};
  if (socket_.Receive(countField, sizeof countField) < 0) return QueryFailed(QueryResult::Broken);
  size_t countLength = 0;
  while (countLength < sizeof countField && countField[countLength] != '\0') ++countLength;
  const int32_t count = ReadDecimal(std::string_view(countField, countLength));

  // The games of the previous answer are overwritten in place as the records arrive, not
  // emptied first: the texts keep their storage, and each game is written once, so a large
  // catalogue is not walked twice.
  games.resize(count > 0 ? static_cast<size_t>(count) : 0);
  return ReceiveRecords(games);
}

// Consumes from the socket exactly the bytes a byte-at-a-time reader would (through the NUL of
// the last record, not one byte more, so the next reply stays in the socket), in few calls.
// Every record still to come is at least its NUL, so while r records are missing, r bytes can be
// received without looking; when few are missing, peek, find the NULs and receive exactly
// through the last one needed. Each record is split as soon as it is complete, from the bytes
// just received.
QueryResult ServerSession::ReceiveRecords(Catalogue& games) {
  const size_t count = games.size();
  // Not zeroed: only what a receive wrote is ever read.
  const std::unique_ptr<char[]> window = std::make_unique_for_overwrite<char[]>(kPeekWindow);
  size_t index = 0;
  // The first bytes of a record cut by the end of a window, or longer than the limit.
  std::string cut;
  bool underWay = false;
  // An early end: the record under way ends with what came, the rest are empty.
  auto finishEarly = [&](QueryResult how) {
    if (index < count) {
      if (!underWay) cut.clear();
      SplitRecord(cut.data(), cut.data() + cut.size(), games[index]);
      ClearGames(games, index + 1, count);
    }
    return QueryFailed(how);
  };
  while (index < count) {
    const size_t missing = count - index;
    const bool blind = missing >= kBlindReceiveMin;
    long got = blind ? socket_.Receive(window.get(), std::min<size_t>(kPeekWindow, missing))
                     : socket_.Peek(window.get(), kPeekWindow);
    if (got < 0) return finishEarly(QueryResult::Broken);
    if (got == 0) {
      // The server closed before the last record: the answer is incomplete, and rows made of
      // what came would pass for the catalogue. It fails like a broken connection.
      if (underWay && cut == "error") return ErrorMark(games);
      return finishEarly(QueryResult::Broken);
    }
    const char* const begin = window.get();
    const char* const end = begin + got;
    const char* p = begin;
    // The error mark ends the query: consume exactly through it first, as reading a byte at a
    // time would, so that the close that follows is an orderly one and not a reset for bytes
    // left unread.
    auto errorMarkThrough = [&](const char* afterMark) {
      if (!blind) socket_.ReceiveExactly(window.get(), static_cast<size_t>(afterMark - begin));
      return ErrorMark(games);
    };
    while (p < end && index < count) {
      if (!underWay) {
        // The usual case, a whole record at hand.
        const char* nul =
            static_cast<const char*>(std::memchr(p, '\0', static_cast<size_t>(end - p)));
        const size_t length = static_cast<size_t>((nul ? nul : end) - p);
        if (nul && length <= kMaxRecord) {
          if (length == 5 && std::memcmp(p, "error", 5) == 0) return errorMarkThrough(nul + 1);
          SplitRecord(p, nul, games[index]);
          p = nul + 1;
          ++index;
          continue;
        }
        cut.clear();
        underWay = true;
      }
      // A record cut by the end of the window, or longer than the limit: gather it, then split.
      const char* nul =
          static_cast<const char*>(std::memchr(p, '\0', static_cast<size_t>(end - p)));
      const size_t length = static_cast<size_t>((nul ? nul : end) - p);
      if (cut.size() < kMaxRecord) cut.append(p, std::min(length, kMaxRecord - cut.size()));
      if (!nul) {
        p = end;
        break;
      }
      p = nul + 1;
      underWay = false;
      if (cut == "error") return errorMarkThrough(p);
      SplitRecord(cut.data(), cut.data() + cut.size(), games[index]);
      ++index;
    }
    if (!blind && !socket_.ReceiveExactly(window.get(), static_cast<size_t>(p - begin)))
      return finishEarly(QueryResult::Broken);
  }
  return QueryResult::Ok;
}

}  // namespace vt
