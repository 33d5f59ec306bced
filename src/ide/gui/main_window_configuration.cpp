// Reading and applying the configuration file: the splash switch at
// start, then shortcuts and every editor's settings at the first
// activation and after the options dialog.
#include "ide/core/environment_files.h"
#include "ide/gui/key_mapping.h"
#include "ide/gui/main_window.h"

namespace ozra::ide::gui {

// A file that cannot be read is reported once and leaves everything built
// in.
void TVeIdeForm::LoadConfiguration() {
    try {
        config_ = ConfigFile::Load(HomeFile(ConfigFileName));
    } catch (const std::exception& error) {
        config_ = ConfigFile();
        ShowError(error.what());
    }
}

void TVeIdeForm::ApplyConfiguration() {
    LoadConfiguration();
    for (const Command& command : Commands()) {
        QKeySequence keys(QString::fromUtf8(command.Shortcut.data(),
                                            static_cast<qsizetype>(command.Shortcut.size())));
        if (const auto configured = config_.ShortCutOf(command.Category, command.Caption))
            if (const auto mapped = ToKeySequence(*configured)) keys = *mapped;
        Action(command.Id).setShortcut(keys);
    }
    editorSettings_ = EditorSettings();
    config_.ApplyEditor(editorSettings_);
    for (const auto& unit : project_->Units())
        if (auto* window = dynamic_cast<EditorWindow*>(unit->Editor()))
            ApplyEditorConfiguration(*window);
}

void TVeIdeForm::ApplyEditorConfiguration(EditorWindow& window) {
    window.Editor().Apply(editorSettings_);
    ApplySwitches(window);
}

} // namespace ozra::ide::gui
