// The ODBC connection over the ...W functions, shared by the odbc32 and the unixODBC build.

// Included by win32/database_odbc.cpp and posix/database_odbc.cpp after their platform's ODBC
// headers: the calls are the same on both, only the headers and the prompt's owner differ.
#pragma once

#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

#include "controller/outputs/database.h"
#include "controller/outputs/database_statements.h"
#include "platform/code_page.h"

namespace ph::odbc {

// The window that owns a driver's prompt and how far the driver may ask; defined per platform.
SQLHWND PromptOwner(DriverPrompt prompt, SQLUSMALLINT* completion);

// An ODBC handle of one kind, freed when it goes; connections are disconnected first.
template <SQLSMALLINT kKind>
class Handle {
 public:
  Handle() = default;
  ~Handle() { Reset(); }
  Handle(Handle&& o) noexcept : h_(std::exchange(o.h_, nullptr)), connected_(o.connected_) {}
  Handle& operator=(Handle&&) = delete;
  Handle(const Handle&) = delete;

  bool Allocate(SQLHANDLE parent) {
    Reset();
    return SQL_SUCCEEDED(SQLAllocHandle(kKind, parent, &h_));
  }
  SQLHANDLE get() const { return h_; }
  void MarkConnected() { connected_ = true; }
  void Reset() {
    if (h_ == nullptr) return;
    if (connected_) SQLDisconnect(h_);
    SQLFreeHandle(kKind, h_);
    h_ = nullptr;
    connected_ = false;
  }

 private:
  SQLHANDLE h_ = nullptr;
  bool connected_ = false;
};

using Environment = Handle<SQL_HANDLE_ENV>;
using ConnectionHandle = Handle<SQL_HANDLE_DBC>;
using Statement = Handle<SQL_HANDLE_STMT>;

// SQLWCHAR is wchar_t on Windows and unsigned short in unixODBC: UTF-16 units on both.
inline std::vector<SQLWCHAR> ToSql(std::u16string_view text) {
  std::vector<SQLWCHAR> out(text.begin(), text.end());
  out.push_back(0);
  return out;
}

inline std::u16string FromSql(const SQLWCHAR* text, std::size_t units) {
  std::u16string out;
  out.reserve(units);
  for (std::size_t i = 0; i < units && text[i] != 0; ++i)
    out.push_back(static_cast<char16_t>(text[i]));
  return out;
}

// Every diagnostic record of a handle, one message a line, as the driver worded them.
inline std::string DiagnosticText(SQLSMALLINT kind, SQLHANDLE handle, const CodePage& code_page) {
  std::string text;
  for (SQLSMALLINT record = 1;; ++record) {
    SQLWCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLWCHAR message[1024] = {};
    SQLSMALLINT length = 0;
    const SQLRETURN rc = SQLGetDiagRecW(kind, handle, record, state, &native, message,
                                        static_cast<SQLSMALLINT>(std::size(message)), &length);
    if (!SQL_SUCCEEDED(rc)) break;
    if (!text.empty()) text += '\n';
    text += code_page.ToAnsi(FromSql(message, std::size(message)));
  }
  if (text.empty()) text = "The ODBC driver reported an error without a message.";
  return text;
}

// Puts the attributes of the file data source in place of FILEDSN. The driver managers' ...W
// entry points (unixODBC's, and Wine's odbc32 that forwards to it) do not read file data sources,
// so every build reads them here, the same way.
inline bool ResolveFileDsn(std::string* driver_string, std::string* error) {
  const std::string path = FileDsnPath(*driver_string);
  if (path.empty()) return true;
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  if (file) text << file.rdbuf();
  if (!file) {
    *error = "The file data source \"" + path + "\" could not be read.";
    return false;
  }
  *driver_string = MergeFileDsn(*driver_string, FileDsnAttributes(text.str()));
  return true;
}

class OdbcConnection : public DatabaseConnection {
 public:
  OdbcConnection(Environment env, ConnectionHandle dbc, std::shared_ptr<const CodePage> code_page)
      : env_(std::move(env)), dbc_(std::move(dbc)), code_page_(std::move(code_page)) {}
  ~OdbcConnection() override { dbc_.Reset(); }  // before the environment it lives in

  bool Execute(std::string_view sql, std::string* error) override {
    Statement stmt;
    if (!NewStatement(&stmt, error)) return false;
    const std::vector<SQLWCHAR> text = ToSql(code_page_->FromAnsi(sql));
    const SQLRETURN rc = SQLExecDirectW(stmt.get(), const_cast<SQLWCHAR*>(text.data()), SQL_NTS);
    if (SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA) return true;
    *error = DiagnosticText(SQL_HANDLE_STMT, stmt.get(), *code_page_);
    return false;
  }

