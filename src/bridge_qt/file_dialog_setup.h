// How every file dialog of the system is set up: Qt's own dialog, never
// the desktop's, with the filter list and the proposed name. The dialog
// library's dialogs and the environment's open and save dialogs share it.
#pragma once

#include "runtime/desktop_bridge.h"

#include <QFileDialog>
#include <QStringList>

#include <string>
#include <vector>

namespace ozra::bridge_qt {

// Qt's form of a filter list: «Text (*.txt *.log)», one entry per line.
QStringList NameFilters(const std::vector<runtime::FileFilter>& filters);
// A file dialog of Qt's own, starting at the proposed name.
void SetUpFileDialog(QFileDialog& dialog, const std::vector<runtime::FileFilter>& filters,
                     const std::string& fileName);

} // namespace ozra::bridge_qt
