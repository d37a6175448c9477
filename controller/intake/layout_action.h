// What the controller remembers per page layout: the action table and its entries.
#pragma once

#include <map>

#include "common/base.h"
#include "controller/outputs/output_context.h"

namespace ph {

struct LayoutAction {
  std::int32_t kind = kOutputText;       // an OutputKind; other values only come from a damaged file
  std::int32_t portion = kPortionAuto;   // a Portion
  std::string folder;                    // file kinds: folder of the chosen file, no trailing separator

  bool operator==(const LayoutAction& o) const {
    return kind == o.kind && portion == o.portion && folder == o.folder;
  }
  bool operator!=(const LayoutAction& o) const { return !(*this == o); }
};

// Keyed by layout id, kept in ascending order because that is the order of "actions.dat".
using ActionTable = std::map<std::int32_t, LayoutAction>;

}  // namespace ph
