// Names of the data files that the band and the controller keep in the folder they are installed in.
#pragma once

namespace ph {

inline constexpr char kLayoutsFileName[] = "layouts.dat";
inline constexpr char kSelectionsFileName[] = "selections.dat";
inline constexpr char kActionsFileName[] = "actions.dat";

}  // namespace ph
