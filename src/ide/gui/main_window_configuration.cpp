// Reading and applying the configuration file: the splash switch at
// start, then shortcuts and every editor's settings at the first
// activation and after the options dialog.
#include "ide/core/environment_files.h"
#include "ide/core/text_languages.h"
#include "ide/gui/key_mapping.h"
#include "ide/gui/main_window.h"

namespace ozra::ide::gui {

// A complete default file is written when there is none, so the options
// dialog finds every entry; a file that cannot be read is reported and
// leaves everything built in.
void TVeIdeForm::LoadConfiguration() {
    try {
        std::vector<ActionShortCut> actions;
        for (const Command& command : Commands())
            actions.push_back({std::string(command.Category), std::string(command.Caption),
                               TextToShortCut(command.Shortcut).value_or(0)});
        WriteDefaultConfigFile(HomeFile(ConfigFileName), EditorSettings(), actions,
                               DefaultHighlighterStyles());
    } catch (const std::exception&) {
        // A home folder that cannot be written leaves the built-in settings.
    }
    try {
        configuration_.File = ConfigFile::Load(HomeFile(ConfigFileName));
    } catch (const std::exception& error) {
        configuration_.File = ConfigFile();
        ShowError(error.what());
    }
}

void TVeIdeForm::ApplyConfiguration() {
    LoadConfiguration();
    for (const Command& command : Commands()) {
        QKeySequence keys(QString::fromUtf8(command.Shortcut.data(),
                                            static_cast<qsizetype>(command.Shortcut.size())));
        if (const auto configured =
                configuration_.File.ShortCutOf(command.Category, command.Caption))
            if (const auto mapped = ToKeySequence(*configured)) keys = *mapped;
        Action(command.Id).setShortcut(keys);
    }
    configuration_.Editor = EditorSettings();
    configuration_.File.ApplyEditor(configuration_.Editor);
    for (const auto& unit : project_->Units())
        if (auto* window = dynamic_cast<EditorWindow*>(unit->Editor()))
            ApplyEditorConfiguration(*window);
}

void TVeIdeForm::ApplyEditorConfiguration(EditorWindow& window) {
    window.ApplyConfiguration();
    ApplySwitches(window);
}

} // namespace ozra::ide::gui
