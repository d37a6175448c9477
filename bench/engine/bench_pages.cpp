// Generated pages and signatures for the engine's benchmarks.
#include "bench/engine/bench_pages.h"

#include "band/memdoc/memory_document.h"
#include "band/html/memory_node.h"

namespace ph::bench {

std::string TablePage(int tables, int rows, int cells) {
  std::string html = "<html><head><title>Tables</title></head><body>";
  for (int t = 0; t < tables; ++t) {
    html += "<table>";
    for (int r = 0; r < rows; ++r) {
      html += "<tr>";
      for (int c = 0; c < cells; ++c) html += "<td>cell " + std::to_string(c) + " of row</td>";
      html += "</tr>";
    }
    html += "</table>";
  }
  return html + "</body></html>";
}

std::string NestedPage(int depth, int siblings) {
  std::string open, close;
  for (int d = 0; d < depth; ++d) {
    const bool cell = d % 2 == 0;
    std::string leaves;
    for (int s = 0; s < siblings; ++s) {
      const std::string words = "word " + std::to_string(s) + " level " + std::to_string(d) + " text here";
      leaves += cell ? "<div>" + words + "</div>" : "<div><p>" + words + " more</p></div>";
    }
    if (cell) {
      open += "<table><tr><td>level text " + leaves;
      close = "</td></tr></table>" + close;
    } else {
      open += "<div>block text " + leaves;
      close = "</div>" + close;
    }
  }
  return "<html><body>" + open + close + "</body></html>";
}

std::string BlockPage(int blocks, int rows, int cells) {
  std::string html = "<html><body>";
  for (int b = 0; b < blocks; ++b) {
    html += "<div><table>";
    for (int r = 0; r < rows; ++r) {
      html += "<tr>";
      for (int c = 0; c < cells; ++c) html += "<td>x</td>";
      html += "</tr>";
    }
    html += "</table></div>";
  }
  return html + "</body></html>";
}

std::string SectionsPage(int sections, bool shifted) {
  std::string html = "<html><head><title>Sections</title></head><body><div class=\"page\">";
  if (shifted) html += "<div class=\"notice\">Notice</div>";
  for (int s = 0; s < sections; ++s) {
    const std::string n = std::to_string(s);
    html += "<div class=\"section\" id=\"sec-" + n + "\"><h2>Section " + n + "</h2><div class=\"content\">";
    for (int p = 0; p < 5; ++p) html += "<p>Text of " + n + " <a href=\"#\">link</a> and <b>more</b></p>";
    html += "</div></div>";
  }
  return html + "</div></body></html>";
}

std::shared_ptr<MemoryDocument> NestedDivs(int depth) {
  auto doc = MemoryDocument::Parse("<html><body></body></html>", u"http://bench.test/deep");
  MemoryNode* at = doc->root()->children.back()->children.back().get();
  for (int i = 0; i < depth; ++i) {
    at = AppendNode(at, MemoryNode::Type::kElement, u"DIV");
    AppendNode(at, MemoryNode::Type::kText, u"w ");
  }
  for (const char16_t* tag : {u"TABLE", u"TBODY", u"TR", u"TD"}) at = AppendNode(at, MemoryNode::Type::kElement, tag);
  AppendNode(at, MemoryNode::Type::kText, u"one two three four five");
  doc->Changed();
  return doc;
}

LayoutNode TableSignature(int tables, int rows, int cells, int extra_cells) {
  LayoutNode doc(kLayoutDocument);
  for (int t = 0; t < tables; ++t) {
    LayoutNode* table = doc.AddChild(kLayoutTable);
    for (int r = 0; r < rows; ++r) {
      LayoutNode* row = table->AddChild(kLayoutRow);
      const int n = cells + (t == tables - 1 && r == rows - 1 ? extra_cells : 0);
      for (int c = 0; c < n; ++c) row->AddChild(kLayoutCell);
    }
  }
  return doc;
}

}  // namespace ph::bench
