// Names of the data files that the band and the controller keep in the folder they are installed in.
#pragma once

namespace ph {

inline constexpr char kLayoutsFileName[] = "layouts.dat";
inline constexpr char kSelectionsFileName[] = "selections.dat";
inline constexpr char kActionsFileName[] = "actions.dat";
// The fingerprints of the stored regions, in a file of their own so that "selections.dat" keeps its
// format for every reader of it.
inline constexpr char kRegionsFileName[] = "regions.dat";

}  // namespace ph
