// Connection strings: which back end a text opens, and with what.
//
// A connection string is a list of «key=value;» pairs; keys ignore letter
// case, and a value may be quoted in single or double quotes (a doubled
// quote inside stands for one) or, as ODBC writes driver names, in braces
// («}}» stands for «}»). The back end is chosen by the string alone:
//
//   file.db, :memory:, «Data Source=file.db», «Provider=SQLite;Data
//   Source=file.db»                                       SQLite
//   «DSN=...», «Driver={...};...», «FILEDSN=...»          ODBC, as given
//   «Provider=MSDASQL;...»                                ODBC, from the
//       rest of the pairs ("Data Source" naming the DSN) or from
//       "Extended Properties"
//   «Provider=PostgreSQL...;Data Source=host;Location=db;User ID=...»
//                                                         ODBC, the keys
//       translated for the PostgreSQL ODBC driver
//   «FILE NAME=x.udl»                                     the connection
//       string held in that data link file (UTF-16LE with a byte-order
//       mark, or UTF-8)
//
// The PostgreSQL ODBC driver reports booleans as text unless told
// otherwise, so «BoolsAsChar=0» is added for it when the string does not
// set the key. Providers that cannot exist here (Access, SQL Server and
// Oracle OLE DB providers) are refused with a message that says what to use
// instead. No message ever shows a password: strings in messages go through
// MaskPasswords.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ozra::data {

enum class BackendKind { Sqlite, Odbc };

struct ConnectionTarget {
    BackendKind Backend = BackendKind::Sqlite;
    // The SQLite file (or ":memory:"), or the string for the ODBC driver
    // manager.
    std::string Text;
};

struct ConnectionStringPair {
    std::string Key;
    std::string Value;
};

// The pairs in order, values unquoted; raises for a pair without "=" or a
// quote that is never closed.
std::vector<ConnectionStringPair> ParseConnectionString(std::string_view text);
// The value of a key (ignoring case), or null.
const std::string* FindKey(const std::vector<ConnectionStringPair>& pairs, std::string_view key);

// Raises, with the messages described above, for strings that open nothing.
ConnectionTarget ResolveConnectionString(std::string_view text);

// The text with the value of every password key ("PWD", "Password") shown
// as "***", inside nested strings too.
std::string MaskPasswords(std::string_view text);

} // namespace ozra::data
