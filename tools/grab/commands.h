// grab's commands, each on the parts of one run; each gives the exit status.
#pragma once

#include "tools/grab/grab_parts.h"

namespace ph::grab {

int RunAuto(GrabParts& parts);
int RunPick(GrabParts& parts);
int RunSelect(GrabParts& parts);
int RunPaths(GrabParts& parts);
int RunQuick(GrabParts& parts);
int RunDatabase(GrabParts& parts);
int RunHost(GrabParts& parts);

// Whether the command needs the ODBC table of the settings (db create-table, --kind database) and
// none is named: a mistake on the command line, which RefuseMissingTable says.
bool OdbcTableMissing(const GrabParts& parts);
void RefuseMissingTable(GrabParts& parts);

// Loads the page named first on the command line and hands it to the engine; false when it cannot
// be had, which is said.
bool OpenFirstPage(GrabParts& parts);
// The end of a selection on one page (auto, pick, select): the settings are kept, where the content
// went is said, and the exit status given.
int FinishSelection(GrabParts& parts);

}  // namespace ph::grab
