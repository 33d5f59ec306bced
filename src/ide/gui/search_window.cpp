#include "ide/gui/search_window.h"

#include "ide/core/environment_files.h"
#include "ide/gui/main_window.h"
#include "ide/gui/qt_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace ozra::ide::gui {

namespace {

constexpr int kIdleMilliseconds = 200;

std::size_t ScopeSlot(SearchScope scope) {
    return static_cast<std::size_t>(scope) - 1;
}

// The current editor's selection, or the word at its caret when nothing is
// selected.
QString TextAtCaret(ScriptEditor& editor) {
    const std::string_view text = editor.BytesView();
    const auto start = static_cast<std::size_t>(editor.SelectionStartByte());
    const auto length = static_cast<std::size_t>(editor.SelectionLengthByte());
    if (length > 0) return FromBytes(text.substr(start, length));
    const auto from = static_cast<std::size_t>(
        editor.SendScintilla(QsciScintillaBase::SCI_WORDSTARTPOSITION, start, 1L));
    const auto to = static_cast<std::size_t>(
        editor.SendScintilla(QsciScintillaBase::SCI_WORDENDPOSITION, start, 1L));
    return FromBytes(text.substr(from, to - from));
}

void LoadHistory(SearchHistory& history, std::string_view name) {
    try {
        history.Load(HomeFile(name));
    } catch (const std::exception&) {
        history = SearchHistory();
    }
}

// A history that cannot be written is not worth a box while the
// environment shuts down.
void SaveHistory(const SearchHistory& history, std::string_view name) noexcept {
    try {
        history.Save(HomeFile(name));
    } catch (const std::exception&) {
    }
}

QComboBox* HistoryBox(QWidget* parent, const char* name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(20);
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return box;
}

QPlainTextEdit* LinesBox(QWidget* parent, const char* name) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setTabChangesFocus(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    return box;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(name);
    return button;
}

} // namespace

TVeSearchWin::TVeSearchWin(TVeIdeForm& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName("Find_and_Replace");
    LoadHistory(findHistory_, FindHistoryName);
    LoadHistory(replaceHistory_, ReplaceHistoryName);
    BuildParts();
    RefreshHistory(*findBox_, findHistory_);
    RefreshHistory(*replaceBox_, replaceHistory_);
    ChooseScope(SearchScope::CurrentFile);
    ShowParts();

    idle_.setInterval(kIdleMilliseconds);
    connect(&idle_, &QTimer::timeout, this, [this] { UpdateScopes(); });
}

TVeSearchWin::~TVeSearchWin() {
    SaveHistory(findHistory_, FindHistoryName);
    SaveHistory(replaceHistory_, ReplaceHistoryName);
}

