#include "ide/gui/bar_customizer.h"

#include "ide/gui/bar_arrangement.h"
#include "ide/gui/main_window.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QToolBar>

#include <algorithm>
#include <utility>

namespace ozra::ide::gui {

namespace {

bool CarriesOurs(const QMimeData* data) {
    return data && (data->hasFormat(kCommandMime) || data->hasFormat(kBarItemMime));
}

// The menu's position in the menu bar, or -1.
int MenuIndexOf(const std::vector<QMenu*>& menus, const QWidget* widget) {
    const auto found = std::ranges::find(menus, widget);
    return found == menus.end() ? -1 : static_cast<int>(found - menus.begin());
}

Qt::DropAction ActionFor(const QMimeData& data) {
    return data.hasFormat(kBarItemMime) ? Qt::MoveAction : Qt::CopyAction;
}

} // namespace

BarCustomizer::BarCustomizer(TVeIdeForm& window) : window_(window) {
    window_.Toolbar().setAcceptDrops(true);
    window_.menuBar()->setAcceptDrops(true);
    for (QMenu* menu : window_.Menus())
        menu->setAcceptDrops(true);
    qApp->installEventFilter(this);
}

BarCustomizer::~BarCustomizer() {
    qApp->removeEventFilter(this);
    window_.Toolbar().setAcceptDrops(false);
    window_.menuBar()->setAcceptDrops(false);
    for (QMenu* menu : window_.Menus())
        menu->setAcceptDrops(false);
}

QWidget* BarCustomizer::BarWidgetOf(QWidget* widget) const {
    for (QWidget* each = widget; each; each = each->parentWidget()) {
        if (each == &window_.Toolbar() || each == window_.menuBar()) return each;
        if (MenuIndexOf(window_.Menus(), each) >= 0) return each;
        if (each->isWindow()) break;
    }
    return nullptr;
}

std::optional<BarPlace> BarCustomizer::ItemAt(QWidget* widget, QPoint point) const {
    QWidget* bar = BarWidgetOf(widget);
    if (!bar || bar == window_.menuBar()) return std::nullopt;
    const QPoint at = widget->mapTo(bar, point);
    auto* menu = qobject_cast<QMenu*>(bar);
    QAction* under = menu ? menu->actionAt(at) : window_.Toolbar().actionAt(at);
    if (!under) return std::nullopt;
    return BarPlace{menu ? MenuIndexOf(window_.Menus(), menu) : kToolbarBar,
                    static_cast<std::size_t>(bar->actions().indexOf(under))};
}

std::optional<BarPlace> BarCustomizer::PlaceAt(QWidget* widget, QPoint point) const {
    QWidget* bar = BarWidgetOf(widget);
    if (!bar) return std::nullopt;
    const QPoint at = widget->mapTo(bar, point);
    if (bar == window_.menuBar()) {
        const QAction* title = window_.menuBar()->actionAt(at);
        const auto& menus = window_.Menus();
        for (int index = 0; index < static_cast<int>(menus.size()); ++index)
            if (title && menus[index]->menuAction() == title)
                return BarPlace{index, window_.Bars().Menus[index].size()};
        return std::nullopt;
    }
    auto* menu = qobject_cast<QMenu*>(bar);
    const int index = menu ? MenuIndexOf(window_.Menus(), menu) : kToolbarBar;
    const QList<QAction*> actions = bar->actions();
    QAction* under = menu ? menu->actionAt(at) : window_.Toolbar().actionAt(at);
    if (!under) return BarPlace{index, static_cast<std::size_t>(actions.size())};
    const QRect box = menu ? menu->actionGeometry(under) : window_.Toolbar().actionGeometry(under);
    const bool past = menu ? at.y() > box.center().y() : at.x() > box.center().x();
    return BarPlace{index, static_cast<std::size_t>(actions.indexOf(under)) + (past ? 1 : 0)};
}

void BarCustomizer::FinishItemDrag(BarPlace from, std::optional<BarPlace> to) {
    BarArrangement bars = window_.Bars();
    if (to)
        bars.Move(from.Bar, from.Position, to->Bar, to->Position);
    else
        bars.Remove(from.Bar, from.Position);
    window_.SetBars(std::move(bars));
}

// A command from the dialog is placed at once; an item from a bar only
// once its drag has ended, so the bar it came from is not rebuilt under
// the running drag.
bool BarCustomizer::Drop(QWidget* widget, QPoint point, const QMimeData& data) {
    const std::optional<BarPlace> place = PlaceAt(widget, point);
    if (!place) return false;
    if (data.hasFormat(kBarItemMime)) {
        droppedAt_ = place;
        return true;
    }
    const std::optional<CommandId> command =
        PlaceableCommand(data.data(kCommandMime).toStdString());
    if (!command) return false;
    BarArrangement bars = window_.Bars();
    bars.Insert(place->Bar, place->Position, {command});
    window_.SetBars(std::move(bars));
    return true;
}

void BarCustomizer::StartDrag(QWidget* bar, BarPlace from) {
    auto* data = new QMimeData;
    data->setData(kBarItemMime,
                  QByteArray::number(from.Bar) + ' ' + QByteArray::number(from.Position));
    auto* drag = new QDrag(bar); // the drag deletes itself once it ends
    drag->setMimeData(data);
    QAction* item = bar->actions().value(static_cast<qsizetype>(from.Position));
    if (auto* menu = qobject_cast<QMenu*>(bar); menu && item)
        drag->setPixmap(menu->grab(menu->actionGeometry(item)));
    else if (item)
        drag->setPixmap(bar->grab(window_.Toolbar().actionGeometry(item)));
    droppedAt_.reset();
    drag->exec(Qt::MoveAction);
    FinishItemDrag(from, std::exchange(droppedAt_, std::nullopt));
}

bool BarCustomizer::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!CarriesOurs(drag->mimeData()) || !BarWidgetOf(widget)) return false;
        drag->setDropAction(ActionFor(*drag->mimeData()));
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!CarriesOurs(drop->mimeData()) || !BarWidgetOf(widget)) return false;
        if (!Drop(widget, drop->position().toPoint(), *drop->mimeData())) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(ActionFor(*drop->mimeData()));
        drop->accept();
        return true;
    }
    case QEvent::MouseButtonPress: {
        QWidget* bar = BarWidgetOf(widget);
        if (!bar || bar == window_.menuBar()) return false;
        auto* mouse = static_cast<QMouseEvent*>(event);
        pressed_ = mouse->button() == Qt::LeftButton ? ItemAt(widget, mouse->position().toPoint())
                                                     : std::nullopt;
        pressPoint_ = mouse->globalPosition().toPoint();
        return true;
    }
    case QEvent::MouseMove: {
        if (!pressed_) return false;
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!(mouse->buttons() & Qt::LeftButton)) {
            pressed_.reset();
            return false;
        }
        if ((mouse->globalPosition().toPoint() - pressPoint_).manhattanLength() >=
            QApplication::startDragDistance())
            if (QWidget* bar = BarWidgetOf(widget))
                StartDrag(bar, *std::exchange(pressed_, std::nullopt));
        return true;
    }
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        QWidget* bar = BarWidgetOf(widget);
        if (!bar || bar == window_.menuBar()) return false;
        pressed_.reset();
        return true;
    }
    default:
        return false;
    }
}

} // namespace ozra::ide::gui
