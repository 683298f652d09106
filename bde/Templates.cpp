#include "bde/Templates.h"

namespace bde {
namespace {

// The SQL Server templates differ only in the database and the password line.
std::vector<std::string> SqlServerLines(std::string_view databaseName) {
  return {"DATABASE NAME=" + std::string(databaseName),
          "USER NAME=",
          "ODBC DSN=",
          "OPEN MODE=READ/WRITE",
          "BATCH COUNT=200",
          "LANGDRIVER=anpolish",
          "MAX ROWS=-1",
          "SCHEMA CACHE DIR=",
          "SCHEMA CACHE SIZE=8",
          "SCHEMA CACHE TIME=-1",
          "SQLPASSTHRU MODE=SHARED AUTOCOMMIT",
          "SQLQRYMODE=",
          "ENABLE SCHEMA CACHE=FALSE",
          "ENABLE BCD=FALSE",
          "ROWSET SIZE=20",
          "BLOBS TO CACHE=64",
          "BLOB SIZE=32"};
}

}  // namespace

ParameterList Database1Parameters() { return ParameterList(SqlServerLines("")); }

ParameterList Database2Parameters() {
  std::vector<std::string> lines = SqlServerLines("master");
  lines.push_back("PASSWORD=");
  return ParameterList(std::move(lines));
}

ParameterList DatabaseOracleParameters() {
  return ParameterList({"SERVER NAME=",
                        "USER NAME=",
                        "NET PROTOCOL=TNS",
                        "OPEN MODE=READ/WRITE",
                        "SCHEMA CACHE SIZE=8",
                        "LANGDRIVER=anpolish",
                        "SQLQRYMODE=",
                        "SQLPASSTHRU MODE=SHARED AUTOCOMMIT",
                        "SCHEMA CACHE TIME=-1",
                        "MAX ROWS=-1",
                        "BATCH COUNT=200",
                        "ENABLE SCHEMA CACHE=FALSE",
                        "SCHEMA CACHE DIR=",
                        "ENABLE BCD=FALSE",
                        "ENABLE INTEGERS=TRUE",
                        "LIST SYNONYMS=NONE",
                        "ROWSET SIZE=20",
                        "BLOBS TO CACHE=64",
                        "BLOB SIZE=32",
                        "OBJECT MODE=TRUE"});
}

}  // namespace bde
