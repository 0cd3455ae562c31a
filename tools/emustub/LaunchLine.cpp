#include "tools/emustub/LaunchLine.h"

#include <cstdio>

namespace vt::emustub {
namespace {

bool IsSchemeChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

std::string ConsoleOf(std::string_view scheme) {
  static const std::pair<std::string_view, std::string_view> kSchemes[] = {
      {"VTNES://", "NES"},        {"zsnes://", "Super Nintendo"},
      {"VTA26://", "Atari 2600"}, {"VTGEN://", "Genesis"},
      {"VTGBC://", "Game Boy"},   {"VTSMS://", "Master System, Game Gear or ColecoVision"}};
  for (const auto& [s, name] : kSchemes)
    if (s == scheme) return std::string(name);
  return "unknown console";
}

}  // namespace

LaunchRequest ParseLaunchLine(std::string_view line) {
  LaunchRequest r;
  std::size_t sep = line.find("://");
  if (sep == std::string_view::npos) return r;
  std::size_t start = sep;
  while (start > 0 && IsSchemeChar(line[start - 1])) --start;
  if (start == sep) return r;
  const bool quoted = start > 0 && line[start - 1] == '"';
  r.scheme = std::string(line.substr(start, sep + 3 - start));
  r.console = ConsoleOf(r.scheme);
  std::string_view address = line.substr(sep + 3);
  // The closing quote is the line's last one: a password may hold quotes of its own.
  if (quoted) address = address.substr(0, address.rfind('"'));
  std::size_t slash = address.rfind('/');
  if (slash != std::string_view::npos) {
    std::string_view key = address.substr(slash + 1);
    while (!key.empty() &&
           (key.back() == ' ' || key.back() == '\t' || key.back() == '\r' || key.back() == '\n'))
      key.remove_suffix(1);
    r.gameKey = std::string(key);
  }
  return r;
}

std::string LogPath(const char* envValue, const std::string& exeDir) {
  if (envValue && *envValue) return envValue;
  if (exeDir.empty()) return "emustub.log";
  char last = exeDir.back();
  return exeDir + ((last == '/' || last == '\\') ? "" : "/") + "emustub.log";
}

std::string FolderLogPath(const std::string& logPath) { return logPath + ".folders"; }

bool AppendLogLine(const std::string& path, std::string_view line) {
  std::FILE* f = std::fopen(path.c_str(), "ab");
  if (!f) return false;
  std::string record(line);
  record += '\n';
  bool ok = std::fwrite(record.data(), 1, record.size(), f) == record.size();
  ok = std::fclose(f) == 0 && ok;
  return ok;
}

std::string JoinAsCommandLine(const std::vector<std::string>& args) {
  std::string out;
  for (const std::string& a : args) {
    if (!out.empty()) out += ' ';
    if (!a.empty() && a.find_first_of(" \t\"") == std::string::npos) {
      out += a;
      continue;
    }
    // Windows quoting: backslashes double only before a quote.
    out += '"';
    std::size_t slashes = 0;
    for (char c : a) {
      if (c == '\\') {
        ++slashes;
        continue;
      }
      out.append(c == '"' ? slashes * 2 + 1 : slashes, '\\');
      slashes = 0;
      out += c;
    }
    out.append(slashes * 2, '\\');
    out += '"';
  }
  return out;
}

}  // namespace vt::emustub