  AppendOutcome AppendContentRow(std::string_view table, const ContentRow& row,
                                 std::string* error) override {
    const std::string quote = IdentifierQuote();
    if (!Execute(ContentSelectStatement(table, quote), error))
      return AppendOutcome::kTableNotOpened;
    if (ReadOnly()) {
      *error = "The data source is read-only.";
      return AppendOutcome::kNotAppendable;
    }

    Statement stmt;
    if (!NewStatement(&stmt, error)) return AppendOutcome::kUpdateFailed;
    const std::vector<SQLWCHAR> sql =
        ToSql(code_page_->FromAnsi(ContentInsertStatement(table, quote)));
    if (!SQL_SUCCEEDED(SQLPrepareW(stmt.get(), const_cast<SQLWCHAR*>(sql.data()), SQL_NTS))) {
      *error = DiagnosticText(SQL_HANDLE_STMT, stmt.get(), *code_page_);
      return AppendOutcome::kUpdateFailed;
    }

    SQL_TIMESTAMP_STRUCT date = {};
    date.year = static_cast<SQLSMALLINT>(row.content_date.year);
    date.month = static_cast<SQLUSMALLINT>(row.content_date.month);
    date.day = static_cast<SQLUSMALLINT>(row.content_date.day);
    date.hour = static_cast<SQLUSMALLINT>(row.content_date.hour);
    date.minute = static_cast<SQLUSMALLINT>(row.content_date.minute);
    date.second = static_cast<SQLUSMALLINT>(row.content_date.second);
    SQLLEN date_length = sizeof date;
    TextParameter url(CutToColumn(code_page_->FromAnsi(row.url), kUrlColumnSize));
    TextParameter content(CutToColumn(code_page_->FromAnsi(row.content), kContentColumnSize));

    const bool bound = SQL_SUCCEEDED(SQLBindParameter(stmt.get(), 1, SQL_PARAM_INPUT,
                                                      SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, 19,
                                                      0, &date, sizeof date, &date_length)) &&
                       url.Bind(stmt.get(), 2, kUrlColumnSize) &&
                       content.Bind(stmt.get(), 3, kContentColumnSize);
    if (!bound || !SQL_SUCCEEDED(SQLExecute(stmt.get()))) {
      *error = DiagnosticText(SQL_HANDLE_STMT, stmt.get(), *code_page_);
      return AppendOutcome::kUpdateFailed;
    }
    return AppendOutcome::kAppended;
  }

  bool Query(std::string_view sql, QueryRows* rows, std::string* error) override {
    rows->clear();
    Statement stmt;
    if (!NewStatement(&stmt, error)) return false;
    const std::vector<SQLWCHAR> text = ToSql(code_page_->FromAnsi(sql));
    SQLSMALLINT columns = 0;
    if (!SQL_SUCCEEDED(SQLExecDirectW(stmt.get(), const_cast<SQLWCHAR*>(text.data()), SQL_NTS)) ||
        !SQL_SUCCEEDED(SQLNumResultCols(stmt.get(), &columns))) {
      *error = DiagnosticText(SQL_HANDLE_STMT, stmt.get(), *code_page_);
      return false;
    }
    SQLRETURN rc;
    while (SQL_SUCCEEDED(rc = SQLFetch(stmt.get()))) {
      std::vector<std::string>& row = rows->emplace_back();
      for (SQLUSMALLINT column = 1; column <= columns; ++column) {
        std::u16string value;
        if (!ReadColumn(stmt.get(), column, &value)) {
          *error = DiagnosticText(SQL_HANDLE_STMT, stmt.get(), *code_page_);
          return false;
        }
        row.push_back(code_page_->ToAnsi(value));
      }
    }
    if (rc != SQL_NO_DATA) {
      *error = DiagnosticText(SQL_HANDLE_STMT, stmt.get(), *code_page_);
      return false;
    }
    return true;
  }

 private:
  // A text parameter in UTF-16, alive until the statement has run.
  class TextParameter {
   public:
    explicit TextParameter(const std::u16string& text)
        : units_(ToSql(text)), length_(static_cast<SQLLEN>(text.size() * sizeof(SQLWCHAR))) {}
    bool Bind(SQLHANDLE stmt, SQLUSMALLINT number, std::size_t column_size) {
      return SQL_SUCCEEDED(SQLBindParameter(
          stmt, number, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_VARCHAR, column_size, 0, units_.data(),
          static_cast<SQLLEN>(units_.size() * sizeof(SQLWCHAR)), &length_));
    }

   private:
    std::vector<SQLWCHAR> units_;
    SQLLEN length_;
  };

