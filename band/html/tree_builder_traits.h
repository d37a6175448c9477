// What the HTML tree builder does with each element, as far as the nesting of the page goes.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace ph::html_traits {

// What the HTML tree builder does with an element, as far as nesting goes. The model follows the
// builder closely enough that the depth it finds stays near the parser's on any input (so that no
// page can make the parser's work grow with the square of its size), without keeping a tree.
enum Trait : std::uint32_t {
  kVoid = 1u << 0,         // never open: no content, no end tag
  kRawText = 1u << 1,      // its content is text up to its end tag
  kPlainText = 1u << 2,    // everything after it is text
  kSpecial = 1u << 3,      // the search for the open element of an unknown end tag stops here
  kScope = 1u << 4,        // bounds "in scope"
  kButtonScope = 1u << 5,  // bounds "in button scope" too
  kListScope = 1u << 6,    // bounds "in list item scope" too
  kClosesP = 1u << 7,      // its start tag closes an open P
  kFormatting = 1u << 8,   // its end tag may leave the blocks opened inside it open
  kScoped = 1u << 9,       // its end tag closes it, and all open above it, when it is in scope
  kTablePart = 1u << 10,   // ignored outside a table; closes the open parts of its table
  kIgnored = 1u << 11,     // HTML, HEAD, BODY: never nested
  kForeignRoot = 1u << 12, // SVG, MATH: their content follows the rules of XML-like markup
  kIntegration = 1u << 13, // HTML again inside such content
  kBreakout = 1u << 14,    // an HTML tag that ends such content
  kListPasses = 1u << 15,  // special, but the search for an open LI, DD or DT goes on past it
};

struct NameTraits {
  std::initializer_list<const char*> names;
  std::uint32_t traits;
};

// The tables of the HTML tree builder, by trait.
inline const NameTraits kTraitTable[] = {
    // Void: kVoidElements, and IMAGE, which the builder reads as IMG.
    {{"image"}, kVoid},
    {{"script", "style", "xmp", "iframe", "noembed", "noframes", "textarea", "title"}, kRawText},
    {{"plaintext"}, kPlainText},
    {{"address", "applet", "article", "aside", "blockquote", "button", "caption", "center", "colgroup", "dd",
      "details", "dir", "div", "dl", "dt", "fieldset", "figcaption", "figure", "footer", "form", "frameset", "h1",
      "header", "hgroup", "li", "listing", "main", "marquee", "menu", "nav", "noscript", "object", "ol", "p", "pre",
      "search", "section", "select", "summary", "table", "tbody", "td", "template", "tfoot", "th", "thead", "tr",
      "ul", "mi", "mo", "mn", "ms", "mtext", "annotation-xml", "foreignobject", "desc", "title"},
     kSpecial},
    {{"address", "div", "p", "li", "dd", "dt"}, kListPasses},
    {{"applet", "caption", "table", "td", "th", "marquee", "object", "template", "mi", "mo", "mn", "ms", "mtext",
      "annotation-xml", "foreignobject", "desc", "title"},
     kScope},
    {{"button"}, kButtonScope},
    {{"ol", "ul"}, kListScope},
    {{"address", "article", "aside", "blockquote", "center", "details", "dialog", "dir", "div", "dl", "fieldset",
      "figcaption", "figure", "footer", "header", "hgroup", "main", "menu", "nav", "ol", "p", "search", "section",
      "summary", "ul", "h1", "pre", "listing", "form", "plaintext", "hr", "xmp", "li", "dd", "dt"},
     kClosesP},
    {{"a", "b", "big", "code", "em", "font", "i", "nobr", "s", "small", "strike", "strong", "tt", "u"}, kFormatting},
    {{"address", "article", "aside", "blockquote", "button", "center", "details", "dialog", "dir", "div", "dl",
      "fieldset", "figcaption", "figure", "footer", "header", "hgroup", "listing", "main", "menu", "nav", "ol", "pre",
      "search", "section", "summary", "ul", "form", "applet", "marquee", "object", "template", "li", "dd", "dt", "p",
      "h1", "select"},
     kScoped},
    {{"caption", "colgroup", "tbody", "thead", "tfoot", "tr", "td", "th"}, kTablePart},
    {{"html", "head", "body"}, kIgnored},
    {{"svg", "math"}, kForeignRoot},
    {{"mi", "mo", "mn", "ms", "mtext", "annotation-xml", "foreignobject", "desc", "title"}, kIntegration},
    {{"b", "big", "blockquote", "body", "br", "center", "code", "dd", "div", "dl", "dt", "em", "embed", "h1", "head",
      "hr", "i", "img", "li", "listing", "menu", "meta", "nobr", "ol", "p", "pre", "ruby", "s", "small", "span",
      "strong", "strike", "sub", "sup", "table", "tt", "u", "ul", "var"},
     kBreakout},
};

}  // namespace ph::html_traits
