// What the stream's reader does with each field of a node: build the node
// bare, set its plain fields, link what its references name (checking the
// class of each), and, should the load fail, drop what it linked.
//
// A reference to a container (a statement list, a name table, a string
// list) fills the field of the node that holds the container: its items and
// entries go straight into that node's list or table.
#pragma once

#include "compiled/stream_classes.h"
#include "front/syntax_tree.h"

#include <cstdint>
#include <string_view>

namespace ozra::compiled {

// A node with only what its constructor makes, from `arena`; the stream
// restores the rest. Raises "[class name] not found." for a class the
// reader cannot build.
value::Ref<front::TtsNode> MakeBareNode(front::NodeKind kind, front::NodeArena& arena);

// Integer, bool and byte fields; out of range raises "[g, f] out of range.".
void ApplyInteger(front::TtsNode& node, const FieldRule& rule, std::int32_t number);
void ApplyString(front::TtsNode& node, const FieldRule& rule, std::string_view text);

// Sets a reference field of `owner` to `target`: false when the target's
// class does not fit the field. A run-time field sets nothing.
bool AttachNode(front::TtsNode& owner, const FieldRule& rule, front::TtsNode& target);
// Adds an item to the list field `rule` of `owner`: false when the item
// does not fit.
bool AttachItem(front::TtsNode& owner, const FieldRule& rule, front::TtsNode* item);
// Adds an entry to the name table or name list field `rule` of `owner`.
bool AttachEntry(front::TtsNode& owner, const FieldRule& rule, std::string_view name,
                 front::TtsNode* item);
// Makes room for `count` items or entries in the list, table or name list
// field `rule` of `owner`, before they are added one by one.
void ReserveItems(front::TtsNode& owner, const FieldRule& rule, std::size_t count);
// The replace-on-add flag of the name table field `rule` of `owner`.
void SetReplaceFlag(front::TtsNode& owner, const FieldRule& rule, bool allowReplace);

// Drops every reference the reader may have linked from the node.
void Unlink(front::TtsNode& node);

// The first part the builder always makes that a node lacks, or nullptr.
const char* MissingPart(const front::TtsNode& node);

} // namespace ozra::compiled
