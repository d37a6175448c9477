// What became of the content of one page once the engine was done with it.
#pragma once

#include "tools/grab/grab_parts.h"
#include "tools/grab/progress.h"

namespace ph::grab {

// Saved: written, with no error shown. Skipped: nothing to save (nothing was sent, nobody said where
// it goes, or it held no text for a text file). Failed: the write failed.
Outcome OutcomeOfSend(GrabParts& parts);

}  // namespace ph::grab
