// The menus and the toolbar while the Customize dialog is open: they take
// commands dropped on them and give up the items dragged off them.
//
// A command dragged from the dialog carries its name; dropped on the
// toolbar or in an open menu it goes where it was dropped, and dropped on
// a menu's title in the menu bar it goes to the end of that menu. An item
// dragged from a bar moves to where it is dropped, or is removed when it
// is dropped anywhere that is not a bar. Clicks on the bars' items start
// drags instead of commands meanwhile; the menu bar still opens its menus.
//
// It watches the application's events from construction to destruction,
// so the dialog that owns it bounds the customising mode.
#pragma once

#include <QObject>
#include <QPoint>

#include <cstddef>
#include <optional>

class QMimeData;
class QWidget;

namespace ozra::ide::gui {

class TVeIdeForm;

// A command's name, dragged from the dialog.
inline constexpr const char* kCommandMime = "application/x-weftline-command";
// "BAR POSITION" of an item dragged from a bar.
inline constexpr const char* kBarItemMime = "application/x-weftline-bar-item";

// A position on a bar (`kToolbarBar` or a menu's index).
struct BarPlace {
    int Bar = 0;
    std::size_t Position = 0;
};

class BarCustomizer final : public QObject {
  public:
    explicit BarCustomizer(TVeIdeForm& window);
    ~BarCustomizer() override;

    // Where an item dropped at a point of a widget goes: before the item
    // under the point (after it, past the item's middle), at the end of a
    // bar's free space or of the menu whose title is there; none outside
    // the bars.
    std::optional<BarPlace> PlaceAt(QWidget* widget, QPoint point) const;
    // The end of a drag from a bar: the item moves to where it was
    // dropped, or leaves the bar when it was dropped on no bar.
    void FinishItemDrag(BarPlace from, std::optional<BarPlace> to);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The bar widget (toolbar, menu bar or menu) a widget belongs to.
    QWidget* BarWidgetOf(QWidget* widget) const;
    std::optional<BarPlace> ItemAt(QWidget* widget, QPoint point) const;
    bool Drop(QWidget* widget, QPoint point, const QMimeData& data);
    void StartDrag(QWidget* bar, BarPlace from);

    TVeIdeForm& window_;
    // The item under a press on a bar, until the press ends or a drag
    // starts.
    std::optional<BarPlace> pressed_;
    QPoint pressPoint_;
    // Where the item of the running drag from a bar was dropped.
    std::optional<BarPlace> droppedAt_;
};

} // namespace ozra::ide::gui
