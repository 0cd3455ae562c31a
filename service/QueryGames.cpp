// The catalogue query: "qr", the alias, the pattern, "ok", the 5-byte count, then the records.

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

// A text as the client sends it: its characters up to the first NUL, then a NUL.
std::string Terminated(const std::string& text) {
  std::string out = text.substr(0, text.find('\0'));
  out.push_back('\0');
  return out;
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
  rawRecords.assign(gameCount, std::string());
  titles.assign(gameCount, std::string());
  gameKeys.assign(gameCount, std::string());
  availableCopies.assign(gameCount, std::string());
  fullAccountCopies.assign(gameCount, 0);

  if (!ReceiveRecords(gameCount)) return false;

  for (uint32_t i = 0; i < gameCount; ++i) {
    std::string_view rest = rawRecords[i];
    size_t fields = 0;
    std::string_view field[4];
    // A record splits into as many fields as it has line feeds plus one; fields after the
    // fourth are ignored.
    while (fields < 4) {
      size_t lf = rest.find('\n');
      field[fields++] = rest.substr(0, lf);
      if (lf == std::string_view::npos) break;
      rest.remove_prefix(lf + 1);
    }
    titles[i] = std::string(field[0].substr(0, kMaxField));
    if (fields > 1) gameKeys[i] = std::string(field[1].substr(0, kMaxField));
    if (fields > 2) availableCopies[i] = std::string(field[2].substr(0, kMaxField));
    fullAccountCopies[i] = fields > 3 ? ReadDecimal(field[3]) : 0;
  }
  return true;
}

// Consumes from the socket exactly the bytes a byte-at-a-time reader would (through the NUL of
// the last record, not one byte more, so the next reply stays in the socket), but in few calls:
// peek a window, find the NULs in it, receive exactly through the last one needed.
bool ServerSession::ReceiveRecords(uint32_t count) {
  std::vector<char> window(kPeekWindow);
  std::string current;
  uint32_t index = 0;
  auto endRecord = [&]() {
    if (current == "error") return false;
    rawRecords[index++] = std::move(current);
    current.clear();
    return true;
  };
  while (index < count) {
    const long peeked = socket.Peek(window.data(), window.size());
    if (peeked < 0) return ConnectionFailure();
    if (peeked == 0) {
      // The server closed: the record under way ends with what came, the rest are empty.
      while (index < count) {
        if (!endRecord()) {
          socket.Close();
          return false;
        }
      }
      break;
    }
    size_t take = static_cast<size_t>(peeked);
    uint32_t needed = count - index;
    for (size_t p = 0; p < take; ++p) {
      if (window[p] == '\0' && --needed == 0) {
        take = p + 1;
        break;
      }
    }
    if (!socket.ReceiveExactly(window.data(), take)) return ConnectionFailure();
    for (size_t p = 0; p < take; ++p) {
      if (window[p] != '\0') {
        if (current.size() < kMaxRecord) current.push_back(window[p]);
      } else if (!endRecord()) {
        // The error mark: the socket goes, the flags stay as they are.
        socket.Close();
        return false;
      }
    }
  }
  return true;
}

}  // namespace vt
