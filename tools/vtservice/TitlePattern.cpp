#include "tools/vtservice/TitlePattern.h"

#include <utility>

namespace vt::service {
namespace {

constexpr int kMaxGroupDepth = 64;
constexpr int kMaxBound = 255;
constexpr int kUnbounded = -1;

unsigned char Lower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }
unsigned char Upper(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

struct Node {
  enum Kind { Empty, Char, Any, Class, Bol, Eol, Concat, Alt, Repeat } kind = Empty;
  unsigned char ch = 0;
  std::uint32_t cls = 0;
  int min = 0, max = 0;
  std::vector<Node> kids;
};

bool AddNamedClass(std::string_view name, std::bitset<256>& set) {
  auto add = [&](auto pred) {
    for (int c = 0; c < 128; ++c)
      if (pred(c)) set.set(static_cast<std::size_t>(c));
  };
  if (name == "alpha")
    add([](int c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; });
  else if (name == "digit")
    add([](int c) { return c >= '0' && c <= '9'; });
  else if (name == "alnum")
    add([](int c) { return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z'); });
  else if (name == "upper")
    add([](int c) { return c >= 'A' && c <= 'Z'; });
  else if (name == "lower")
    add([](int c) { return c >= 'a' && c <= 'z'; });
  else if (name == "space")
    add([](int c) { return c == ' ' || (c >= '\t' && c <= '\r'); });
  else if (name == "punct")
    add([](int c) {
      return c > ' ' && c < 127 &&
             !((c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z'));
    });
  else if (name == "xdigit")
    add([](int c) { return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f'); });
  else
    return false;
  return true;
}

class Parser {
public:
  Parser(std::string_view text, std::vector<std::bitset<256>>& classes)
      : s_(text), classes_(classes) {}

  bool Parse(Node& out) {
    if (!ParseAlt(out, 0)) return false;
    return pos_ == s_.size();  // a stray ")" is left unconsumed
  }

private:
  bool AtEnd() const { return pos_ >= s_.size(); }
  char Peek() const { return s_[pos_]; }

  bool ParseAlt(Node& out, int depth) {
    Node first;
    if (!ParseConcat(first, depth)) return false;
    if (AtEnd() || Peek() != '|') {
      out = std::move(first);
      return true;
    }
    out.kind = Node::Alt;
    out.kids.push_back(std::move(first));
    while (!AtEnd() && Peek() == '|') {
      ++pos_;
      Node next;
      if (!ParseConcat(next, depth)) return false;
      out.kids.push_back(std::move(next));
    }
    return true;
  }

  bool ParseConcat(Node& out, int depth) {
    out.kind = Node::Concat;
    while (!AtEnd() && Peek() != '|' && Peek() != ')') {
      Node atom;
      if (!ParseRepeat(atom, depth)) return false;
      out.kids.push_back(std::move(atom));
    }
    return true;
  }

  bool ParseRepeat(Node& out, int depth) {
    char c = Peek();
    if (c == '*' || c == '+' || c == '?') return false;  // nothing to repeat
    if (c == '{' && pos_ + 1 < s_.size() && IsDigit(s_[pos_ + 1])) return false;
    if (!ParseAtom(out, depth)) return false;
    while (!AtEnd()) {
      int min = 0, max = 0;
      c = Peek();
      if (c == '*') {
        min = 0;
        max = kUnbounded;
        ++pos_;
      } else if (c == '+') {
        min = 1;
        max = kUnbounded;
        ++pos_;
      } else if (c == '?') {
        min = 0;
        max = 1;
        ++pos_;
      } else if (c == '{' && pos_ + 1 < s_.size() && IsDigit(s_[pos_ + 1])) {
        if (!ParseBound(min, max)) return false;
      } else {
        break;
      }
      Node rep;
      rep.kind = Node::Repeat;
      rep.min = min;
      rep.max = max;
      rep.kids.push_back(std::move(out));
      out = std::move(rep);
    }
    return true;
  }

  bool ParseNumber(int& value) {
    if (AtEnd() || !IsDigit(Peek())) return false;
    value = 0;
    while (!AtEnd() && IsDigit(Peek())) {
      value = value * 10 + (Peek() - '0');
      if (value > kMaxBound) return false;
      ++pos_;
    }
    return true;
  }

  bool ParseBound(int& min, int& max) {
    ++pos_;  // '{'
    if (!ParseNumber(min)) return false;
    max = min;
    if (!AtEnd() && Peek() == ',') {
      ++pos_;
      max = kUnbounded;
      if (!AtEnd() && IsDigit(Peek()) && !ParseNumber(max)) return false;
    }
    if (AtEnd() || Peek() != '}') return false;
    ++pos_;
    return max == kUnbounded || max >= min;
  }

  bool ParseAtom(Node& out, int depth) {
    char c = s_[pos_++];
    switch (c) {
      case '(': {
        if (depth >= kMaxGroupDepth) return false;
        if (!ParseAlt(out, depth + 1)) return false;
        if (AtEnd() || Peek() != ')') return false;
        ++pos_;
        return true;
      }
      case '.':
        out.kind = Node::Any;
        return true;
      case '^':
        out.kind = Node::Bol;
        return true;
      case '$':
        out.kind = Node::Eol;
        return true;
      case '[':
        return ParseBracket(out);
      case '\\':
        if (AtEnd() || IsDigit(Peek())) return false;
        out.kind = Node::Char;
        out.ch = Lower(static_cast<unsigned char>(s_[pos_++]));
        return true;
      default:
        out.kind = Node::Char;
        out.ch = Lower(static_cast<unsigned char>(c));
        return true;
    }
  }

  bool ParseBracket(Node& out) {
    std::bitset<256> set;
    bool negate = false;
    if (!AtEnd() && Peek() == '^') {
      negate = true;
      ++pos_;
    }
    bool first = true;
    for (;;) {
      if (AtEnd()) return false;
      unsigned char c = static_cast<unsigned char>(s_[pos_]);
      if (c == ']' && !first) {
        ++pos_;
        break;
      }
      first = false;
      if (c == '[' && pos_ + 1 < s_.size() && s_[pos_ + 1] == ':') {
        std::size_t close = s_.find(":]", pos_ + 2);
        if (close == std::string_view::npos) return false;
        if (!AddNamedClass(s_.substr(pos_ + 2, close - pos_ - 2), set)) return false;
        pos_ = close + 2;
        continue;
      }
      if (c == '[' && pos_ + 1 < s_.size() && (s_[pos_ + 1] == '=' || s_[pos_ + 1] == '.'))
        return false;
      ++pos_;
      unsigned char last = c;
      if (pos_ + 1 < s_.size() && s_[pos_] == '-' && s_[pos_ + 1] != ']') {
        last = static_cast<unsigned char>(s_[pos_ + 1]);
        if (last == '[') return false;
        pos_ += 2;
        if (last < c) return false;
      }
      for (unsigned v = c; v <= last; ++v) set.set(v);
    }
    // Fold case into the set, so that matching only needs the lower-case form of the input.
    for (unsigned v = 0; v < 256; ++v) {
      if (set.test(v)) {
        set.set(Lower(static_cast<unsigned char>(v)));
        set.set(Upper(static_cast<unsigned char>(v)));
      }
    }
    if (negate) set.flip();
    out.kind = Node::Class;
    out.cls = static_cast<std::uint32_t>(classes_.size());
    classes_.push_back(set);
    return true;
  }

  std::string_view s_;
  std::size_t pos_ = 0;
  std::vector<std::bitset<256>>& classes_;
};

}  // namespace

// Turns the tree into instructions; stops as soon as the program would exceed its limit, so a
// pattern such as "((a{255}){255}){255}" costs no more than the limit to reject.
class PatternCompiler {
public:
  using Inst = TitlePattern::Inst;
  using Op = TitlePattern::Op;

  explicit PatternCompiler(std::vector<Inst>& program) : p_(program) {}

  bool Emit(const Node& n) {
    if (p_.size() > TitlePattern::kMaxProgram) return false;
    switch (n.kind) {
      case Node::Empty:
        return true;
      case Node::Char:
        return Push({Op::Char, n.ch});
      case Node::Any:
        return Push({Op::Any});
      case Node::Class:
        return Push({Op::Class, 0, n.cls});
      case Node::Bol:
        return Push({Op::Bol});
      case Node::Eol:
        return Push({Op::Eol});
      case Node::Concat:
        for (const Node& k : n.kids)
          if (!Emit(k)) return false;
        return true;
      case Node::Alt:
        return EmitAlt(n);
      case Node::Repeat:
        return EmitRepeat(n);
    }
    return false;
  }

private:
  bool Push(Inst i) {
    if (p_.size() >= TitlePattern::kMaxProgram) return false;
    p_.push_back(i);
    return true;
  }
  std::uint32_t Here() const { return static_cast<std::uint32_t>(p_.size()); }

  bool EmitAlt(const Node& n) {
    std::vector<std::size_t> jumps;
    for (std::size_t i = 0; i < n.kids.size(); ++i) {
      bool last = i + 1 == n.kids.size();
      std::size_t split = p_.size();
      if (!last && !Push({Op::Split})) return false;
      if (!last) p_[split].x = Here();
      if (!Emit(n.kids[i])) return false;
      if (!last) {
        jumps.push_back(p_.size());
        if (!Push({Op::Jmp})) return false;
        p_[split].y = Here();
      }
    }
    for (std::size_t j : jumps) p_[j].x = Here();
    return true;
  }

  bool EmitRepeat(const Node& n) {
    const Node& body = n.kids.front();
    for (int i = 0; i < n.min; ++i)
      if (!Emit(body)) return false;
    if (n.max == kUnbounded) {
      std::size_t split = p_.size();
      if (!Push({Op::Split})) return false;
      p_[split].x = Here();
      if (!Emit(body)) return false;
      if (!Push({Op::Jmp, 0, static_cast<std::uint32_t>(split)})) return false;
      p_[split].y = Here();
      return true;
    }
    std::vector<std::size_t> splits;
    for (int i = n.min; i < n.max; ++i) {
      splits.push_back(p_.size());
      if (!Push({Op::Split})) return false;
      p_[splits.back()].x = Here();
      if (!Emit(body)) return false;
    }
    for (std::size_t s : splits) p_[s].y = Here();
    return true;
  }

  std::vector<Inst>& p_;
};

std::optional<TitlePattern> TitlePattern::Compile(std::string_view pattern) {
  if (pattern.size() > kMaxPatternBytes) return std::nullopt;
  TitlePattern result;
  Node root;
  Parser parser(pattern, result.classes_);
  if (!parser.Parse(root)) return std::nullopt;
  PatternCompiler compiler(result.program_);
  if (!compiler.Emit(root)) return std::nullopt;
  if (result.program_.size() >= kMaxProgram) return std::nullopt;
  result.program_.push_back({Op::Match});
  return result;
}

bool TitlePattern::Matches(std::string_view title) const {
  // Every thread list holds each instruction at most once, so one step costs at most the
  // program size; generations stamp which instructions a list already holds.
  const std::size_t n = program_.size();
  std::vector<std::uint32_t> seen(n, 0);
  std::vector<std::uint32_t> current, next, stack;
  current.reserve(n);
  next.reserve(n);
  const std::size_t len = title.size();

  auto add = [&](std::vector<std::uint32_t>& list, std::uint32_t gen, std::uint32_t start,
                 std::size_t pos) {
    stack.push_back(start);
    while (!stack.empty()) {
      std::uint32_t pc = stack.back();
      stack.pop_back();
      if (seen[pc] == gen) continue;
      seen[pc] = gen;
      const Inst& in = program_[pc];
      switch (in.op) {
        case Op::Jmp:
          stack.push_back(in.x);
          break;
        case Op::Split:
          stack.push_back(in.y);
          stack.push_back(in.x);
          break;
        case Op::Bol:
          if (pos == 0) stack.push_back(pc + 1);
          break;
        case Op::Eol:
          if (pos == len) stack.push_back(pc + 1);
          break;
        default:
          list.push_back(pc);
          break;
      }
    }
  };

  for (std::size_t pos = 0; pos <= len; ++pos) {
    const auto gen = static_cast<std::uint32_t>(pos + 1);
    add(current, gen, 0, pos);  // the match may begin anywhere
    const unsigned char c = pos < len ? Lower(static_cast<unsigned char>(title[pos])) : 0;
    for (std::uint32_t pc : current) {
      const Inst& in = program_[pc];
      if (in.op == Op::Match) return true;
      if (pos == len) continue;
      bool ok = (in.op == Op::Any) || (in.op == Op::Char && in.ch == c) ||
                (in.op == Op::Class && classes_[in.x].test(c));
      if (ok) add(next, gen + 1, pc + 1, pos + 1);
    }
    current.swap(next);
    next.clear();
  }
  return false;
}

}  // namespace vt::service
