#include "frmFinal.h"

#include "app/dialogs/Dialogs.h"
#include "app/dialogs/ErrorDialogs.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

#include <string>

#include "../core/RunState.h"

namespace caldren::gui {

namespace {

// "Courier New", or the system's fixed-pitch font where that name resolves to a
// proportional one.
QFont DisplayFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setPointSizeF(10.0);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSizeF(10.0);
    }
    return font;
}

}  // namespace

frmFinal::frmFinal(dialogs::Dialogs& dialogs, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmFinal"));
    setWindowTitle(QString::fromUtf8(caldren::kMaker) + QLatin1Char(' ') +
                   QString::fromUtf8(caldren::kDescription));
    setModal(true);

    txtDisplay = new QPlainTextEdit(this);
    txtDisplay->setObjectName(QStringLiteral("txtDisplay"));
    txtDisplay->setAccessibleName(QStringLiteral("Message"));
    txtDisplay->setReadOnly(true);
    txtDisplay->setFont(DisplayFont());
    txtDisplay->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtDisplay->setWordWrapMode(QTextOption::WordWrap);

    btnBuy = new QPushButton(QStringLiteral("Order && Download Update"), this);
    btnBuy->setObjectName(QStringLiteral("btnBuy"));
    btnDone = new QPushButton(QStringLiteral("Bye!"), this);
    btnDone->setObjectName(QStringLiteral("btnDone"));
    btnDone->setDefault(true);

    connect(btnBuy, &QPushButton::clicked, this,
            [&dialogs] { dialogs.openUrl(QUrl(QString::fromUtf8(dialogs::kOrderPageUrl))); });
    connect(btnDone, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnBuy);
    buttons->addStretch(1);
    buttons->addWidget(btnDone);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtDisplay, 1);
    layout->addLayout(buttons);

    const QFontMetrics metrics(txtDisplay->font());
    resize(metrics.horizontalAdvance(QLatin1Char('M')) * 64 + 40, metrics.lineSpacing() * 16 + 60);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void frmFinal::SetDisplayText(const std::string& text) {
    QString shown = QString::fromUtf8(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtDisplay->setPlainText(shown);
}

}  // namespace caldren::gui
