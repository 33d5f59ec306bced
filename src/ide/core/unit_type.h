// The roles a file plays in the environment, with the names the project file
// stores them under.
#pragma once

#include <cstdint>
#include <string_view>

namespace ozra::ide {

enum class UnitType : std::uint8_t {
    Project = 0,  // the project file itself, edited as XML
    Main = 1,     // the script that running the project starts
    Code = 2,     // a script file of the project
    Resource = 3, // another file of the project
    Other = 4,    // open in the environment but not part of the project
};

std::string_view UnitTypeName(UnitType type) noexcept;
// The type a name stands for, ignoring case; any other name is `Other`.
UnitType UnitTypeFromName(std::string_view name) noexcept;

// The files the project file lists.
constexpr bool IsMemberType(UnitType type) noexcept {
    return type >= UnitType::Main && type <= UnitType::Resource;
}
constexpr bool IsProjectType(UnitType type) noexcept {
    return type < UnitType::Other;
}

} // namespace ozra::ide
