// The save dialog's decisions, apart from its window: what each button does with the item.
#pragma once

#include <array>

#include "common/base.h"
#include "controller/intake/intake_item.h"
#include "controller/intake/layout_action.h"
#include "controller/intake/output_services.h"

namespace ph {

class UserPort;

// The dialog's modal results.
inline constexpr int kSaveDone = 0;
inline constexpr int kSaveCancelled = -1;

// The entries of the portion list, in list order; their codes differ from the order.
inline constexpr std::array<const char*, 3> kPortionEntries = {"Auto", "Text", "HTML"};
std::int32_t PortionOfListIndex(int index);

class SaveDialogLogic {
 public:
  // The dialog keeps its own copy of the item; action is filled in when a choice is carried out.
  // File choosers are shown through user.
  SaveDialogLogic(const IntakeItem& item, LayoutAction* action, const OutputServices& services,
                  UserPort& user);

  const std::string& PreviewText() const { return item_.text; }
  bool InitialAppend() const;

  // "&Text", "&XML", "&HTML": asks for the file and writes it. list_index is the portion list's
  // selection, append_checked the check box. Returns the dialog's result.
  int SaveToFile(std::int32_t kind, int list_index, bool append_checked);
  // "&Clipboard", "&Database".
  int SaveOther(std::int32_t kind, int list_index);

 private:
  IntakeItem item_;
  LayoutAction* action_;
  OutputServices services_;
  UserPort& user_;
};

}  // namespace ph
