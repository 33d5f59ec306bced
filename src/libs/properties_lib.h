// Property lists: the library that serves every `TSettingList` a script
// holds (lists made by «System.List.SettingList()», XML attributes, a
// run's configuration).
//
// Lines «name=value» are properties. «p.Name» reads the value of the first
// line named Name, or else the object attached to a line exactly equal to
// Name; «p.Name = x» attaches an object or sets the text value (the empty
// text deletes the line). «p["@Name"]» answers the reference text
// "identity:Name" that the data-binding layer uses. A property read names
// a method only when no line answers it, so «p.Count» still counts.
#pragma once

#include "runtime/lib_base.h"
#include "runtime/setting_list.h"

namespace ozra::libs {

class TObj_Lib_Properties final : public runtime::TtsLibBase {
  public:
    explicit TObj_Lib_Properties(runtime::TtsHost& host);

    void GetProperty(front::TtsExpression& out, value::TtsObject* object, bool& address,
                     runtime::TtsResult& context, std::string_view name) override;
    bool DispatchesByName(runtime::DispatchKind kind) const noexcept override {
        return kind != runtime::DispatchKind::PropertyGet;
    }
    void SetProperty(value::TtsObject* object, std::string_view name, const value::TtsValue& value,
                     runtime::TtsResult& context) override;

  private:
    void GetName(runtime::LibCall& call, runtime::TSettingList& list);
    void GetValue(runtime::LibCall& call, runtime::TSettingList& list);
    void SetValue(runtime::LibCall& call, runtime::TSettingList& list);
    void Insert(runtime::LibCall& call, runtime::TSettingList& list);
    void Remove(runtime::LibCall& call, runtime::TSettingList& list);
    void Count(runtime::LibCall& call, runtime::TSettingList& list);
    void Clear(runtime::LibCall& call, runtime::TSettingList& list);
    void ToString(runtime::LibCall& call, runtime::TSettingList& list);
    void LoadString(runtime::LibCall& call, runtime::TSettingList& list);
    void Save(runtime::LibCall& call, runtime::TSettingList& list);
    void Load(runtime::LibCall& call, runtime::TSettingList& list);
    void Copy(runtime::LibCall& call, runtime::TSettingList& list);
};

// The property value «p.Name» reads: the line's value, else the attached
// object, else Empty.
value::TtsValue ReadProperty(const runtime::TSettingList& list, std::string_view name);
// The property write «p.Name = x».
void WriteProperty(runtime::TSettingList& list, std::string_view name,
                   const value::TtsValue& value);

} // namespace ozra::libs
