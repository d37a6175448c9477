// The texts the database output and the configuration pages hand to a database.
#include "controller/outputs/database_statements.h"

#include <cctype>

namespace ph {

bool DataSourceMissing(const OdbcSource& source) {
  return source.use_file_dsn != 0 ? source.file_dsn.empty() : source.dsn.empty();
}

std::string OdbcConnectionString(const OdbcSource& source) {
  std::string text = "ODBC;";
  text += source.use_file_dsn != 0 ? "FILEDSN=" + source.file_dsn : "DSN=" + source.dsn;
  if (!source.user.empty()) text += ";UID=" + source.user;
  if (!source.password.empty()) text += ";PWD=" + source.password;
  if (!source.extra.empty()) text += ";" + source.extra;
  return text;
}

std::string DriverConnectionString(std::string_view connection_string) {
  constexpr std::string_view kMarker = "ODBC;";
  if (connection_string.size() >= kMarker.size()) {
    bool marked = true;
    for (std::size_t i = 0; i < kMarker.size(); ++i) {
      if (std::toupper(static_cast<unsigned char>(connection_string[i])) != kMarker[i]) {
        marked = false;
        break;
      }
    }
    if (marked) connection_string.remove_prefix(kMarker.size());
  }
  return std::string(connection_string);
}

std::string AccessConnectString(std::string_view password) {
  return password.empty() ? std::string() : ";PWD=" + std::string(password);
}

std::string CreateTableStatement(std::string_view table, TableDialect dialect) {
  // The two column lists are what existing tables were made with; they stay byte for byte.
  constexpr std::string_view kAccessColumns =
      "  (id autoincrement PRIMARY KEY,content_date DATE,url TEXT(255),content MEMO);";
  constexpr std::string_view kMySqlColumns =
      " (id INT UNSIGNED NOT NULL AUTO_INCREMENT, content_date DATETIME,url VARCHAR(255), "
      "content TEXT, PRIMARY KEY(id))";
  std::string sql = "CREATE TABLE ";
  sql += table;
  sql += dialect == TableDialect::kAccess ? kAccessColumns : kMySqlColumns;
  return sql;
}

std::string QuoteIdentifier(std::string_view name, std::string_view quote) {
  if (quote.empty() || quote == " ") return std::string(name);
  std::string quoted(quote);
  quoted += name;
  quoted += quote;
  return quoted;
}

std::string ContentSelectStatement(std::string_view table, std::string_view quote) {
  std::string sql = "SELECT ";
  const char* separator = "";
  for (const char* column : {"id", "content_date", "url", "content"}) {
    sql += separator;
    sql += QuoteIdentifier(column, quote);
    separator = ",";
  }
  sql += " FROM ";
  sql += table;
  sql += " WHERE 1=0";
  return sql;
}

std::string ContentInsertStatement(std::string_view table, std::string_view quote) {
  std::string sql = "INSERT INTO ";
  sql += table;
  sql += " (" + QuoteIdentifier("content_date", quote) + "," + QuoteIdentifier("url", quote) +
         "," + QuoteIdentifier("content", quote) + ") VALUES (?,?,?)";
  return sql;
}

std::u16string CutToColumn(std::u16string text, std::size_t units) {
  if (text.size() <= units) return text;
  std::size_t end = units;
  // A high surrogate at the cut would lose its partner: leave both out.
  if (end > 0 && text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF) --end;
  text.resize(end);
  return text;
}

}  // namespace ph
