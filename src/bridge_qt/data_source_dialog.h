// The connection editor's "Build..." dialog: a connection string started
// from an ODBC data source («DSN=name») or driver («Driver={name}», to be
// completed by hand), or from a SQLite database file («Data Source=path»).
//
// Names for tests and accessibility: "UseOdbc" and "UseSqlite" (the two
// choices), "Odbc" (the tree of data sources and drivers), "SqliteFile"
// and "BrowseSqlite".
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace ozra::bridge_qt {

class DataSourceDialog final : public QDialog {
  public:
    explicit DataSourceDialog(QWidget* parent);

    // The built connection string; empty when nothing was chosen.
    QString Result() const;

  private:
    void Enable();

    QRadioButton* useOdbc_;
    QRadioButton* useSqlite_;
    QTreeWidget* odbc_;
    QLineEdit* sqliteFile_;
    QPushButton* browse_;
};

// A connection-string value quoted when it needs to be (a ";", a quote, or
// blanks at either end): in double quotes, inner ones doubled.
QString QuotedValue(const QString& value);

} // namespace ozra::bridge_qt
