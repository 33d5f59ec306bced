// Registration of the data libraries and the run's schema variables.
#include "data/scripting/data_libraries.h"

#include "data/scripting/data_lib.h"
#include "data/scripting/object_lib.h"
#include "runtime/host.h"

namespace ozra::data::scripting {
namespace {

template <class Library> void Make(runtime::TtsHost& host, runtime::TGlobalData&) {
    value::MakeRef<Library>(host);
}

void MakeData(runtime::TtsHost& host, runtime::TGlobalData& global) {
    value::MakeRef<TtsLibData>(host, global);
    if (!HasRunDatabase(global)) return;
    auto* data = dynamic_cast<TSys_Impl_Data*>(host.Variable("Data").Object());
    TObj_Impl_Database& database = data->DefaultSchema();
    host.SetVariable("Tables", value::TtsValue::FromCountedObject(&database.Module.Document().Set(
                                   TSDOSchema::Instance().DoTable())));
    host.SetVariable("Objects", value::TtsValue::FromCountedObject(
                                    value::MakeRef<TObj_Impl_ObjectSpace>(database).Get()));
}

} // namespace

void AddDataLibraries(runtime::TLibRegister& libraries) {
    using runtime::LibrarySlot;
    libraries.Add(LibrarySlot::Data, &MakeData);
    libraries.Add(LibrarySlot::Database, &Make<TtsLibDatabase>);
    libraries.Add(LibrarySlot::ObjectSpace, &Make<TObj_Lib_ObjectSpace>);
    libraries.Add(LibrarySlot::ObjectSet, &Make<TObj_Lib_ObjectSet>);
    libraries.Add(LibrarySlot::DataObject, &Make<TObj_Lib_DataObject>);
}

} // namespace ozra::data::scripting
