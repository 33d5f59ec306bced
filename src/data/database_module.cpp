// The wiring and the operations of one database.
#include "data/database_module.h"

#include "data/data_error.h"
#include "data/data_file.h"
#include "data/schema_creator.h"
#include "data/schema_import.h"
#include "data/xml_object_space.h"
#include "platform/file_system.h"

namespace ozra::data {

DatabaseModule::DatabaseModule() {
    for (size_t i = 0; i < sqlProviders_.size(); ++i) {
        const auto type = static_cast<TDatabaseType>(i);
        if (type == TDatabaseType::Xml) continue;
        sqlProviders_[i] = std::make_unique<TDataProvider>(type);
        sqlProviders_[i]->SetConnectionProvider(&connectionProvider_);
    }
    data_.SetDataProvider(sqlProviders_[0].get());
}

TDataProviderBase& DatabaseModule::ProviderOf(TDatabaseType type) {
    if (type == TDatabaseType::Xml) return xml_;
    return *sqlProviders_.at(static_cast<size_t>(type));
}

void DatabaseModule::SetDatabaseType(std::string_view typeName, bool useCache) {
    TDatabaseType type;
    if (!FindDatabaseType(typeName, type)) throw EDataError("Unknown databse type");
    SetDatabaseType(type, useCache);
}

void DatabaseModule::SetDatabaseType(TDatabaseType type, bool useCache) {
    type_ = type;
    if (!useCache) {
        data_.SetDataProvider(&ProviderOf(type));
        return;
    }
    cache_.ClearCache(nullptr);
    data_.SetDataProvider(&cache_);
    cache_.SetDataProvider(&ProviderOf(type));
}

TSchemaInfo& DatabaseModule::RuntimeSchema() {
    if (!runtimeSchema_)
        runtimeSchema_ = CreateSchema(document_.Set(TSDOSchema::Instance().DoTable()));
    return *runtimeSchema_;
}

TObjectSpace& DatabaseModule::DataSpace() {
    if (!dataSpace_) dataSpace_ = MakeVe<TObjectSpace>(RuntimeSchema());
    return *dataSpace_;
}

TObjectSet& DatabaseModule::TableSet(TTableInfo& table) {
    TObjectSpace& space = DataSpace();
    if (TObjectSet* set = space.SetOf(table)) return *set;
    VeRef<TObjectSet> loaded = data_.LoadSet(table);
    space.Add(*loaded);
    return *loaded;
}

void DatabaseModule::Open(const std::string& text) {
    connection_.Close();
    TSchemaInfo& schema = RuntimeSchema();
    if (type_ != TDatabaseType::Xml) {
        connection_.SetConnectionString(text);
        return;
    }
    xml_.FileName = text;
    if (text.empty()) xml_.ClearCache(nullptr);
    if (!text.empty() && platform::FileExists(text)) {
        xml_.ClearCache(nullptr);
        xml_.LoadFromFile(schema);
    }
    if (dataSpace_) dataSpace_->Clear();
}

void DatabaseModule::LoadSchema(const std::string& schemaFile, const std::string& dataFile) {
    connection_.Close();
    document_.Load(schemaFile);
    if (!dataFile.empty()) {
        SetDatabaseType(TDatabaseType::Xml, false);
        Open(dataFile);
        return;
    }
    const std::string connectionString = document_.Config("ConnectionString", "");
    TDatabaseType type;
    if (FindDatabaseDisplayName(document_.Config("DatabaseName", "Other"), type))
        SetDatabaseType(type, false);
    Open(connectionString);
}

void DatabaseModule::ImportSchema(const std::string& connectionString,
                                  const std::string& databaseType, const std::string& schemaName,
                                  bool useSql) {
    connection_.SetConnectionString(connectionString);
    document_.Assign(data::ImportSchema(connection_, document_.Manager(),
                                        SchemaHelperFor(databaseType, useSql), schemaName));
    connection_.Close();
    TDatabaseType type;
    if (FindDatabaseType(databaseType, type) && type != TDatabaseType::Xml) {
        SetDatabaseType(type, false);
        document_.SetConfig("DatabaseName", DatabaseDisplayName(type));
    }
    document_.SetConfig("ConnectionString", connectionString);
}

void DatabaseModule::SaveData(const std::string& file) {
    if (type_ == TDatabaseType::Xml) {
        if (!file.empty()) xml_.FileName = file;
        xml_.SaveToFile();
        return;
    }
    if (file.empty()) throw EDataError("Please specify a filename");
    TSchemaInfo& schema = RuntimeSchema();
    VeRef<TObjectSpace> space = MakeVe<TObjectSpace>(schema);
    for (TTableInfo& table : schema.Tables())
        space->Add(*data_.LoadSet(table));
    ReplaceDataFile(file, WriteObjectSpace(space.Get()));
}

void DatabaseModule::SaveSchema(const std::string& file) {
    document_.Save(file);
}

} // namespace ozra::data
