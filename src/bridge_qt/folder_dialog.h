// The folder browser: a tree of folders only, rooted at a given folder
// (every folder when none is given), with an edit box and a button that
// makes a new folder under the selected one.
//
// The edit box follows the selection and may be typed in: a relative name
// is taken under the selected folder. "OK" accepts only a folder that
// exists, and answers its absolute path without a trailing "/". Names for
// tests and accessibility: "Folders" (the tree), "Folder" (the edit box),
// "NewFolder" (the button).
#pragma once

#include <QDialog>
#include <QString>

class QFileSystemModel;
class QLineEdit;
class QTreeView;

namespace ozra::bridge_qt {

class FolderDialog final : public QDialog {
  public:
    FolderDialog(const QString& title, const QString& root, const QString& folder);

    // The accepted folder.
    QString Folder() const { return chosen_; }

    void accept() override;

  private:
    QString SelectedFolder() const;
    void MakeNewFolder();

    QFileSystemModel* model_;
    QTreeView* tree_;
    QLineEdit* edit_;
    QString chosen_;
};

} // namespace ozra::bridge_qt
