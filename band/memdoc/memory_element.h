// The elements of the in-memory document and their inline styles, as the engine's handles.
#pragma once

#include <memory>

#include "band/engine/document.h"

namespace ph {

class MemoryDocument;
struct MemoryNode;

// The handle of an element node of the document.
ElementPtr MakeMemoryElement(std::shared_ptr<MemoryDocument> document, std::shared_ptr<MemoryNode> node);

}  // namespace ph