// Top to bottom: the pages, the find text and its box, options beside
// scopes, the replace box and text; the buttons in a column on the right.
void TVeSearchWin::BuildParts() {
    pages_ = new QTabBar(this);
    pages_->setObjectName("Pages");
    pages_->addTab("Find");
    pages_->addTab("Replace");
    pages_->setDrawBase(false);
    connect(pages_, &QTabBar::currentChanged, this, [this] { ShowParts(); });

    findBox_ = HistoryBox(this, "FindText");
    findLabel_ = new QLabel("Fi&nd:", this);
    findLabel_->setBuddy(findBox_);
    findLines_ = LinesBox(this, "FindLines");
    replaceLines_ = LinesBox(this, "ReplaceLines");
    replaceBox_ = HistoryBox(this, "ReplaceText");
    replaceLabel_ = new QLabel("Re&place:", this);
    replaceLabel_->setBuddy(replaceBox_);
    connect(findBox_->lineEdit(), &QLineEdit::returnPressed, this, [this] { FindNext(); });
    connect(replaceBox_->lineEdit(), &QLineEdit::returnPressed, this, [this] { FindNext(); });
    // In multi-line mode the history boxes are lists to pick from.
    connect(findBox_, &QComboBox::activated, this, [this] {
        if (multiLineMode_) findLines_->setPlainText(findBox_->currentText());
    });
    connect(replaceBox_, &QComboBox::activated, this, [this] {
        if (multiLineMode_) replaceLines_->setPlainText(replaceBox_->currentText());
    });

    auto* options = new QGroupBox(" &Options ", this);
    auto* optionsLayout = new QVBoxLayout(options);
    const auto option = [&](const char* name, const char* caption) {
        auto* box = new QCheckBox(QString::fromLatin1(caption), options);
        box->setObjectName(name);
        optionsLayout->addWidget(box);
        return box;
    };
    caseSensitive_ = option("CaseSensitive", "&Case sensitive");
    wholeWord_ = option("WholeWord", "&Whole word only");
    regex_ = option("RegularExpression", "Regular &expression");
    backward_ = option("Backward", "&Backward");

    auto* scopes = new QGroupBox(" &Scope ", this);
    auto* scopesLayout = new QVBoxLayout(scopes);
    constexpr std::array<const char*, 4> kScopeCaptions = {"&Selected text", "C&urrent file",
                                                           "Pro&ject files", "All &open files"};
    constexpr std::array<const char*, 4> kScopeNames = {"SelectedText", "CurrentFile",
                                                        "ProjectFiles", "OpenFiles"};
    for (std::size_t i = 0; i < scopes_.size(); ++i) {
        scopes_[i] = new QRadioButton(QString::fromLatin1(kScopeCaptions[i]), scopes);
        scopes_[i]->setObjectName(kScopeNames[i]);
        scopesLayout->addWidget(scopes_[i]);
        const auto scope = static_cast<SearchScope>(i + 1);
        connect(scopes_[i], &QRadioButton::toggled, this, [this, scope](bool on) {
            if (on) ChooseScope(scope);
        });
    }

    auto* optionsRow = new QHBoxLayout;
    optionsRow->addWidget(options, 1);
    optionsRow->addWidget(scopes, 1);

    auto* findRow = new QHBoxLayout;
    findRow->addWidget(findLabel_);
    findRow->addWidget(findBox_);
    auto* replaceRow = new QHBoxLayout;
    replaceRow->addWidget(replaceLabel_);
    replaceRow->addWidget(replaceBox_);
    // Both labels as wide as the wider, so the two boxes line up.
    const int labelWidth =
        std::max(findLabel_->sizeHint().width(), replaceLabel_->sizeHint().width());
    findLabel_->setMinimumWidth(labelWidth);
    replaceLabel_->setMinimumWidth(labelWidth);

    auto* left = new QVBoxLayout;
    left->addWidget(pages_);
    left->addLayout(findRow);
    left->addWidget(findLines_, 1);
    left->addLayout(optionsRow);
    left->addWidget(replaceLines_, 1);
    left->addLayout(replaceRow);
    left->addStretch();

    replace_ = Button(this, "Replace", "&Replace");
    replaceAll_ = Button(this, "ReplaceAll", "Replace &All");
    findNext_ = Button(this, "FindNext", "&Find Next");
    markAll_ = Button(this, "MarkAll", "&Mark All");
    multiLine_ = Button(this, "MultiLine", "Multi-&line");
    findNext_->setDefault(true);
    connect(replace_, &QPushButton::clicked, this, [this] { Replace(); });
    connect(replaceAll_, &QPushButton::clicked, this, [this] { ReplaceAll(); });
    connect(findNext_, &QPushButton::clicked, this, [this] { FindNext(); });
    connect(markAll_, &QPushButton::clicked, this, [this] { MarkAll(); });
    connect(multiLine_, &QPushButton::clicked, this, [this] { SetMultiLine(!multiLineMode_); });

    auto* right = new QVBoxLayout;
    right->addSpacing(pages_->sizeHint().height());
    for (QPushButton* button : {replace_, replaceAll_, findNext_, markAll_})
        right->addWidget(button);
    right->addSpacing(multiLine_->sizeHint().height() / 2);
    right->addWidget(multiLine_);
    right->addStretch();

    auto* whole = new QHBoxLayout(this);
    whole->addLayout(left, 1);
    whole->addLayout(right);
}

// Hidden parts give their room to the others; a floating window takes the
// size of what is left.
void TVeSearchWin::ShowParts() {
    const bool replacing = pages_->currentIndex() == static_cast<int>(SearchPage::Replace);
    findLines_->setVisible(multiLineMode_);
    for (QWidget* part :
         std::initializer_list<QWidget*>{replaceLabel_, replaceBox_, replace_, replaceAll_})
        part->setVisible(replacing);
    replaceLines_->setVisible(replacing && multiLineMode_);
    if (auto* dock = qobject_cast<QDockWidget*>(parentWidget()); dock && dock->isFloating())
        dock->adjustSize();
}

