// Connection strings: which back end each opens and with what string
// (passwords masked), or the exact error; opening a missing SQLite file
// creates nothing.
#include "data/connection.h"
#include "data/data_error.h"
#include "test_database.h"

namespace ozra::data::testing {
namespace {

struct Case {
    std::string text;
    std::string expected; // "sqlite: FILE", "odbc: STRING" or "error: MESSAGE"
};

std::string Outcome(const std::string& text) {
    try {
        ConnectionTarget target = ResolveConnectionString(text);
        return (target.Backend == BackendKind::Sqlite ? "sqlite: " : "odbc: ") +
               MaskPasswords(target.Text);
    } catch (const EDataError& error) {
        return std::string("error: ") + error.what();
    }
}

std::string Utf16Le(std::string_view ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

TEST(ConnectionStringTest, ChoosesTheBackEndOrSaysWhy) {
    ozra::testing::TempFolder folder;
    const std::string wide = folder.Path + "shop.udl", narrow = folder.Path + "sales.udl",
                      nested = folder.Path + "nested.udl";
    folder.Write("shop.udl",
                 Utf16Le("[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"
                         "Provider=SQLite;Data Source=shop.db\r\n"));
    folder.Write("sales.udl", "\xEF\xBB\xBF[oledb]\n; comment\nDSN=Sales;UID=sam;PWD=secret\n");
    folder.Write("nested.udl", "[oledb]\nFILE NAME=" + wide + "\n");

    const std::vector<Case> cases = {
        {"shop.db", "sqlite: shop.db"},
        {" :memory: ", "sqlite: :memory:"},
        {"Data Source=shop.db", "sqlite: shop.db"},
        {"provider=sqlite; data source='my shop.db'", "sqlite: my shop.db"},
        {"Provider=SQLite;Data Source=\"it\"\"s.db\";Version=3", "sqlite: it\"s.db"},
        {"DSN=Sales;UID=sam;PWD=secret", "odbc: DSN=Sales;UID=sam;PWD=***"},
        {"Driver={PostgreSQL Unicode};Server=db;Uid=sam;Pwd={a;b}",
         "odbc: Driver={PostgreSQL Unicode};Server=db;Uid=sam;Pwd=***;BoolsAsChar=0"},
        {"driver={PostgreSQL ANSI};boolsaschar=1", "odbc: driver={PostgreSQL ANSI};boolsaschar=1"},
        {"Driver={SQLite3};Database=x.db", "odbc: Driver={SQLite3};Database=x.db"},
        {"FILEDSN=/etc/sales.dsn", "odbc: FILEDSN=/etc/sales.dsn"},
        {"Provider=MSDASQL;Data Source=Sales;User ID=sam;Password=pw",
         "odbc: DSN=Sales;UID=sam;PWD=***;"},
        {"Provider=MSDASQL.1;DSN=Sales;Persist Security Info=False", "odbc: DSN=Sales;"},
        {"Provider=MSDASQL.1;Extended Properties=\"Driver={PostgreSQL Unicode};Server=h;PWD=x\"",
         "odbc: Driver={PostgreSQL Unicode};Server=h;PWD=***;BoolsAsChar=0"},
        {"Provider=PostgreSQL OLE DB Provider;Data Source=db.example;Location=sales;"
         "User ID=sam;Password=pw;Port=5433",
         "odbc: Driver={PostgreSQL Unicode};Server=db.example;Database=sales;Uid=sam;Pwd=***;"
         "Port=5433;BoolsAsChar=0"},
        {"File Name=" + wide, "sqlite: shop.db"},
        {"FILE NAME=" + narrow, "odbc: DSN=Sales;UID=sam;PWD=***"},

        {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=c:\\shop.mdb",
         "error: The Access OLE DB provider \"Microsoft.Jet.OLEDB.4.0\" does not exist on this "
         "system: use a SQLite copy of the database (\"Data Source=file.db\") or an ODBC driver "
         "(\"Driver={...};...\")."},
        {"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=shop.accdb",
         "error: The Access OLE DB provider \"Microsoft.ACE.OLEDB.12.0\" does not exist on this "
         "system: use a SQLite copy of the database (\"Data Source=file.db\") or an ODBC driver "
         "(\"Driver={...};...\")."},
        {"Provider=SQLOLEDB;Data Source=srv;Initial Catalog=sales",
         "error: The SQL Server OLE DB provider \"SQLOLEDB\" does not exist on this system: use "
         "Microsoft's ODBC driver instead (\"Driver={ODBC Driver 18 for SQL "
         "Server};Server=...;Database=...\")."},
        {"Provider=OraOLEDB.Oracle;Data Source=orcl",
         "error: The Oracle OLE DB provider \"OraOLEDB.Oracle\" does not exist on this system: "
         "use Oracle's ODBC driver instead (\"Driver={...};DBQ=...;UID=...\")."},
        {"Provider=Acme;Data Source=x",
         "error: Unknown provider \"Acme\": use a SQLite file (\"Data Source=file.db\") or an "
         "ODBC connection string (\"DSN=...\" or \"Driver={...};...\")."},
        {"Data Source=x.db;Pasword=1",
         "error: Unknown key \"Pasword\" in a SQLite connection string."},
        {"Provider=SQLite;Version=3",
         "error: A SQLite connection string needs \"Data Source=file\"."},
        {"Data Source='x.db", "error: Malformed connection string: the value of \"Data Source\" "
                              "has no closing quote."},
        {"Data Source=x.db;junk", "error: Malformed connection string: \"junk\" is not a "
                                  "key=value pair."},
        {"  ", "error: The connection string is empty."},
        {"FILE NAME=" + nested,
         "error: The data link file names another data link file \"" + wide + "\"."},
        {"FILE NAME=" + folder.Path + "none.udl",
         "error: Cannot open file \"" + folder.Path + "none.udl" + "\". No such file or directory"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Outcome(c.text), c.expected) << c.text;
}

TEST(ConnectionStringTest, PasswordsAreMaskedEvenInNestedOrBrokenStrings) {
    EXPECT_EQ(MaskPasswords("Server=x;PWD={a;b};Uid=u"), "Server=x;PWD=***;Uid=u");
    EXPECT_EQ(MaskPasswords("Provider=MSDASQL;Extended Properties='DSN=a;Pwd=s'"),
              "Provider=MSDASQL;Extended Properties=\"DSN=a;Pwd=***\"");
    EXPECT_EQ(MaskPasswords("Server=x;Password='abc"), "Server=x;***");
    // Values within values are masked one level deep: deeper ones must not
    // multiply their quotes level by level.
    const std::string deep = std::string(2000, '=') + "a=\"b\";Pwd=x";
    EXPECT_LT(MaskPasswords(deep).size(), 2 * deep.size());
}

TEST(ConnectionStringTest, OpeningAMissingOrForeignFileFailsAndCreatesNothing) {
    ozra::testing::TempFolder folder;
    const std::string missing = folder.Path + "missing.db";
    Connection connection("Data Source=" + missing);
    try {
        connection.Open();
        FAIL() << "opened a missing file";
    } catch (const EDataError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open the SQLite database \"" + missing + "\": the file does not exist.");
    }
    EXPECT_FALSE(std::filesystem::exists(missing));

    const std::string notes = folder.Path + "notes.txt";
    folder.Write("notes.txt", std::string(4096, 'x'));
    connection.SetConnectionString(notes);
    try {
        connection.Open();
        FAIL() << "opened a text file";
    } catch (const EDataError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open the SQLite database \"" + notes + "\": file is not a database.");
    }
}

} // namespace
} // namespace ozra::data::testing
