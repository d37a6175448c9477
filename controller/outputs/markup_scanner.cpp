// The capture's tag scanner: one pass that rewrites chosen attribute values and copies the rest.
#include "controller/outputs/markup_scanner.h"

#include <array>
#include <cstring>

#include "common/ascii.h"
#include "platform/url.h"

namespace ph {
namespace {

// Byte classes, looked up instead of compared: the scanner spends its time in these loops.
enum : std::uint8_t { kSpace = 1, kGt = 2, kEq = 4 };

constexpr std::array<std::uint8_t, 256> MakeClasses() {
  std::array<std::uint8_t, 256> c{};
  c[' '] = c['\r'] = c['\n'] = c['\t'] = kSpace;
  c['>'] = kGt;
  c['='] = kEq;
  return c;
}
constexpr std::array<std::uint8_t, 256> kClasses = MakeClasses();

inline std::uint8_t ClassOf(char c) { return kClasses[static_cast<unsigned char>(c)]; }

// First position at or after i whose byte is not of the given classes (n when there is none).
inline std::size_t Skip(std::string_view s, std::size_t i, std::uint8_t classes) {
  while (i < s.size() && (ClassOf(s[i]) & classes)) ++i;
  return i;
}
// First position at or after i whose byte is of the given classes (npos when there is none).
inline std::size_t Until(std::string_view s, std::size_t i, std::uint8_t classes) {
  while (i < s.size() && !(ClassOf(s[i]) & classes)) ++i;
  return i < s.size() ? i : std::string_view::npos;
}

bool EqualsLower(std::string_view s, std::string_view lower) {
  if (s.size() != lower.size()) return false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (LowerAscii(s[i]) != lower[i]) return false;
  }
  return true;
}

enum class Tag { kOther, kImg, kLink, kA };

Tag ClassifyTag(std::string_view name) {
  switch (name.size()) {
    case 1:
      return LowerAscii(name[0]) == 'a' ? Tag::kA : Tag::kOther;
    case 3:
      return EqualsLower(name, "img") ? Tag::kImg : Tag::kOther;
    case 4:
      return EqualsLower(name, "link") ? Tag::kLink : Tag::kOther;
    default:
      return Tag::kOther;
  }
}

// Which rewriting, if any, an attribute of the tag asks for.
bool ReferenceOf(Tag tag, std::string_view attribute, ReferenceKind* kind) {
  switch (tag) {
    case Tag::kImg:
      *kind = ReferenceKind::kCapture;
      return EqualsLower(attribute, "src");
    case Tag::kLink:
      *kind = ReferenceKind::kCapture;
      return EqualsLower(attribute, "href");
    case Tag::kA:
      *kind = ReferenceKind::kAbsolute;
      return EqualsLower(attribute, "href");
    default:
      return false;
  }
}

// A rewritten value must not end its attribute early: the quote that encloses it, or for an
// unquoted value white space and ">", are written as percent escapes.
void AppendEscaped(std::string_view value, char quote, std::string* out) {
  AppendPercentEscaped(
      value, [quote](unsigned char c) { return quote ? c == static_cast<unsigned char>(quote) : (ClassOf(static_cast<char>(c)) & (kSpace | kGt)) != 0; },
      out);
}

}  // namespace

ScanOutcome ScanMarkup(std::string_view s, ReferenceRewriter& rewriter, std::string* out) {
  const std::size_t n = s.size();
  std::size_t written = 0;  // everything before this is in out already
  ScanOutcome outcome = ScanOutcome::kComplete;
  std::string rewritten;

  const char* lt = static_cast<const char*>(std::memchr(s.data(), '<', n));
  while (lt) {
    const std::size_t name_start = Skip(s, static_cast<std::size_t>(lt - s.data()) + 1, kSpace);
    if (name_start >= n) break;
    const std::size_t name_end = Until(s, name_start, kSpace | kGt);
    if (name_end == std::string_view::npos) break;  // a tag still open at the end
    const Tag tag = ClassifyTag(s.substr(name_start, name_end - name_start));

    std::size_t pos = Skip(s, name_end, kSpace);
    while (pos < n && s[pos] != '>') {
      const std::size_t attr_end = Until(s, pos, kSpace | kGt | kEq);
      if (attr_end == std::string_view::npos) {
        pos = n;
        break;
      }
      const std::string_view attribute = s.substr(pos, attr_end - pos);
      pos = Skip(s, attr_end, kSpace);
      if (pos >= n || s[pos] != '=') continue;

      const std::size_t value_at = Skip(s, pos, kSpace | kEq);
      if (value_at >= n) {
        outcome = ScanOutcome::kMissingValue;
        break;
      }
      const char quote = (s[value_at] == '"' || s[value_at] == '\'') ? s[value_at] : 0;
      const std::size_t value_start = quote ? value_at + 1 : value_at;
      const std::size_t value_end = quote ? s.find(quote, value_start) : Until(s, value_start, kSpace | kGt);
      if (value_end == std::string_view::npos) {
        outcome = ScanOutcome::kUnendedValue;
        break;
      }
      ReferenceKind kind;
      if (ReferenceOf(tag, attribute, &kind)) {
        out->append(s.data() + written, value_start - written);
        rewritten.clear();
        rewriter.Rewrite(kind, s.substr(value_start, value_end - value_start), &rewritten);
        AppendEscaped(rewritten, quote, out);
        written = value_end;
      }
      pos = Skip(s, quote ? value_end + 1 : value_end, kSpace);
    }
    if (outcome != ScanOutcome::kComplete || pos >= n) break;
    lt = static_cast<const char*>(std::memchr(s.data() + pos, '<', n - pos));
  }
  out->append(s.data() + written, n - written);
  return outcome;
}

std::string_view ScanDiagnostic(ScanOutcome outcome) {
  switch (outcome) {
    case ScanOutcome::kMissingValue:
      return "error 1";
    case ScanOutcome::kUnendedValue:
      return "Error 2";
    default:
      return {};
  }
}

}  // namespace ph