void TVeSearchWin::SetMultiLine(bool on) {
    if (on == multiLineMode_) return;
    multiLineMode_ = on;
    if (on) {
        findLines_->setPlainText(findBox_->currentText());
        replaceLines_->setPlainText(replaceBox_->currentText());
    } else {
        findBox_->setEditText(findLines_->toPlainText());
        replaceBox_->setEditText(replaceLines_->toPlainText());
    }
    findBox_->lineEdit()->setReadOnly(on);
    replaceBox_->lineEdit()->setReadOnly(on);
    multiLine_->setText(on ? "Single &line" : "Multi-&line");
    ShowParts();
    FocusContent();
}

void TVeSearchWin::ChooseScope(SearchScope scope) {
    scopes_[ScopeSlot(scope)]->setChecked(true);
    const bool inEditor = scope == SearchScope::Selection || scope == SearchScope::CurrentFile;
    findNext_->setText(inEditor ? "&Find Next" : "&Find All");
    replace_->setEnabled(inEditor);
    backward_->setEnabled(inEditor);
}

SearchScope TVeSearchWin::ChosenScope() const {
    for (std::size_t i = 0; i < scopes_.size(); ++i)
        if (scopes_[i]->isChecked()) return static_cast<SearchScope>(i + 1);
    return SearchScope::CurrentFile;
}

bool TVeSearchWin::IsAvailable(SearchScope scope) const {
    EditorWindow* current = form_.CurrentEditor();
    switch (scope) {
    case SearchScope::Selection:
        return current && current->SelectionLength() > 0;
    case SearchScope::CurrentFile:
        return current != nullptr;
    case SearchScope::ProjectFiles:
        return form_.Project().MainUnit() != nullptr;
    case SearchScope::OpenFiles:
        for (const auto& unit : form_.Project().Units())
            if (unit->Editor() && unit->Editor()->IsShowing()) return true;
        return false;
    }
    return false;
}

void TVeSearchWin::UpdateScopes() {
    for (std::size_t i = 0; i < scopes_.size(); ++i)
        scopes_[i]->setEnabled(IsAvailable(static_cast<SearchScope>(i + 1)));
}

void TVeSearchWin::showEvent(QShowEvent* event) {
    UpdateScopes();
    idle_.start();
    QWidget::showEvent(event);
}

void TVeSearchWin::hideEvent(QHideEvent* event) {
    idle_.stop();
    QWidget::hideEvent(event);
}

// Esc, which none of the window's controls takes, closes it: hidden, not
// destroyed.
void TVeSearchWin::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (auto* dock = qobject_cast<QDockWidget*>(parentWidget()))
        dock->hide();
    else
        hide();
}

void TVeSearchWin::FocusContent() {
    if (multiLineMode_) {
        findLines_->setFocus();
        findLines_->selectAll();
    } else {
        findBox_->setFocus();
        findBox_->lineEdit()->selectAll();
    }
}

void TVeSearchWin::Open(SearchPage page) {
    pages_->setCurrentIndex(static_cast<int>(page));
    EditorWindow* current = form_.CurrentEditor();
    const QString text = current ? TextAtCaret(current->Editor()) : QString();
    // A text of several lines cannot stand in the one-line box.
    if (text.contains('\n')) SetMultiLine(true);
    SetFindText(text);
    UpdateScopes();
    FocusContent();
}

void TVeSearchWin::SetBackward(bool backward) {
    backward_->setChecked(backward);
}

QString TVeSearchWin::FindText() const {
    return multiLineMode_ ? findLines_->toPlainText() : findBox_->currentText();
}

QString TVeSearchWin::ReplaceText() const {
    return multiLineMode_ ? replaceLines_->toPlainText() : replaceBox_->currentText();
}

void TVeSearchWin::SetFindText(const QString& text) {
    if (multiLineMode_)
        findLines_->setPlainText(text);
    else
        findBox_->setEditText(text);
}

std::optional<SearchScope> TVeSearchWin::CountingScope() {
    Prompter& prompter = form_.Project().Ask();
    if (FindText().isEmpty()) {
        prompter.ShowInfo("No string to find");
        return std::nullopt;
    }
    UpdateScopes();
    const SearchScope scope = ChosenScope();
    if (!IsAvailable(scope)) {
        prompter.ShowInfo("No available search scope");
        return std::nullopt;
    }
    return scope;
}

