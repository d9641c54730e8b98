#include "frmIP.h"

#include "BoundField.h"
#include "FormControls.h"
#include "IPSupport.h"
#include "MonthGrid.h"
#include "app/core/FileOperations.h"
#include "app/core/RunState.h"
#include "app/core/Ui.h"
#include "app/gui/GuiHooks.h"
#include "app/gui/HelpSupport.h"
#include "app/paste/AmountText.h"
#include "app/paste/MonthPaste.h"
#include "app/results/ChecksList.h"

#include <analysis/InputChanges.h>

#include <QCheckBox>
#include <QClipboard>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

namespace caldren {

namespace {

using activation::ComError;

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }
std::string toUtf8(const QString& text) { return text.toStdString(); }

// Help texts of the fields, as the help pane shows them.
const char* const kHelpFilename = "You can change or choose a filename by clicking on the button";
const char* const kHelpName = "Enter the name of the corporation. This input is optional.";
const char* const kHelpLine2 =
    "Enter the information that you would like printed on each report below the name of the "
    "corporation.";
const char* const kHelpAveCycle =
    "Check this box if you want to use the Average Operating Cycle Method. This is also called "
    "the Caldren Formula as modified by The Empire Steel Castings decision. This requires fewer "
    "inputs since month end amounts are not needed. This method is usually not as favorable to "
    "the taxpayer.\r\n\r\nStrategy: Compute the Caldren Formula using the Average Operating "
    "Cycle Method. If the results arenot good, compute the Caldren Formula using the Peak "
    "Operating Cycle Method.";
const char* const kHelpPeakCycle =
    "Check this box if you want to use the PeakOperating Cycle Method. This method requires "
    "more information than the Average Operating Cycle Method, but usually gives better results "
    "for the taxpayer.";
const char* const kHelpCurAmounts =
    "Check this box if you want to use the current year amounts as estimates for next year. The "
    "Caldren Formula uses information for both the current year and the subsequent year. As a "
    "practical matter, if the subsequent year's information is not yet available, the Caldren "
    "Formula is often computed by using the current year information as an estimate for the "
    "subsequent year.";
const char* const kHelpEOYCurrent =
    "Enter the analysis date. If the date is correct as shown, just press ENTER.";

struct FieldSpec {
    const char* objectName;
    const char* label;
    const char* property;
    const char* help;
    const char* name = nullptr;  // how messages name the field, when not by its label
};

const FieldSpec kCurYearFields[] = {
    {"txtCurAssets", "Current Assets", "CurAssets",
     "Enter the Current Assets for the current year."},
    {"txtSecurities", "Investment in Securities", "Securities",
     "Enter any Investment in Securities for the current year. Do not include Investment in "
     "Securities that are included in Current Assets."},
    {"txtNotesFromShareholders", "Notes Receivable from Shareholders", "NotesFromShareholders",
     "Enter any Notes Receivable from Shareholders for the current year.  Do not include Notes "
     "Receivable from Shareholders that are included in Current Assets."},
    {"txtCurLiab", "Current Liabilities", "CurLiab",
     "Enter Current Liabilities for the current year."},
    {"txtOtherWorkCapAdj", "Other Adjustments to Working Capital", "OtherWorkCapAdj",
     "Enter any Other Adjustments to Available Working Capital for the current year."},
    {"txtInvBeg", "Beginning Inventory", "InvBeg",
     "Enter the Beginning Inventory for the current year."},
    {"txtInvEnd", "Ending Inventory", "InvEnd", "Enter the Ending Inventory for the current year."},
    {"txtInvPurchases", "Inventory Purchases", "InvPurchases",
     "Enter Inventory Purchases for the. Inventory Purchases are the purchase that increase Cost "
     "Of Goods Sold."},
    {"txtNetSales", "Net Sales", "NetSales", "Enter the Net Sales for the current year."},
    {"txtCOGS", "Cost of Goods Sold", "COGS", "Enter the Cost of Goods Sold for the current year."},
};

const FieldSpec kNxtYrFields[] = {
    {"txtCOGSNxtYr", "Cost of Goods Sold", "COGSNxtYr",
     "Enter the Cost of Goods Sold for the next year.", "Cost of Goods Sold for the next year"},
    {"txtOperatingExpNxtYr", "Operating Expense", "OperatingExpNxtYr",
     "Enter the Operating Expenses for the next year."},
    {"txtIncTaxNxtYr", "Income Tax Expense", "IncTaxNxtYr",
     "Enter the Income Tax Expense for the next year."},
    {"txtDeprecNxtYr", "Depreciation", "DeprecNxtYr", "Enter the Depreciation for the next year."},
    {"txtOtherCostAdjNxtYr", "Other Adjustments to Cost of Operations", "OtherCostAdjNxtYr",
     "Enter Other Adjustments To Cost Of Operations for the next year."},
    {"txtReasonableNeeds", "Other Reasonable Needs", "ReasonableNeeds",
     "Enter Other Reasonable Needs."},
    {"txtContingencies", "Contingencies", "Contingencies", "Enter any Contingencies"},
};

const FieldSpec kAverageFields[] = {
    {"txtARBeg", "Beginning Accounts Receivable", "ARBeg",
     "Enter the Beginning Accounts Receivable for the current year."},
    {"txtAREnd", "Ending Accounts Receivable", "AREnd",
     "Enter the Ending Accounts Receivable for the current year."},
    {"txtAPBegRel2Inv", "Beginning Accounts Payable Related to Inventory", "APBegRel2Inv",
     "Enter the Beginning Accounts Payable Related to Inventory for the current year."},
    {"txtAPEndRel2Inv", "Ending Accounts Payable Related to Inventory", "APEndRel2Inv",
     "Enter the Ending Accounts Payable Related to Inventory for the current year."},
};

// A page of the form: as large as its fields want, and scrolled where the screen is smaller
// (the focused field is scrolled into sight as Tab and Enter move through it).
class PageArea final : public QScrollArea {
public:
    explicit PageArea(QWidget* page) {
        setObjectName(page->objectName() + QStringLiteral("Area"));
        setFrameShape(QFrame::NoFrame);
        setFocusPolicy(Qt::NoFocus);
        setWidgetResizable(true);
        setWidget(page);
        viewport()->setAutoFillBackground(false);
        page->setAutoFillBackground(false);
    }
    QSize sizeHint() const override { return widget()->sizeHint(); }
};

}  // namespace

