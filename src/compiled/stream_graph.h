// The second step of loading a compiled stream: deciding, before anything
// is linked, that the recorded references make a tree the runtime can run
// and free.
//
// The checks, each of which a stream a builder could have made passes:
//   - No object is its own ancestor through `Parent` links (a name lookup
//     walks them).
//   - Ownership has no cycle, so freeing the root frees everything, and an
//     object has one owner at most through the fields that own exclusively
//     (a shared statement would run once per owner, and sharing nested
//     twenty times over runs it a million times). Containers have one
//     referrer at most.
//   - The tree is what the root owns, directly or not, together with the
//     parent of every used unit, which the statement that uses the unit
//     holds. A link from the tree must stay inside it, so that no pointer
//     outlives its object. The one link allowed out is that of a used
//     unit's block to the empty control a compiler made its parent when no
//     statement holds it: it is dropped, which changes no lookup.
//
// Objects outside the tree are never linked and are freed with the stream.
#pragma once

#include "compiled/stream_decoder.h"

#include <vector>

namespace ozra::compiled {

struct TreeShape {
    // Per object: part of the tree.
    std::vector<bool> Kept;
    // Per link of `DecodedStream::Links`: not made.
    std::vector<bool> Dropped;
};

// Raises `EtsCompiler` for a stream whose references make no such tree.
TreeShape CheckShape(const DecodedStream& stream);

} // namespace ozra::compiled
