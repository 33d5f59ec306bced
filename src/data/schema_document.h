// Schema documents: the description of a database for code generation
// (tables, fields, indexes, relations, methods, physical details, extended
// properties, configuration and templates), kept as data of the object
// layer itself.
//
// TSDOSchema is the fixed schema of a document: twelve entity tables, built
// once and never changed, each row a data object. A document file is an XML
// object-space file of those entities (xml_object_space.h). A
// SchemaDocument holds one document in memory behind its own object
// manager, so that its objects navigate their relations (a DoTable reaches
// its Fields, ChildRelations and ParentRelations) like any other data.
#pragma once

#include "data/object_manager.h"
#include "data/xml_provider.h"

#include <string>
#include <string_view>

namespace ozra::data {

class TSDOSchema : public TSchemaInfo {
  public:
    // The one instance, built on first use.
    static TSDOSchema& Instance();

    TTableInfo& DoConfig() const { return *entities_[0]; }
    TTableInfo& DoExtProperty() const { return *entities_[1]; }
    TTableInfo& DoField() const { return *entities_[2]; }
    TTableInfo& DoIndex() const { return *entities_[3]; }
    TTableInfo& DoIndexField() const { return *entities_[4]; }
    TTableInfo& DoMethod() const { return *entities_[5]; }
    TTableInfo& DoParameter() const { return *entities_[6]; }
    TTableInfo& DoPhysicalField() const { return *entities_[7]; }
    TTableInfo& DoRelation() const { return *entities_[8]; }
    TTableInfo& DoRelationField() const { return *entities_[9]; }
    TTableInfo& DoTable() const { return *entities_[10]; }
    TTableInfo& DoTemplate() const { return *entities_[11]; }

    TSDOSchema();

  private:
    TTableInfo* entities_[12] = {};
};

// The named child relation of an entity (DoTable "Fields"); raises
// name + " not found." when the entity has none.
const TChildRelationInfo& ChildRelationOf(const TTableInfo& table, std::string_view childName);
// The named parent relation of an entity (DoField "Table").
const TParentRelationInfo& ParentRelationOf(const TTableInfo& table, std::string_view parentName);

// A field of a document object read as text (null reads as empty text).
std::string DocText(TDataObject& object, std::string_view alias);
// Sets a field of a document object, raising "field " + alias + " not
// found." for an alias the entity lacks.
void SetDoc(TDataObject& object, std::string_view alias, value::TtsValue value);

// One schema document in memory: its objects, the manager that made them
// and the XML provider that reads and writes its file.
class SchemaDocument {
  public:
    SchemaDocument();
    SchemaDocument(const SchemaDocument&) = delete;
    SchemaDocument& operator=(const SchemaDocument&) = delete;

    TObjectManager& Manager() { return manager_; }
    const std::string& FileName() const { return provider_.FileName; }

    // Replaces the document with the file's.
    void Load(const std::string& file);
    // Writes the document, to the given file when one is given (it becomes
    // the document's file) or else to the one it was loaded from.
    void Save(const std::string& file = {});
    // Replaces the document with a space of document objects made by this
    // document's manager (an import).
    void Assign(VeRef<TObjectSpace> space);

    // The entity's set; an empty one is created and kept when the document
    // has none.
    TObjectSet& Set(TTableInfo& entity);
    // The value of a DoConfig entry, or `absent` when there is none.
    std::string Config(std::string_view key, std::string_view absent);
    void SetConfig(std::string_view key, std::string_view value);

  private:
    TXmlProvider provider_;
    TObjectManager manager_;
};

} // namespace ozra::data
