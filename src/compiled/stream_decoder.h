// The first step of loading a compiled stream: its bytes become bare objects
// and a record of the references between them, nothing linked yet.
//
// After the header, a stream is a run of object blocks in the order of the
// objects' numbers, each object's block followed by the blocks of the
// objects it names first (see stream_classes.h for the fields). Because
// every block carries its object's number, the blocks can be read one after
// the other and the references resolved by number afterwards, which gives
// the same objects as following each first reference to the next block, and
// needs no recursion however deep the tree is.
//
// The decoder makes every node bare and sets its plain fields (names,
// texts, numbers, values without objects). References, list items and name
// table entries are recorded by object number; nothing holds anything yet,
// so a stream that fails a later check frees every object it made.
#pragma once

#include "compiled/stream_classes.h"
#include "front/syntax_tree.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::compiled {

// One block of the stream.
struct StreamObject {
    std::int32_t Number = 0;
    std::int32_t ClassNumber = 0;
    ClassInfo Class;
    // A node class: the bare node.
    value::Ref<front::TtsNode> Node;
    // A list or string list: its items (`Items` or `Entries`) from here...
    std::uint32_t FirstItem = 0;
    std::uint32_t ItemCount = 0;
    bool Sorted = false;
    // A name table: its string list.
    std::int32_t Storage = 0;
    bool AllowReplace = false;
};

// A reference held in a node's field, or the object of a value field.
struct StreamLink {
    std::uint32_t From;
    const FieldRule* Rule;
    std::int32_t Target;
};

// A string-list item: its string and its object (a number, or 0).
struct StreamEntry {
    std::string_view Name;
    std::int32_t Target;
};

// Object numbers are resolved in place: after `ResolveNumbers` every
// `Target`, item and `Storage` is an index into `Objects`, or -1 for none.
struct DecodedStream {
    // The stream's own bytes, unscrambled; `StreamEntry::Name` points here.
    std::string Bytes;
    // In stream order: the root block first.
    std::vector<StreamObject> Objects;
    std::vector<StreamLink> Links;
    std::vector<std::int32_t> Items;
    std::vector<StreamEntry> Entries;
};

// Decodes the stream that ends `bytes` (anything before its header is an
// ignored prefix). Format errors raise `EtsCompiler`.
DecodedStream DecodeStream(std::string bytes);

} // namespace ozra::compiled
