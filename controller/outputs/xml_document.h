// The XML-document port: the few document operations the XML writer builds its file with.
#pragma once

#include <memory>

#include "common/base.h"

namespace ph {

// Element names, text and paths are ANSI strings; each implementation converts at its edge.
class XmlElement {
 public:
  virtual ~XmlElement() = default;
  virtual bool SetText(std::string_view text) = 0;
  virtual bool AppendChild(XmlElement& child) = 0;
};

class XmlDocument {
 public:
  virtual ~XmlDocument() = default;
  // Loads a file, synchronously. No external entity and no external DTD is ever loaded. False
  // (and an empty document) when the file is missing or not well-formed.
  virtual bool Load(const std::string& path) = 0;
  // Loads a document from text; false when it is not well-formed.
  virtual bool LoadText(std::string_view text) = 0;
  // The document element, or null when the document has none.
  virtual std::unique_ptr<XmlElement> DocumentElement() = 0;
  virtual bool AppendProcessingInstruction(std::string_view target, std::string_view data) = 0;
  virtual std::unique_ptr<XmlElement> CreateElement(std::string_view name) = 0;
  virtual bool SetDocumentElement(XmlElement& element) = 0;
  // Transforms this document with the style sheet (a document of the same port) into result.
  virtual bool Transform(XmlDocument& style_sheet, XmlDocument& result) = 0;
  // Writes the file in UTF-8, beginning with kXmlDeclaration.
  virtual bool Save(const std::string& path) = 0;
};

// Every saved file is UTF-8 and begins with this declaration, which says so.
inline constexpr char kXmlDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

class XmlPort {
 public:
  virtual ~XmlPort() = default;
  // A new, empty document; null when the document object cannot be created.
  virtual std::unique_ptr<XmlDocument> CreateDocument() = 0;
  // The identity style sheet the program carries; false when it cannot be found.
  virtual bool IdentityStyleSheet(std::string* text) = 0;
};

// MSXML on Windows (the style sheet from the program's resource of type "XSL", id 140);
// libxml2 and libxslt natively (the same style sheet compiled in).
std::unique_ptr<XmlPort> MakeSystemXmlPort();

}  // namespace ph
