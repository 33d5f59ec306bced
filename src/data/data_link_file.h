// Data link files (".udl"): a connection string kept in a file of its own,
// named in another connection string as «FILE NAME=path».
//
// The file is text in UTF-16LE with a byte-order mark, as the tools that
// make them write it, or UTF-8 (with or without a mark), as a person writes
// one by hand. Its connection string is the first line that is neither
// blank, nor a "[section]" heading, nor a ";" comment:
//
//     [oledb]
//     ; Everything after this line is an OLE DB initstring
//     Provider=SQLite;Data Source=/srv/app.db
//
// Files written here take exactly that form, in UTF-16LE with CR LF line
// ends, so the tools of other systems read them too.
#pragma once

#include <string>
#include <string_view>

namespace ozra::data {

// The connection string the file holds. Raises `EDataError` when the file
// cannot be read or holds no connection string.
std::string ReadDataLinkFile(const std::string& path);
// Replaces (or creates) the file with one holding the connection string;
// a string that holds a line break is refused with `EDataError`.
void WriteDataLinkFile(const std::string& path, std::string_view connectionString);

} // namespace ozra::data
