// Names of the data files that the band and the controller keep in the folder they are installed in.
#pragma once

namespace ph {

inline constexpr char kLayoutsFileName[] = "layouts.dat";
inline constexpr char kSelectionsFileName[] = "selections.dat";
inline constexpr char kActionsFileName[] = "actions.dat";
// The fingerprints of the stored regions, in a file of their own so that "selections.dat" keeps its
// format for every reader of it.
inline constexpr char kRegionsFileName[] = "regions.dat";
// Every change to the data files of a folder is made by one process at a time, while it holds the
// lock of this file beside them.
inline constexpr char kDataLockFileName[] = "pageharvest.lock";

}  // namespace ph
