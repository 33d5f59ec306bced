// The registry of automation classes.
#include "libs/automation_classes.h"

#include "value/errors.h"
#include "value/names.h"

namespace ozra::libs {

const AutomationClasses& AutomationClasses::None() {
    static const AutomationClasses none;
    return none;
}

void AutomationClasses::Add(Class entry) {
    classes_.push_back(std::move(entry));
}

const AutomationClasses::Class& AutomationClasses::Resolve(std::string_view text) const {
    if (!text.empty() && text.front() == '{') {
        const std::optional<Guid> id = Guid::Parse(text);
        if (!id) throw value::EtsRuntime("Invalid class string: " + std::string(text));
        for (const Class& entry : classes_) {
            if (entry.ClassId == *id) return entry;
        }
        throw value::EtsRuntime("Class not registered: " + id->Text());
    }
    for (const Class& entry : classes_) {
        if (value::NamesEqual(entry.ProgId, text)) return entry;
    }
    throw value::EtsRuntime("Invalid class string: " + std::string(text));
}

} // namespace ozra::libs
