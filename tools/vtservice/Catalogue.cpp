#include "tools/vtservice/Catalogue.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "tools/vtservice/TitlePattern.h"

namespace vt::service {
namespace {

bool IsAliasChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}
bool IsKeyChar(char c) { return IsAliasChar(c) || c == '-' || c == '_'; }

bool ValidAlias(std::string_view a) {
  return !a.empty() && a.size() <= Catalogue::kMaxAlias &&
         std::all_of(a.begin(), a.end(), IsAliasChar);
}

// Printable text: no control bytes (a line feed or NUL would break the record framing).
bool ValidText(std::string_view t, std::size_t max) {
  return !t.empty() && t.size() <= max && std::none_of(t.begin(), t.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
  });
}

std::optional<int> ParseCopies(std::string_view s) {
  if (s.empty() || s.size() > 4) return std::nullopt;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v;
}

// Splits off `count` fields separated by '|'; the last field is the rest of the line, so it
// may itself contain '|'.
bool SplitFields(std::string_view line, std::size_t count, std::vector<std::string_view>& out) {
  out.clear();
  while (out.size() + 1 < count) {
    std::size_t bar = line.find('|');
    if (bar == std::string_view::npos) return false;
    out.push_back(line.substr(0, bar));
    line.remove_prefix(bar + 1);
  }
  out.push_back(line);
  return true;
}

unsigned char Fold(char c) {
  auto u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') ? u + 32 : u;
}

}  // namespace

std::optional<Catalogue> Catalogue::Parse(std::string_view text, std::string* error) {
  Catalogue cat;
  std::vector<std::string_view> f;
  std::size_t lineNo = 0;
  auto fail = [&](const std::string& what) {
    if (error) *error = "line " + std::to_string(lineNo) + ": " + what;
    return std::nullopt;
  };
  if (text.size() > kMaxFileBytes) {
    if (error) *error = "data file larger than 16 MB";
    return std::nullopt;
  }
  while (!text.empty()) {
    ++lineNo;
    std::size_t nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;

    if (line.starts_with("account|")) {
      if (!SplitFields(line, 4, f)) return fail("an account line is account|TIER|USER|PASSWORD");
      if (f[1] != "free" && f[1] != "full") return fail("account tier must be free or full");
      if (!ValidText(f[2], kMaxUser) || f[2].find('|') != std::string_view::npos)
        return fail("bad user name");
      if (!ValidText(f[3], kMaxPassword)) return fail("bad password");
      std::string user(f[2]);
      if (cat.accountIndex_.count(user)) return fail("account " + user + " listed twice");
      cat.accountIndex_[user] = cat.accounts_.size();
      cat.accounts_.push_back({user, std::string(f[3]), f[1] == "full"});
    } else if (line.starts_with("game|")) {
      if (!SplitFields(line, 6, f)) return fail("a game line is game|ALIAS|KEY|FREE|FULL|TITLE");
      if (!ValidAlias(f[1])) return fail("bad console alias");
      if (f[2].empty() || f[2].size() > kMaxKey ||
          !std::all_of(f[2].begin(), f[2].end(), IsKeyChar))
        return fail("bad game key (letters, digits, - and _, at most 64)");
      auto freeCopies = ParseCopies(f[3]);
      auto fullCopies = ParseCopies(f[4]);
      if (!freeCopies || !fullCopies) return fail("copies must be whole numbers from 0 to 9999");
      if (!ValidText(f[5], kMaxTitle)) return fail("bad title (1 to 200 printable bytes)");
      std::string key(f[2]);
      if (cat.gameIndex_.count(key)) return fail("game key " + key + " listed twice");
      cat.gameIndex_[key] = cat.games_.size();
      cat.games_.push_back({std::string(f[1]), key, std::string(f[5]), *freeCopies, *fullCopies});
    } else {
      return fail("unknown line (expected account|... or game|...)");
    }
  }
  return cat;
}

std::optional<Catalogue> Catalogue::Load(const std::string& path, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (error) *error = "cannot open " + path;
    return std::nullopt;
  }
  std::string text;
  char buf[65536];
  while (in.read(buf, sizeof buf) || in.gcount() > 0) {
    text.append(buf, static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxFileBytes) {
      if (error) *error = path + ": data file larger than 16 MB";
      return std::nullopt;
    }
  }
  std::string why;
  auto cat = Parse(text, &why);
  if (!cat && error) *error = path + ": " + why;
  return cat;
}

const Account* Catalogue::FindAccount(std::string_view user) const {
  auto it = accountIndex_.find(std::string(user));
  return it == accountIndex_.end() ? nullptr : &accounts_[it->second];
}

const Game* Catalogue::FindGame(std::string_view key) const {
  auto it = gameIndex_.find(std::string(key));
  return it == gameIndex_.end() ? nullptr : &games_[it->second];
}

std::vector<const Game*> Catalogue::Select(const std::vector<std::string>& aliases,
                                           const TitlePattern& pattern) const {
  std::vector<const Game*> out;
  for (const Game& g : games_)
    if (std::find(aliases.begin(), aliases.end(), g.alias) != aliases.end() &&
        pattern.Matches(g.title))
      out.push_back(&g);
  std::stable_sort(out.begin(), out.end(), [](const Game* a, const Game* b) {
    return std::lexicographical_compare(a->title.begin(), a->title.end(), b->title.begin(),
                                        b->title.end(),
                                        [](char x, char y) { return Fold(x) < Fold(y); });
  });
  return out;
}

std::optional<std::vector<std::string>> ParseAliasText(std::string_view text) {
  static constexpr std::string_view kJoin = "' OR Alias='";
  std::vector<std::string> aliases;
  for (;;) {
    std::size_t at = text.find(kJoin);
    std::string_view part = text.substr(0, at);
    if (!ValidAlias(part)) return std::nullopt;
    aliases.emplace_back(part);
    if (at == std::string_view::npos) break;
    text.remove_prefix(at + kJoin.size());
    if (aliases.size() >= 16) return std::nullopt;
  }
  return aliases;
}

std::string ConsoleName(std::string_view alias) {
  static const std::pair<std::string_view, std::string_view> kNames[] = {
      {"NES", "Nintendo Entertainment System"},
      {"SNES", "Super Nintendo"},
      {"2600", "Atari 2600"},
      {"GEN", "Sega Genesis"},
      {"GB", "Game Boy"},
      {"GBC", "Game Boy Color"},
      {"SMS", "Sega Master System"},
      {"SGG", "Sega Game Gear"},
      {"COL", "ColecoVision"}};
  for (const auto& [a, name] : kNames)
    if (a == alias) return std::string(name);
  return std::string(alias);
}

}  // namespace vt::service
