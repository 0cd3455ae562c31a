// The catalogue query: "qr", the alias, the pattern, "ok", the 5-byte count, then the records.

#include <algorithm>
#include <cstring>

#include "service/Decimal.h"
#include "service/ServerSession.h"
#include "service/SystemTable.h"

namespace vt {

namespace {
// Limits of the client's fixed buffers; longer data is truncated, not overflowed (the server's
// own data stays within them).
constexpr size_t kMaxRecord = ServerSession::kReplySize - 1;
constexpr size_t kMaxField = 254;
// How much of the socket one peek looks at while searching for record ends.
constexpr size_t kPeekWindow = 64 * 1024;
// Below this many missing records a blind receive would take too little per call: peek instead.
constexpr uint32_t kBlindReceiveMin = 4096;

// A text as the client sends it: its characters up to the first NUL, then a NUL.
std::string Terminated(const std::string& text) {
  std::string out = text.substr(0, text.find('\0'));
  out.push_back('\0');
  return out;
}

// Replaces a text's bytes; cheaper than assign() for the many short fields of a catalogue, and
// the text's storage is reused from the previous query.
void SetText(std::string& text, const char* bytes, size_t length) {
  text.resize(length);
  if (length) std::memcpy(text.data(), bytes, length);
}

}  // namespace

bool ServerSession::QueryGames() {
  const std::string sends[] = {std::string("qr", 3), Terminated(QueryAliasText(system)),
                               Terminated(filter)};
  for (const std::string& bytes : sends) {
    if (!SendBytes(bytes)) return ConnectionFailure();
    ClearReply();
    if (!ReceiveReply(kReplySize)) return ConnectionFailure();
  }
  if (!SendBytes(std::string_view("ok", 3))) return ConnectionFailure();

  char countField[5] = {};
  if (socket.Receive(countField, sizeof countField) < 0) return ConnectionFailure();
  size_t countLength = 0;
  while (countLength < sizeof countField && countField[countLength] != '\0') ++countLength;
  const int32_t count = ReadDecimal(std::string_view(countField, countLength));

  gameCount = count > 0 ? static_cast<uint32_t>(count) : 0;
  // Emptied rather than rebuilt: the texts keep their storage, so a query of a similar size as
  // the last one allocates next to nothing.
  for (std::vector<std::string>* texts : {&rawRecords, &titles, &gameKeys, &availableCopies}) {
    texts->resize(gameCount);
    for (std::string& text : *texts) text.clear();
  }
  fullAccountCopies.assign(gameCount, 0);

  if (!ReceiveRecords(gameCount)) return false;

  for (uint32_t i = 0; i < gameCount; ++i) SplitRecord(i);
  return true;
}

// A record splits at its line feeds into title, key, copies and full-account copies; fields
// after the fourth are ignored, missing ones stay empty (and 0).
void ServerSession::SplitRecord(uint32_t i) {
  const char* p = rawRecords[i].data();
  const char* const end = p + rawRecords[i].size();
  std::string* const texts[3] = {&titles[i], &gameKeys[i], &availableCopies[i]};
  for (std::string* text : texts) {
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    SetText(*text, p, std::min(static_cast<size_t>((lf ? lf : end) - p), kMaxField));
    if (!lf) return;
    p = lf + 1;
  }
  const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
  fullAccountCopies[i] = ReadDecimal(std::string_view(p, static_cast<size_t>((lf ? lf : end) - p)));
}

// Consumes from the socket exactly the bytes a byte-at-a-time reader would (through the NUL of
// the last record, not one byte more, so the next reply stays in the socket), in few calls.
// Every record still to come is at least its NUL, so while r records are missing, r bytes can be
// received without looking; when few are missing, peek, find the NULs and receive exactly
// through the last one needed.
bool ServerSession::ReceiveRecords(uint32_t count) {
  std::vector<char> window(kPeekWindow);
  uint32_t index = 0;
  while (index < count) {
    const uint32_t missing = count - index;
    const bool blind = missing >= kBlindReceiveMin;
    long got = blind ? socket.Receive(window.data(), std::min<size_t>(window.size(), missing))
                     : socket.Peek(window.data(), window.size());
    if (got < 0) return ConnectionFailure();
    if (got == 0) {
      // The server closed: the record under way ends with what came, the rest are empty.
      if (rawRecords[index] == "error") {
        rawRecords[index].clear();
        socket.Close();
        return false;
      }
      break;
    }
    const char* const begin = window.data();
    const char* const end = begin + got;
    const char* p = begin;
    while (p < end && index < count) {
      std::string& record = rawRecords[index];
      const char* nul = static_cast<const char*>(std::memchr(p, '\0', static_cast<size_t>(end - p)));
      const size_t length = static_cast<size_t>((nul ? nul : end) - p);
      if (record.empty() && nul && length <= kMaxRecord) {
        SetText(record, p, length);  // the usual case: the whole record is at hand
      } else if (record.size() < kMaxRecord) {
        record.append(p, std::min(length, kMaxRecord - record.size()));
      }
      if (!nul) {
        p = end;
        break;
      }
      p = nul + 1;
      if (record == "error") {
        // The error mark: the socket goes, the flags stay as they are.
        record.clear();
        socket.Close();
        return false;
      }
      ++index;
    }
    if (!blind && !socket.ReceiveExactly(window.data(), static_cast<size_t>(p - begin)))
      return ConnectionFailure();
  }
  return true;
}

}  // namespace vt
