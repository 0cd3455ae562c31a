// Searching helpers shared by the text formats. Every position they return lies inside the text.
#pragma once

#include <cstddef>
#include <string_view>

namespace vt::configtext {

inline constexpr std::size_t npos = std::string_view::npos;

inline std::size_t Find(std::string_view text, std::string_view word, std::size_t from = 0) {
  if (from == npos || from > text.size()) return npos;
  return text.find(word, from);
}

// The first `word` from `from` on that starts a line.
inline std::size_t FindLine(std::string_view text, std::string_view word, std::size_t from = 0) {
  for (std::size_t at = Find(text, word, from); at != npos; at = Find(text, word, at + 1))
    if (at == 0 || text[at - 1] == '\n') return at;
  return npos;
}

// End of the line content that starts at `from`: the LF, or the CRs before it, or the text's end.
inline std::size_t LineContentEnd(std::string_view text, std::size_t from) {
  std::size_t lf = text.find('\n', from);
  if (lf == npos) return text.size();
  // Every carriage return before the line feed belongs to the line end: a value read with a
  // stray one would be written back as a different line.
  while (lf > from && text[lf - 1] == '\r') --lf;
  return lf;
}

inline std::string_view LineValue(std::string_view text, std::size_t from) {
  if (from > text.size()) return {};
  return text.substr(from, LineContentEnd(text, from) - from);
}

}  // namespace vt::configtext
