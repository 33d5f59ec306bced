// The connection string editor.
#include "connection_editor_dialog.h"

#include "data_source_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

#include <exception>

namespace ozra::bridge_qt {

namespace {

constexpr QLatin1StringView FileNameKey("FILE NAME=");

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString WithoutPasswords(QString text) {
    static const QRegularExpression password(
        "((?:^|;)\\s*(?:pwd|password)\\s*=)(\"[^\"]*\"|'[^']*'|[^;]*)",
        QRegularExpression::CaseInsensitiveOption);
    return text.replace(password, "\\1***");
}

} // namespace

ConnectionEditorDialog::ConnectionEditorDialog(const runtime::ConnectionEditorRequest& request)
    : request_(request), folder_(FromUtf8(request.DataLinkFolder)),
      useLink_(new QRadioButton(tr("Use Data &Link File"), this)),
      useString_(new QRadioButton(tr("Use &Connection String"), this)),
      linkFile_(new QComboBox(this)), browseLink_(new QPushButton(tr("&Browse..."), this)),
      preview_(new QLabel(this)), connection_(new QLineEdit(this)),
      build_(new QPushButton(tr("B&uild..."), this)),
      saveLink_(new QPushButton(tr("Save as Lin&k..."), this)) {
    setWindowTitle(tr("Connection String Editor"));
    useLink_->setObjectName("UseLink");
    useString_->setObjectName("UseString");
    linkFile_->setObjectName("LinkFile");
    browseLink_->setObjectName("BrowseLink");
    preview_->setObjectName("LinkPreview");
    connection_->setObjectName("ConnectionString");
    build_->setObjectName("Build");
    saveLink_->setObjectName("SaveLink");
    linkFile_->setEditable(true);
    linkFile_->setInsertPolicy(QComboBox::NoInsert);
    preview_->setWordWrap(true);
    preview_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ListLinks();

    const QString initial = FromUtf8(request.Initial);
    if (initial.startsWith(FileNameKey, Qt::CaseInsensitive)) {
        useLink_->setChecked(true);
        const QFileInfo file(initial.mid(FileNameKey.size()).trimmed());
        const bool inFolder = QDir(file.absolutePath()) == QDir(folder_);
        linkFile_->setCurrentText(inFolder ? file.fileName() : file.filePath());
    } else {
        useString_->setChecked(true);
        connection_->setText(initial);
        linkFile_->setCurrentText({});
    }

    connect(useLink_, &QRadioButton::toggled, this, &ConnectionEditorDialog::Enable);
    connect(linkFile_, &QComboBox::currentTextChanged, this, &ConnectionEditorDialog::ShowPreview);
    connect(browseLink_, &QPushButton::clicked, this, &ConnectionEditorDialog::BrowseLink);
    connect(build_, &QPushButton::clicked, this, &ConnectionEditorDialog::Build);
    connect(saveLink_, &QPushButton::clicked, this, &ConnectionEditorDialog::SaveLink);
    Enable();
    ShowPreview();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QGridLayout(this);
    layout->addWidget(useLink_, 0, 0, 1, 3);
    layout->addWidget(linkFile_, 1, 0, 1, 2);
    layout->addWidget(browseLink_, 1, 2);
    layout->addWidget(preview_, 2, 0, 1, 3);
    layout->addWidget(useString_, 3, 0, 1, 3);
    layout->addWidget(connection_, 4, 0, 1, 3);
    layout->addWidget(build_, 5, 1);
    layout->addWidget(saveLink_, 5, 2);
    layout->addWidget(buttons, 6, 0, 1, 3);
    layout->setColumnStretch(0, 1);
    resize(520, layout->sizeHint().height());
}

void ConnectionEditorDialog::ListLinks() {
    const QString current = linkFile_->currentText();
    linkFile_->clear();
    QStringList names = QDir(folder_).entryList({"*.udl"}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    linkFile_->addItems(names);
    linkFile_->setCurrentText(current);
}

void ConnectionEditorDialog::Enable() {
    const bool link = useLink_->isChecked();
    linkFile_->setEnabled(link);
    browseLink_->setEnabled(link);
    preview_->setEnabled(link);
    connection_->setEnabled(!link);
    build_->setEnabled(!link);
    saveLink_->setEnabled(!link);
}

QString ConnectionEditorDialog::LinkPath(const QString& entry) const {
    return entry.contains('/') ? entry : folder_ + entry;
}

void ConnectionEditorDialog::ShowPreview() {
    const QString entry = linkFile_->currentText().trimmed();
    if (entry.isEmpty() || !QFileInfo(LinkPath(entry)).isFile()) {
        preview_->clear();
        return;
    }
    try {
        preview_->setText(WithoutPasswords(
            FromUtf8(request_.ReadDataLink(LinkPath(entry).toStdString()))));
    } catch (const std::exception& error) {
        preview_->setText(FromUtf8(error.what()));
    }
}

void ConnectionEditorDialog::BrowseLink() {
    QFileDialog dialog(this, tr("Data Link File"), folder_);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({tr("Data link files (*.udl)"), tr("All files (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QFileInfo file(dialog.selectedFiles().front());
    const bool inFolder = QDir(file.absolutePath()) == QDir(folder_);
    linkFile_->setCurrentText(inFolder ? file.fileName() : file.absoluteFilePath());
}

void ConnectionEditorDialog::Build() {
    DataSourceDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted) return;
    const QString built = dialog.Result();
    if (!built.isEmpty()) connection_->setText(built);
}

void ConnectionEditorDialog::SaveLink() {
    bool confirmed = false;
    QString name = QInputDialog::getText(this, tr("Save as Link"), tr("Data link name:"),
                                         QLineEdit::Normal, {}, &confirmed)
                       .trimmed();
    if (!confirmed || name.isEmpty()) return;
    if (name.contains('/')) {
        QMessageBox::warning(this, windowTitle(), tr("A data link name cannot hold a \"/\"."));
        return;
    }
    if (!name.endsWith(".udl", Qt::CaseInsensitive)) name += ".udl";
    const QString path = folder_ + name;
    if (QFileInfo::exists(path) &&
        QMessageBox::question(this, windowTitle(),
                              tr("\"%1\" already exists. Replace it?").arg(name)) != QMessageBox::Yes)
        return;
    try {
        request_.WriteDataLink(path.toStdString(), connection_->text().toStdString());
    } catch (const std::exception& error) {
        QMessageBox::warning(this, windowTitle(), FromUtf8(error.what()));
        return;
    }
    ListLinks();
    linkFile_->setCurrentText(name);
    useLink_->setChecked(true);
}

QString ConnectionEditorDialog::Result() const {
    if (useString_->isChecked()) return connection_->text();
    const QString entry = linkFile_->currentText().trimmed();
    return entry.isEmpty() ? QString() : FileNameKey + LinkPath(entry);
}

} // namespace ozra::bridge_qt
