// Loading and storing data objects with SQL statements.
#include "data/sql_data_provider.h"

#include "data/data_error.h"

namespace ozra::data {

namespace {

std::unique_ptr<TSqlBuilder> BuilderFor(TDatabaseType dialect, bool formatSql) {
    std::unique_ptr<TSqlBuilder> builder = CreateSqlBuilder(dialect, formatSql);
    if (!builder)
        throw EDataError("The " + std::string(DatabaseTypeName(dialect)) +
                         " database type has no SQL data provider");
    return builder;
}

} // namespace

TDataProvider::TDataProvider(TDatabaseType dialect)
    : dialect_(dialect), builder_(BuilderFor(dialect, false)) {}

void TDataProvider::SetFormatSql(bool format) {
    builder_ = BuilderFor(dialect_, format);
}

TConnectionProviderBase& TDataProvider::GetConnectionProvider() const {
    if (!connection_) throw EDataError("No connection provider assigned to data provider");
    return *connection_;
}

std::unique_ptr<TObjectReaderBase> TDataProvider::OpenByTemplate(TDataObject& templ, bool byKey,
                                                                 const TFieldInfo* field) {
    TSqlStatement select =
        byKey ? builder_->SelectByKey(templ, field) : builder_->SelectByExample(templ);
    return OpenTable(templ.TableInfo(), select.Text, select.Params);
}

std::unique_ptr<TObjectReaderBase>
TDataProvider::OpenTable(TTableInfo& table, std::string_view where, const TSqlParams& params) {
    std::unique_ptr<QueryResult> result =
        where.empty() ? GetConnectionProvider().OpenQuery(builder_->SelectAll(table).Text, {})
                      : GetConnectionProvider().OpenQuery(where, params);
    return CreateReader(table, std::move(result), false);
}

void TDataProvider::Run(const TSqlStatement& statement) {
    if (!statement.Text.empty())
        GetConnectionProvider().ExecuteCommand(statement.Text, statement.Params);
}

void TDataProvider::Save(TDataObject& object) {
    if (!object.Internal().IsNew()) {
        Run(builder_->UpdateByKey(object));
        return;
    }
    TSqlStatement insert = builder_->Insert(object);
    TFieldInfo* identity = object.TableInfo().AutoIncrementField();
    if (!identity || !builder_->SupportsIdentity()) {
        Run(insert);
        return;
    }
    std::unique_ptr<QueryResult> result =
        GetConnectionProvider().OpenQuery(insert.Text, insert.Params);
    if (!result->Eof()) object.Field(*identity).SetValue(result->Value(0));
}

void TDataProvider::Delete(TDataObject& object) {
    Run(builder_->DeleteByKey(object));
}

void TDataProvider::DeleteByExample(TDataObject& templ) {
    Run(builder_->DeleteByExample(templ));
}

void TDataProvider::UpdateByExample(TDataObject& templ, TDataObject& source) {
    Run(builder_->UpdateByExample(templ, source));
}

} // namespace ozra::data
