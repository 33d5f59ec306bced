// The "Connection String Editor" dialog.
//
// Two choices, each enabling only its own controls: "Use Data Link File",
// a sorted list of the data link files (".udl") of the user's data link
// folder that may also be typed in, with "Browse..." for a file elsewhere
// and the chosen file's connection string shown below (passwords hidden);
// and "Use Connection String", an edit box with "Build..." (an ODBC data
// source or driver, or a SQLite file) and "Save as Link...", which keeps
// the string as a new data link file in the folder and chooses it.
//
// The start follows the initial text: «FILE NAME=path» (letter case
// ignored) chooses the file, shown without its folder when it lies in the
// data link folder; anything else is the connection string. The result is
// the edit box's text, or «FILE NAME=» and the file (put under the data
// link folder when it is given without a folder), or "" when no file is
// given. Names for tests and accessibility: "UseLink", "LinkFile",
// "BrowseLink", "LinkPreview", "UseString", "ConnectionString", "Build",
// "SaveLink".
#pragma once

#include "runtime/desktop_bridge.h"

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ozra::bridge_qt {

class ConnectionEditorDialog final : public QDialog {
  public:
    explicit ConnectionEditorDialog(const runtime::ConnectionEditorRequest& request);

    QString Result() const;

  private:
    void ListLinks();
    void Enable();
    void ShowPreview();
    void BrowseLink();
    void Build();
    void SaveLink();
    // The file named in the list, with the data link folder put in front
    // of a bare name.
    QString LinkPath(const QString& entry) const;

    const runtime::ConnectionEditorRequest& request_;
    QString folder_;
    QRadioButton* useLink_;
    QRadioButton* useString_;
    QComboBox* linkFile_;
    QPushButton* browseLink_;
    QLabel* preview_;
    QLineEdit* connection_;
    QPushButton* build_;
    QPushButton* saveLink_;
};

} // namespace ozra::bridge_qt
