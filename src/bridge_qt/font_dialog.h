// The font dialog: Qt's font chooser with a colour, which the stored font
// settings of scripts carry and Qt's chooser lacks.
//
// Qt's chooser is embedded without its buttons; below it a "Colour" button
// shows the colour and opens the colour dialog. Names for tests and
// accessibility: "Fonts" (the chooser), "Colour" (the button).
#pragma once

#include "runtime/desktop_bridge.h"

#include <QColor>
#include <QDialog>

class QFontDialog;
class QPushButton;

namespace ozra::bridge_qt {

class FontDialog final : public QDialog {
  public:
    explicit FontDialog(const runtime::FontChoice& initial);

    runtime::FontChoice Choice() const;

  private:
    void ShowColour();

    QFontDialog* fonts_;
    QPushButton* colourButton_;
    QColor colour_;
};

} // namespace ozra::bridge_qt
