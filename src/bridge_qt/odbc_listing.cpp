// Listing ODBC data sources and drivers through the driver manager.
#include "odbc_listing.h"

#include <sql.h>
#include <sqlext.h>

namespace ozra::bridge_qt {

namespace {

// An ODBC 3 environment handle, freed on leaving.
class OdbcEnvironment {
  public:
    OdbcEnvironment() {
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &handle_))) {
            handle_ = SQL_NULL_HENV;
            return;
        }
        SQLSetEnvAttr(handle_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3),
                      0);
    }
    ~OdbcEnvironment() {
        if (handle_ != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, handle_);
    }
    OdbcEnvironment(const OdbcEnvironment&) = delete;
    OdbcEnvironment& operator=(const OdbcEnvironment&) = delete;

    SQLHENV Handle() const noexcept { return handle_; }

  private:
    SQLHENV handle_ = SQL_NULL_HENV;
};

template <class Fetch> std::vector<OdbcEntry> List(Fetch fetch) {
    std::vector<OdbcEntry> entries;
    OdbcEnvironment environment;
    if (environment.Handle() == SQL_NULL_HENV) return entries;
    SQLCHAR name[512];
    SQLCHAR description[1024];
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT descriptionLength = 0;
    for (SQLUSMALLINT direction = SQL_FETCH_FIRST;
         SQL_SUCCEEDED(fetch(environment.Handle(), direction, name, sizeof name, &nameLength,
                             description, sizeof description, &descriptionLength));
         direction = SQL_FETCH_NEXT) {
        entries.push_back({reinterpret_cast<const char*>(name),
                           reinterpret_cast<const char*>(description)});
    }
    return entries;
}

} // namespace

std::vector<OdbcEntry> ListOdbcDataSources() {
    return List(SQLDataSources);
}

std::vector<OdbcEntry> ListOdbcDrivers() {
    // A driver's second field is its attribute list, not shown.
    std::vector<OdbcEntry> drivers = List(SQLDrivers);
    for (OdbcEntry& driver : drivers)
        driver.Description.clear();
    return drivers;
}

} // namespace ozra::bridge_qt
