// The file-backed settings store.
//
// File format (text, one item per line, a person can edit it):
//
//   # comment lines and blank lines are ignored
//   [HKEY_LOCAL_MACHINE\Software\Vintara]
//   "NES_PATH"=1:"C:\\Vintara\\nester.exe"
//   "COUNT"=0:"\x05\x00\x00\x00"
//
// A bracket line opens a key: the hive (HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER), then the key
// path; bytes of the path outside printable ASCII, and '%' and ']', are written as %HH. Each
// following line "NAME"=TYPE:"BYTES" is a value of that key: TYPE is the decimal type code,
// NAME and BYTES are quoted with \\, \" and \xHH (two hex digits) for bytes outside printable
// ASCII. Lines that do not parse are skipped on reading (and so dropped at the next write).
// A key exists if it has a bracket line or a descendant has one, as in the registry.
#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

#include "platform/FileReplace.h"
#include "platform/SettingsStore.h"

namespace vt {
namespace {

constexpr std::string_view kMachine = "HKEY_LOCAL_MACHINE";
constexpr std::string_view kUser = "HKEY_CURRENT_USER";

struct Value {
  std::string name;
  uint32_t type = 0;
  std::string bytes;
};

struct Key {
  Hive hive = Hive::Machine;
  std::string path;  // normalised: components joined by single backslashes
  std::vector<Value> values;
};

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Drops empty components, so "Software\\\\Vintara\\" and "Software\\Vintara" name one key.
std::string NormalisePath(std::string_view path) {
  std::string out;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) {
      if (!out.empty()) out += '\\';
      out.append(path.substr(start, end - start));
    }
    start = end + 1;
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = Lower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

const char kHex[] = "0123456789ABCDEF";

std::string EscapePath(std::string_view path) {
  std::string out;
  for (char ch : path) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c >= 0x7f || c == '%' || c == ']') {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += ch;
    }
  }
  return out;
}

std::optional<std::string> UnescapePath(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    int hi = HexDigit(text[i + 1]), lo = HexDigit(text[i + 2]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return out;
}

std::string Quote(std::string_view bytes) {
  std::string out = "\"";
  for (char ch : bytes) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c == '\\' || c == '"') {
      out += '\\';
      out += ch;
    } else if (c < 0x20 || c >= 0x7f) {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += ch;
    }
  }
  out += '"';
  return out;
}

