// The service's accounts and games, loaded once at start from a data file (format in
// docs/service.md) and read by every connection without locks.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vt::service {

class TitlePattern;

struct Account {
  std::string user;
  std::string password;
  bool full = false;
};

struct Game {
  std::string alias;
  std::string key;
  std::string title;
  int freeCopies = 0;  // copies free for free accounts
  int fullCopies = 0;  // copies free for full accounts
};

class Catalogue {
public:
  // Limits that keep every record within what clients read: a record is at most 1023 bytes
  // and its first three fields at most 254 bytes each.
  static constexpr std::size_t kMaxTitle = 200;
  static constexpr std::size_t kMaxKey = 64;
  static constexpr std::size_t kMaxAlias = 16;
  static constexpr std::size_t kMaxUser = 255;
  static constexpr std::size_t kMaxPassword = 255;
  static constexpr int kMaxCopies = 9999;
  static constexpr std::size_t kMaxFileBytes = 16 * 1024 * 1024;

  // On failure `error` names the line and what is wrong with it.
  static std::optional<Catalogue> Parse(std::string_view text, std::string* error);
  static std::optional<Catalogue> Load(const std::string& path, std::string* error);

  const Account* FindAccount(std::string_view user) const;
  const Game* FindGame(std::string_view key) const;

  // Games of any of the aliases whose title the pattern matches, ordered by title without
  // regard to case (ties keep file order).
  std::vector<const Game*> Select(const std::vector<std::string>& aliases,
                                  const TitlePattern& pattern) const;

  const std::vector<Game>& games() const { return games_; }
  const std::vector<Account>& accounts() const { return accounts_; }

private:
  std::vector<Account> accounts_;
  std::vector<Game> games_;
  std::unordered_map<std::string, std::size_t> accountIndex_;
  std::unordered_map<std::string, std::size_t> gameIndex_;
};

// The alias text of a query is one alias or several joined by "' OR Alias='" (the client
// sends "GB' OR Alias='GBC" for its Game Boy button). nullopt for anything else.
std::optional<std::vector<std::string>> ParseAliasText(std::string_view text);

// Display name of a console alias for the web pages; the alias itself when unknown.
std::string ConsoleName(std::string_view alias);

}  // namespace vt::service