frmIP::frmIP(RunState& state, Ui& ui, QWidget* parent)
    : QDialog(parent),
      m_state(state),
      m_ui(ui),
      m_context(std::make_shared<input::FormContext>(state, ui)) {
    setObjectName(QStringLiteral("frmIP"));
    setWindowTitle(QStringLiteral("Inputs"));
    setModal(true);
    buildUi();
    setTabOrder();
    // F1: the guide at the focused field's section, else at the page's.
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this, [this] {
        const QWidget* focus = focusWidget();
        HelpSupport::ShowHelp(m_state, this,
                              HelpSupport::InputFormTopic(focus ? focus->objectName() : QString(),
                                                          vsTabIP->currentIndex()));
    });
    loadSequence();
    FitToScreen();
    // The form may have given the analysis its twelve months: the checks see them.
    analysis::InputChanges().Notify();
}

frmIP::~frmIP() {
    // The controls outlive the form's members by a moment: nothing they see is handled now.
    m_context->setClosing();
}

// ---- Building the form ----------------------------------------------------------------

input::BoundField* frmIP::addField(const char* objectName, input::BoundField* field) {
    field->setObjectName(QString::fromLatin1(objectName));
    return field;
}

void frmIP::buildUi() {
    vsTabIP = new QTabWidget(this);
    vsTabIP->setObjectName(QStringLiteral("vsTabIP"));
    // The strip itself takes the focus at its own place in the order (the arrow keys then
    // change pages); the tab widget does not hand its focus on to it from elsewhere.
    vsTabIP->setFocusPolicy(Qt::NoFocus);
    vsTabIP->setFocusProxy(nullptr);
    vsTabIP->tabBar()->setFocusPolicy(Qt::TabFocus);
    vsTabIP->addTab(new PageArea(buildInitialPage()), QStringLiteral("&Initial Inputs"));
    vsTabIP->addTab(new PageArea(buildGeneralPage()), QStringLiteral("&General Inputs"));
    vsTabIP->addTab(new PageArea(buildPeakPage()), QStringLiteral("&Peak Operating Cycle"));
    vsTabIP->addTab(new PageArea(buildAveragePage()), QStringLiteral("&Average Operating Cycle"));
    // What looks wrong in the figures, kept up to date as they are typed; never blocking.
    m_checks = new ChecksList(m_state, this);
    m_checks->setAfterAction([this](analysis::CheckAction) { m_grid->refillDates(); });
    vsTabIP->addTab(m_checks, QStringLiteral("C&hecks"));
    // The tabs are chosen with their Alt keys or the arrows on the strip; the strip's
    // scroll arrows (a narrow form) are not stops of Tab.
    for (QWidget* arrow : vsTabIP->tabBar()->findChildren<QWidget*>())
        arrow->setFocusPolicy(Qt::NoFocus);

    txtHelp = new QPlainTextEdit(this);
    txtHelp->setObjectName(QStringLiteral("txtHelp"));
    m_context->setHelpPane(txtHelp);
    txtHelp->setReadOnly(true);
    txtHelp->setTabChangesFocus(true);
    txtHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtHelp->setFixedHeight(fontMetrics().lineSpacing() * 5 + 12);

    btnOK = new input::FormButton(m_context, QStringLiteral("OK"), {}, this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnCancel = new input::FormButton(m_context, QStringLiteral("Cancel"), {}, this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    for (QPushButton* button : {btnOK, btnCancel}) button->setMinimumWidth(90);
    connect(btnOK, &QPushButton::clicked, this,
            [this] { input::Guard("frmIP.btnOK_Click", [&] { btnOKClick(); }); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { reject(); });

    auto* buttons = new QVBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(txtHelp, 1);
    bottom->addSpacing(8);
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(vsTabIP, 1);
    layout->addLayout(bottom);
}

QWidget* frmIP::buildInitialPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("pageInitialInputs"));

    btnFilename = new input::FormButton(m_context, QStringLiteral("Change or set filename"),
                                        QString::fromUtf8(kHelpFilename), page);
    btnFilename->setObjectName(QStringLiteral("btnFilename"));
    connect(btnFilename, &QPushButton::clicked, this,
            [this] { input::Guard("frmIP.btnFilename_Click", [&] { btnFilenameClick(); }); });

    lblFilename = new QLabel(page);
    lblFilename->setObjectName(QStringLiteral("lblFilename"));
    lblFilename->setTextFormat(Qt::PlainText);
    lblFilename->setFrameShape(QFrame::StyledPanel);
    lblFilename->setMinimumWidth(420);

    txtName = addField("txtName", new input::BoundField(m_context, "sName", false,
                                                        QString::fromUtf8(kHelpName), {}, this));
    txtLine2 = addField("txtLine2", new input::BoundField(m_context, "Line2", false,
                                                          QString::fromUtf8(kHelpLine2), {}, this));
    txtName->setParent(page);
    txtLine2->setParent(page);

    FraMethod = new QGroupBox(QStringLiteral("Method"), page);
    FraMethod->setObjectName(QStringLiteral("FraMethod"));
    chkAveCycle = new input::FormCheckBox(m_context, QStringLiteral("Average Cycle"),
                                          QString::fromUtf8(kHelpAveCycle), FraMethod);
    chkAveCycle->setObjectName(QStringLiteral("chkAveCycle"));
    chkPeakCycle = new input::FormCheckBox(m_context, QStringLiteral("Peak Cycle"),
                                           QString::fromUtf8(kHelpPeakCycle), FraMethod);
    chkPeakCycle->setObjectName(QStringLiteral("chkPeakCycle"));
    auto* methodLayout = new QHBoxLayout(FraMethod);
    methodLayout->addWidget(chkAveCycle);
    methodLayout->addSpacing(24);
    methodLayout->addWidget(chkPeakCycle);
    methodLayout->addStretch(1);

    auto* eoy = new input::FieldBox(m_context, page);
    MaskDtEOYCurrent = eoy;
    MaskDtEOYCurrent->setObjectName(QStringLiteral("MaskDtEOYCurrent"));
    eoy->makeDateBox();
    eoy->whenEntered([this](Qt::FocusReason) {
        setHelp(QString::fromUtf8(kHelpEOYCurrent));
        QTimer::singleShot(0, MaskDtEOYCurrent, [box = MaskDtEOYCurrent] { box->selectAll(); });
    });
    eoy->whenReleased([this] { MaskDtEOYCurrent->selectAll(); });
    eoy->whenLeft([this] { maskDtEOYCurrentLostFocus(); });
    eoy->whenKey(
        [this](QKeyEvent* key) { return ControlExtend::EnterAsTab(key, MaskDtEOYCurrent); });

    chkCurAmountsNextYr = new input::FormCheckBox(
        m_context,
        QStringLiteral(
            "Use (current year) amounts as estimates for (next year) amounts where applicable"),
        QString::fromUtf8(kHelpCurAmounts), page);
    chkCurAmountsNextYr->setObjectName(QStringLiteral("chkCurAmountsNextYr"));

    connect(chkAveCycle, &QCheckBox::toggled, this, [this](bool on) {
        input::Guard("frmIP.chkAveCycle_Click", [&] { chkAveCycleClick(on); });
    });
    connect(chkPeakCycle, &QCheckBox::toggled, this, [this](bool on) {
        input::Guard("frmIP.chkPeakCycle_Click", [&] { chkPeakCycleClick(on); });
    });
    connect(chkCurAmountsNextYr, &QCheckBox::toggled, this, [this](bool on) {
        input::Guard("frmIP.chkCurAmountsNextYr_Click", [&] { chkCurAmountsNextYrClick(on); });
    });

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);
    grid->addWidget(btnFilename, 0, 0);
    grid->addWidget(lblFilename, 0, 1);
    auto* nameLabel = new QLabel(QStringLiteral("Name of Corporation"), page);
    nameLabel->setObjectName(QStringLiteral("lblName"));
    nameLabel->setBuddy(txtName);
    grid->addWidget(nameLabel, 1, 0);
    grid->addWidget(txtName, 1, 1);
    auto* line2Label = new QLabel(QStringLiteral("Optional Second Line:"), page);
    line2Label->setObjectName(QStringLiteral("lblLine2"));
    line2Label->setBuddy(txtLine2);
    grid->addWidget(line2Label, 2, 0);
    grid->addWidget(txtLine2, 2, 1);
    grid->addWidget(FraMethod, 3, 0, 1, 2);
    auto* eoyLabel = new QLabel(QStringLiteral("End of current tax year"), page);
    eoyLabel->setObjectName(QStringLiteral("lblEOYCurrent"));
    eoyLabel->setBuddy(MaskDtEOYCurrent);
    grid->addWidget(eoyLabel, 4, 0);
    grid->addWidget(MaskDtEOYCurrent, 4, 1, Qt::AlignLeft);
    grid->addWidget(chkCurAmountsNextYr, 5, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addStretch(1);
    return page;
}

QWidget* frmIP::buildGeneralPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("pageGeneralInputs"));

    auto makeFrame = [&](const char* name, const FieldSpec* specs, std::size_t count) {
        auto* frame = new QGroupBox(page);
        frame->setObjectName(QString::fromLatin1(name));
        auto* grid = new QGridLayout(frame);
        grid->setVerticalSpacing(6);
        for (std::size_t i = 0; i < count; ++i) {
            const FieldSpec& spec = specs[i];
            QLineEdit* box = addField(
                spec.objectName,
                new input::BoundField(m_context, spec.property, true, QString::fromUtf8(spec.help),
                                      QString::fromUtf8(spec.name ? spec.name : spec.label), this));
            box->setParent(frame);
            box->setAlignment(Qt::AlignRight);
            box->setFixedWidth(
                box->fontMetrics().horizontalAdvance(QStringLiteral("-000,000,000,0000")));
            auto* label = new QLabel(QString::fromUtf8(spec.label), frame);
            label->setObjectName(
                QString::fromLatin1(spec.objectName).replace(0, 3, QStringLiteral("lbl")));
            label->setBuddy(box);
            grid->addWidget(label, static_cast<int>(i), 0);
            grid->addWidget(box, static_cast<int>(i), 1);
            m_generalFields.push_back(box);
        }
        grid->setRowStretch(static_cast<int>(count), 1);
        grid->setColumnStretch(0, 1);
        return frame;
    };
    fraCurYear = makeFrame("fraCurYear", kCurYearFields, std::size(kCurYearFields));
    fraNxtYr = makeFrame("fraNxtYr", kNxtYrFields, std::size(kNxtYrFields));
    txtCOGS = page->findChild<QLineEdit*>(QStringLiteral("txtCOGS"));
    txtCOGSNxtYr = page->findChild<QLineEdit*>(QStringLiteral("txtCOGSNxtYr"));
    // While the current amounts serve as next year's, leaving Cost of Goods Sold copies it.
    static_cast<input::BoundField*>(txtCOGS)->afterLeaving([this] {
        if (!chkCurAmountsNextYr->isChecked()) return;
        txtCOGSNxtYr->setText(txtCOGS->text());
        const std::string before = m_state.engine->get_COGSNxtYr();
        m_state.engine->put_COGSNxtYr(m_state.engine->get_COGS());
        markChanged(m_state.engine->get_COGSNxtYr() != before);
    });

    auto* layout = new QHBoxLayout(page);
    layout->addWidget(fraCurYear, 1);
    layout->addWidget(fraNxtYr, 1);
    return page;
}