// Reads a quoted string at text[pos]; pos ends after the closing quote.
std::optional<std::string> Unquote(std::string_view text, size_t& pos) {
  if (pos >= text.size() || text[pos] != '"') return std::nullopt;
  std::string out;
  for (size_t i = pos + 1; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"') {
      pos = i + 1;
      return out;
    }
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++i >= text.size()) return std::nullopt;
    if (text[i] == '\\' || text[i] == '"') {
      out += text[i];
    } else if (text[i] == 'x' && i + 2 < text.size()) {
      int hi = HexDigit(text[i + 1]), lo = HexDigit(text[i + 2]);
      if (hi < 0 || lo < 0) return std::nullopt;
      out += static_cast<char>(hi * 16 + lo);
      i += 2;
    } else {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

std::optional<Value> ParseValue(std::string_view line) {
  size_t pos = 0;
  auto name = Unquote(line, pos);
  if (!name || pos >= line.size() || line[pos] != '=') return std::nullopt;
  ++pos;
  uint64_t type = 0;
  size_t digits = 0;
  while (pos < line.size() && line[pos] >= '0' && line[pos] <= '9') {
    type = type * 10 + static_cast<uint64_t>(line[pos] - '0');
    if (type > 0xFFFFFFFFu) return std::nullopt;
    ++pos;
    ++digits;
  }
  if (digits == 0 || pos >= line.size() || line[pos] != ':') return std::nullopt;
  ++pos;
  auto bytes = Unquote(line, pos);
  if (!bytes || pos != line.size()) return std::nullopt;
  return Value{std::move(*name), static_cast<uint32_t>(type), std::move(*bytes)};
}

std::optional<Key> ParseHeader(std::string_view line) {
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
  std::string_view inner = line.substr(1, line.size() - 2);
  Key key;
  std::string_view rest;
  auto starts = [&](std::string_view hive) {
    return inner.size() >= hive.size() && SameRegistryName(inner.substr(0, hive.size()), hive) &&
           (inner.size() == hive.size() || inner[hive.size()] == '\\');
  };
  if (starts(kMachine)) {
    key.hive = Hive::Machine;
    rest = inner.substr(kMachine.size());
  } else if (starts(kUser)) {
    key.hive = Hive::User;
    rest = inner.substr(kUser.size());
  } else {
    return std::nullopt;
  }
  auto path = UnescapePath(rest);
  if (!path) return std::nullopt;
  key.path = NormalisePath(*path);
  return key;
}

class FileSettings final : public SettingsStore {
public:
  FileSettings(std::string path, SecretProtector* protector)
      : path_(std::move(path)), protector_(protector) {}

  bool KeyExists(Hive hive, const std::string& key) override {
    std::vector<Key> keys;
    Load(keys);
    return Exists(keys, hive, NormalisePath(key));
  }

  bool CreateKey(Hive hive, const std::string& key) override {
    std::vector<Key> keys;
    Load(keys);
    std::string path = NormalisePath(key);
    if (Find(keys, hive, path)) return true;
    keys.push_back(Key{hive, path, {}});
    return Save(keys);
  }

  bool QueryValue(Hive hive, const std::string& key, const std::string& name, std::string& bytes,
                  uint32_t* type) override {
    std::vector<Key> keys;
    Load(keys);
    Key* k = Find(keys, hive, NormalisePath(key));
    if (!k) return false;
    for (const Value& v : k->values) {
      if (SameRegistryName(v.name, name)) {
        bytes = v.bytes;
        if (type) *type = v.type;
        return true;
      }
    }
    return false;
  }

  // One replacement of the file for the whole batch: a reader sees all of it or none.
  bool SetValues(Hive hive, const std::string& key, std::span<const NamedValue> values) override {
    std::vector<Key> keys;
    Load(keys);
    std::string path = NormalisePath(key);
    Key* k = Find(keys, hive, path);
    if (!k) {
      // A key known only through a descendant exists but has no line of its own yet.
      if (!Exists(keys, hive, path)) return false;
      keys.push_back(Key{hive, path, {}});
      k = &keys.back();
    }
    for (const NamedValue& value : values) {
      auto it = std::find_if(k->values.begin(), k->values.end(),
                             [&](const Value& v) { return SameRegistryName(v.name, value.name); });
      if (it == k->values.end()) {
        k->values.push_back(Value{std::string(value.name), value.type, std::string(value.bytes)});
      } else {
        it->type = value.type;
        it->bytes.assign(value.bytes);
      }
    }
    return Save(keys);
  }

  bool DeleteKey(Hive hive, const std::string& key) override {
    std::vector<Key> keys;
    Load(keys);
    const std::string path = NormalisePath(key);
    if (path.empty()) return false;  // never a whole hive
    const auto gone = std::remove_if(keys.begin(), keys.end(), [&](const Key& k) {
      return k.hive == hive && Within(k.path, path);
    });
    if (gone == keys.end()) return true;
    keys.erase(gone, keys.end());
    return Save(keys);
  }

  SecretProtector* Protector() override { return protector_; }

private:
  // The key itself or one of its descendants.
  static bool Within(const std::string& keyPath, const std::string& path) {
    return keyPath.size() >= path.size() &&
           SameRegistryName(std::string_view(keyPath).substr(0, path.size()), path) &&
           (keyPath.size() == path.size() || keyPath[path.size()] == '\\');
  }

  static Key* Find(std::vector<Key>& keys, Hive hive, const std::string& path) {
    for (Key& k : keys)
      if (k.hive == hive && SameRegistryName(k.path, path)) return &k;
    return nullptr;
  }

  static bool Exists(std::vector<Key>& keys, Hive hive, const std::string& path) {
    if (path.empty()) return true;  // the hive itself
    for (const Key& k : keys)
      if (k.hive == hive && Within(k.path, path)) return true;
    return false;
  }

  void Load(std::vector<Key>& keys) const {
    std::string text;
    if (!ReadWholeFile(path_, text)) return;  // missing file: empty store
    Key* current = nullptr;
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string_view line(text.data() + start, end - start);
      start = end + 1;
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (line.empty() || line.front() == '#') continue;
      if (line.front() == '[') {
        current = nullptr;
        if (auto key = ParseHeader(line)) {
          current = Find(keys, key->hive, key->path);
          if (!current) {
            keys.push_back(std::move(*key));
            current = &keys.back();
          }
        }
        continue;
      }
      if (!current) continue;
      if (auto value = ParseValue(line)) {
        auto it = std::find_if(current->values.begin(), current->values.end(), [&](const Value& v) {
          return SameRegistryName(v.name, value->name);
        });
        if (it == current->values.end())
          current->values.push_back(std::move(*value));
        else
          *it = std::move(*value);
      }
    }
  }

  bool Save(const std::vector<Key>& keys) const {
    std::string text = "# VTBrowser settings\n";
    for (const Key& k : keys) {
      text += '[';
      text += k.hive == Hive::Machine ? kMachine : kUser;
      if (!k.path.empty()) {
        text += '\\';
        text += EscapePath(k.path);
      }
      text += "]\n";
      for (const Value& v : k.values) {
        text += Quote(v.name);
        text += '=';
        text += std::to_string(v.type);
        text += ':';
        text += Quote(v.bytes);
        text += '\n';
      }
    }
    return WriteFileAtomically(path_, text);
  }

  std::string path_;
  SecretProtector* protector_;
};

}  // namespace

std::unique_ptr<SettingsStore> OpenFileSettings(const std::string& path,
                                                SecretProtector* protector) {
  return std::make_unique<FileSettings>(path, protector);
}

}  // namespace vt