TVeSearchRecord TVeSearchWin::Record(SearchAction action, SearchScope scope) const {
    TVeSearchRecord search;
    search.FindText = ToBytes(FindText());
    search.ReplaceText = ToBytes(ReplaceText());
    search.Regex = regex_->isChecked();
    search.Backward = backward_->isChecked();
    search.WholeWord = wholeWord_->isChecked();
    search.CaseSensitive = caseSensitive_->isChecked();
    search.Scope = scope;
    search.Action = action;
    return search;
}

void TVeSearchWin::Remember(bool withReplacement) {
    used_ = true;
    findHistory_.Use(ToBytes(FindText()));
    RefreshHistory(*findBox_, findHistory_);
    if (!withReplacement) return;
    replaceHistory_.Use(ToBytes(ReplaceText()));
    RefreshHistory(*replaceBox_, replaceHistory_);
}

// The box's own text stays as it is; only its list follows the history.
void TVeSearchWin::RefreshHistory(QComboBox& box, const SearchHistory& history) {
    const QString text = box.currentText();
    box.clear();
    for (const std::string& entry : history.Entries())
        box.addItem(FromBytes(entry));
    box.setEditText(text);
}

void TVeSearchWin::Search(const TVeSearchRecord& search, bool inFiles) {
    Prompter& prompter = form_.Project().Ask();
    try {
        bool found = false;
        if (inFiles) {
            found = FindInFiles(form_.Project(), search) > 0;
        } else if (EditorWindow* current = form_.CurrentEditor()) {
            found = FindInUnit(current->Unit(), search);
        }
        if (search.Action == SearchAction::Mark)
            if (EditorWindow* current = form_.CurrentEditor()) current->Repaint();
        if (!found) prompter.ShowInfo("Search string not found");
    } catch (const SearchPatternError&) {
        prompter.ShowError("Error in regular expression");
    } catch (const std::exception& error) {
        prompter.ShowError(error.what());
    }
}

bool TVeSearchWin::RefuseWhileRunning() {
    if (!form_.Project().IsDebugging()) return false;
    form_.Project().Ask().ShowInfo("Can not replace while running");
    return true;
}

void TVeSearchWin::FindNext() {
    const std::optional<SearchScope> scope = CountingScope();
    if (!scope) return;
    Remember(false);
    const bool inFiles = scope == SearchScope::ProjectFiles || scope == SearchScope::OpenFiles;
    Search(Record(SearchAction::Find, *scope), inFiles);
}

void TVeSearchWin::MarkAll() {
    const std::optional<SearchScope> scope = CountingScope();
    if (!scope) return;
    Remember(false);
    Search(Record(SearchAction::Mark, *scope), true);
}

void TVeSearchWin::Replace() {
    if (RefuseWhileRunning()) return;
    const std::optional<SearchScope> scope = CountingScope();
    if (!scope || (scope != SearchScope::Selection && scope != SearchScope::CurrentFile)) return;
    Remember(true);
    Search(Record(SearchAction::Replace, *scope), false);
}

void TVeSearchWin::ReplaceAll() {
    if (RefuseWhileRunning()) return;
    const std::optional<SearchScope> scope = CountingScope();
    if (!scope) return;
    Remember(true);
    Search(Record(SearchAction::Replace, *scope), true);
}

// Repeating a find walks through the file from the caret, whatever scope
// the window has chosen: the selection scope would find only the match
// just selected, again and again.
void TVeSearchWin::FindAgain(bool backward) {
    SetBackward(backward);
    Prompter& prompter = form_.Project().Ask();
    if (FindText().isEmpty()) {
        prompter.ShowInfo("No string to find");
        return;
    }
    if (!IsAvailable(SearchScope::CurrentFile)) {
        prompter.ShowInfo("No available search scope");
        return;
    }
    Remember(false);
    Search(Record(SearchAction::Find, SearchScope::CurrentFile), false);
}

void RunSearchCommand(TVeIdeForm& form, CommandId command) {
    const bool again = command == CommandId::SearchFindNext || command == CommandId::FindPrev;
    const bool backward = command == CommandId::FindPrev;
    auto* existing =
        dynamic_cast<TVeSearchWin*>(form.WindowManager().Window(ToolWindowIndex::FindAndReplace));
    if (again && existing && existing->Used()) {
        existing->FindAgain(backward);
        return;
    }
    auto* window =
        dynamic_cast<TVeSearchWin*>(form.ShowToolWindow(ToolWindowIndex::FindAndReplace));
    if (!window) return;
    if (again) window->SetBackward(backward);
    window->Open(command == CommandId::SearchReplace ? SearchPage::Replace : SearchPage::Find);
}

} // namespace ozra::ide::gui