QWidget* frmIP::buildPeakPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("pagePeakOperatingCycle"));

    fraPeakOpCycle = new QGroupBox(page);
    fraPeakOpCycle->setObjectName(QStringLiteral("fraPeakOpCycle"));

    m_grid = std::make_unique<input::MonthGrid>(m_context, fraPeakOpCycle);
    connect(m_grid->endOfMonthBox(), &QCheckBox::toggled, this, [this](bool on) {
        input::Guard("frmIP.chkEndOfMonth_Click", [&] { chkEndOfMonthClick(on); });
    });

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(fraPeakOpCycle);
    return page;
}

QWidget* frmIP::buildAveragePage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("pageAverageOperatingCycle"));

    AveInputYrLabel = new QLabel(page);
    AveInputYrLabel->setObjectName(QStringLiteral("AveInputYrLabel"));
    QFont bold = AveInputYrLabel->font();
    bold.setBold(true);
    AveInputYrLabel->setFont(bold);

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(8);
    int row = 0;
    for (const FieldSpec& spec : kAverageFields) {
        QLineEdit* box =
            addField(spec.objectName, new input::BoundField(m_context, spec.property, true,
                                                            QString::fromUtf8(spec.help),
                                                            QString::fromUtf8(spec.label), this));
        box->setParent(page);
        box->setAlignment(Qt::AlignRight);
        box->setFixedWidth(
            box->fontMetrics().horizontalAdvance(QStringLiteral("-000,000,000,0000")));
        auto* label = new QLabel(QString::fromUtf8(spec.label), page);
        label->setObjectName(
            QString::fromLatin1(spec.objectName).replace(0, 3, QStringLiteral("lbl")));
        label->setBuddy(box);
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
        m_averageFields.push_back(box);
        ++row;
    }
    grid->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(AveInputYrLabel);
    layout->addSpacing(8);
    layout->addLayout(grid);
    layout->addStretch(1);
    return page;
}

