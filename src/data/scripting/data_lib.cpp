// The "Data" library and database objects.
#include "data/scripting/data_lib.h"

#include "data/data_error.h"
#include "data/scripting/connection_editor.h"
#include "platform/file_system.h"
#include "runtime/host.h"
#include "runtime/setting_list.h"

namespace ozra::data::scripting {

using runtime::LibCall;

TObj_Impl_Database::~TObj_Impl_Database() {
    try {
        if (Module.Data().DataProvider() && Module.Data().InTransaction()) Module.Data().Rollback();
    } catch (...) {
        // The connection closing below rolls back whatever is still open.
    }
}

TObjectSet& TObj_Impl_ObjectSpace::Set(std::string_view alias) {
    TTableInfo* table = database_->Module.RuntimeSchema().FindTable(alias);
    if (!table) throw value::EtsRuntime::NameNotFound(alias);
    return database_->Module.TableSet(*table);
}

bool HasRunDatabase(const runtime::TGlobalData& global) {
    return !global.SchemaFile.empty() || !global.Configuration().Value("ConnectionString").empty();
}

TObj_Impl_Database& TSys_Impl_Data::NewDatabase() {
    databases_.push_back(value::MakeRef<TObj_Impl_Database>());
    return *databases_.back();
}

TObj_Impl_Database& TSys_Impl_Data::DefaultSchema() {
    if (!default_) {
        if (!Global.SchemaFile.empty() && !platform::FileExists(Global.SchemaFile))
            throw EDataError("Schema file not found: " + Global.SchemaFile);
        const runtime::TSettingList& configuration = Global.Configuration();
        value::Ref<TObj_Impl_Database> database = value::MakeRef<TObj_Impl_Database>();
        if (!Global.SchemaFile.empty())
            database->Module.LoadSchema(Global.SchemaFile, Global.SchemaOption);
        else if (HasRunDatabase(Global))
            database->Module.ImportSchema(configuration.Value("ConnectionString"),
                                          configuration.Value("DatabaseType"),
                                          configuration.Value("SchemaName"), false);
        default_ = std::move(database);
    }
    return *default_;
}

void TtsLibData::LoadSchema(LibCall& call, TSys_Impl_Data& data) {
    TObj_Impl_Database& database = data.NewDatabase();
    database.Module.LoadSchema(call.Text(0), call.Count() > 1 ? call.Text(1) : std::string());
    call.ReturnObject(&database);
}

void TtsLibData::NewSchema(LibCall& call, TSys_Impl_Data& data) {
    call.ReturnObject(&data.NewDatabase());
}

void TtsLibData::BuildConnectionString(LibCall& call, TSys_Impl_Data& data) {
    call.ReturnText(
        scripting::BuildConnectionString(data.Global, call.Count() > 0 ? call.Text(0) : ""));
}

void TtsLibData::ImportSchema(LibCall& call, TSys_Impl_Data& data) {
    TObj_Impl_Database& database = data.NewDatabase();
    database.Module.ImportSchema(call.Text(0), call.Text(1),
                                 call.Count() > 2 ? call.Text(2) : std::string(),
                                 call.Flag(3, false));
    call.ReturnObject(&database);
}

void TtsLibData::DefaultSchema(LibCall& call, TSys_Impl_Data& data) {
    call.ReturnObject(&data.DefaultSchema());
}

void TtsLibDatabase::SetDatabaseType(LibCall& call, TObj_Impl_Database& database) {
    database.Module.SetDatabaseType(call.Text(0), call.Flag(1, false));
}

void TtsLibDatabase::SetConnectionString(LibCall& call, TObj_Impl_Database& database) {
    database.Module.Open(call.Text(0));
}

void TtsLibDatabase::SaveData(LibCall& call, TObj_Impl_Database& database) {
    database.Module.SaveData(call.Count() > 0 ? call.Text(0) : std::string());
}

void TtsLibDatabase::SaveSchema(LibCall& call, TObj_Impl_Database& database) {
    database.Module.SaveSchema(call.Count() > 0 ? call.Text(0) : std::string());
}

void TtsLibDatabase::Tables(LibCall& call, TObj_Impl_Database& database) {
    call.ReturnObject(&database.Module.Document().Set(TSDOSchema::Instance().DoTable()));
}

void TtsLibDatabase::Objects(LibCall& call, TObj_Impl_Database& database) {
    call.ReturnObject(value::MakeRef<TObj_Impl_ObjectSpace>(database).Get());
}

void TtsLibDatabase::Configs(LibCall& call, TObj_Impl_Database& database) {
    call.ReturnObject(&database.Module.Document().Set(TSDOSchema::Instance().DoConfig()));
}

void TtsLibDatabase::StartTransaction(LibCall&, TObj_Impl_Database& database) {
    database.Module.Data().StartTransaction();
}

void TtsLibDatabase::Commit(LibCall&, TObj_Impl_Database& database) {
    database.Module.Data().Commit();
}

void TtsLibDatabase::Rollback(LibCall&, TObj_Impl_Database& database) {
    database.Module.Data().Rollback();
}

TtsLibData::TtsLibData(runtime::TtsHost& host, runtime::TGlobalData& global) : TtsLibBase(host) {
    RegisterFor<TSys_Impl_Data>(runtime::AccessAll);
    RegisterGlobal("Data", value::MakeRef<TSys_Impl_Data>(global).Get());
    Publish({
        {"LoadSchema", Method<&TtsLibData::LoadSchema>, 1, 2},
        {"NewSchema", Method<&TtsLibData::NewSchema>, 0, 0},
        {"BuildConnectionString", Method<&TtsLibData::BuildConnectionString>, 0, 1},
        {"ImportSchema", Method<&TtsLibData::ImportSchema>, 2, 4},
        {"DefaultSchema", Method<&TtsLibData::DefaultSchema>, 0, 0},
    });
}

TtsLibDatabase::TtsLibDatabase(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TObj_Impl_Database>(runtime::AccessAll);
    Publish({
        {"SetDatabaseType", Method<&TtsLibDatabase::SetDatabaseType>, 1, 2},
        {"SetConnectionString", Method<&TtsLibDatabase::SetConnectionString>, 1, 1},
        {"SaveData", Method<&TtsLibDatabase::SaveData>, 0, 1},
        {"SaveSchema", Method<&TtsLibDatabase::SaveSchema>, 0, 1},
        {"Tables", Method<&TtsLibDatabase::Tables>, 0, 0},
        {"Objects", Method<&TtsLibDatabase::Objects>, 0, 0},
        {"Configs", Method<&TtsLibDatabase::Configs>, 0, 0},
        {"StartTransaction", Method<&TtsLibDatabase::StartTransaction>, 0, 0},
        {"Commit", Method<&TtsLibDatabase::Commit>, 0, 0},
        {"Rollback", Method<&TtsLibDatabase::Rollback>, 0, 0},
    });
}

} // namespace ozra::data::scripting
