#include "dlgRptChoices.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace caldren::reportwindows {

namespace {

void SetBox(QCheckBox* box, int flag) {
    box->setTristate(flag == 2);
    box->setCheckState(flag == 1 ? Qt::Checked : flag == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

int FlagOf(const QCheckBox* box) {
    switch (box->checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        default:
            return 0;
    }
}

}  // namespace

dlgRptChoices::dlgRptChoices(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgRptChoices"));
    setWindowTitle(QStringLiteral("Report Choices"));
    setModal(true);

    fraChoices = new QGroupBox(QStringLiteral("Check Desired Reports"), this);
    fraChoices->setObjectName(QStringLiteral("fraChoices"));
    chkRptInput = new QCheckBox(QStringLiteral("Input Report"), fraChoices);
    chkRptInput->setObjectName(QStringLiteral("chkRptInput"));
    chkRptSummary = new QCheckBox(QStringLiteral("Summary Report"), fraChoices);
    chkRptSummary->setObjectName(QStringLiteral("chkRptSummary"));
    chkRptDetail = new QCheckBox(QStringLiteral("Detailed Analysis Report"), fraChoices);
    chkRptDetail->setObjectName(QStringLiteral("chkRptDetail"));
    auto* boxes = new QVBoxLayout(fraChoices);
    boxes->addWidget(chkRptInput);
    boxes->addWidget(chkRptSummary);
    boxes->addWidget(chkRptDetail);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(btnOK, &QPushButton::clicked, this, [this] {
        m_closing = Closing::Ok;
        accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, [this] {
        m_closing = Closing::Cancel;
        reject();
    });

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(fraChoices, 1);
    layout->addLayout(buttons);

    adjustSize();
    setMinimumWidth(std::max(width(), 340));
    // Centred on the screen.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void dlgRptChoices::SetChoices(const Reports::ReportChoices& choices) {
    SetBox(chkRptInput, choices.input);
    SetBox(chkRptSummary, choices.summary);
    SetBox(chkRptDetail, choices.detail);
}

Reports::ReportChoices dlgRptChoices::Choices() const {
    Reports::ReportChoices choices;
    choices.input = FlagOf(chkRptInput);
    choices.summary = FlagOf(chkRptSummary);
    choices.detail = FlagOf(chkRptDetail);
    return choices;
}

void dlgRptChoices::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        btnCancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace caldren::reportwindows
