// The database port on Windows: odbc32's ...W functions (Wine's odbc32 has no ...A ones).
#include <windows.h>
// The ODBC headers need the Windows types declared first.
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include "controller/outputs/database_odbc_calls.h"

namespace ph::odbc {

// The driver may ask for what the connection string leaves out, in a dialog over the window the
// user is working in.
SQLHWND PromptOwner(DriverPrompt prompt, SQLUSMALLINT* completion) {
  if (prompt == DriverPrompt::kNever) {
    *completion = SQL_DRIVER_NOPROMPT;
    return nullptr;
  }
  *completion = SQL_DRIVER_COMPLETE;
  const HWND active = GetActiveWindow();
  return active ? active : GetDesktopWindow();
}

}  // namespace ph::odbc
