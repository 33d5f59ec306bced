// The "Build..." dialog of the connection editor.
#include "data_source_dialog.h"

#include "odbc_listing.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace ozra::bridge_qt {

namespace {

enum EntryKind { DataSourceEntry = QTreeWidgetItem::UserType, DriverEntry };

void AddGroup(QTreeWidget& tree, const QString& title, const std::vector<OdbcEntry>& entries,
              EntryKind kind) {
    auto* group = new QTreeWidgetItem(&tree, QStringList{title});
    group->setFlags(Qt::ItemIsEnabled);
    for (const OdbcEntry& entry : entries) {
        auto* item = new QTreeWidgetItem(group, QStringList{QString::fromStdString(entry.Name),
                                                            QString::fromStdString(entry.Description)},
                                         kind);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }
    group->setExpanded(true);
}

} // namespace

QString QuotedValue(const QString& value) {
    const bool plain = !value.contains(';') && !value.contains('"') && !value.contains('\'') &&
                       value.trimmed() == value;
    if (plain) return value;
    QString quoted = value;
    quoted.replace("\"", "\"\"");
    return "\"" + quoted + "\"";
}

DataSourceDialog::DataSourceDialog(QWidget* parent)
    : QDialog(parent), useOdbc_(new QRadioButton(tr("ODBC &data source or driver"), this)),
      useSqlite_(new QRadioButton(tr("&SQLite database file"), this)), odbc_(new QTreeWidget(this)),
      sqliteFile_(new QLineEdit(this)), browse_(new QPushButton(tr("&Browse..."), this)) {
    setWindowTitle(tr("Data Source"));
    useOdbc_->setObjectName("UseOdbc");
    useSqlite_->setObjectName("UseSqlite");
    odbc_->setObjectName("Odbc");
    sqliteFile_->setObjectName("SqliteFile");
    browse_->setObjectName("BrowseSqlite");

    odbc_->setHeaderLabels({tr("Name"), tr("Driver")});
    AddGroup(*odbc_, tr("Data sources"), ListOdbcDataSources(), DataSourceEntry);
    AddGroup(*odbc_, tr("Drivers"), ListOdbcDrivers(), DriverEntry);
    odbc_->resizeColumnToContents(0);

    connect(browse_, &QPushButton::clicked, this, [this] {
        QFileDialog dialog(this, tr("SQLite Database"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setNameFilters({tr("SQLite databases (*.db *.sqlite *.sqlite3)"),
                               tr("All files (*)")});
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            sqliteFile_->setText(dialog.selectedFiles().front());
    });
    connect(useOdbc_, &QRadioButton::toggled, this, &DataSourceDialog::Enable);
    const bool anyOdbc = odbc_->topLevelItem(0)->childCount() + odbc_->topLevelItem(1)->childCount() > 0;
    (anyOdbc ? useOdbc_ : useSqlite_)->setChecked(true);
    Enable();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QGridLayout(this);
    layout->addWidget(useOdbc_, 0, 0, 1, 2);
    layout->addWidget(odbc_, 1, 0, 1, 2);
    layout->addWidget(useSqlite_, 2, 0, 1, 2);
    layout->addWidget(sqliteFile_, 3, 0);
    layout->addWidget(browse_, 3, 1);
    layout->addWidget(buttons, 4, 0, 1, 2);
    resize(460, 420);
}

void DataSourceDialog::Enable() {
    const bool odbc = useOdbc_->isChecked();
    odbc_->setEnabled(odbc);
    sqliteFile_->setEnabled(!odbc);
    browse_->setEnabled(!odbc);
}

QString DataSourceDialog::Result() const {
    if (useSqlite_->isChecked()) {
        const QString file = sqliteFile_->text().trimmed();
        return file.isEmpty() ? QString() : "Data Source=" + QuotedValue(file);
    }
    const QTreeWidgetItem* item = odbc_->currentItem();
    if (!item || !item->isSelected()) return {};
    QString name = item->text(0);
    if (item->type() == DataSourceEntry) return "DSN=" + QuotedValue(name);
    if (item->type() == DriverEntry) return "Driver={" + name.replace("}", "}}") + "}";
    return {};
}

} // namespace ozra::bridge_qt
