// The data libraries from scripts on every back end: the sample shop's
// schema imported, objects created, read, changed, saved in a transaction
// and deleted, checked afterwards with plain SQL; sets that outlive every
// reference to their database; a script that fails inside a transaction
// leaves nothing behind.
#include "../libs/script_support.h"
#include "data/scripting/data_libraries.h"
#include "test_database.h"

namespace ozra::data::testing {
namespace {

class ScriptDataTest : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        if (IsSkipped()) return;
        db->Execute(ReadExample());
        db->Close();
    }

    static std::string ReadExample() {
        std::ifstream file(std::string(OZRA_EXAMPLES_DIR) + "/shop/shop.sql", std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    // Runs the script with "%DB%" standing for the import of the database.
    libs::testing::ScriptRun Run(std::string script) {
        const std::string import = "System.Data.ImportSchema(\"" + connectionString + "\", \"" +
                                   (IsSqlite() ? "SQLite" : "PostgreSQL") + "\", \"" +
                                   (IsSqlite() ? "" : "public") + "\")";
        for (size_t at = script.find("%DB%"); at != std::string::npos; at = script.find("%DB%"))
            script.replace(at, 4, import);
        return libs::testing::RunWithLibraries(script, folder.Path, libs::AutomationClasses::None(),
                                               &scripting::AddDataLibraries);
    }
};

TEST_P(ScriptDataTest, ObjectsRoundTripThroughTheDatabase) {
    libs::testing::ScriptRun run = Run(R"(<.
var db = %DB%
var customers = db.Objects.customer
?? customers.Count ~ " " ~ customers[0].name ~ " " ~ customers.FindBy(id = 2).name
var grace = customers.New(id = 3, name = "Grace Hopper")
grace.Save()
db.StartTransaction()
grace.email = "grace@example.org"
grace.Save()
var alan = customers.FindBy(name = "Alan Turing")
alan.notes = "it's; -- /* ünïcode"
alan.Save()
db.Commit()
var line = db.Objects.order_line.FindBy(line = 2)
?? line.orders.customer.name ~ " bought " ~ line.product.title
line.Delete()
?? db.Objects.customer.FindBy(id = 1).orderss.Count
foreach (c in customers.ReverseBy("name")) = c.name ~ "; " end foreach
var products = %DB%.Objects.product
?? ""
?? products.FindBy(id = 1).title
.>)");
    ASSERT_EQ(run.Error, "");
    EXPECT_EQ(run.Output, "2 Ada Byron Alan Turing\nAda Byron bought Logic primer\n1\n"
                          "Grace Hopper; Alan Turing; Ada Byron; \nChess set\n");
    Connection check(connectionString);
    EXPECT_EQ(Scalar(check, "SELECT email FROM customer WHERE id = 3"), "grace@example.org");
    EXPECT_EQ(Scalar(check, "SELECT notes FROM customer WHERE id = 2"), "it's; -- /* ünïcode");
    EXPECT_EQ(RowCount(check, "order_line"), 1);
}

TEST_P(ScriptDataTest, AnErrorInsideATransactionSavesNothing) {
    libs::testing::ScriptRun run = Run(R"(<.
var db = %DB%
db.StartTransaction()
var c = db.Objects.customer.New(id = 9, name = "Half saved")
c.Save()
db.Objects.customer.FindBy(id = 1).name = "Changed"
db.Objects.customer.FindBy(id = 1).Save()
NoSuchFunction()
.>)");
    EXPECT_NE(run.Error, "");
    Connection check(connectionString);
    EXPECT_EQ(RowCount(check, "customer"), 2);
    EXPECT_EQ(Scalar(check, "SELECT name FROM customer WHERE id = 1"), "Ada Byron");
}

TEST_P(ScriptDataTest, ErrorsNameWhatIsWrong) {
    struct Case {
        const char* script;
        const char* error;
    };
    const Case cases[] = {
        {"<. ?? %DB%.Objects.nosuch .>", "nosuch not found."},
        {"<. %DB%.Objects.customer.FindBy(colour = 1) .>", "field colour not found."},
        {"<. ?? %DB%.Objects.customer[0].colour .>", "colour not found."},
        {"<. %DB%.SetDatabaseType(\"Paradox\") .>", "Unknown databse type"},
        {"<. %DB%.SaveData() .>", "Please specify a filename"},
        {"<. System.Data.BuildConnectionString() .>", "Data: this program has no desktop."},
        {"<. System.Data.ImportSchema(\"x\") .>", "no enough parameters."},
    };
    for (const Case& c : cases) {
        libs::testing::ScriptRun run = Run(c.script);
        EXPECT_NE(run.Error.find(c.error), std::string::npos) << c.script << "\n" << run.Error;
    }
}

OZRA_ON_EVERY_BACKEND(ScriptDataTest);

} // namespace
} // namespace ozra::data::testing
