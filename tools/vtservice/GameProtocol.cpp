#include "tools/vtservice/GameProtocol.h"

#include <cstdlib>
#include <vector>

#include "tools/vtservice/ClientStream.h"
#include "tools/vtservice/GameServer.h"
#include "tools/vtservice/TitlePattern.h"

namespace vt::service {

std::string BuildQueryAnswer(const Catalogue& catalogue, std::string_view aliasText,
                             std::string_view patternText, bool fullAccount) {
  auto pattern = TitlePattern::Compile(patternText);
  if (!pattern) return std::string("1\0\0\0\0error\0", 11);
  std::vector<const Game*> games;
  if (auto aliases = ParseAliasText(aliasText)) games = catalogue.Select(*aliases, *pattern);
  if (games.size() > 99999) games.resize(99999);  // what the 5-byte count can say
  std::string out = std::to_string(games.size());
  out.resize(5, '\0');
  for (const Game* g : games) {
    out += g->title;
    out += '\n';
    out += g->key;
    out += '\n';
    out += std::to_string(fullAccount ? g->fullCopies : g->freeCopies);
    out += '\n';
    out += std::to_string(g->fullCopies);
    out += '\0';
  }
  return out;
}

namespace {

// Clients send their texts without terminator; be lenient with one that adds NULs anyway.
void DropTrailingNuls(std::string& s) {
  while (!s.empty() && s.back() == '\0') s.pop_back();
}

constexpr std::size_t kMaxCommand = 16;
constexpr std::size_t kMaxQueryText = 1023;
constexpr std::size_t kAddressField = 64;

// Reads whatever comes until the peer closes or falls silent past the idle time-out.
void WaitForClose(ClientStream& s) {
  std::string ignored;
  while (s.ReadBurst(Catalogue::kMaxUser, ignored) == ReadStatus::Ok) {}
}

// The spoiled form of a catalogue answer (see Fault); the connection ends after it.
void SendSpoiled(Fault fault, const std::string& answer, ClientStream& s) {
  const std::size_t firstRecordEnd = answer.find('\0', 5);
  switch (fault) {
    case Fault::Stall:
      if (s.Send(std::string_view(answer).substr(0, 5 + (answer.size() - 5) / 2))) WaitForClose(s);
      return;
    case Fault::CloseMidRecord:
      s.Send(std::string_view(answer).substr(
          0, firstRecordEnd == std::string::npos ? 5 : 5 + (firstRecordEnd - 5) / 2));
      return;
    case Fault::CountNotHonoured: {
      std::string lie = std::to_string(std::atoi(answer.c_str()) + 3);
      lie.resize(5, '\0');
      s.Send(lie + answer.substr(5));
      return;
    }
    case Fault::Garbage: {
      std::string bytes("9\0\0\0\0", 5);
      for (int i = 0; i < 4096; ++i) bytes += static_cast<char>(1 + (i * 37) % 255);
      s.Send(bytes);
      return;
    }
    case Fault::Oversized:
      s.Send(std::string("1\0\0\0\0", 5) + std::string(4 << 20, 'x'));
      return;
    default:
      return;
  }
}

}  // namespace

void RunGameProtocol(GameServer& server, GameServer::Connection& c, ClientStream& s) {
  bool full = false;
  for (;;) {
    std::string user, password;
    if (s.ReadBurst(Catalogue::kMaxUser, user) != ReadStatus::Ok) return;
    if (server.config().fault == Fault::SilentLogin) return WaitForClose(s);
    DropTrailingNuls(user);
    if (!s.Send("ok")) return;
    if (s.ReadBurst(Catalogue::kMaxPassword, password) != ReadStatus::Ok) return;
    DropTrailingNuls(password);
    LoginVerdict v = server.Login(c, user, password, &full);
    if (v == LoginVerdict::Ok) break;
    if (!s.Send(v == LoginVerdict::InUse ? kLoginInUse : kLoginIncorrect)) return;
    // A refused login keeps the connection; the client starts over with its user name.
  }
  if (!s.Send(kLoginOk)) return;

  std::string field, command;
  if (s.ReadExact(kAddressField, field) != ReadStatus::Ok) return;
  if (!s.Send("ok")) return;  // the client reads at most 3 bytes here
  if (s.ReadToken(kMaxCommand, command) != ReadStatus::Ok || command != "qp") return;
  const std::string_view tier = full ? "True" : "False";
  if (!s.Send(tier)) return;

  for (;;) {
    if (s.ReadToken(kMaxCommand, command) != ReadStatus::Ok) return;
    if (command == "qp") {
      if (!s.Send(tier)) return;
      continue;
    }
    if (command != "qr") return;
    std::string alias, pattern, ok;
    if (!s.Send("ok") || s.ReadToken(kMaxQueryText, alias) != ReadStatus::Ok) return;
    if (!s.Send("ok") || s.ReadToken(kMaxQueryText, pattern) != ReadStatus::Ok) return;
    if (!s.Send("ok") || s.ReadToken(kMaxCommand, ok) != ReadStatus::Ok || ok != "ok") return;
    const std::string answer = BuildQueryAnswer(server.catalogue(), alias, pattern, full);
    if (server.SpoilsQuery()) return SendSpoiled(server.config().fault, answer, s);
    if (!s.Send(answer)) return;
  }
}

}  // namespace vt::service
