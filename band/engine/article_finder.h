// The block of a page that holds its article: the story with its heading, without the page's menus,
// comments, share bars and lists of other stories.
#pragma once

#include "band/engine/element_path.h"

namespace ph {

// Of the "td", "div", "article", "main" and "section" elements of every document: the one that holds
// the most running text of its own, judged against the page as a whole. Text counts where it sits in
// blocks close below the element and outside links; blocks that are navigation, comments, share
// bars, related lists, banners or advertisements (by their tag, or by what their id, class or role
// call them) count for nothing. From there the pick widens to an enclosing block when that adds at
// least as much text as it adds links and boxes (a story split into parts), or when it takes in the
// story's heading at little cost. Null when no block holds running text.
ElementPtr FindArticle(const DocumentList& documents);

}  // namespace ph
