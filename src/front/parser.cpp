// One parse: scanner, grammar and builder wired together for one text.
#include "front/parser.h"

#include "front/grammar.hpp"
#include "front/parse_context.h"
#include "front/raw_scanner.h"
#include "front/tree_builder.h"

namespace ozra::front {

value::Ref<TtsBlock> TtsParser::Parse(std::string_view text, value::Ref<TtsBlock> block) {
    TtsBuilder builder(*this, std::move(block));
    Block = builder.Root();
    try {
        ParseContext context(text, *this, builder);
        grammar::Grammar grammar(context);
        grammar.parse();
    } catch (const ScanError& error) {
        // Reported where the token that cannot be scanned starts, so that the
        // driver locates it; then the parse stops.
        if (OnError) OnError(error.Position, 1, error.what());
        throw;
    }
    builder.Finish(static_cast<std::int32_t>(text.size()));
    return Block;
}

} // namespace ozra::front
