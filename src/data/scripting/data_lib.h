// The "Data" library and database objects: how a script loads, creates or
// imports a schema document and reaches the database it describes.
//
// A database object owns one DatabaseModule (data/database_module.h). The
// run's default database is made from the run's schema file and schema
// option (or imported from the connection its configuration names) on first
// use; the run's "Tables" and "Objects" variables are its table set and its
// object space. A database going away with a
// transaction still open (a script that stopped on an error before its
// commit) rolls the transaction back.
#pragma once

#include "data/database_module.h"
#include "runtime/global_data.h"
#include "runtime/lib_base.h"

#include <vector>

namespace ozra::data::scripting {

class TObj_Impl_Database final : public value::TtsObjectZero {
  public:
    ~TObj_Impl_Database() override;
    std::string_view ClassName() const override { return "TObj_Impl_Database"; }

    DatabaseModule Module;
};

// What scripts read as a database's "Objects": table sets by table alias,
// each loaded on first read and kept. It holds the database alive.
class TObj_Impl_ObjectSpace final : public value::TtsObjectZero {
  public:
    explicit TObj_Impl_ObjectSpace(TObj_Impl_Database& database)
        : database_(value::Ref<TObj_Impl_Database>::Retain(&database)) {}
    std::string_view ClassName() const override { return "TObj_Impl_ObjectSpace"; }

    // Raises name + " not found." for a name that is no table's alias.
    TObjectSet& Set(std::string_view alias);

  private:
    value::Ref<TObj_Impl_Database> database_;
};

class TSys_Impl_Data final : public value::TtsObjectZero {
  public:
    explicit TSys_Impl_Data(runtime::TGlobalData& global) : Global(global) {}
    std::string_view ClassName() const override { return "TSys_Impl_Data"; }

    // The run's default database, made on the first call: loaded from the
    // run's schema file (with the schema option as its data file), or else
    // imported from the database of the run's configuration entries
    // "ConnectionString", "DatabaseType" and "SchemaName"; empty without
    // either. A schema file that does not exist raises "Schema file not
    // found: " + its name.
    TObj_Impl_Database& DefaultSchema();

    // A new database object with an empty schema document, kept for the
    // rest of the run: the sets and objects scripts take from it refer to
    // its schema and its object manager, and may outlive every reference
    // to the database object itself.
    TObj_Impl_Database& NewDatabase();

    runtime::TGlobalData& Global;

  private:
    value::Ref<TObj_Impl_Database> default_;
    std::vector<value::Ref<TObj_Impl_Database>> databases_;
};

// Whether the run names a database: a schema file or a configured
// connection string.
bool HasRunDatabase(const runtime::TGlobalData& global);

class TtsLibData final : public runtime::TtsLibBase {
  public:
    TtsLibData(runtime::TtsHost& host, runtime::TGlobalData& global);

  private:
    void LoadSchema(runtime::LibCall& call, TSys_Impl_Data& data);
    void NewSchema(runtime::LibCall& call, TSys_Impl_Data& data);
    void BuildConnectionString(runtime::LibCall& call, TSys_Impl_Data& data);
    void ImportSchema(runtime::LibCall& call, TSys_Impl_Data& data);
    void DefaultSchema(runtime::LibCall& call, TSys_Impl_Data& data);
};

class TtsLibDatabase final : public runtime::TtsLibBase {
  public:
    explicit TtsLibDatabase(runtime::TtsHost& host);

  private:
    void SetDatabaseType(runtime::LibCall& call, TObj_Impl_Database& database);
    void SetConnectionString(runtime::LibCall& call, TObj_Impl_Database& database);
    void SaveData(runtime::LibCall& call, TObj_Impl_Database& database);
    void SaveSchema(runtime::LibCall& call, TObj_Impl_Database& database);
    void Tables(runtime::LibCall& call, TObj_Impl_Database& database);
    void Objects(runtime::LibCall& call, TObj_Impl_Database& database);
    void Configs(runtime::LibCall& call, TObj_Impl_Database& database);
    void StartTransaction(runtime::LibCall& call, TObj_Impl_Database& database);
    void Commit(runtime::LibCall& call, TObj_Impl_Database& database);
    void Rollback(runtime::LibCall& call, TObj_Impl_Database& database);
};

} // namespace ozra::data::scripting
