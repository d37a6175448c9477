// The live collections of the in-memory document: children, descendants, rows and cells of a node.
#pragma once

#include <memory>

#include "band/engine/document.h"

namespace ph {

class MemoryDocument;
struct MemoryNode;

enum class NodeList { kChildren, kDescendants, kRows, kCells };

// A collection of the nodes of that kind under root, with the given tag (any tag when empty); it is
// worked out again whenever the document has changed.
CollectionPtr MakeMemoryCollection(std::shared_ptr<MemoryDocument> document, NodeList kind,
                                   std::shared_ptr<MemoryNode> root, WideView tag = {});

}  // namespace ph
