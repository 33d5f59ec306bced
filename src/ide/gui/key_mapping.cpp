#include "ide/gui/key_mapping.h"

namespace ozra::ide::gui {

namespace {

std::optional<int> QtKey(std::uint8_t code) {
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) return code;
    if (code >= keys::F1 && code < keys::F1 + 24) return Qt::Key_F1 + (code - keys::F1);
    switch (code) {
    case keys::Backspace:
        return Qt::Key_Backspace;
    case keys::Tab:
        return Qt::Key_Tab;
    case keys::Enter:
        return Qt::Key_Return;
    case keys::Escape:
        return Qt::Key_Escape;
    case keys::Space:
        return Qt::Key_Space;
    case keys::PageUp:
        return Qt::Key_PageUp;
    case keys::PageDown:
        return Qt::Key_PageDown;
    case keys::End:
        return Qt::Key_End;
    case keys::Home:
        return Qt::Key_Home;
    case keys::Left:
        return Qt::Key_Left;
    case keys::Up:
        return Qt::Key_Up;
    case keys::Right:
        return Qt::Key_Right;
    case keys::Down:
        return Qt::Key_Down;
    case keys::Insert:
        return Qt::Key_Insert;
    case keys::Delete:
        return Qt::Key_Delete;
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<QKeySequence> ToKeySequence(ShortCut shortCut) {
    if (shortCut == 0) return QKeySequence();
    const std::optional<int> key = QtKey(static_cast<std::uint8_t>(shortCut & 0xFF));
    if (!key) return std::nullopt;
    int modifiers = 0;
    if (shortCut & CtrlFlag) modifiers |= Qt::CTRL;
    if (shortCut & ShiftFlag) modifiers |= Qt::SHIFT;
    if (shortCut & AltFlag) modifiers |= Qt::ALT;
    return QKeySequence(*key | modifiers);
}

} // namespace ozra::ide::gui
