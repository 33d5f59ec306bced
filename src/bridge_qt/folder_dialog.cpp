// The folder browser.
#include "folder_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace ozra::bridge_qt {

FolderDialog::FolderDialog(const QString& title, const QString& root, const QString& folder)
    : model_(new QFileSystemModel(this)), tree_(new QTreeView(this)), edit_(new QLineEdit(this)) {
    setWindowTitle(tr("Browse For Folder"));
    const QString top = root.isEmpty() ? QDir::rootPath() : QDir(root).absolutePath();
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    model_->setReadOnly(false);
    model_->setRootPath(top);

    tree_->setObjectName("Folders");
    tree_->setModel(model_);
    tree_->setRootIndex(model_->index(top));
    tree_->setHeaderHidden(true);
    for (int column = 1; column < model_->columnCount(); ++column)
        tree_->hideColumn(column);
    edit_->setObjectName("Folder");
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { edit_->setText(model_->filePath(current)); });

    const QFileInfo start(folder);
    if (!folder.isEmpty() && start.isDir()) {
        const QModelIndex index = model_->index(start.absoluteFilePath());
        tree_->setCurrentIndex(index);
        tree_->scrollTo(index);
    }

    auto* newFolder = new QPushButton(tr("&Make New Folder"), this);
    newFolder->setObjectName("NewFolder");
    connect(newFolder, &QPushButton::clicked, this, &FolderDialog::MakeNewFolder);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->addButton(newFolder, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &FolderDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    if (!title.isEmpty()) layout->addWidget(new QLabel(title, this));
    layout->addWidget(tree_);
    layout->addWidget(new QLabel(tr("Folder:"), this));
    layout->addWidget(edit_);
    layout->addWidget(buttons);
    resize(420, 480);
}

QString FolderDialog::SelectedFolder() const {
    const QModelIndex current = tree_->currentIndex();
    return current.isValid() ? model_->filePath(current) : model_->rootPath();
}

void FolderDialog::accept() {
    const QString typed = edit_->text().trimmed();
    const QString name = typed.isEmpty() ? SelectedFolder() : typed;
    const QFileInfo folder(QDir(SelectedFolder()), name);
    if (!folder.isDir()) {
        QMessageBox::warning(this, windowTitle(),
                             tr("The folder \"%1\" does not exist.").arg(name));
        return;
    }
    chosen_ = QDir::cleanPath(folder.absoluteFilePath());
    QDialog::accept();
}

void FolderDialog::MakeNewFolder() {
    const QModelIndex parent = tree_->currentIndex().isValid() ? tree_->currentIndex()
                                                               : tree_->rootIndex();
    const QDir under(model_->filePath(parent));
    QString name = tr("New Folder");
    for (int n = 2; under.exists(name); ++n)
        name = tr("New Folder (%1)").arg(n);
    const QModelIndex made = model_->mkdir(parent, name);
    if (!made.isValid()) {
        QMessageBox::warning(this, windowTitle(),
                             tr("Cannot make a folder in \"%1\".").arg(under.path()));
        return;
    }
    tree_->setCurrentIndex(made);
    tree_->edit(made);
}

} // namespace ozra::bridge_qt
