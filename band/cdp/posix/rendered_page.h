// A page loaded in the browser and left to settle, taken as the markup of its documents.
#pragma once

#include <vector>

#include "band/cdp/posix/page_settling.h"

namespace ph::cdp {

// One document of the page as the browser holds it now (scripts have run), serialised to HTML.
struct RenderedDocument {
  std::string url;    // as the browser reports it, after redirects
  std::string html;   // doctype and root element, UTF-8
  // The src attribute of the frame element that holds this document; empty for the top document.
  std::string owner_src;
  int parent = -1;  // index of the document that holds the frame, -1 for the top document
};

// Loads url in the tab, waits for the load event and then for a quiet spell; returns the id of the
// tab's main frame. Throws DevToolsError when the page cannot be had (an HTTP error status included).
std::string LoadAndSettle(PageTab& tab, const std::string& url, const SettleTimes& times = {});

// The markup of the frame's document as it is now; false when the frame has none to read.
bool CaptureDocument(PageTab& tab, const std::string& frame_id, RenderedDocument* document);

// The documents of the settled page in the tab, the top one (of main_frame, loaded from url) first
// and then the frames in document order, each frame before the frames inside it. Throws
// DevToolsError when the top document cannot be read.
std::vector<RenderedDocument> CaptureDocuments(PageTab& tab, const std::string& main_frame, const std::string& url);

}  // namespace ph::cdp
