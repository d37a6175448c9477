// Connection strings and SQL statements that the database writer and the setup pages send.
#include "controller/outputs/database_statements.h"

#include <algorithm>
#include <cctype>

#include "common/ascii.h"

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
  if (EqualsIgnoringAsciiCase(connection_string.substr(0, kMarker.size()), kMarker))
    connection_string.remove_prefix(kMarker.size());
  return std::string(connection_string);
}

namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
    text.remove_suffix(1);
  return text;
}

// The "KEY=value" parts of a connection string; a value in braces may hold ';'.
std::vector<std::string_view> Attributes(std::string_view text) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  bool braced = false;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] == '{') braced = true;
    if (i < text.size() && text[i] == '}') braced = false;
    if (i == text.size() || (text[i] == ';' && !braced)) {
      if (i > start) parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

std::string_view Keyword(std::string_view attribute) {
  return Trim(attribute.substr(0, attribute.find('=')));
}

std::string_view Value(std::string_view attribute) {
  const std::size_t equals = attribute.find('=');
  return equals == std::string_view::npos ? std::string_view() : attribute.substr(equals + 1);
}

}  // namespace

std::string FileDsnPath(std::string_view driver_string) {
  for (std::string_view attribute : Attributes(driver_string))
    if (EqualsIgnoringAsciiCase(Keyword(attribute), "FILEDSN")) return std::string(Trim(Value(attribute)));
  return std::string();
}

std::string FileDsnAttributes(std::string_view file_text) {
  std::string attributes;
  bool in_odbc = false;
  while (!file_text.empty()) {
    const std::size_t end = file_text.find('\n');
    std::string_view line = Trim(file_text.substr(0, end));
    file_text.remove_prefix(end == std::string_view::npos ? file_text.size() : end + 1);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      in_odbc = line.back() == ']' && EqualsIgnoringAsciiCase(Trim(line.substr(1, line.size() - 2)), "ODBC");
      continue;
    }
    if (!in_odbc || line.find('=') == std::string_view::npos) continue;
    if (!attributes.empty()) attributes += ';';
    attributes += Keyword(line);
    attributes += '=';
    attributes += Trim(Value(line));
  }
  return attributes;
}

std::string MergeFileDsn(std::string_view driver_string, std::string_view file_attributes) {
  const std::vector<std::string_view> own = Attributes(driver_string);
  std::string merged;
  auto add = [&merged](std::string_view attribute) {
    if (!merged.empty()) merged += ';';
    merged += attribute;
  };
  for (std::string_view attribute : Attributes(file_attributes)) {
    const bool overridden = std::any_of(own.begin(), own.end(), [&](std::string_view o) {
      return EqualsIgnoringAsciiCase(Keyword(o), Keyword(attribute));
    });
    if (!overridden) add(attribute);
  }
  for (std::string_view attribute : own)
    if (!EqualsIgnoringAsciiCase(Keyword(attribute), "FILEDSN")) add(attribute);
  return merged;
}

std::string AccessConnectString(std::string_view password) {
  return password.empty() ? std::string() : ";PWD=" + std::string(password);
}

std::string CreateTableStatement(std::string_view table, TableDialect dialect) {
  // The Access and MySQL column lists are what existing tables were made with; they stay byte for
  // byte. SQLite and PostgreSQL know neither's auto-numbering, so grab's users get lists of their own.
  constexpr std::string_view kAccessColumns =
      "  (id autoincrement PRIMARY KEY,content_date DATE,url TEXT(255),content MEMO);";
  constexpr std::string_view kMySqlColumns =
      " (id INT UNSIGNED NOT NULL AUTO_INCREMENT, content_date DATETIME,url VARCHAR(255), "
      "content TEXT, PRIMARY KEY(id))";
  std::string sql = "CREATE TABLE ";
  sql += table;
  constexpr std::string_view kSqliteColumns =
      " (id INTEGER PRIMARY KEY AUTOINCREMENT, content_date DATETIME, url VARCHAR(255), content TEXT)";
  // PostgreSQL has no DATETIME; the id is numbered by the server and never given by the writer.
  constexpr std::string_view kPostgreSqlColumns =
      " (id INTEGER GENERATED ALWAYS AS IDENTITY PRIMARY KEY, content_date TIMESTAMP, "
      "url VARCHAR(255), content TEXT)";
  switch (dialect) {
    case TableDialect::kAccess: sql += kAccessColumns; break;
    case TableDialect::kMySql: sql += kMySqlColumns; break;
    case TableDialect::kSqlite: sql += kSqliteColumns; break;
    case TableDialect::kPostgreSql: sql += kPostgreSqlColumns; break;
  }
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
  sql += " (" + QuoteIdentifier("content_date", quote) + "," + QuoteIdentifier("url", quote) + "," +
         QuoteIdentifier("content", quote) + ") VALUES (?,?,?)";
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
