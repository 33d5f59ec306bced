// Highlighting a template line as the editor shows it: template text
// coloured by the chosen text highlighter, comments between «<..» and «..>»
// (or «[..» and «..]»), and code between «<.» or «[.» and «.>» or «.]»
// coloured by the Ozra tokenizer. The delimiters themselves are markers
// with colours of their own.
//
// A pure function of the line and the state the previous line left, so an
// editor can restyle from any line whose starting state it kept. The state
// packs into one integer for editors that keep an integer per line.
#pragma once

#include "ide/core/ozra_tokenizer.h"
#include "ide/core/text_languages.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace ozra::ide {

// The block a line starts inside.
enum class TemplateBlock : std::uint8_t { None = 0, AngleComment = 1, SquareComment = 2, Code = 3 };

struct TemplateState {
    TemplateBlock Block = TemplateBlock::None;
    OzraRange Code = OzraRange::Normal;
    std::uint8_t Text = 0;

    std::int32_t Pack() const noexcept;
    static TemplateState Unpack(std::int32_t packed) noexcept;
    friend bool operator==(const TemplateState&, const TemplateState&) = default;
};

enum class TemplatePart : std::uint8_t { Text, CommentMarker, Comment, CodeMarker, Code };

struct TemplateToken {
    std::int32_t Start;
    std::int32_t Length;
    TemplatePart Part;
    // A `TextToken` for text, an `OzraToken` for code, 0 otherwise.
    std::uint8_t Kind;
    friend bool operator==(const TemplateToken&, const TemplateToken&) = default;
};

std::vector<TemplateToken> HighlightTemplateLine(std::string_view line, TemplateState& state,
                                                 const TextLanguage& text);

} // namespace ozra::ide
