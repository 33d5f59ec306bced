// The font dialog.
#include "font_dialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdlib>

namespace ozra::bridge_qt {

namespace {

// Qt's chooser finds a font's style by its name, and a family may call its
// plain style "Book" or "Roman", not "Normal": without the family's own
// name for it the chooser starts at another style (an italic one). The
// style named here has the weight and slant asked for; the plainest name
// wins («Book» over «Condensed»).
QString StyleOf(const QFont& font) {
    const QString family = font.family();
    QString best;
    int bestDistance = 0;
    for (const QString& style : QFontDatabase::styles(family)) {
        if (QFontDatabase::italic(family, style) != font.italic()) continue;
        const int distance = std::abs(QFontDatabase::weight(family, style) - font.weight());
        if (best.isEmpty() || distance < bestDistance ||
            (distance == bestDistance && style.size() < best.size())) {
            best = style;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace

FontDialog::FontDialog(const runtime::FontChoice& initial)
    : fonts_(new QFontDialog(this)), colourButton_(new QPushButton(this)),
      colour_(QColor::fromRgb(initial.Color)) {
    setWindowTitle(tr("Font"));
    fonts_->setObjectName("Fonts");
    fonts_->setWindowFlags(Qt::Widget);
    fonts_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    QFont font = QApplication::font();
    if (!initial.Name.empty()) font.setFamily(QString::fromStdString(initial.Name));
    if (initial.Size > 0) font.setPointSize(initial.Size);
    font.setBold(initial.Bold);
    font.setItalic(initial.Italic);
    font.setUnderline(initial.Underline);
    font.setStrikeOut(initial.StrikeOut);
    if (const QString style = StyleOf(font); !style.isEmpty()) font.setStyleName(style);
    fonts_->setCurrentFont(font);

    colourButton_->setObjectName("Colour");
    colourButton_->setText(tr("&Colour..."));
    connect(colourButton_, &QPushButton::clicked, this, [this] {
        QColorDialog dialog(colour_, this);
        dialog.setOption(QColorDialog::DontUseNativeDialog);
        if (dialog.exec() == QDialog::Accepted) {
            colour_ = dialog.selectedColor();
            ShowColour();
        }
    });
    ShowColour();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(new QLabel(tr("Colour:"), this));
    colourRow->addWidget(colourButton_);
    colourRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fonts_);
    layout->addLayout(colourRow);
    layout->addWidget(buttons);
}

void FontDialog::ShowColour() {
    QPixmap swatch(24, 16);
    swatch.fill(colour_);
    colourButton_->setIcon(QIcon(swatch));
}

runtime::FontChoice FontDialog::Choice() const {
    const QFont font = fonts_->currentFont();
    runtime::FontChoice choice;
    choice.Name = font.family().toStdString();
    choice.Size = font.pointSize();
    choice.Color = colour_.rgb() & 0xFFFFFFu;
    choice.Bold = font.bold();
    choice.Italic = font.italic();
    choice.Underline = font.underline();
    choice.StrikeOut = font.strikeOut();
    return choice;
}

} // namespace ozra::bridge_qt
