#include "frmAbout.h"

#include "Maker.h"
#include "app/core/RunState.h"
#include "app/dialogs/ProgramIcon.h"
#include "app/help/HelpSupport.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace caldren::gui {

namespace {
QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}
}  // namespace

frmAbout::frmAbout(const ProgramInfo& program, dialogs::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + QString::fromUtf8(kDescription));
    setModal(true);
    setWindowIcon(dialogs::ProgramIcon());

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setPixmap(dialogs::ProgramPixmap(64));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    QLabel* lblTitle = makeLabel(this, "lblTitle", QString::fromUtf8(kDescription));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    QLabel* lblVersion =
        makeLabel(this, "lblVersion",
                  QStringLiteral("Version: ") + QString::fromStdString(program.fullVersion));
    QLabel* lblDisclaimer =
        makeLabel(this, "lblDisclaimer", QString::fromUtf8(Maker::kLegalNotice));
    lblDisclaimer->setWordWrap(true);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* contact = new QVBoxLayout;
    contact->setSpacing(2);
    contact->addWidget(makeLabel(this, "lblProgrammer", QString::fromUtf8(Maker::kProgrammer)));
    contact->addWidget(makeLabel(this, "lblStreet", QString::fromUtf8(Maker::kStreet)));
    contact->addWidget(makeLabel(this, "lblCityState", QString::fromUtf8(Maker::kCityState)));
    contact->addWidget(
        makeLabel(this, "lblPhone", QStringLiteral("Phone: ") + QString::fromUtf8(Maker::kPhone)));
    contact->addWidget(
        makeLabel(this, "lblFAX", QStringLiteral("FAX: ") + QString::fromUtf8(Maker::kFax)));
    contact->addWidget(makeLabel(
        this, "lblInfoURL", QStringLiteral("Information: ") + QString::fromUtf8(Maker::kInfoUrl)));
    contact->addWidget(
        makeLabel(this, "lblSalesURL",
                  QStringLiteral("Online Sales: ") + QString::fromUtf8(Maker::kSalesUrl)));
    contact->addWidget(
        makeLabel(this, "lblEmail", QStringLiteral("email: ") + QString::fromUtf8(Maker::kEmail)));

    auto* cmdOK = new QPushButton(QStringLiteral("Run Program"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto* cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    auto* btnInfoWWW = new QPushButton(QStringLiteral("Go to program Home Page"), this);
    btnInfoWWW->setObjectName(QStringLiteral("btnInfoWWW"));
    auto* btnOLS = new QPushButton(QStringLiteral("Go to Online Store"), this);
    btnOLS->setObjectName(QStringLiteral("btnOLS"));

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this,
            [this, &dialogs] { help::HelpSupport::StartSysInfo(dialogs, this); });
    connect(btnInfoWWW, &QPushButton::clicked, this, [&dialogs] {
        help::HelpSupport::OpenWebPage(dialogs, QString::fromUtf8(Maker::kInfoUrl));
    });
    connect(btnOLS, &QPushButton::clicked, this, [&dialogs] {
        help::HelpSupport::OpenWebPage(dialogs, QString::fromUtf8(Maker::kSalesUrl));
    });

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch(1);
    buttons->addWidget(btnInfoWWW);
    buttons->addWidget(btnOLS);

    auto* text = new QVBoxLayout;
    text->addWidget(lblTitle);
    text->addWidget(lblVersion);
    text->addSpacing(6);
    text->addWidget(lblDisclaimer);
    text->addWidget(line);
    text->addLayout(contact);
    text->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(icon);
    layout->addSpacing(8);
    layout->addLayout(text, 1);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    setMinimumWidth(620);
}

}  // namespace caldren::gui
