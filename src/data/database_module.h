// One database as scripts hold it: a schema document, the run-time schema
// made from it, and the live data reached through the provider of the
// database's type.
//
// The wiring is fixed: one connection behind one connection provider, one
// SQL data provider per SQL database type over it, an XML provider for
// XML databases, and a local cache that may stand in front of whichever
// of them the type picks. The data's object manager talks to that
// provider; the schema document has its own manager and provider. The
// connection opens on first use, so setting a connection string never
// fails by itself.
#pragma once

#include "data/connection.h"
#include "data/connection_provider.h"
#include "data/local_cache.h"
#include "data/object_manager.h"
#include "data/schema_document.h"
#include "data/sql_builder.h"
#include "data/sql_data_provider.h"
#include "data/xml_provider.h"

#include <array>
#include <memory>
#include <string>

namespace ozra::data {

class DatabaseModule {
  public:
    DatabaseModule();
    DatabaseModule(const DatabaseModule&) = delete;
    DatabaseModule& operator=(const DatabaseModule&) = delete;

    // Loads the document; with a data file the database becomes an XML
    // database at that file, otherwise the document's "ConnectionString"
    // and "DatabaseName" entries open it.
    void LoadSchema(const std::string& schemaFile, const std::string& dataFile = {});
    // Replaces the document with the catalogue of the database the string
    // names (schema_import.h). A database type the system knows becomes
    // this database's type, and the string and type are kept in the
    // document's configuration, so the document opens the database again.
    void ImportSchema(const std::string& connectionString, const std::string& databaseType,
                      const std::string& schemaName, bool useSql);

    // Raises "Unknown databse type" for a name that is not a type's.
    void SetDatabaseType(std::string_view typeName, bool useCache);
    void SetDatabaseType(TDatabaseType type, bool useCache);
    TDatabaseType DatabaseType() const { return type_; }
    // Opens the database at the text: an XML database's file, or another
    // type's connection string.
    void Open(const std::string& text);

    // An XML database saves its data (to the file when given); any other
    // exports every table into one XML object-space file.
    void SaveData(const std::string& file);
    void SaveSchema(const std::string& file);

    SchemaDocument& Document() { return document_; }
    Connection& GetConnection() { return connection_; }
    TObjectManager& Data() { return data_; }
    // Built from the document's tables on first use.
    TSchemaInfo& RuntimeSchema();
    // The space of table sets scripts read, created on first use.
    TObjectSpace& DataSpace();
    // The table's set in the data space, loaded on first use.
    TObjectSet& TableSet(TTableInfo& table);

  private:
    TDataProviderBase& ProviderOf(TDatabaseType type);

    Connection connection_;
    TConnectionProvider connectionProvider_{&connection_};
    std::array<std::unique_ptr<TDataProvider>, 7> sqlProviders_;
    TXmlProvider xml_;
    TLocalCache cache_;
    TObjectManager data_;
    SchemaDocument document_;
    TDatabaseType type_ = TDatabaseType::Generic;
    VeRef<TSchemaInfo> runtimeSchema_;
    VeRef<TObjectSpace> dataSpace_;
};

} // namespace ozra::data
