// Generated pages and stores for the engine's benchmarks.
#pragma once

#include <memory>
#include <string>

#include "band/engine/layout_store.h"

namespace ph {
class MemoryDocument;
}

namespace ph::bench {

// tables x rows x cells table cells, each cell with a few words.
std::string TablePage(int tables, int rows, int cells);

// Nested blocks: a chain of `depth` levels, alternately a table cell and a div, each holding
// `siblings` leaf blocks with text beside the next level.
std::string NestedPage(int depth, int siblings);

// Blocks of tables: `blocks` divs each holding a table of rows x cells.
std::string BlockPage(int blocks, int rows, int cells);

// Sections of nested blocks as a modern page builds them: a page block holding `sections` sections
// (div.section with a numbered id, a heading, a content block of linked paragraphs), about 18
// elements each. With `shifted` a notice block comes first, so that every element path into the
// sections names the section before the one it named.
std::string SectionsPage(int sections, bool shifted);

// `depth` nested divs, each with a word of its own before the next, the innermost holding a table of
// one cell with a few words; built as a tree directly, so that no parser limits its depth.
std::shared_ptr<MemoryDocument> NestedDivs(int depth);

// The signature TablePage gives, with `extra_cells` cells added to the last row of the last table.
LayoutNode TableSignature(int tables, int rows, int cells, int extra_cells);

}  // namespace ph::bench
