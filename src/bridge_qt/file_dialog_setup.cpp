#include "file_dialog_setup.h"

#include <QFileInfo>

namespace ozra::bridge_qt {

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QStringList NameFilters(const std::vector<runtime::FileFilter>& filters) {
    QStringList names;
    for (const runtime::FileFilter& filter : filters) {
        QStringList patterns;
        for (const std::string& pattern : filter.Patterns)
            patterns << FromUtf8(pattern);
        names << FromUtf8(filter.Description) + " (" + patterns.join(' ') + ")";
    }
    return names;
}

void SetUpFileDialog(QFileDialog& dialog, const std::vector<runtime::FileFilter>& filters,
                     const std::string& fileName) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (!filters.empty()) dialog.setNameFilters(NameFilters(filters));
    if (fileName.empty()) return;
    const QFileInfo proposed(FromUtf8(fileName));
    if (fileName.find('/') != std::string::npos) dialog.setDirectory(proposed.absolutePath());
    dialog.selectFile(proposed.fileName());
}

} // namespace ozra::bridge_qt
