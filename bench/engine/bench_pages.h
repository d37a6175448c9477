// Generated pages and stores for the engine's benchmarks.
#pragma once

#include <string>

#include "band/engine/layout_store.h"

namespace ph::bench {

// tables x rows x cells table cells, each cell with a few words.
std::string TablePage(int tables, int rows, int cells);

// Nested blocks: a chain of `depth` levels, alternately a table cell and a div, each holding
// `siblings` leaf blocks with text beside the next level.
std::string NestedPage(int depth, int siblings);

// Blocks of tables: `blocks` divs each holding a table of rows x cells.
std::string BlockPage(int blocks, int rows, int cells);

// The signature TablePage gives, with `extra_cells` cells added to the last row of the last table.
LayoutNode TableSignature(int tables, int rows, int cells, int extra_cells);

}  // namespace ph::bench
