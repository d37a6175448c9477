// The engine's stores on disk: "layouts.dat", "selections.dat" and "regions.dat" in the band's folder,
// read whole at start and changed one process at a time, so that what every process learns is kept.
#pragma once

#include "band/engine/layout_store.h"
#include "band/engine/selection_store.h"
#include "platform/data_file.h"

namespace ph {

class EngineStores {
 public:
  explicit EngineStores(FileSystem& files);

  // Reads the three files; a missing or unreadable one leaves its store empty.
  void Load();
  // The id of the stored layout of the host most like the signature, learned when there is none.
  // The files are read again under the lock first: a layout that another process learned meanwhile
  // is found, and a new one takes the next id free in the file.
  std::int32_t LearnLayout(const std::string& host, LayoutNode signature);
  // Replaces the regions stored for the layout with these, keeping those of every other layout as
  // the files hold them now.
  void ReplaceRegions(std::int32_t layout_id, std::vector<StoredRegion> regions);

  const LayoutStore& layouts() const { return layouts_; }
  const SelectionStore& selections() const { return selections_; }
  LayoutStore& layouts() { return layouts_; }
  SelectionStore& selections() { return selections_; }

 private:
  void ReadSelections(const Bytes& selections, const Bytes& regions);

  FileSystem& files_;
  DataFile layouts_file_;
  DataFile selections_file_;
  DataFile regions_file_;
  LayoutStore layouts_;
  SelectionStore selections_;
};

}  // namespace ph
