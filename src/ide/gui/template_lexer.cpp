#include "ide/gui/template_lexer.h"

#include "ide/core/template_highlighter.h"
#include "ide/core/text_languages.h"

#include <Qsci/qsciscintilla.h>

namespace ozra::ide::gui {

namespace {

const QColor kCommentMarkerPaper(231, 235, 248);
const QColor kCommentMarkerText(0, 0, 128);

int StyleOf(const TemplateToken& token) {
    switch (token.Part) {
    case TemplatePart::Text:
        return TemplateLexer::kTextBase + token.Kind;
    case TemplatePart::CommentMarker:
        return TemplateLexer::kCommentMarker;
    case TemplatePart::Comment:
        return TemplateLexer::kComment;
    case TemplatePart::CodeMarker:
        return TemplateLexer::kCodeMarker;
    case TemplatePart::Code:
        return TemplateLexer::kCodeBase + token.Kind;
    }
    return TemplateLexer::kTextBase;
}

const AttributeStyle* Named(const std::vector<AttributeStyle>& attributes, std::string_view name) {
    for (const AttributeStyle& attribute : attributes)
        if (attribute.Name == name) return &attribute;
    return nullptr;
}

} // namespace

TemplateLexer::TemplateLexer(QObject* parent) : QsciLexerCustom(parent) {}

void TemplateLexer::SetLanguage(std::size_t index) {
    language_ = index < TextLanguages().size() ? index : 0;
    if (QsciScintilla* owner = editor()) {
        owner->SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0L, -1L);
        owner->recolor();
    }
}

QString TemplateLexer::description(int style) const {
    if (style == kCommentMarker) return "Comment marker";
    if (style == kComment) return "Comment";
    if (style == kCodeMarker) return "Code marker";
    if (style >= kCodeBase && style < kCodeBase + 12)
        return QString("Code %1").arg(style - kCodeBase);
    if (style >= kTextBase && style < kTextBase + 12)
        return QString::fromUtf8(TextTokenName(static_cast<TextToken>(style - kTextBase)).data());
    return {};
}

void TemplateLexer::ApplyStyles(const ConfigFile& config, const EditorSettings& settings) {
    QFont font(QString::fromStdString(settings.FontName), settings.FontSize);
    font.setStyleHint(QFont::TypeWriter);
    setDefaultFont(font);
    setDefaultColor(Qt::black);
    setDefaultPaper(Qt::white);
    const auto apply = [&](int style, const AttributeStyle* attribute, QColor paper = Qt::white) {
        QFont styled = font;
        QColor text = Qt::black;
        if (attribute) {
            styled.setBold(attribute->Style.Bold);
            styled.setItalic(attribute->Style.Italic);
            styled.setUnderline(attribute->Style.Underline);
            styled.setStrikeOut(attribute->Style.StrikeOut);
            if (const Color& c = attribute->Colors.Foreground)
                text = QColor(c->Red, c->Green, c->Blue);
            if (const Color& c = attribute->Colors.Background)
                paper = QColor(c->Red, c->Green, c->Blue);
        }
        setFont(styled, style);
        setColor(text, style);
        setPaper(paper, style);
    };

    const TextLanguage& language = TextLanguages()[language_];
    HighlighterStyle text{language.DisplayName(), std::string(language.Filter),
                          language.Attributes()};
    config.ApplyHighlighter(text);
    for (int kind = 0; kind < 12; ++kind)
        apply(kTextBase + kind,
              Named(text.Attributes, TextTokenName(static_cast<TextToken>(kind))));

    // Code stands out from the text around it: a token whose background is
    // the default takes the background of the code's blanks.
    HighlighterStyle ozra{"Ozra", {}, OzraAttributes()};
    config.ApplyHighlighter(ozra);
    QColor codePaper = Qt::white;
    if (const AttributeStyle* space = Named(ozra.Attributes, "Space");
        space && space->Colors.Background)
        codePaper = QColor(space->Colors.Background->Red, space->Colors.Background->Green,
                           space->Colors.Background->Blue);
    for (int kind = 0; kind < 12; ++kind) {
        const int attribute = OzraAttributeOf(static_cast<OzraToken>(kind));
        apply(kCodeBase + kind,
              attribute >= 0 && attribute < static_cast<int>(ozra.Attributes.size())
                  ? &ozra.Attributes[attribute]
                  : nullptr,
              codePaper);
    }
    apply(kComment, Named(ozra.Attributes, "Comment"));

    AttributeStyle commentMarker{"Comment marker", {}, {}};
    apply(kCommentMarker, &commentMarker);
    setPaper(kCommentMarkerPaper, kCommentMarker);
    setColor(kCommentMarkerText, kCommentMarker);
    AttributeStyle codeMarker{"Code marker", settings.LanguageDelimiter, {}};
    apply(kCodeMarker, &codeMarker);
}

void TemplateLexer::styleText(int start, int end) {
    QsciScintilla* owner = editor();
    if (!owner) return;
    const int lines = owner->lines();
    int line =
        static_cast<int>(owner->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, start));
    const int last =
        static_cast<int>(owner->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, end));
    for (; line < lines; ++line) {
        const long before =
            line + 1 < lines ? owner->SendScintilla(QsciScintillaBase::SCI_GETLINESTATE, line + 1)
                             : 0;
        StyleLine(line);
        if (line >= last && line + 1 < lines &&
            owner->SendScintilla(QsciScintillaBase::SCI_GETLINESTATE, line + 1) == before)
            break;
    }
}

void TemplateLexer::StyleLine(int line) {
    QsciScintilla* owner = editor();
    const long from = owner->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
    const long textEnd = owner->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, line);
    const long next = owner->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line + 1);
    const auto* bytes = reinterpret_cast<const char*>(
        owner->SendScintilla(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
    TemplateState state =
        line == 0 ? TemplateState()
                  : TemplateState::Unpack(static_cast<std::int32_t>(
                        owner->SendScintilla(QsciScintillaBase::SCI_GETLINESTATE, line)));
    const std::string_view text(bytes + from, static_cast<std::size_t>(textEnd - from));
    const std::vector<TemplateToken> tokens =
        HighlightTemplateLine(text, state, TextLanguages()[language_]);

    startStyling(from);
    long at = from;
    for (const TemplateToken& token : tokens) {
        if (from + token.Start > at)
            setStyling(static_cast<int>(from + token.Start - at), kTextBase);
        setStyling(token.Length, StyleOf(token));
        at = from + token.Start + token.Length;
    }
    const int tail = static_cast<int>((next > at ? next : textEnd) - at);
    if (tail > 0) setStyling(tail, kTextBase);
    owner->SendScintilla(QsciScintillaBase::SCI_SETLINESTATE, line + 1,
                         static_cast<long>(state.Pack()));
}

} // namespace ozra::ide::gui
