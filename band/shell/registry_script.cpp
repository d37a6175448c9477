// The interpreter of registration scripts: a tokenizer, a recursive parser and the two walks.
#include "band/shell/registry_script.h"

#include <cctype>
#include <cstdlib>

#include "common/ascii.h"
#include "common/hex.h"

namespace ph {
namespace {

struct Token {
  enum Kind { kEnd, kWord, kQuoted, kOpen, kClose, kEquals } kind = kEnd;
  std::string text;
};

class Parser {
 public:
  Parser(std::string_view text, const std::map<std::string, std::string>& variables, std::string* error)
      : text_(text), variables_(variables), error_(error) {}

  std::optional<RegistryScript> Script() {
    RegistryScript script;
    Next();
    while (token_.kind != Token::kEnd) {
      ScriptRoot root;
      if (token_.kind != Token::kWord || !RootOf(token_.text, &root.root)) return Fail("unknown root key");
      Next();
      if (token_.kind != Token::kOpen) return Fail("'{' expected after the root key");
      Next();
      if (!Block(&root.keys, nullptr)) return std::nullopt;
      script.push_back(std::move(root));
    }
    if (failed_) return std::nullopt;
    return script;
  }

 private:
  std::nullopt_t Fail(const std::string& why) {
    if (!failed_ && error_) *error_ = why;
    failed_ = true;
    return std::nullopt;
  }

  static bool RootOf(std::string_view name, RegistryRoot* root) {
    if (EqualsIgnoringAsciiCase(name, "HKCR") || EqualsIgnoringAsciiCase(name, "HKEY_CLASSES_ROOT")) {
      *root = RegistryRoot::kClassesRoot;
    } else if (EqualsIgnoringAsciiCase(name, "HKLM") || EqualsIgnoringAsciiCase(name, "HKEY_LOCAL_MACHINE")) {
      *root = RegistryRoot::kLocalMachine;
    } else if (EqualsIgnoringAsciiCase(name, "HKCU") || EqualsIgnoringAsciiCase(name, "HKEY_CURRENT_USER")) {
      *root = RegistryRoot::kCurrentUser;
    } else {
      return false;
    }
    return true;
  }

  bool IsWord(std::string_view word) const {
    return token_.kind == Token::kWord && EqualsIgnoringAsciiCase(token_.text, word);
  }
  bool IsName() const { return token_.kind == Token::kWord || token_.kind == Token::kQuoted; }

  // The entries of a block up to and including its closing brace: sub-keys, and named values
  // ("val") when the block belongs to a key.
  bool Block(std::vector<ScriptKey>* keys, std::vector<ScriptValue>* values) {
    while (!failed_) {
      if (token_.kind == Token::kClose) {
        Next();
        return !failed_;
      }
      if (values && IsWord("val")) {
        Next();
        if (!IsName()) return Fail("value name expected"), false;
        ScriptValue value;
        value.name = token_.text;
        Next();
        if (token_.kind != Token::kEquals) return Fail("'=' expected after a value name"), false;
        Next();
        if (!Value(&value)) return false;
        values->push_back(std::move(value));
        continue;
      }
      if (!OneKey(keys)) return false;
    }
    return false;
  }

  // [marker] name [= type data] [{ block }]
  bool OneKey(std::vector<ScriptKey>* keys) {
    ScriptKey key;
    if (IsWord("NoRemove")) key.marker = KeyMarker::kNoRemove;
    if (IsWord("ForceRemove")) key.marker = KeyMarker::kForceRemove;
    if (IsWord("Delete")) key.marker = KeyMarker::kDelete;
    if (key.marker != KeyMarker::kNone) Next();
    if (!IsName()) return Fail("key name expected"), false;
    key.name = token_.text;
    Next();
    if (token_.kind == Token::kEquals) {
      Next();
      ScriptValue value;
      if (!Value(&value)) return false;
      key.values.push_back(std::move(value));
    }
    if (token_.kind == Token::kOpen) {
      Next();
      if (!Block(&key.children, &key.values)) return false;
    }
    keys->push_back(std::move(key));
    return !failed_;
  }

