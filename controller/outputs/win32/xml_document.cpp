// The XML-document port over MSXML; the identity style sheet is the program's "XSL" resource 140.
#include "controller/outputs/xml_document.h"

#include <windows.h>

#include <msxml2.h>
#include <oleauto.h>

namespace ph {
namespace {

const CLSID kClsidDomDocument = {0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kIidXmlDomDocument = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
constexpr int kStyleSheetResource = 140;

// Owns one reference to a COM object.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr& o) : p_(o.p_) {
    if (p_) p_->AddRef();
  }
  ComPtr& operator=(const ComPtr&) = delete;
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  T** put() {
    Reset();
    return &p_;
  }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }

 private:
  T* p_ = nullptr;
};

// A BSTR made from ANSI text, freed with the object.
class Bstr {
 public:
  explicit Bstr(std::string_view ansi) {
    const int n = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    b_ = ::SysAllocStringLen(nullptr, static_cast<UINT>(n));
    if (b_ && n > 0) ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), b_, n);
  }
  ~Bstr() { ::SysFreeString(b_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return b_; }

 private:
  BSTR b_ = nullptr;
};

// A string VARIANT that borrows the Bstr: it is not cleared, the Bstr frees the string.
VARIANT StringVariant(const Bstr& text) {
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
    Bstr b(text);
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
    Bstr b(path);
    VARIANT_BOOL ok = VARIANT_FALSE;
    return SUCCEEDED(doc_->load(StringVariant(b), &ok)) && ok == VARIANT_TRUE;
  }

  bool LoadText(std::string_view text) override {
    Bstr b(text);
    VARIANT_BOOL ok = VARIANT_FALSE;
    return SUCCEEDED(doc_->loadXML(b.get(), &ok)) && ok == VARIANT_TRUE;
  }

  std::unique_ptr<XmlElement> DocumentElement() override {
    ComPtr<IXMLDOMElement> root;
    if (doc_->get_documentElement(root.put()) != S_OK || !root) return nullptr;
    return std::make_unique<MsxmlElement>(root);
  }

  bool AppendProcessingInstruction(std::string_view target, std::string_view data) override {
    Bstr t(target);
    Bstr d(data);
    ComPtr<IXMLDOMProcessingInstruction> pi;
    return SUCCEEDED(doc_->createProcessingInstruction(t.get(), d.get(), pi.put())) && pi &&
           SUCCEEDED(doc_->appendChild(pi.get(), nullptr));
  }

  std::unique_ptr<XmlElement> CreateElement(std::string_view name) override {
    Bstr n(name);
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
    BSTR text = nullptr;
    if (FAILED(doc_->transformNode(static_cast<MsxmlDocument&>(style_sheet).doc_.get(), &text)) || !text) return false;
    IXMLDOMDocument* out = static_cast<MsxmlDocument&>(result).doc_.get();
    out->put_preserveWhiteSpace(VARIANT_TRUE);
    VARIANT_BOOL ok = VARIANT_FALSE;
    const bool loaded = SUCCEEDED(out->loadXML(text, &ok)) && ok == VARIANT_TRUE;
    ::SysFreeString(text);
    return loaded;
  }

  bool Save(const std::string& path) override {
    Bstr b(path);
    return SUCCEEDED(doc_->save(StringVariant(b)));
  }

 private:
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
