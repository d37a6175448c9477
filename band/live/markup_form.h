// The form in which markup and text leave a live page.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "common/base.h"

namespace ph::live {

// The browser writes markup in its own way (attribute order, escapes, line breaks). Where the program
// has a parser of its own, regions read from a live page are put in the form it writes for fetched
// pages, so that a region picked live and found again in a fetched page later is stored and saved
// byte for byte alike. This default hands everything on as the browser wrote it.
class MarkupForm {
 public:
  virtual ~MarkupForm() = default;
  // An element's inner markup.
  virtual WideString Inner(WideView tag, WideView markup) { return WideString(markup); }
  // An element's outer markup, read as a child of parent_tag.
  virtual WideString Outer(WideView tag, WideView parent_tag, WideView markup) { return WideString(markup); }
  // The rendered text of an element from its inner markup; nothing when the page is to render it.
  virtual std::optional<WideString> Text(WideView tag, WideView inner_markup) { return std::nullopt; }
  // The words of every element of a document, in the order of all its elements, from the markup of
  // its root element, when that parses into the same elements (tags in order); nothing otherwise.
  virtual std::optional<std::vector<std::int64_t>> Words(WideView root_markup, const std::vector<WideString>& tags) {
    return std::nullopt;
  }
};

}  // namespace ph::live
