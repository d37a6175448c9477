// The hand-off record: five UTF-16 strings that carry one piece of content from the band to the
// controller in a WM_COPYDATA message, and the message numbers that go with it.
#pragma once

#include <array>

#include "common/base.h"

namespace ph {

// WM_USER + 1: the controller posts it to itself to work off the front of its intake queue.
constexpr unsigned kUmProcessNext = 0x0400 + 1;
// WM_USER + 10: follows every record; wParam is the layout id, lParam the quick-save flag.
constexpr unsigned kUmContentInfo = 0x0400 + 10;

enum HandoffField : std::size_t {
  kSelectionHtml = 0,
  kSelectionText = 1,
  kPageUrl = 2,
  kPageTitle = 3,
  kPageStyle = 4,
  kHandoffFieldCount = 5,
};

using HandoffFields = std::array<WideString, kHandoffFieldCount>;

// Lays the five fields end to end, each ended by one zero unit, little-endian. A field holding a
// zero unit of its own is cut there: it could not be told apart from its terminator on the wire.
Bytes PackHandoffRecord(const HandoffFields& fields);

// Reads the five fields back out of cb_data bytes. Never reads past cb_data: a field whose
// terminator is missing ends with the block, and fields that are missing altogether are empty.
HandoffFields UnpackHandoffRecord(const void* data, std::size_t cb_data);

}  // namespace ph
