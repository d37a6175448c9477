// The XML-document port over MSXML; the identity style sheet is the program's "XSL" resource 140.
#include "controller/outputs/xml_document.h"

#include <windows.h>

#include <msxml2.h>

#include "platform/win32/com_ptr.h"

namespace ph {
namespace {

const CLSID kClsidDomDocument = {0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kIidXmlDomDocument = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
constexpr int kStyleSheetResource = 140;

using win::ComPtr;
using win::UniqueBstr;

// A BSTR made from ANSI text; null when memory ran out.
UniqueBstr AnsiBstr(std::string_view ansi) {
  const int n = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  UniqueBstr b(::SysAllocStringLen(nullptr, static_cast<UINT>(n)));
  if (b && n > 0) ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), b.get(), n);
  return b;
}

// A string VARIANT that borrows the string: it is not cleared, the UniqueBstr frees the string.
VARIANT StringVariant(const UniqueBstr& text) {
  VARIANT v;
  ::VariantInit(&v);
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = text.get();
  return v;
}

class MsxmlElement : public XmlElement {
 public:
  explicit MsxmlElement(const ComPtr<IXMLDOMElement>& e) : e_(e) {}

  bool SetText(std::string_view text) override {
    const UniqueBstr b = AnsiBstr(text);
    return b.get() && SUCCEEDED(e_->put_text(b.get()));
  }
  bool AppendChild(XmlElement& child) override {
    return SUCCEEDED(e_->appendChild(static_cast<MsxmlElement&>(child).e_.get(), nullptr));
  }
  IXMLDOMElement* get() const { return e_.get(); }

 private:
  ComPtr<IXMLDOMElement> e_;
};

class MsxmlDocument : public XmlDocument {
 public:
  bool Create() {
    if (FAILED(::CoCreateInstance(kClsidDomDocument, nullptr, CLSCTX_INPROC_SERVER, kIidXmlDomDocument,
                                  reinterpret_cast<void**>(doc_.put())))) {
      return false;
    }
    doc_->put_async(VARIANT_FALSE);
    // A file may declare entities or a DTD elsewhere; none of them is ever fetched.
    doc_->put_resolveExternals(VARIANT_FALSE);
    doc_->put_validateOnParse(VARIANT_FALSE);
    return true;
  }

  bool Load(const std::string& path) override {
    const UniqueBstr b = AnsiBstr(path);
    VARIANT_BOOL ok = VARIANT_FALSE;
    return SUCCEEDED(doc_->load(StringVariant(b), &ok)) && ok == VARIANT_TRUE;
  }

  bool LoadText(std::string_view text) override {
    const UniqueBstr b = AnsiBstr(text);
    VARIANT_BOOL ok = VARIANT_FALSE;
    return SUCCEEDED(doc_->loadXML(b.get(), &ok)) && ok == VARIANT_TRUE;
  }

  std::unique_ptr<XmlElement> DocumentElement() override {
    ComPtr<IXMLDOMElement> root;
    if (doc_->get_documentElement(root.put()) != S_OK || !root) return nullptr;
    return std::make_unique<MsxmlElement>(root);
  }

  bool AppendProcessingInstruction(std::string_view target, std::string_view data) override {
    const UniqueBstr t = AnsiBstr(target);
    const UniqueBstr d = AnsiBstr(data);
    ComPtr<IXMLDOMProcessingInstruction> pi;
    return SUCCEEDED(doc_->createProcessingInstruction(t.get(), d.get(), pi.put())) && pi &&
           SUCCEEDED(doc_->appendChild(pi.get(), nullptr));
  }

  std::unique_ptr<XmlElement> CreateElement(std::string_view name) override {
    const UniqueBstr n = AnsiBstr(name);
    ComPtr<IXMLDOMElement> e;
    if (FAILED(doc_->createElement(n.get(), e.put())) || !e) return nullptr;
    return std::make_unique<MsxmlElement>(e);
  }

  bool SetDocumentElement(XmlElement& element) override {
    return SUCCEEDED(doc_->putref_documentElement(static_cast<MsxmlElement&>(element).get()));
  }

  bool Transform(XmlDocument& style_sheet, XmlDocument& result) override {
    // Transformed to text, where the sheet's output rules (the indentation) surely apply, and read
    // into the result keeping that white space; a transform straight into a document object may
    // drop it.
    UniqueBstr text;
    if (FAILED(doc_->transformNode(static_cast<MsxmlDocument&>(style_sheet).doc_.get(), text.put())) || !text)
      return false;
    IXMLDOMDocument* out = static_cast<MsxmlDocument&>(result).doc_.get();
    out->put_preserveWhiteSpace(VARIANT_TRUE);
    VARIANT_BOOL ok = VARIANT_FALSE;
    return SUCCEEDED(out->loadXML(text.get(), &ok)) && ok == VARIANT_TRUE;
  }

  bool Save(const std::string& path) override {
    const UniqueBstr b = AnsiBstr(path);
    return DeclareUtf8() && SUCCEEDED(doc_->save(StringVariant(b)));
  }

 private:
  // MSXML writes a file in the encoding its declaration names; the declaration goes first,
  // replacing one the document may have.
  bool DeclareUtf8() {
    const UniqueBstr target(std::u16string_view(u"xml"));
    const UniqueBstr data(std::u16string_view(u"version=\"1.0\" encoding=\"UTF-8\""));
    ComPtr<IXMLDOMProcessingInstruction> pi;
    if (!target || !data || FAILED(doc_->createProcessingInstruction(target.get(), data.get(), pi.put())) || !pi)
      return false;
    ComPtr<IXMLDOMNode> first;
    if (doc_->get_firstChild(first.put()) != S_OK || !first) return SUCCEEDED(doc_->appendChild(pi.get(), nullptr));
    DOMNodeType type = NODE_INVALID;
    UniqueBstr name;
    if (SUCCEEDED(first->get_nodeType(&type)) && type == NODE_PROCESSING_INSTRUCTION &&
        SUCCEEDED(first->get_nodeName(name.put())) && name && name.view() == u"xml") {
      ComPtr<IXMLDOMNode> old;
      return SUCCEEDED(doc_->replaceChild(pi.get(), first.get(), old.put()));
    }
    VARIANT before;
    ::VariantInit(&before);
    V_VT(&before) = VT_UNKNOWN;
    V_UNKNOWN(&before) = first.get();  // borrowed: not cleared
    return SUCCEEDED(doc_->insertBefore(pi.get(), before, nullptr));
  }

  ComPtr<IXMLDOMDocument> doc_;
};

class MsxmlPort : public XmlPort {
 public:
  std::unique_ptr<XmlDocument> CreateDocument() override {
    auto doc = std::make_unique<MsxmlDocument>();
    if (!doc->Create()) return nullptr;
    return doc;
  }

  bool IdentityStyleSheet(std::string* text) override {
    HMODULE self = ::GetModuleHandleA(nullptr);
    HRSRC found = ::FindResourceA(self, MAKEINTRESOURCEA(kStyleSheetResource), "XSL");
    if (!found) return false;
    HGLOBAL loaded = ::LoadResource(self, found);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes) return false;
    text->assign(static_cast<const char*>(bytes), ::SizeofResource(self, found));
    return true;
  }
};

}  // namespace

std::unique_ptr<XmlPort> MakeSystemXmlPort() { return std::make_unique<MsxmlPort>(); }

}  // namespace ph