void frmIP::setTabOrder() {
    std::vector<QWidget*> order;
    for (QWidget* w : std::initializer_list<QWidget*>{
             btnFilename, txtName, txtLine2, chkAveCycle, chkPeakCycle, MaskDtEOYCurrent,
             chkCurAmountsNextYr, btnOK, btnCancel, txtHelp, vsTabIP->tabBar()})
        order.push_back(w);
    order.insert(order.end(), m_generalFields.begin(), m_generalFields.end());
    order.insert(order.end(), m_averageFields.begin(), m_averageFields.end());
    const std::vector<QWidget*> grid = m_grid->focusOrder();
    order.insert(order.end(), grid.begin(), grid.end());
    for (std::size_t i = 0; i + 1 < order.size(); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
}

// ---- Load sequence ----------------------------------------------------------------------

void frmIP::loadSequence() {
    vesmora::_Caldren& engine = *m_state.engine;
    m_context->setLoading(true);

    const QString eoyCurrent = fromUtf8(engine.get_EOYCurrent());
    fraCurYear->setTitle(QStringLiteral("Tax Year Ending ") + eoyCurrent);
    AveInputYrLabel->setText(QStringLiteral("Tax Year Ending ") + eoyCurrent);

    txtName->setText(fromUtf8(engine.get_sName()));
    txtLine2->setText(fromUtf8(engine.get_Line2()));

    if (engine.get_DoAveCycle()) chkAveCycle->setChecked(true);
    if (engine.get_DoPeakCycle()) chkPeakCycle->setChecked(true);
    if (engine.get_UseCurrentAmounts()) chkCurAmountsNextYr->setChecked(true);

    // What Cancel comes back to: the months as they are before the form adds its twelve.
    m_snapshot.Take(m_state);
    if (auto months = engine.get_colMonths()) IPSupport::InitMonths(m_state, *months);
    m_grid->fill();

    MaskDtEOYCurrent->setText(fromUtf8(engine.get_EOYCurrent()));

    auto fieldText = [this](QLineEdit* box, const std::string& value) {
        (void)this;
        box->setText(fromUtf8(value));
    };
    fieldText(findChild<QLineEdit*>(QStringLiteral("txtCurAssets")), engine.get_CurAssets());
    fieldText(findChild<QLineEdit*>(QStringLiteral("txtSecurities")), engine.get_Securities());
    fieldText(findChild<QLineEdit*>(QStringLiteral("txtNotesFromShareholders")),
              engine.get_NotesFromShareholders());
    fieldText(findChild<QLineEdit*>(QStringLiteral("txtCurLiab")), engine.get_CurLiab());
    fieldText(findChild<QLineEdit*>(QStringLiteral("txtOtherWorkCapAdj")),
              engine.get_OtherWorkCapAdj());
    fieldText(findChild<QLineEdit*>(QStringLiteral("txtInvBeg")), engine.get_InvBeg());
    fieldText(findChild<QLineEdit*>(QStringLiteral("txtInvEnd")), engine.get_InvEnd());
    fieldText(findChild<QLineEdit*>(QStringLiteral("txtInvPurchases")), engine.get_InvPurchases());
    fieldText(findChild<QLineEdit*>(QStringLiteral("txtNetSales")), engine.get_NetSales());
    fieldText(txtCOGS, engine.get_COGS());

    // The next year: month and day of the year-end box, the engine's year plus one.
    int m = 0, d = 0, y = 0, boxMonth = 0, boxDay = 0, boxYear = 0;
    if (IPSupport::SplitDate(engine.get_EOYCurrent(), m, d, y) &&
        IPSupport::SplitDate(toUtf8(MaskDtEOYCurrent->text()), boxMonth, boxDay, boxYear)) {
        fraNxtYr->setTitle(QStringLiteral("Tax Year Ending ") +
                           fromUtf8(IPSupport::NextYearDate(boxMonth, boxDay, y)));
    }

    fieldText(txtCOGSNxtYr, engine.get_COGSNxtYr());
    fieldText(findChild<QLineEdit*>(QStringLiteral("txtOperatingExpNxtYr")),
              engine.get_OperatingExpNxtYr());
    fieldText(findChild<QLineEdit*>(QStringLiteral("txtIncTaxNxtYr")), engine.get_IncTaxNxtYr());
    fieldText(findChild<QLineEdit*>(QStringLiteral("txtDeprecNxtYr")), engine.get_DeprecNxtYr());
    fieldText(findChild<QLineEdit*>(QStringLiteral("txtOtherCostAdjNxtYr")),
              engine.get_OtherCostAdjNxtYr());
    fieldText(findChild<QLineEdit*>(QStringLiteral("txtReasonableNeeds")),
              engine.get_Reasonableneeds());
    fieldText(findChild<QLineEdit*>(QStringLiteral("txtContingencies")),
              engine.get_Contingencies());

    fraPeakOpCycle->setTitle(QStringLiteral("Tax Year Ending ") + eoyCurrent);

    fieldText(findChild<QLineEdit*>(QStringLiteral("txtARBeg")), engine.get_ARBeg());
    fieldText(findChild<QLineEdit*>(QStringLiteral("txtAREnd")), engine.get_AREnd());
    fieldText(findChild<QLineEdit*>(QStringLiteral("txtAPBegRel2Inv")), engine.get_APBegRel2Inv());
    fieldText(findChild<QLineEdit*>(QStringLiteral("txtAPEndRel2Inv")), engine.get_APEndRel2Inv());

    m_context->setLoading(false);
    // Writes take effect from here on: the engine ignores them outside an edit.
    engine.BeginEdit();
}

void frmIP::FitToScreen() {
    QSize size = sizeHint();
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        // Room for the window's frame and title bar inside the screen's free area.
        const QRect area = screen->availableGeometry();
        const int frame = style()->pixelMetric(QStyle::PM_TitleBarHeight) + 16;
        size = size.boundedTo(QSize(area.width() - 16, area.height() - frame));
    }
    resize(size.expandedTo(minimumSizeHint()));
}

