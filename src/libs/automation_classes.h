// The automation classes a program offers to scripts: each a ProgID (a
// dotted name such as "Test.Sheet"), a class id and a factory.
//
// A program fills one registry at start, before any run, and hands it to
// the standard libraries (standard_libraries.h); runs only read it, so one
// registry serves every run at once. Scripts name a class by its ProgID,
// letter case ignored, or by its class id in braces.
//
// A class marked `Running` registers each instance it makes as the running
// object of its class in the run that made it, so «Win32Ole.Get» of that
// class finds the latest one, as for a server that announces itself.
//
// Classes that exist only on other platforms are simply not registered
// here, and naming them fails like naming any unknown class:
//   «Invalid class string: » + text     an unknown ProgID, or a malformed id
//   «Class not registered: » + {id}     a well-formed id no class has
#pragma once

#include "libs/automation.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::libs {

class AutomationClasses {
  public:
    struct Class {
        std::string ProgId;
        Guid ClassId;
        std::function<value::Ref<AutomationObject>()> Create;
        bool Running = false;
    };

    // The registry with no classes, for programs that offer none.
    static const AutomationClasses& None();

    void Add(Class entry);
    // The class a script's text names; raises the errors above.
    const Class& Resolve(std::string_view text) const;

  private:
    std::vector<Class> classes_;
};

} // namespace ozra::libs
