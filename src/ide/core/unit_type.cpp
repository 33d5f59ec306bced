// Unit type names.
#include "ide/core/unit_type.h"

#include "value/names.h"

#include <array>

namespace ozra::ide {

namespace {

constexpr std::array<std::string_view, 5> TypeNames = {"project", "main", "code", "resource",
                                                       "other"};

} // namespace

std::string_view UnitTypeName(UnitType type) noexcept {
    return TypeNames[static_cast<std::size_t>(type)];
}

UnitType UnitTypeFromName(std::string_view name) noexcept {
    for (std::size_t code = 0; code < TypeNames.size(); ++code)
        if (value::NamesEqual(name, TypeNames[code])) return static_cast<UnitType>(code);
    return UnitType::Other;
}

} // namespace ozra::ide