void frmIP::SetInitialIP() {
    lblFilename->setText(
        fromUtf8(FileOperations::DisplayShorterFilename(m_state, m_state.currentFileName)));
}

QLineEdit* frmIP::gridBox(Column column, int row) const { return m_grid->box(column, row); }

// ---- Field editing ----------------------------------------------------------------------

void frmIP::setHelp(const QString& text) { m_context->showHelp(text); }

void frmIP::markChanged(bool changed) { m_context->markChanged(changed); }

void frmIP::done(int result) {
    m_context->setClosing();
    // Cancel, Esc and the close box discard every change made since the form opened.
    if (result == QDialog::Rejected)
        input::Guard("frmIP.btnCancel_Click", [&] { m_snapshot.Restore(m_state); });
    QDialog::done(result);
}

// ---- Method options ----------------------------------------------------------------------

void frmIP::chkAveCycleClick(bool checked) {
    const bool before = m_state.engine->get_DoAveCycle();
    m_state.engine->put_DoAveCycle(checked);
    markChanged(m_state.engine->get_DoAveCycle() != before);
}

void frmIP::chkPeakCycleClick(bool checked) {
    const bool before = m_state.engine->get_DoPeakCycle();
    m_state.engine->put_DoPeakCycle(checked);
    markChanged(m_state.engine->get_DoPeakCycle() != before);
    // Turned on again, the method finds its months as they are: the grid shows them.
    if (checked && !m_context->loading() && m_state.engine->get_DoPeakCycle()) {
        m_context->setLoading(true);
        m_grid->fillAmountColumns();
        m_context->setLoading(false);
    }
}

