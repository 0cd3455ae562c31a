#include "tools/vtservice/GameProtocol.h"

#include <vector>

#include "tools/vtservice/ClientStream.h"
#include "tools/vtservice/GameServer.h"
#include "tools/vtservice/TitlePattern.h"

namespace vt::service {

std::string BuildQueryAnswer(const Catalogue& catalogue, std::string_view aliasText, std::string_view patternText,
                             bool fullAccount) {
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

}  // namespace

void RunGameProtocol(GameServer& server, GameServer::Connection& c, ClientStream& s) {
  bool full = false;
  for (;;) {
    std::string user, password;
    if (s.ReadBurst(Catalogue::kMaxUser, user) != ReadStatus::Ok) return;
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
    if (!s.Send(BuildQueryAnswer(server.catalogue(), alias, pattern, full))) return;
  }
}

}  // namespace vt::service
