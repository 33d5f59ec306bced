// The editor's one lexer: the core's template highlighter (text, comments
// and code blocks, template_highlighter.h) turned into Scintilla styles.
//
// Styles are numbered by part: the text highlighter's token kinds from
// `kTextBase`, the Ozra tokenizer's from `kCodeBase`, and one style each for
// comment markers, comments and code markers. Each line's starting state
// is kept as Scintilla's line state (the packed `TemplateState`), so
// restyling starts at any line and runs on past the requested range until
// a line's starting state comes out as it was.
#pragma once

#include "ide/core/config_file.h"

#include <Qsci/qscilexercustom.h>

#include <cstddef>

namespace ozra::ide::gui {

class TemplateLexer final : public QsciLexerCustom {
  public:
    static constexpr int kTextBase = 0;
    static constexpr int kCommentMarker = 16;
    static constexpr int kComment = 17;
    static constexpr int kCodeMarker = 18;
    static constexpr int kCodeBase = 20;

    explicit TemplateLexer(QObject* parent = nullptr);

    // The text highlighter, by menu position (text_languages.h).
    void SetLanguage(std::size_t index);
    std::size_t Language() const noexcept { return language_; }
    // Colours and font styles of the current text highlighter, of the Ozra
    // highlighter and of the markers, from the configuration.
    void ApplyStyles(const ConfigFile& config, const EditorSettings& settings);

    const char* language() const override { return "Ozra template"; }
    QString description(int style) const override;
    void styleText(int start, int end) override;

  private:
    void StyleLine(int line);

    std::size_t language_ = 0;
};

} // namespace ozra::ide::gui
