// XML files: new, appended, foreign or broken files, escaping, hostile files, each failure's message.
#include "controller/outputs/xml_file_writer.h"

#include "tests/controller/outputs/outputs_fixture.h"
#include "tests/support/mixed_script.h"

namespace ph {
namespace {

class XmlFile : public test::OutputsTest {
 protected:
  OutputContext Content(std::string text) {
    OutputContext c;
    c.text = std::move(text);
    c.html = "<b>a & b</b>";
    c.url = "http://example.test/?a=1&b=2";
    c.path = Path("out.xml");
    return c;
  }
  std::string Saved() { return ReadFile(Path("out.xml")); }
  // The file with its line breaks as LF and each indentation as one space per level: MSXML and
  // libxslt indent alike in structure, not in the characters they use.
  std::string Shape() {
    std::string out;
    bool line_start = false;
    int indent = 0;
    for (char c : Saved()) {
      if (c == '\r') continue;
      if (c == '\n') {
        out += c;
        line_start = true;
        indent = 0;
      } else if (line_start && (c == ' ' || c == '\t')) {
        indent += c == '\t' ? 2 : 1;
      } else {
        if (line_start) out.append(indent / 2, ' ');
        line_start = false;
        out += c;
      }
    }
    return out;
  }
  static int Count(const std::string& s, const std::string& what) {
    int n = 0;
    for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
    return n;
  }
};

TEST_F(XmlFile, NewFileHoldsOneIndentedSelection) {
  ASSERT_EQ(WriteXmlFile(Content("hello"), ports()), 1);
  const std::string xml = Shape();
  EXPECT_NE(xml.find("<content_selections>\n <selection>\n  <date>2026-03-07</date>\n  <time>09:05:04</time>\n"
                     "  <url>http://example.test/?a=1&amp;b=2</url>\n  <data>hello</data>\n </selection>\n"
                     "</content_selections>"),
            std::string::npos)
      << Saved();
  EXPECT_TRUE(user_.messages().empty());
}

TEST_F(XmlFile, AppendingAddsSelectionsOldestFirstAndReplacingKeepsOne) {
  settings_.append_files = 1;
  ASSERT_EQ(WriteXmlFile(Content("first"), ports()), 1);
  ASSERT_EQ(WriteXmlFile(Content("second"), ports()), 1);
  std::string xml = Shape();
  EXPECT_EQ(Count(xml, "<selection>"), 2) << xml;
  EXPECT_LT(xml.find("first"), xml.find("second"));
  // Indentation stays even, not doubled, after reading the file back.
  EXPECT_EQ(Count(xml, "\n <selection>\n  <date>"), 2) << Saved();
  settings_.append_files = 0;
  ASSERT_EQ(WriteXmlFile(Content("third"), ports()), 1);
  xml = Saved();
  EXPECT_EQ(Count(xml, "<selection>"), 1);
  EXPECT_NE(xml.find("third"), std::string::npos);
}

TEST_F(XmlFile, AppendsUnderAForeignRootAndStartsAfreshOnBrokenFiles) {
  settings_.append_files = 1;
  WriteFile(Path("out.xml"), "<notes><note>kept</note></notes>");
  ASSERT_EQ(WriteXmlFile(Content("x"), ports()), 1);
  std::string xml = Saved();
  EXPECT_NE(xml.find("<notes>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<note>kept</note>"), std::string::npos);
  EXPECT_LT(xml.find("<note>"), xml.find("<selection>"));
  EXPECT_EQ(xml.find("content_selections"), std::string::npos);

  WriteFile(Path("out.xml"), "<broken><selection></broken>");
  ASSERT_EQ(WriteXmlFile(Content("y"), ports()), 1);
  xml = Saved();
  EXPECT_EQ(xml.find("broken"), std::string::npos);
  EXPECT_EQ(Count(xml, "<selection>"), 1);
}

TEST_F(XmlFile, MarkupInContentIsStoredAsEscapedText) {
  OutputContext c = Content("ignored");
  c.portion = kPortionHtml;
  settings_.datetime_url = 0;  // does not apply to XML files
  ASSERT_EQ(WriteXmlFile(c, ports()), 1);
  const std::string xml = Saved();
  EXPECT_NE(xml.find("<data>&lt;b&gt;a &amp; b&lt;/b&gt;</data>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<date>"), std::string::npos);
}

TEST_F(XmlFile, EveryCharacterIsStoredInTheUtf8TheDeclarationNames) {
  const std::string mixed = test::Utf8Of(test::kMixedScript);
  ASSERT_EQ(WriteXmlFile(Content(mixed), ports()), 1);
  EXPECT_EQ(Saved().rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << Saved();
  EXPECT_NE(Saved().find("<data>" + mixed + "</data>"), std::string::npos) << Saved();
}

TEST_F(XmlFile, LoadingAFileResolvesNoExternalEntity) {
  WriteFile(Path("secret.txt"), "TOP-SECRET");
  auto file_url = [this](const std::string& name) {
    std::string url = Path(name);
    for (char& c : url) c = c == '\\' ? '/' : c;
    return (url[0] == '/' ? "file://" : "file:///") + url;
  };
  WriteFile(Path("out.xml"), "<!DOCTYPE r [<!ENTITY x SYSTEM \"" + file_url("secret.txt") +
                                 "\"><!ENTITY % p SYSTEM \"" + file_url("secret.dtd") + "\"> %p;]><r>&x;&leak;</r>");
  WriteFile(Path("secret.dtd"), "<!ENTITY leak \"DTD-LOADED\">");
  settings_.append_files = 1;
  ASSERT_EQ(WriteXmlFile(Content("z"), ports()), 1);
  const std::string xml = Saved();
  EXPECT_EQ(xml.find("TOP-SECRET"), std::string::npos) << xml;
  EXPECT_EQ(xml.find("DTD-LOADED"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<data>z</data>"), std::string::npos) << xml;
}

// A document port that fails where a test asks it to, to reach each message of the writer.
class FailingXml : public XmlPort {
 public:
  enum Fault { kNone, kNoDocument, kNoRoot, kNoSelection, kNoStyleSheet, kBadStyleSheet };
  explicit FailingXml(XmlPort& real, Fault fault) : real_(real), fault_(fault) {}

  std::unique_ptr<XmlDocument> CreateDocument() override {
    if (fault_ == kNoDocument) return nullptr;
    return std::make_unique<Doc>(real_.CreateDocument(), fault_);
  }
  bool IdentityStyleSheet(std::string* text) override {
    if (fault_ == kNoStyleSheet) return false;
    if (fault_ == kBadStyleSheet) {
      *text = "<xsl:stylesheet";
      return true;
    }
    return real_.IdentityStyleSheet(text);
  }

 private:
  struct Doc : XmlDocument {
    Doc(std::unique_ptr<XmlDocument> d, Fault f) : d_(std::move(d)), f_(f) {}
    bool Load(const std::string& p) override { return d_->Load(p); }
    bool LoadText(std::string_view t) override { return d_->LoadText(t); }
    std::unique_ptr<XmlElement> DocumentElement() override { return d_->DocumentElement(); }
    bool AppendProcessingInstruction(std::string_view t, std::string_view v) override {
      return d_->AppendProcessingInstruction(t, v);
    }
    std::unique_ptr<XmlElement> CreateElement(std::string_view name) override {
      if ((f_ == kNoRoot && name == "content_selections") || (f_ == kNoSelection && name == "selection"))
        return nullptr;
      return d_->CreateElement(name);
    }
    bool SetDocumentElement(XmlElement& e) override { return d_->SetDocumentElement(e); }
    bool Transform(XmlDocument& s, XmlDocument& r) override {
      return d_->Transform(*static_cast<Doc&>(s).d_, *static_cast<Doc&>(r).d_);
    }
    bool Save(const std::string& p) override { return d_->Save(p); }
    std::unique_ptr<XmlDocument> d_;
    Fault f_;
  };
  XmlPort& real_;
  Fault fault_;
};

TEST_F(XmlFile, EachFailureShowsItsMessage) {
  struct Case {
    FailingXml::Fault fault;
    const char* message;
    int result;
  };
  for (const Case& k : {Case{FailingXml::kNoDocument, "Failed to create XML document object!", 0},
                        Case{FailingXml::kNoRoot, "Failed to create root XML element", 0},
                        Case{FailingXml::kNoSelection, "failed to create xml element for content", 0},
                        Case{FailingXml::kNoStyleSheet, "could not apply style to xml document", 1},
                        Case{FailingXml::kBadStyleSheet, "could not apply style to xml document", 1}}) {
    WriteFile(Path("out.xml"), "unchanged");
    ScriptedUser user;
    FailingXml xml(*xml_, k.fault);
    OutputPorts p{settings_, *files_, *urls_, *fetcher_, clipboard_, xml, clock_, user, code_page_, diagnostics_};
    EXPECT_EQ(WriteXmlFile(Content("x"), p), k.result) << k.message;
    ASSERT_EQ(user.messages().size(), 1u) << k.message;
    EXPECT_EQ(user.messages()[0].text, k.message);
    EXPECT_EQ(user.messages()[0].caption, "Error");
    EXPECT_EQ(user.messages()[0].icon, MessageIcon::kError);
    EXPECT_EQ(Saved(), "unchanged") << k.message;
  }
}

TEST_F(XmlFile, TheProgramCarriesTheStyleSheetFileByteForByte) {
  std::string carried;
  ASSERT_TRUE(xml_->IdentityStyleSheet(&carried));
  std::string file = ReadFile(test::SourceDir() + "/resources/identity.xsl");
  if (file.empty()) file = ReadFile("Z:" + test::SourceDir() + "/resources/identity.xsl");  // under Wine
  ASSERT_FALSE(file.empty()) << "resources/identity.xsl not found from PH_SOURCE_DIR";
  EXPECT_EQ(carried, file);
  EXPECT_NE(carried.find("indent=\"yes\""), std::string::npos);
  EXPECT_NE(carried.find("\r\n"), std::string::npos);
}

}  // namespace
}  // namespace ph
