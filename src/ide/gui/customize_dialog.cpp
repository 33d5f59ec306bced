#include "ide/gui/customize_dialog.h"

#include "ide/gui/commands.h"
#include "ide/gui/main_window.h"
#include "ide/gui/qt_text.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace ozra::ide::gui {

namespace {

constexpr int kCommandRole = Qt::UserRole;
constexpr int kIconSize = 20;

// The commands of a category, dragged out as their names.
class CommandListWidget final : public QListWidget {
  public:
    explicit CommandListWidget(QWidget* parent) : QListWidget(parent) {
        setDragEnabled(true);
        setDragDropMode(QAbstractItemView::DragOnly);
        setDefaultDropAction(Qt::CopyAction);
    }

  protected:
    QStringList mimeTypes() const override { return {kCommandMime}; }
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override {
        if (items.isEmpty()) return nullptr;
        const auto id = static_cast<CommandId>(items.first()->data(kCommandRole).toInt());
        auto* data = new QMimeData;
        data->setData(kCommandMime, QByteArray::fromStdString(std::string(CommandOf(id).Name)));
        return data;
    }
};

} // namespace

CustomizeDialog::CustomizeDialog(TVeIdeForm& window)
    : QDialog(&window), window_(window), pages_(new QTabWidget(this)) {
    setObjectName("CustomizeDialog");
    setWindowTitle("Customize");
    pages_->addTab(MakeToolbarsPage(), "Toolbars");
    pages_->addTab(MakeCommandsPage(), "Commands");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addWidget(buttons);
    resize(520, 400);
}

void CustomizeDialog::showEvent(QShowEvent* event) {
    if (!customizer_) customizer_.emplace(window_);
    QDialog::showEvent(event);
}

void CustomizeDialog::hideEvent(QHideEvent* event) {
    customizer_.reset();
    QDialog::hideEvent(event);
}

QWidget* CustomizeDialog::MakeToolbarsPage() {
    auto* page = new QWidget(this);
    barList_ = new QListWidget(page);
    auto* toolbar = new QListWidgetItem("Toolbar", barList_);
    toolbar->setFlags(toolbar->flags() | Qt::ItemIsUserCheckable);
    toolbar->setCheckState(window_.Toolbar().isHidden() ? Qt::Unchecked : Qt::Checked);
    new QListWidgetItem("Menu Bar", barList_);
    barList_->setCurrentRow(kToolbarRow);
    connect(barList_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (barList_->row(item) != kToolbarRow) return;
        BarArrangement bars = window_.Bars();
        bars.ToolbarVisible = item->checkState() == Qt::Checked;
        window_.SetBars(std::move(bars));
    });
    // The toolbar can be hidden from the window's own menu too.
    connect(&window_.Toolbar(), &QToolBar::visibilityChanged, this, [this, toolbar](bool shown) {
        const QSignalBlocker quiet(barList_);
        toolbar->setCheckState(shown ? Qt::Checked : Qt::Unchecked);
    });

    auto* reset = new QPushButton("&Reset", page);
    reset->setToolTip("Put the chosen bar's commands back as they were built");
    connect(reset, &QPushButton::clicked, this,
            [this] { ResetBar(static_cast<BarRow>(barList_->currentRow())); });
    auto* side = new QVBoxLayout;
    side->addWidget(reset);
    side->addStretch();
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(barList_);
    layout->addLayout(side);
    return page;
}

QWidget* CustomizeDialog::MakeCommandsPage() {
    auto* page = new QWidget(this);
    auto* hint = new QLabel("Drag a command onto the toolbar or a menu to add it there; drag an "
                            "item off the toolbar or a menu to remove it.",
                            page);
    hint->setWordWrap(true);
    categories_ = new QListWidget(page);
    categories_->setObjectName("Categories");
    for (std::string_view caption : MenuCaptions())
        categories_->addItem(FromBytes(PlainCaption(caption)));
    categories_->setMaximumWidth(130);
    commands_ = new CommandListWidget(page);
    commands_->setObjectName("Commands");
    commands_->setIconSize(QSize(kIconSize, kIconSize));
    description_ = new QLabel(page);
    description_->setWordWrap(true);
    connect(categories_, &QListWidget::currentRowChanged, this,
            [this](int row) { ShowCategory(row); });
    connect(commands_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        description_->setText(
            item ? window_.Action(static_cast<CommandId>(item->data(kCommandRole).toInt()))
                       .statusTip()
                 : QString());
    });

    auto* lists = new QHBoxLayout;
    lists->addWidget(categories_);
    lists->addWidget(commands_);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(hint);
    layout->addLayout(lists);
    layout->addWidget(description_);
    categories_->setCurrentRow(0);
    return page;
}

void CustomizeDialog::ShowCategory(int row) {
    commands_->clear();
    if (row < 0) return;
    const std::string category = PlainCaption(MenuCaptions()[static_cast<std::size_t>(row)]);
    // Captions line up whether or not their command has an icon.
    QPixmap empty(kIconSize, kIconSize);
    empty.fill(Qt::transparent);
    const QIcon blank(empty);
    for (const Command& command : Commands()) {
        if (command.Category != category || !PlaceableCommand(command.Name)) continue;
        const QAction& action = window_.Action(command.Id);
        auto* item = new QListWidgetItem(action.icon().isNull() ? blank : action.icon(),
                                         FromBytes(PlainCaption(command.Caption)), commands_);
        item->setData(kCommandRole, static_cast<int>(command.Id));
        item->setToolTip(action.toolTip());
    }
    commands_->setCurrentRow(0);
}

void CustomizeDialog::ResetBar(BarRow row) {
    BarArrangement bars = window_.Bars();
    const BarArrangement builtIn = BarArrangement::BuiltIn();
    if (row == kToolbarRow) {
        bars.Toolbar = builtIn.Toolbar;
        bars.ToolbarVisible = true;
    } else {
        bars.Menus = builtIn.Menus;
    }
    window_.SetBars(std::move(bars));
}

} // namespace ozra::ide::gui
