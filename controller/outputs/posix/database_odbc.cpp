// The database port natively: unixODBC's ...W functions and the drivers it is configured with.
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include "controller/outputs/database_odbc_calls.h"

namespace ph::odbc {

// No driver here has a window to ask in: missing details make the connection fail.
SQLHWND PromptOwner(DriverPrompt, SQLUSMALLINT* completion) {
  *completion = SQL_DRIVER_NOPROMPT;
  return nullptr;
}

}  // namespace ph::odbc
