// The suggested file name of a piece of content, and the date and time texts the writers print.
#include "controller/outputs/output_naming.h"

#include <cstdio>

#include "common/utf8.h"
#include "controller/outputs/file_names.h"
#include "common/settings_record.h"

namespace ph {
namespace {

constexpr int kAppendStamp = 1;
constexpr int kAppendContent = 2;

bool IsBreakOrSpace(char c) { return c == '\n' || c == '\r' || c == ' '; }

// An underscore and the start of the selection text, each run of line breaks and spaces counted
// as one space. A character is taken whole, all the bytes of its UTF-8 form counting as one.
std::string ContentSuffix(const std::string& text, std::int32_t length) {
  std::string suffix = "_";
  std::int32_t added = 0;
  for (std::size_t i = 0; i < text.size() && added < length;) {
    if (IsBreakOrSpace(text[i])) {
      suffix += ' ';
      while (i < text.size() && IsBreakOrSpace(text[i])) ++i;
    } else {
      const std::size_t bytes = Utf8CharLength(text, i);
      suffix.append(text, i, bytes);
      i += bytes;
    }
    ++added;
  }
  return suffix;
}

bool IsForbiddenInName(char c) {
  switch (c) {
    case '"':
    case '*':
    case '.':
    case '/':
    case ':':
    case '<':
    case '>':
    case '?':
    case '\\':
    case '|':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string DateText(const LocalTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", t.year, t.month, t.day);
  return buf;
}

std::string TimeText(const LocalTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
  return buf;
}

std::string StampText(const LocalTime& t) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "_%02d%02d%02d-%02d%02d%02d", t.year % 100, t.month, t.day, t.hour, t.minute,
                t.second);
  return buf;
}

std::string SuggestedName(const OutputContext& context, const SettingsRecord& settings, const LocalTime& now) {
  std::string name = context.title;
  if (settings.name_append_type == kAppendStamp) {
    name += StampText(now);
  } else if (settings.name_append_type == kAppendContent) {
    name += ContentSuffix(context.text, settings.name_append_len);
  }
  for (char& c : name) {
    if (IsForbiddenInName(c)) c = '_';
  }
  // What else a file system refuses or reads as a device: control characters, trailing spaces, CON.
  return SafeFileName(name);
}

}  // namespace ph
