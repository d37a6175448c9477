// The document port: the page as the selection engine sees it, whatever browser or parser holds it.
#pragma once

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "common/base.h"

namespace ph {

class Element;
class ElementCollection;
class Document;
class Style;

// Handles are reference counted; the engine keeps one only as long as it needs the node.
using ElementPtr = std::shared_ptr<Element>;
using CollectionPtr = std::shared_ptr<ElementCollection>;
using DocumentPtr = std::shared_ptr<Document>;
using StylePtr = std::shared_ptr<Style>;

// The value of an inline style property as the document hands it out: nothing (an empty variant)
// or a text. Saved backgrounds keep it as read so that it can be written back unchanged.
using StyleValue = std::optional<WideString>;

// An element's inline style.
class Style {
 public:
  virtual ~Style() = default;
  virtual StyleValue BackgroundColor() = 0;
  // Writing nothing or an empty text removes the property.
  virtual bool SetBackgroundColor(const StyleValue& value) = 0;
  virtual bool SetVisibility(WideView value) = 0;
};

// An ordered, live view of elements: a change to the document shows at once in its length and items.
class ElementCollection {
 public:
  virtual ~ElementCollection() = default;
  virtual long Length() = 0;
  // Null when the index lies outside the collection (as it is now).
  virtual ElementPtr Item(long index) = 0;
  // The members whose tag name equals tag without regard to case, as a live collection too.
  virtual CollectionPtr Tags(WideView tag) = 0;
};

// One element node. Every operation may fail (detached nodes, pages still loading, frames that refuse
// access); failure is an empty result, never an exception.
class Element {
 public:
  virtual ~Element() = default;

  // The tag name as the document reports it (upper case for HTML elements).
  virtual std::optional<WideString> TagName() = 0;
  virtual ElementPtr Parent() = 0;
  virtual CollectionPtr Children() = 0;
  // Every descendant whose tag name equals tag without regard to case, in document order.
  virtual CollectionPtr ElementsByTagName(WideView tag) = 0;
  virtual DocumentPtr OwnerDocument() = 0;

  // The element's position in its document's source order; elements are the same exactly when their
  // source indices are (handles to one node need not be equal). Negative when it cannot be read.
  virtual long SourceIndex() = 0;
  // Whether other lies in this element's subtree; an element contains itself.
  virtual bool Contains(Element& other) = 0;

  virtual std::optional<WideString> InnerHtml() = 0;
  virtual std::optional<WideString> OuterHtml() = 0;
  virtual std::optional<WideString> InnerText() = 0;
  virtual bool SetInnerHtml(WideView markup) = 0;
  // Replaces the element itself; the handle afterwards names a node that is no longer in the page.
  virtual bool SetOuterHtml(WideView markup) = 0;
  virtual bool SetInnerText(WideView text) = 0;

  virtual bool ScrollIntoView(bool align_to_top) = 0;
  // The inline style; null when the element has none to offer.
  virtual StylePtr InlineStyle() = 0;

  // Of a table: its rows (through its head, bodies and foot). Null for other elements.
  virtual CollectionPtr Rows() = 0;
  // Of a table row: its cells (TD and TH). Null for other elements.
  virtual CollectionPtr Cells() = 0;
  // Of a link element: its rel attribute. Nothing for other elements.
  virtual std::optional<WideString> Rel() = 0;

  // The id and class attributes (IHTMLElement::id, className); nothing where a binding cannot say.
  // They describe a stored region so that it can be recognised where its path no longer leads.
  virtual std::optional<WideString> Id() { return std::nullopt; }
  virtual std::optional<WideString> ClassName() { return std::nullopt; }
};

// The elements of a document, each with what the engine's page-wide passes need of it.
struct DocumentOutline {
  struct Entry {
    long source_index = -1;    // as SourceIndex gives it
    std::int32_t parent = -1;  // the entry of its parent element; -1 when it has none in the document
    std::uint32_t tag = 0;     // its tag name, as a position in `tags`
    std::int64_t words = -1;   // the words of its text (InnerText); -1 when it has none or none was asked for
  };
  std::vector<WideString> tags;  // each tag name once, as TagName gives it ("" when it cannot be read)
  std::vector<Entry> entries;
  std::unordered_map<WideString, std::uint32_t> numbers;  // of the names in `tags`

  // For each tag of `tags`, whether it is the given name (without regard to ASCII case).
  std::vector<bool> TagsNamed(std::string_view ascii_name) const;
  // The number of a tag name in `tags`, adding it when it is new (for the ports that fill an outline).
  std::uint32_t TagNumber(WideView tag);
};

// One HTML document: the top document of a browser window or the document of one of its frames.
class Document {
 public:
  virtual ~Document() = default;
  virtual ElementPtr Body() = 0;
  virtual std::optional<WideString> Url() = 0;
  virtual std::optional<WideString> Title() = 0;
  // Every element of the document whose tag name equals tag without regard to case.
  virtual CollectionPtr ElementsByTagName(WideView tag) = 0;
  // The documents of the frames embedded in this one (not their own frames), in the order the
  // browser enumerates them; frames that hold no HTML document are left out.
  virtual std::vector<DocumentPtr> FrameDocuments() = 0;

  // Every element of the document, as ElementsByTagName("*") lists them, with its parent, its tag and, when
  // asked for, the words of its text as CountWords counts them. Page-wide passes take it in one call
  // rather than asking element by element: a document that holds its tree can answer in one walk,
  // where reading the text of every element would read deep pages again for each level. This
  // default asks element by element.
  virtual DocumentOutline Outline(bool with_words);
  // What every element is called, in the order of Outline's entries: its id, class and role
  // attributes joined by blanks ("" for an element with none). Empty when the document cannot say.
  // Passes that look for what blocks are called (navigation, comments) take it in one call; this
  // default asks element by element for the id and class.
  virtual std::vector<WideString> OutlineNames();
};

// The element of an outline's entry: reached from the body down through the children on its way,
// which asks far less of most documents than listing all their elements; otherwise through that list.
ElementPtr OutlineElement(Document& document, const DocumentOutline& outline, std::int32_t entry);

// What a mouse event tells the engine.
struct MouseEvent {
  ElementPtr source;  // the element under the mouse; null when the event names none
  long button = 0;    // 1 = left
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// Whether two handles name the same element (by source index, as the browser identifies them).
bool SameElement(Element& a, Element& b);
// Whether the element's tag name equals an ASCII name without regard to case.
bool HasTag(Element& element, std::string_view ascii_name);
// Case-insensitive comparison of a wide tag name with an ASCII one.
bool TagEquals(WideView tag, std::string_view ascii_name);
// Whether two texts are equal without regard to case, unit by unit: the letters of the Latin,
// Greek and Cyrillic alphabets fold, as addresses are compared; other units compare as they are.
bool EqualsIgnoringCase(WideView a, WideView b);
// ASCII text widened unit by unit (tag names and fixed markup the engine writes).
WideString WidenAscii(std::string_view ascii);

}  // namespace ph
