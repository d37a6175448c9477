// Decoding page bytes by their declared encoding: the byte-order mark, HTTP, meta, then a guess.
#include "tools/grab/page_encoding.h"

#include <errno.h>
#include <iconv.h>

#include <memory>

#include "common/utf8.h"
#include "platform/code_page.h"

namespace ph::grab {
namespace {

constexpr std::size_t kMetaScanBytes = 1024;

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

// The value after "charset" (and "=") at text[at], without quotes: the label ends at a quote,
// white space, ";" or ">".
std::string LabelAfter(std::string_view text, std::size_t at) {
  at += 7;  // "charset"
  while (at < text.size() && IsSpace(text[at])) ++at;
  if (at >= text.size() || text[at] != '=') return {};
  ++at;
  while (at < text.size() && IsSpace(text[at])) ++at;
  if (at < text.size() && (text[at] == '"' || text[at] == '\'')) ++at;
  std::size_t end = at;
  while (end < text.size() && !IsSpace(text[end]) && text[end] != '"' && text[end] != '\'' && text[end] != ';' &&
         text[end] != '>')
    ++end;
  return LowerAscii(text.substr(at, end - at));
}

// Labels that name windows-1252 as browsers read them: the Latin-1 and ASCII labels included.
bool IsWindows1252(const std::string& label) {
  return label == "windows-1252" || label == "cp1252" || label == "x-cp1252" || label == "iso-8859-1" ||
         label == "iso8859-1" || label == "latin1" || label == "l1" || label == "us-ascii" || label == "ascii";
}

std::string Windows1252ToUtf8(std::string_view bytes) { return Utf16ToUtf8(Windows1252().FromAnsi(bytes)); }

struct IconvClose {
  void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};

// The bytes in the encoding the label names, as UTF-8; false when iconv does not know the label.
bool ConvertWithIconv(std::string_view bytes, const std::string& label, std::string* out) {
  const iconv_t opened = iconv_open("UTF-8", label.c_str());
  if (opened == reinterpret_cast<iconv_t>(-1)) return false;
  const std::unique_ptr<void, IconvClose> cd(opened);
  out->clear();
  std::string chunk(4096, '\0');
  char* in = const_cast<char*>(bytes.data());  // iconv's signature; the input is only read
  std::size_t in_left = bytes.size();
  while (in_left > 0) {
    char* dst = chunk.data();
    std::size_t dst_left = chunk.size();
    const std::size_t done = iconv(opened, &in, &in_left, &dst, &dst_left);
    out->append(chunk.data(), chunk.size() - dst_left);
    if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // An invalid or cut-off sequence: one replacement character, and on after its first byte.
      out->append("\xEF\xBF\xBD");
      ++in;
      --in_left;
    }
  }
  char* dst = chunk.data();
  std::size_t dst_left = chunk.size();
  iconv(opened, nullptr, nullptr, &dst, &dst_left);  // what a stateful encoding still holds
  out->append(chunk.data(), chunk.size() - dst_left);
  return true;
}

// The bytes in the encoding the label names, as UTF-8; false when the label is unknown.
bool DecodeAs(std::string_view bytes, std::string label, std::string* out) {
  if (label.empty()) return false;
  // A page cannot declare UTF-16 in its own ASCII bytes; browsers read such a declaration as UTF-8.
  if (label == "utf-16" || label == "utf-16le" || label == "utf-16be") label = "utf-8";
  if (label == "utf-8" || label == "utf8" || label == "unicode-1-1-utf-8") {
    *out = Utf16ToUtf8(Utf8ToUtf16(bytes));  // malformed sequences become U+FFFD
    return true;
  }
  if (IsWindows1252(label)) {
    *out = Windows1252ToUtf8(bytes);
    return true;
  }
  return ConvertWithIconv(bytes, label, out);
}

}  // namespace

std::string CharsetOfContentType(std::string_view content_type) {
  const std::string lower = LowerAscii(content_type);
  for (std::size_t at = lower.find(';'); at != std::string::npos; at = lower.find(';', at + 1)) {
    std::size_t name = at + 1;
    while (name < lower.size() && IsSpace(lower[name])) ++name;
    if (lower.compare(name, 7, "charset") == 0) return LabelAfter(lower, name);
  }
  return {};
}

std::string CharsetOfMeta(std::string_view bytes) {
  const std::string head = LowerAscii(bytes.substr(0, kMetaScanBytes));
  for (std::size_t at = head.find("<meta"); at != std::string::npos; at = head.find("<meta", at + 5)) {
    const std::size_t end = head.find('>', at);
    const std::string_view tag = std::string_view(head).substr(at, end == std::string::npos ? std::string::npos : end - at);
    // Both forms: charset="x", and content="text/html; charset=x" beside http-equiv.
    for (std::size_t c = tag.find("charset"); c != std::string_view::npos; c = tag.find("charset", c + 7)) {
      const std::string label = LabelAfter(tag, c);
      if (!label.empty()) return label;
    }
  }
  return {};
}

std::string DecodePage(std::string_view bytes, std::string_view content_type) {
  std::string out;
  const bool marked = (bytes.substr(0, 3) == "\xEF\xBB\xBF" && DecodeAs(bytes.substr(3), "utf-8", &out)) ||
                      (bytes.substr(0, 2) == "\xFF\xFE" && ConvertWithIconv(bytes.substr(2), "UTF-16LE", &out)) ||
                      (bytes.substr(0, 2) == "\xFE\xFF" && ConvertWithIconv(bytes.substr(2), "UTF-16BE", &out));
  if (marked) return out;
  if (DecodeAs(bytes, CharsetOfContentType(content_type), &out)) return out;
  if (DecodeAs(bytes, CharsetOfMeta(bytes), &out)) return out;
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return Windows1252ToUtf8(bytes);
}

}  // namespace ph::grab
