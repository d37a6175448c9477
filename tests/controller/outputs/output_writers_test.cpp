// Each kind of output reaches its own writer, and a kind without one saves nothing.
#include "controller/outputs/output_writers.h"

#include "controller/outputs/database_output.h"
#include "tests/controller/outputs/outputs_fixture.h"

namespace ph {
namespace {

// A database nobody can reach; it counts who tried.
struct Unreachable : Database, AccessEngine {
  std::unique_ptr<DatabaseConnection> Connect(std::string_view, std::string* error) override {
    ++attempts;
    *error = "unreachable";
    return nullptr;
  }
  std::unique_ptr<AccessDatabase> Open(std::string_view, std::string_view, std::string* error) override {
    ++attempts;
    *error = "unreachable";
    return nullptr;
  }
  int attempts = 0;
};

class Writers : public test::OutputsTest {
 protected:
  OutputContext Content(const std::string& name) {
    OutputContext c;
    c.text = "text";
    c.html = "<p>html</p>";
    c.path = Path(name);
    return c;
  }
  Unreachable db_;
  DatabaseWriter database_{settings_, user_, clock_, db_, db_};
  PortWriters writers_{ports(), database_};
};

TEST_F(Writers, EachKindReachesItsWriter) {
  EXPECT_EQ(writers_.Write(kOutputText, Content("a.txt")), 1);
  EXPECT_EQ(ReadFile(Path("a.txt")), "text\r\n");
  EXPECT_EQ(writers_.Write(kOutputHtml, Content("a.htm")), 1);
  EXPECT_NE(ReadFile(Path("a.htm")).find("<body>\r\n<p>html</p></body>"), std::string::npos);
  EXPECT_EQ(writers_.Write(kOutputXml, Content("a.xml")), 1);
  EXPECT_NE(ReadFile(Path("a.xml")).find("<data>text</data>"), std::string::npos);
  EXPECT_EQ(writers_.Write(kOutputClipboard, Content("")), 1);
  EXPECT_EQ(clipboard_.contents().at(ClipboardFormat::kUnicodeText), std::string("t\0e\0x\0t\0\0\0", 10));
  EXPECT_TRUE(user_.messages().empty());
  settings_.dsn = "Content";
  settings_.odbc_table = "content";
  EXPECT_EQ(writers_.Write(kOutputDatabase, Content("")), 0);
  EXPECT_EQ(db_.attempts, 1);
}

TEST_F(Writers, UnknownKindSavesNothing) {
  EXPECT_EQ(writers_.Write(5, Content("x.txt")), 0);
  EXPECT_EQ(writers_.Write(-1, Content("x.txt")), 0);
  EXPECT_FALSE(Exists(Path("x.txt")));
  EXPECT_TRUE(user_.messages().empty());
}

}  // namespace
}  // namespace ph
