// Set-up of name references and set literals.
#include "front/expression_nodes.h"

#include <algorithm>

namespace ozra::front {

TtsVarRef::~TtsVarRef() = default;

void TtsVarRef::SetName(std::string_view name) {
    RefName = name;
    if (Kind != NodeKind::PropRef) return;
    auto& self = static_cast<TtsPropRef&>(*this);
    self.NameParts.clear();
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = name.find('.', start);
        self.NameParts.emplace_back(name.substr(start, dot - start));
        if (dot == std::string_view::npos) break;
        start = dot + 1;
    }
    self.FirstMember = 0;
}

// A plain name followed by ".member" forwards to a member reference of the
// same name; a dotted name keeps the receiver itself.
void TtsVarRef::MakePropRef(Ref<TtsExpression> receiver) {
    if (Kind == NodeKind::PropRef) {
        ObjectExpression = std::move(receiver);
        return;
    }
    auto member = value::MakeRef<TtsPropRef>(Parent);
    member->SetName(RefName);
    member->MakePropRef(std::move(receiver));
    PropRef = std::move(member);
}

void TtsFunctionExpr::SetArguments(TtsExpressions arguments) {
    Arguments = std::move(arguments);
    PositionalArguments = std::all_of(Arguments.begin(), Arguments.end(), [](const auto& argument) {
        return PassedByPosition(*argument);
    });
}

void TtsSet::SetUp(TtsExpressions elements) {
    Elements = std::move(elements);
    SetObject(this);
}

} // namespace ozra::front
