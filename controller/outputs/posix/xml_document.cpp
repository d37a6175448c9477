// The XML-document port over libxml2 and libxslt.
#include "controller/outputs/xml_document.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>
#include <libxslt/transform.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <fstream>
#include <iterator>
#include <mutex>

#include "controller/outputs/utf8.h"
#include "platform/code_page.h"
#include "resources/identity_xsl.h"

namespace ph {
namespace {

// Files are read without touching the network, the DTD or any entity defined outside them.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

xmlParserInputPtr RefuseExternalEntity(const char*, const char*, xmlParserCtxtPtr) { return nullptr; }

void SetUpLibxml() {
  static std::once_flag once;
  std::call_once(once, [] {
    xmlInitParser();
    // Nothing outside the document is ever loaded, whatever a file declares.
    xmlSetExternalEntityLoader(RefuseExternalEntity);
    // One tab a level, as MSXML indents.
    xmlTreeIndentString = "\t";
  });
}

const xmlChar* X(const std::string& s) { return reinterpret_cast<const xmlChar*>(s.c_str()); }

struct DocFree {
  void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocFree>;
struct StylesheetFree {
  void operator()(xsltStylesheet* s) const { xsltFreeStylesheet(s); }
};
struct TextFree {
  void operator()(xmlChar* t) const { xmlFree(t); }
};
struct BufferFree {
  void operator()(xmlBuffer* b) const { xmlBufferFree(b); }
};

class LibxmlElement : public XmlElement {
 public:
  LibxmlElement(xmlNodePtr node, const CodePage& code_page) : node_(node), code_page_(code_page) {}

  bool SetText(std::string_view text) override {
    // A text node is stored as it is and escaped when written, unlike xmlNodeSetContent's input.
    while (node_->children) {
      xmlNodePtr child = node_->children;
      xmlUnlinkNode(child);
      xmlFreeNode(child);
    }
    const std::string utf8 = AnsiToUtf8(text, code_page_);
    xmlNodePtr t = xmlNewDocTextLen(node_->doc, X(utf8), static_cast<int>(utf8.size()));
    return t && xmlAddChild(node_, t);
  }

  bool AppendChild(XmlElement& child) override {
    return xmlAddChild(node_, static_cast<LibxmlElement&>(child).node_) != nullptr;
  }

  xmlNodePtr node() const { return node_; }

 private:
  xmlNodePtr node_;
  const CodePage& code_page_;
};

class LibxmlDocument : public XmlDocument {
 public:
  explicit LibxmlDocument(const CodePage& code_page)
      : code_page_(code_page), doc_(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"))) {}
  ~LibxmlDocument() override { FreeLooseNodes(); }

  bool ok() const { return doc_ != nullptr; }

  bool Load(const std::string& path) override {
    // Read here rather than by libxml2, whose loader of outside resources refuses everything.
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return Replace(
        DocPtr(xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr, kParseOptions)));
  }

  bool LoadText(std::string_view text) override {
    const std::string utf8 = AnsiToUtf8(text, code_page_);
    return Replace(DocPtr(xmlReadMemory(utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr, kParseOptions)));
  }

  std::unique_ptr<XmlElement> DocumentElement() override {
    xmlNodePtr root = xmlDocGetRootElement(doc_.get());
    if (!root) return nullptr;
    return std::make_unique<LibxmlElement>(root, code_page_);
  }

  bool AppendProcessingInstruction(std::string_view target, std::string_view data) override {
    // libxml2 keeps the XML declaration as a property of the document, not as a node.
    if (target == "xml") return true;
    xmlNodePtr pi = xmlNewDocPI(doc_.get(), X(std::string(target)), X(AnsiToUtf8(data, code_page_)));
    return pi && xmlAddChild(reinterpret_cast<xmlNodePtr>(doc_.get()), pi);
  }

  std::unique_ptr<XmlElement> CreateElement(std::string_view name) override {
    xmlNodePtr node = xmlNewDocNode(doc_.get(), nullptr, X(AnsiToUtf8(name, code_page_)), nullptr);
    if (!node) return nullptr;
    created_.push_back(node);
    return std::make_unique<LibxmlElement>(node, code_page_);
  }

  bool SetDocumentElement(XmlElement& element) override {
    xmlDocSetRootElement(doc_.get(), static_cast<LibxmlElement&>(element).node());
    return true;
  }

  bool Transform(XmlDocument& style_sheet, XmlDocument& result) override {
    auto& sheet = static_cast<LibxmlDocument&>(style_sheet);
    auto& out = static_cast<LibxmlDocument&>(result);
    // The compiled sheet takes its document over, so it gets a copy.
    const std::unique_ptr<xsltStylesheet, StylesheetFree> style(
        xsltParseStylesheetDoc(xmlCopyDoc(sheet.doc_.get(), 1)));
    if (!style) return false;
    const DocPtr transformed(xsltApplyStylesheet(style.get(), doc_.get(), nullptr));
    if (!transformed) return false;
    // Serialised by the sheet's output rules (indentation included) and read back, the way a
    // transform into a document object keeps its white space.
    xmlChar* raw_text = nullptr;
    int length = 0;
    const int saved = xsltSaveResultToString(&raw_text, &length, transformed.get(), style.get());
    const std::unique_ptr<xmlChar, TextFree> text(raw_text);
    if (saved != 0 || !text) return false;
    return out.Replace(DocPtr(xmlReadMemory(reinterpret_cast<const char*>(text.get()), length, nullptr, nullptr,
                                            XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING)));
  }

  bool Save(const std::string& path) override {
    // The declaration, which names the encoding the file is written in, then the document as it
    // stands (its white space is the indentation of the transform).
    const std::unique_ptr<xmlBuffer, BufferFree> buffer(xmlBufferCreate());
    if (!buffer) return false;
    xmlSaveCtxtPtr save = xmlSaveToBuffer(buffer.get(), "UTF-8", XML_SAVE_NO_DECL);
    bool ok = save && xmlSaveDoc(save, doc_.get()) >= 0;
    if (save) ok = xmlSaveClose(save) >= 0 && ok;
    if (ok) {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out << kXmlDeclaration << "\n";
      out.write(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())), xmlBufferLength(buffer.get()));
      ok = static_cast<bool>(out.flush());
    }
    return ok;
  }

 private:
  bool Replace(DocPtr doc) {
    if (!doc) return false;
    FreeLooseNodes();
    doc_ = std::move(doc);
    return true;
  }

  // Elements that were created but never placed in the tree belong to nobody else.
  void FreeLooseNodes() {
    for (xmlNodePtr node : created_) {
      if (!node->parent) xmlFreeNode(node);
    }
    created_.clear();
  }

  const CodePage& code_page_;
  DocPtr doc_;
  std::vector<xmlNodePtr> created_;
};

class LibxmlPort : public XmlPort {
 public:
  LibxmlPort() { SetUpLibxml(); }

  std::unique_ptr<XmlDocument> CreateDocument() override {
    auto doc = std::make_unique<LibxmlDocument>(*code_page_);
    if (!doc->ok()) return nullptr;
    return doc;
  }

  bool IdentityStyleSheet(std::string* text) override {
    text->assign(kIdentityStyleSheet);
    return true;
  }

 private:
  std::unique_ptr<CodePage> code_page_ = MakeSystemCodePage();
};

}  // namespace

std::unique_ptr<XmlPort> MakeSystemXmlPort() { return std::make_unique<LibxmlPort>(); }

}  // namespace ph
