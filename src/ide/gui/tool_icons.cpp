#include "ide/gui/tool_icons.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace ozra::ide::gui {

namespace {

constexpr int kBadgeSize = 16;

QIcon Standard(QStyle::StandardPixmap pixmap) {
    return QApplication::style()->standardIcon(pixmap);
}

// A coloured square with a letter, for kinds no standard icon shows.
QIcon Badge(QColor colour, QChar letter) {
    QPixmap pixmap(kBadgeSize, kBadgeSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(colour.darker(150));
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(1, 1, kBadgeSize - 2, kBadgeSize - 2), 3, 3);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(11);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, kBadgeSize, kBadgeSize), Qt::AlignCenter, QString(letter));
    return QIcon(pixmap);
}

} // namespace

QIcon UnitIcon(UnitType type) {
    switch (type) {
    case UnitType::Project:
        return Standard(QStyle::SP_DirIcon);
    case UnitType::Main:
        return Standard(QStyle::SP_MediaPlay);
    default:
        return Standard(QStyle::SP_FileIcon);
    }
}

QIcon OtherFilesIcon() {
    return Standard(QStyle::SP_DirOpenIcon);
}

QIcon ClassIcon() {
    return Badge(QColor(190, 120, 20), 'C');
}

QIcon FunctionIcon() {
    return Badge(QColor(60, 110, 190), 'f');
}

} // namespace ozra::ide::gui
