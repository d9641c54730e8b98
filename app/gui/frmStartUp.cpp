#include "frmStartUp.h"

#include "app/core/RunOptions.h"
#include "app/input/ControlExtend.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace caldren::gui {

frmStartUp::frmStartUp(RunOptions& options, QWidget* parent) : QDialog(parent), m_options(options) {
    setObjectName(QStringLiteral("frmStartUp"));
    setWindowTitle(QStringLiteral("Startup Options"));
    setModal(true);

    auto* btnNew = new QPushButton(QStringLiteral("&New Scenario"), this);
    btnNew->setObjectName(QStringLiteral("btnNew"));
    auto* btnOld = new QPushButton(QStringLiteral("&Old Scenario"), this);
    btnOld->setObjectName(QStringLiteral("btnOld"));
    auto* btnMain = new QPushButton(QStringLiteral("&Main Window"), this);
    btnMain->setObjectName(QStringLiteral("btnMain"));

    connect(btnNew, &QPushButton::clicked, this, [this] {
        m_options.startChoice = kStartNew;
        accept();
    });
    connect(btnOld, &QPushButton::clicked, this, [this] {
        m_options.startChoice = kStartOld;
        accept();
    });
    connect(btnMain, &QPushButton::clicked, this, [this] { accept(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->setSpacing(10);
    for (QPushButton* button : {btnNew, btnOld, btnMain}) {
        button->setMinimumSize(200, 36);
        layout->addWidget(button);
    }
    btnNew->setDefault(true);
    adjustSize();
    setFixedSize(sizeHint());
    input::ControlExtend::CenterForm(this);
}

}  // namespace caldren::gui
