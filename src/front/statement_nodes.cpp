// Set-up of assignments, definitions and used units.
#include "front/statement_nodes.h"

#include "front/control_nodes.h"
#include "value/errors.h"

#include <stdexcept>

namespace ozra::front {

TtsBlock& HoldingBlock(TtsNode& statement) {
    for (TtsNode* node = statement.Parent; node; node = node->Parent) {
        if (auto* block = NodeCast<TtsBlock>(node)) return *block;
    }
    throw std::logic_error("a statement outside any block defines a name");
}

void TtsAssign::InitNamed(std::string_view name, char assignOperator, Ref<TtsExpression> value) {
    auto target = value::MakeRef<TtsVarRef>(this);
    target->SetName(name);
    InitTarget(std::move(target), assignOperator, std::move(value));
    if (!IsKindOf(Kind, NodeKind::VarDefine)) return;
    const std::string variableName(name);
    HoldingBlock(*this).Names.Add(variableName, CreateVariable(*this, variableName, true));
}

void TtsAssign::InitTarget(Ref<TtsVarRef> target, char assignOperator, Ref<TtsExpression> value) {
    Target = std::move(target);
    AssignOperator = assignOperator;
    Value = std::move(value);
}

void TtsUsing::SetUp(const std::string& fileName, const std::string& alias,
                     const FileLoader& loader) {
    Attach(LoadUsedFile(fileName, loader), fileName, alias);
}

void TtsUsing::Attach(Ref<TtsBlock> block, const std::string& fileName, const std::string& alias) {
    AttachUsedBlock(HoldingBlock(*this), std::move(block), fileName, alias, UsedBlock,
                    UsedBlockParent, UsedTree);
}

Ref<TtsBlock> LoadUsedFile(const std::string& fileName, const FileLoader& loader) {
    if (fileName.empty() || !loader) return nullptr;
    return loader(fileName, nullptr);
}

void AttachUsedBlock(TtsBlock& holder, Ref<TtsBlock> block, const std::string& fileName,
                     const std::string& alias, Ref<TtsBlock>& usedBlock,
                     Ref<TtsNode>& usedBlockParent, Ref<TtsNode>& usedTree) {
    if (!block) return;
    const TtsNode* top = block.Get();
    while (top->Parent)
        top = top->Parent;
    for (const TtsNode* node = &holder; node; node = node->Parent) {
        if (node == top) throw value::EtsException("Circular file reference : " + fileName);
    }
    HoldUsedBlock(block, usedBlock, usedBlockParent, usedTree);
    if (!alias.empty()) {
        holder.Names.AddCounted(alias, block.Get());
        return;
    }
    holder.Names.AddCounted(fileName, block.Get());
    holder.Names.MergeSkipping<TtsBlock>(block->Names);
}

void HoldUsedBlock(Ref<TtsBlock> block, Ref<TtsBlock>& usedBlock, Ref<TtsNode>& usedBlockParent,
                   Ref<TtsNode>& usedTree) {
    Ref<TtsNode> parent = Ref<TtsNode>::Retain(block->Parent);
    if (!parent) {
        auto owner = value::MakeRef<TtsControl>(nullptr);
        owner->Body = block;
        block->Parent = owner.Get();
        parent = std::move(owner);
    }
    TtsNode* top = parent.Get();
    while (top->Parent)
        top = top->Parent;
    usedBlock = std::move(block);
    usedBlockParent = std::move(parent);
    usedTree = Ref<TtsNode>::Retain(top);
}

} // namespace ozra::front
