// The connection-string editor ("Connection String Editor"): the dialog
// behind «Data.BuildConnectionString», shown on the run's desktop.
//
// It offers the two ways a connection can be named: a data link file from
// the user's data link folder (or any other, through "Browse..."), which
// gives «FILE NAME=path», or a connection string edited in place, which
// "Build..." can start from an ODBC data source or driver that unixODBC
// knows, or a SQLite database file. A connection string can also be kept as
// a new data link file in that folder.
#pragma once

#include "runtime/global_data.h"

#include <string>
#include <string_view>

namespace ozra::data::scripting {

// The text the user confirmed, when it differs from `initial`; otherwise
// "" (cancelled or unchanged). Raises "Data: no display available ..."
// without a display.
std::string BuildConnectionString(runtime::TGlobalData& global, std::string_view initial);

// "data-links/" in the user's configuration folder, with a trailing "/";
// made when missing.
std::string DataLinkFolder();

} // namespace ozra::data::scripting