  bool NewStatement(Statement* stmt, std::string* error) {
    if (stmt->Allocate(dbc_.get())) return true;
    *error = DiagnosticText(SQL_HANDLE_DBC, dbc_.get(), *code_page_);
    return false;
  }

  std::string IdentifierQuote() {
    SQLWCHAR quote[8] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(
            SQLGetInfoW(dbc_.get(), SQL_IDENTIFIER_QUOTE_CHAR, quote, sizeof quote, &length)))
      return std::string();
    return code_page_->ToAnsi(FromSql(quote, std::size(quote)));
  }

  bool ReadOnly() {
    SQLWCHAR answer[4] = {};
    SQLSMALLINT length = 0;
    if (SQL_SUCCEEDED(
            SQLGetInfoW(dbc_.get(), SQL_DATA_SOURCE_READ_ONLY, answer, sizeof answer, &length)) &&
        (answer[0] == 'Y' || answer[0] == 'y'))
      return true;
    SQLUINTEGER mode = SQL_MODE_READ_WRITE;
    return SQL_SUCCEEDED(SQLGetConnectAttrW(dbc_.get(), SQL_ATTR_ACCESS_MODE, &mode, 0, nullptr)) &&
           mode == SQL_MODE_READ_ONLY;
  }

  static bool ReadColumn(SQLHANDLE stmt, SQLUSMALLINT column, std::u16string* value) {
    SQLWCHAR chunk[2048];
    for (;;) {
      SQLLEN indicator = 0;
      const SQLRETURN rc = SQLGetData(stmt, column, SQL_C_WCHAR, chunk, sizeof chunk, &indicator);
      if (rc == SQL_NO_DATA) return true;
      if (!SQL_SUCCEEDED(rc)) return false;
      if (indicator == SQL_NULL_DATA) return true;
      const std::size_t whole = std::size(chunk) - 1;  // the driver ends every part with a zero
      const std::size_t units =
          indicator == SQL_NO_TOTAL ||
                  indicator / static_cast<SQLLEN>(sizeof(SQLWCHAR)) > static_cast<SQLLEN>(whole)
              ? whole
              : static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR);
      value->append(FromSql(chunk, units));
      if (rc == SQL_SUCCESS) return true;
    }
  }

  Environment env_;
  ConnectionHandle dbc_;
  std::shared_ptr<const CodePage> code_page_;
};

class OdbcDatabase : public Database {
 public:
  explicit OdbcDatabase(DriverPrompt prompt) : prompt_(prompt), code_page_(MakeSystemCodePage()) {}

  std::unique_ptr<DatabaseConnection> Connect(std::string_view connection_string,
                                              std::string* error) override {
    Environment env;
    if (!env.Allocate(SQL_NULL_HANDLE)) {
      *error = "The ODBC driver manager could not be started.";
      return nullptr;
    }
    SQLSetEnvAttr(env.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    ConnectionHandle dbc;
    if (!dbc.Allocate(env.get())) {
      *error = DiagnosticText(SQL_HANDLE_ENV, env.get(), *code_page_);
      return nullptr;
    }
    SQLSetConnectAttrW(dbc.get(), SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(15), 0);

    std::string driver_string = DriverConnectionString(connection_string);
    if (!ResolveFileDsn(&driver_string, error)) return nullptr;
    const std::vector<SQLWCHAR> in = ToSql(code_page_->FromAnsi(driver_string));
    SQLWCHAR out[1024] = {};
    SQLSMALLINT out_length = 0;
    SQLUSMALLINT completion = SQL_DRIVER_NOPROMPT;
    const SQLHWND owner = PromptOwner(prompt_, &completion);
    const SQLRETURN rc =
        SQLDriverConnectW(dbc.get(), owner, const_cast<SQLWCHAR*>(in.data()), SQL_NTS, out,
                          static_cast<SQLSMALLINT>(std::size(out)), &out_length, completion);
    if (!SQL_SUCCEEDED(rc)) {
      // SQL_NO_DATA: the user cancelled the driver's prompt; the driver says nothing then.
      *error = rc == SQL_NO_DATA ? std::string("The connection was cancelled.")
                                 : DiagnosticText(SQL_HANDLE_DBC, dbc.get(), *code_page_);
      return nullptr;
    }
    dbc.MarkConnected();
    return std::make_unique<OdbcConnection>(std::move(env), std::move(dbc), code_page_);
  }

 private:
  DriverPrompt prompt_;
  std::shared_ptr<const CodePage> code_page_;
};

}  // namespace ph::odbc

namespace ph {

std::unique_ptr<Database> MakeOdbcDatabase(DriverPrompt prompt) {
  return std::make_unique<odbc::OdbcDatabase>(prompt);
}

}  // namespace ph
