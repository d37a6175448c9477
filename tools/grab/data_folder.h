// Where grab keeps what it learns: the data folder, and whether grab can keep anything there.
#pragma once

#include <string>

namespace ph::grab {

// --data-dir when given, else $PAGEHARVEST_DATA, else $XDG_DATA_HOME/pageharvest, else
// ~/.local/share/pageharvest; as an absolute path.
std::string DataFolderOf(const std::string& data_dir_option);

// Makes the folder when it is missing (private to the user: it holds the database password) and
// makes sure files can be made in it; false with the reason in *error otherwise, so that nothing is
// learned and then lost without a word.
bool PrepareDataFolder(const std::string& folder, std::string* error);

}  // namespace ph::grab