void frmIP::setNxtYrCaption(const QString& caption) { fraNxtYr->setTitle(caption); }

void frmIP::chkCurAmountsNextYrClick(bool checked) {
    vesmora::_Caldren& engine = *m_state.engine;
    const std::string eoy = engine.get_EOYCurrent();
    int m = 0, d = 0, y = 0;
    IPSupport::SplitDate(eoy, m, d, y);
    setNxtYrCaption(QStringLiteral("Year ending ") + fromUtf8(eoy));
    const bool before = engine.get_UseCurrentAmounts();
    engine.put_UseCurrentAmounts(checked);
    markChanged(engine.get_UseCurrentAmounts() != before);
    if (checked)
        setNxtYrCaption(QStringLiteral("Estimates for Tax Year ending ") +
                        QStringLiteral("%1/%2/%3").arg(m).arg(d).arg(y + 1));
}

void frmIP::chkEndOfMonthClick(bool checked) {
    vesmora::_Caldren& engine = *m_state.engine;
    if (!engine.get_DoPeakCycle()) return;
    const bool before = engine.get_DoPeakUseSalesAndPurch();
    engine.put_DoPeakUseSalesAndPurch(!checked);
    m_grid->showInventoryColumn(checked);
    markChanged(engine.get_DoPeakUseSalesAndPurch() != before);
    // The third column now edits another figure of each month: show that figure, never the
    // other one under the new heading.
    m_grid->refreshAmounts();
}

