// Reading the Windows clipboard back as a pasting program would, for tests of what was put there.
#pragma once

#include <optional>
#include <string>

namespace ph::test {

// The whole memory block the clipboard holds under the format (with whatever follows the text's
// terminating zero), or nothing when the clipboard cannot be opened or holds no such format.
std::optional<std::string> ClipboardBytes(unsigned format);

// The CF_UNICODETEXT text up to its terminating zero, as UTF-8; empty when there is none.
std::string ClipboardText();

}  // namespace ph::test
