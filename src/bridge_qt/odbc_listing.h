// The ODBC data sources and drivers unixODBC knows (its odbc.ini and
// odbcinst.ini files, the user's and the system's), for the connection
// editor's "Build..." dialog. A driver manager that cannot start gives
// empty lists.
#pragma once

#include <string>
#include <vector>

namespace ozra::bridge_qt {

struct OdbcEntry {
    std::string Name;
    // A data source's driver; a driver's description is empty.
    std::string Description;
};

std::vector<OdbcEntry> ListOdbcDataSources();
std::vector<OdbcEntry> ListOdbcDrivers();

} // namespace ozra::bridge_qt
