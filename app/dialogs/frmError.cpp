#include "app/dialogs/frmError.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace caldren::dialogs {

frmError::frmError(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmError"));
    setWindowTitle(QStringLiteral("Error Warning"));
    setModal(true);

    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);

    lblErrInfo = new QLabel(this);
    lblErrInfo->setObjectName(QStringLiteral("lblErrInfo"));
    lblErrInfo->setWordWrap(true);
    lblErrInfo->setTextFormat(Qt::PlainText);
    lblErrInfo->setMinimumWidth(360);
    lblErrInfo->setTextInteractionFlags(Qt::TextSelectableByMouse);

    chkDontShow = new QCheckBox(QStringLiteral("Don't show this message again"), this);
    chkDontShow->setObjectName(QStringLiteral("chkDontShow"));

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(lblErrInfo, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(chkDontShow);
    bottom->addStretch(1);
    bottom->addWidget(btnOK);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(bottom);
}

void frmError::SetMessage(const QString& text) {
    lblErrInfo->setText(text);
    adjustSize();
    // Centred on the screen.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

bool frmError::DontShowAgain() const { return chkDontShow->isChecked(); }

}  // namespace caldren::dialogs
