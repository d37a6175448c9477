// The "HTML Format" clipboard block: a header of byte offsets, then a small page around the fragment.
#include "controller/outputs/cf_html.h"

#include <cstdio>
#include <cstring>

namespace ph {
namespace {

constexpr char kHeader[] =
    "Version:0.9\r\nStartHTML:&aaaaaaa\r\nEndHTML:&bbbbbbb\r\nStartFragment:&ccccccc\r\nEndFragment:&ddddddd\r\n";

// Writes the offset as eight digits over its place-holder.
void FillIn(std::string* block, const char* placeholder, std::size_t offset) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%08zu", offset);
  block->replace(block->find(placeholder), 8, digits, 8);
}

}  // namespace

std::optional<std::string> BuildCfHtml(const CfHtmlParts& p) {
  static constexpr std::string_view kHead1 = "<!DOCTYPE>\r\n<html>\r\n<head>\r\n<title>";
  static constexpr std::string_view kHead2 = "</title>\r\n<base href=\"";
  static constexpr std::string_view kHead3 = "\">\r\n";
  static constexpr std::string_view kHead4 = "</head>\r\n<body>\r\n";
  static constexpr std::string_view kStart = "<!--StartFragment-->\r\n";
  static constexpr std::string_view kEnd = "\r\n<!--EndFragment-->\r\n";
  static constexpr std::string_view kTail = "</body>\r\n</html>";
  const std::size_t total = std::strlen(kHeader) + kHead1.size() + p.title.size() + kHead2.size() + p.url.size() +
                            kHead3.size() + p.style.size() + kHead4.size() + kStart.size() + p.fragment.size() +
                            kEnd.size() + kTail.size();
  if (total > kMaxCfHtmlBytes) return std::nullopt;

  std::string block;
  block.reserve(total);
  block += kHeader;
  FillIn(&block, "&aaaaaaa", block.size());
  for (std::string_view piece : {kHead1, p.title, kHead2, p.url, kHead3, p.style, kHead4}) block += piece;
  FillIn(&block, "&ccccccc", block.size());
  for (std::string_view piece : {kStart, p.fragment, kEnd}) block += piece;
  FillIn(&block, "&ddddddd", block.size());
  block += kTail;
  FillIn(&block, "&bbbbbbb", block.size());
  return block;
}

}  // namespace ph
