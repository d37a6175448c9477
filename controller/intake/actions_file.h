// "actions.dat": the action table on disk, read once at start and rewritten whole after each change.
#pragma once

#include "common/base.h"
#include "common/data_file_names.h"
#include "controller/intake/layout_action.h"

namespace ph {

class FileSystem;

// The largest file the reader takes in. Real files hold a few records; anything far beyond this is
// not a table we wrote, and reading it whole would only cost memory.
inline constexpr std::size_t kMaxActionsFileSize = 16u << 20;

// Adds the records of the file's bytes to the table, in file order (a later record of the same id
// replaces an earlier one). Stops at the terminator or where the data ends; a record cut short
// keeps the fields that were read in full, and a folder cut short is left empty.
void ParseActions(const void* data, std::size_t size, ActionTable* table);

// The file's bytes: one record per entry in ascending id order, then four zero bytes.
Bytes SerializeActions(const ActionTable& table);

// A missing or unreadable file leaves the table as it is.
void LoadActions(FileSystem& fs, const std::string& path, ActionTable* table);
// Failures are silent: the table in memory stays what counts for this run.
void SaveActions(FileSystem& fs, const std::string& path, const ActionTable& table);

}  // namespace ph