  bool Value(ScriptValue* value) {
    if (token_.kind != Token::kWord) return Fail("value type expected"), false;
    const std::string type = token_.text;
    Next();
    if (!IsName()) return Fail("value data expected"), false;
    const std::string& data = token_.text;
    if (EqualsIgnoringAsciiCase(type, "s")) {
      value->type = RegistryType::kString;
      value->data.assign(data.begin(), data.end());
      value->data.push_back(0);
    } else if (EqualsIgnoringAsciiCase(type, "d")) {
      char* end = nullptr;
      const unsigned long number = std::strtoul(data.c_str(), &end, 0);
      if (data.empty() || *end != 0) return Fail("not a number: " + data), false;
      value->type = RegistryType::kDword;
      for (int i = 0; i < 4; ++i) value->data.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
    } else if (EqualsIgnoringAsciiCase(type, "b")) {
      if (data.size() % 2 != 0) return Fail("odd number of hex digits"), false;
      value->type = RegistryType::kBinary;
      for (std::size_t i = 0; i < data.size(); i += 2) {
        const int high = HexValue(data[i]), low = HexValue(data[i + 1]);
        if (high < 0 || low < 0) return Fail("not hex: " + data), false;
        value->data.push_back(static_cast<std::uint8_t>(high << 4 | low));
      }
    } else {
      return Fail("unknown value type: " + type), false;
    }
    Next();
    return !failed_;
  }

  void Next() {
    token_ = Token();
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    if (pos_ >= text_.size()) return;
    const char c = text_[pos_];
    std::string raw;
    if (c == '\'') {
      token_.kind = Token::kQuoted;
      ++pos_;
      for (;;) {
        if (pos_ >= text_.size()) {
          Fail("unterminated quoted string");
          return;
        }
        if (text_[pos_] == '\'') {
          // Two quotes in a row stand for one quote in the text.
          if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
            raw += '\'';
            pos_ += 2;
            continue;
          }
          ++pos_;
          break;
        }
        raw += text_[pos_++];
      }
    } else {
      // Words run to the next blank, so that a class id in braces is one word; a brace or an equals
      // sign standing alone is punctuation.
      while (pos_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[pos_]))) raw += text_[pos_++];
      if (raw == "{" || raw == "}" || raw == "=") {
        token_.kind = raw == "{" ? Token::kOpen : raw == "}" ? Token::kClose : Token::kEquals;
        return;
      }
      token_.kind = Token::kWord;
    }
    token_.text = Substitute(raw);
  }

  std::string Substitute(const std::string& raw) {
    std::string out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] != '%') {
        out += raw[i];
        continue;
      }
      const std::size_t close = raw.find('%', i + 1);
      if (close == std::string::npos) {
        Fail("unpaired '%'");
        return out;
      }
      const std::string name = raw.substr(i + 1, close - i - 1);
      if (name.empty()) {
        out += '%';
      } else if (auto it = variables_.find(name); it != variables_.end()) {
        out += it->second;
      } else {
        Fail("unknown variable %" + name + "%");
      }
      i = close;
    }
    return out;
  }

  std::string_view text_;
  const std::map<std::string, std::string>& variables_;
  std::string* error_;
  std::size_t pos_ = 0;
  Token token_;
  bool failed_ = false;
};

std::string Join(const std::string& parent, const std::string& name) {
  return parent.empty() ? name : parent + "\\" + name;
}

bool RegisterKey(Registry& registry, RegistryRoot root, const std::string& parent, const ScriptKey& key) {
  const std::string path = Join(parent, key.name);
  if (key.marker == KeyMarker::kDelete) return registry.DeleteTree(root, path);
  if (key.marker == KeyMarker::kForceRemove && !registry.DeleteTree(root, path)) return false;
  {
    auto opened = registry.Create(root, path);
    if (!opened) return false;
    for (const auto& value : key.values)
      if (!opened->Set(value.name, value.type, value.data.data(), value.data.size())) return false;
  }
  for (const auto& child : key.children)
    if (!RegisterKey(registry, root, path, child)) return false;
  return true;
}

bool UnregisterKey(Registry& registry, RegistryRoot root, const std::string& parent, const ScriptKey& key) {
  const std::string path = Join(parent, key.name);
  if (key.marker != KeyMarker::kNoRemove) return registry.DeleteTree(root, path);
  bool ok = true;
  for (const auto& child : key.children) ok = UnregisterKey(registry, root, path, child) && ok;
  // A kept key loses the named values the script gave it; its default value belongs to the key.
  if (auto opened = registry.Open(root, path, RegistryAccess::kAll)) {
    for (const auto& value : key.values)
      if (!value.name.empty()) ok = opened->Delete(value.name) && ok;
  }
  return ok;
}

}  // namespace

std::optional<RegistryScript> ParseRegistryScript(std::string_view text,
                                                  const std::map<std::string, std::string>& variables,
                                                  std::string* error) {
  return Parser(text, variables, error).Script();
}

bool RegisterScript(Registry& registry, const RegistryScript& script) {
  for (const auto& root : script)
    for (const auto& key : root.keys)
      if (!RegisterKey(registry, root.root, "", key)) return false;
  return true;
}

bool UnregisterScript(Registry& registry, const RegistryScript& script) {
  bool ok = true;
  for (const auto& root : script)
    for (const auto& key : root.keys) ok = UnregisterKey(registry, root.root, "", key) && ok;
  return ok;
}

}  // namespace ph
