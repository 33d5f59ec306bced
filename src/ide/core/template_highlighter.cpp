// The template splitter.
#include "ide/core/template_highlighter.h"

namespace ozra::ide {

namespace {

struct Opening {
    std::size_t At;
    TemplateBlock Block;
};

// The first «<.» or «[.» at or after `from`; a third "." makes it a comment.
Opening FindOpening(std::string_view line, std::size_t from) {
    for (std::size_t at = from; at + 1 < line.size(); ++at) {
        if ((line[at] != '<' && line[at] != '[') || line[at + 1] != '.') continue;
        if (at + 2 < line.size() && line[at + 2] == '.')
            return {at,
                    line[at] == '<' ? TemplateBlock::AngleComment : TemplateBlock::SquareComment};
        return {at, TemplateBlock::Code};
    }
    return {std::string_view::npos, TemplateBlock::None};
}

// The closing marker of a block: where it starts, and its length.
std::pair<std::size_t, std::size_t> FindClosing(std::string_view line, std::size_t from,
                                                TemplateBlock block) {
    switch (block) {
    case TemplateBlock::AngleComment:
        return {line.find("..>", from), 3};
    case TemplateBlock::SquareComment:
        return {line.find("..]", from), 3};
    default:
        break;
    }
    // Either closing form ends code, whichever opened it.
    for (std::size_t at = from; at + 1 < line.size(); ++at)
        if (line[at] == '.' && (line[at + 1] == '>' || line[at + 1] == ']')) return {at, 2};
    return {std::string_view::npos, 2};
}

class LineBuilder {
  public:
    explicit LineBuilder(std::vector<TemplateToken>& tokens) : tokens_(tokens) {}

    void Add(std::size_t start, std::size_t length, TemplatePart part, std::uint8_t kind = 0) {
        if (length == 0) return;
        tokens_.push_back(TemplateToken{static_cast<std::int32_t>(start),
                                        static_cast<std::int32_t>(length), part, kind});
    }
    void AddAll(std::size_t base, const std::vector<Token>& tokens, TemplatePart part) {
        for (const Token& token : tokens)
            Add(base + static_cast<std::size_t>(token.Start),
                static_cast<std::size_t>(token.Length), part, token.Kind);
    }

  private:
    std::vector<TemplateToken>& tokens_;
};

} // namespace

std::int32_t TemplateState::Pack() const noexcept {
    return static_cast<std::int32_t>(Block) | static_cast<std::int32_t>(Code) << 2 |
           static_cast<std::int32_t>(Text) << 8;
}

TemplateState TemplateState::Unpack(std::int32_t packed) noexcept {
    TemplateState state;
    state.Block = static_cast<TemplateBlock>(packed & 3);
    const int code = (packed >> 2) & 0x3F;
    state.Code = code <= 4 ? static_cast<OzraRange>(code) : OzraRange::Normal;
    state.Text = static_cast<std::uint8_t>((packed >> 8) & 0xFF);
    return state;
}

std::vector<TemplateToken> HighlightTemplateLine(std::string_view line, TemplateState& state,
                                                 const TextLanguage& text) {
    std::vector<TemplateToken> tokens;
    LineBuilder out(tokens);
    std::size_t at = 0;
    while (at < line.size()) {
        if (state.Block == TemplateBlock::None) {
            const Opening opening = FindOpening(line, at);
            const std::size_t end = opening.At == std::string_view::npos ? line.size() : opening.At;
            out.AddAll(at, TokenizeTextLine(text, line.substr(at, end - at), state.Text),
                       TemplatePart::Text);
            if (end == line.size()) break;
            const bool code = opening.Block == TemplateBlock::Code;
            out.Add(end, code ? 2 : 3,
                    code ? TemplatePart::CodeMarker : TemplatePart::CommentMarker);
            state.Block = opening.Block;
            state.Code = OzraRange::Normal;
            at = end + (code ? 2 : 3);
            continue;
        }
        const auto [close, markerLength] = FindClosing(line, at, state.Block);
        const std::size_t end = close == std::string_view::npos ? line.size() : close;
        const bool code = state.Block == TemplateBlock::Code;
        if (code)
            out.AddAll(at, TokenizeOzraLine(line.substr(at, end - at), state.Code),
                       TemplatePart::Code);
        else
            out.Add(at, end - at, TemplatePart::Comment);
        if (end == line.size()) break;
        out.Add(end, markerLength, code ? TemplatePart::CodeMarker : TemplatePart::CommentMarker);
        state.Block = TemplateBlock::None;
        at = end + markerLength;
    }
    return tokens;
}

} // namespace ozra::ide