// ---- Dates -------------------------------------------------------------------------------

void frmIP::maskDtEOYCurrentLostFocus() {
    vesmora::_Caldren& engine = *m_state.engine;
    const std::string text = toUtf8(MaskDtEOYCurrent->text());
    int m = 0, d = 0, y = 0;
    if (!MaskDtEOYCurrent->hasAcceptableInput() || !IPSupport::SplitDate(text, m, d, y)) {
        m_context->putDateBack(MaskDtEOYCurrent, engine.get_EOYCurrent());
        return;
    }
    const std::string beforeCurrent = engine.get_EOYCurrent();
    const std::string beforeNext = engine.get_EOYNxtYr();
    try {
        engine.put_EOYCurrent(text);
    } catch (const ComError& err) {
        if (!ControlExtend::RejectionMessage(err.Number()).empty()) {
            m_context->putDateBack(MaskDtEOYCurrent, engine.get_EOYCurrent());
        } else {
            gui::ReportError(err.Number(), err.Description(),
                             std::string("frmIP.MaskDtEOYCurrent_LostFocus\r") + err.Source());
            MaskDtEOYCurrent->setText(fromUtf8(engine.get_EOYCurrent()));
        }
        return;
    }
    const std::string next = IPSupport::NextYearDate(m, d, y);
    try {
        engine.put_EOYNxtYr(next);
    } catch (const ComError& err) {
        gui::ReportError(err.Number(), err.Description(),
                         std::string("frmIP.MaskDtEOYCurrent_LostFocus\r") + err.Source());
    }
    markChanged(engine.get_EOYCurrent() != beforeCurrent || engine.get_EOYNxtYr() != beforeNext);

    const QString current = fromUtf8(engine.get_EOYCurrent());
    fraCurYear->setTitle(QStringLiteral("Tax Year Ending ") + current);
    fraPeakOpCycle->setTitle(QStringLiteral("Tax Year Ending ") + current);
    setNxtYrCaption(fromUtf8(next));
    AveInputYrLabel->setText(QStringLiteral("Year Ending ") + current);
}

// ---- Buttons -----------------------------------------------------------------------------

void frmIP::btnOKClick() {
    IPSupport::GetInputs(m_state);
    accept();
}

void frmIP::btnFilenameClick() {
    const bool saved = FileOperations::SaveAs(m_state);
    m_state.engine->BeginEdit();
    // What was saved is what a later Cancel comes back to.
    if (saved) m_snapshot.Take(m_state);
    lblFilename->setText(fromUtf8(m_state.currentFileName));
}

}  // namespace caldren
