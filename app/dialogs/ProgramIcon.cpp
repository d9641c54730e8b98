#include "app/dialogs/ProgramIcon.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRectF>

namespace caldren::dialogs {

QPixmap ProgramPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);
    painter.setPen(Qt::NoPen);

    const QColor navy(0x1f, 0x4e, 0x79);
    const QColor paper(0xe8, 0xf1, 0xfa);
    const QColor amber(0xf2, 0xb1, 0x34);
    painter.setBrush(navy);
    painter.drawRoundedRect(QRectF(4, 4, 56, 56), 8, 8);
    painter.setBrush(paper);
    painter.drawRoundedRect(QRectF(12, 11, 40, 13), 2, 2);

    QFont digits(QStringLiteral("Liberation Mono"));
    digits.setStyleHint(QFont::Monospace);
    digits.setPixelSize(10);
    digits.setBold(true);
    painter.setFont(digits);
    painter.setPen(navy);
    painter.drawText(QRectF(12, 11, 37, 13), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("$1,250"));
    painter.setPen(Qt::NoPen);

    auto key = [&painter](qreal x, qreal y, qreal w, qreal h, const QColor& color) {
        painter.setBrush(color);
        painter.drawRoundedRect(QRectF(x, y, w, h), 1.5, 1.5);
    };
    key(12, 29, 10, 8, paper);
    key(27, 29, 10, 8, paper);
    key(42, 29, 10, 8, amber);
    key(12, 40, 10, 8, paper);
    key(27, 40, 10, 8, paper);
    key(42, 40, 10, 19, amber);
    key(12, 51, 25, 8, paper);
    return pixmap;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(ProgramPixmap(size));
    return icon;
}

}  // namespace caldren::dialogs
