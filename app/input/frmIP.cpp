#include "frmIP.h"

#include "IPSupport.h"
#include "app/core/FileOperations.h"
#include "app/core/RunState.h"
#include "app/core/Ui.h"
#include "app/gui/GuiHooks.h"
#include "app/gui/HelpSupport.h"
#include "app/paste/AmountText.h"
#include "app/paste/MonthPaste.h"
#include "app/results/ChecksList.h"

#include <analysis/InputChanges.h>
#include <common/Calendar.h>

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

const char* const kDateMask = "99/99/9999;_";

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
const char* const kHelpEndOfMonth =
    "Check the box to use End - of - Month Inventory instead of monthly Sales & Inventory "
    "Purchases. It is preferable to use End - of - Month Inventory. However, some business do "
    "not have End - of - Month Inventory.Almost all businesses have monthly Sales and "
    "InventoryPurchases that can be used to estimate End - of - Month Inventory.";
const char* const kHelpEOYCurrent =
    "Enter the analysis date. If the date is correct as shown, just press ENTER.";
const char* const kHelpMonthDate =
    "Enter the first month of the year. The program will figure out the next 11 months. Format "
    "mm/dd/yyyy";
const char* const kHelpReceivables = "Enter the End - of - Month Receivables.";
const char* const kHelpSales =
    "Enter Sales for the month if you DID NOT check the box to use End - of - Month Inventory.";
const char* const kHelpInventory =
    "Enter the End - of - Month Inventory for the monthif you DID check the box to use End - of "
    "- Month Inventory.";
const char* const kHelpPurchases =
    "Enter the Inventory Purchases for the current year. These would be the purchases used to "
    "compute Cost Of Goods Sold.";

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

// "mm/dd/yyyy" of a date given as month, day, year.
QString paddedDate(int month, int day, int year) {
    return QStringLiteral("%1/%2/%3")
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(day, 2, 10, QLatin1Char('0'))
        .arg(year, 4, 10, QLatin1Char('0'));
}

// Runs a handler; an error that escapes it goes to the error reporter with the handler's
// location, and the form goes on (no exception ever crosses the event loop).
template <class F>
void Guard(const char* location, F&& handler) {
    try {
        handler();
    } catch (const ComError& err) {
        gui::ReportError(err.Number(), err.Description(),
                         std::string(location) + "\r" + err.Source());
    } catch (const std::exception& err) {
        gui::ReportError(5, activation::StandardErrorText(5),
                         std::string(location) + "\r" + err.what());
    }
}

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

bool countsAsKeyPress(const QKeyEvent* key) {
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) return true;
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) return false;
    return !key->text().isEmpty();
}

}  // namespace

frmIP::frmIP(RunState& state, Ui& ui, QWidget* parent) : QDialog(parent), m_state(state), m_ui(ui) {
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

void frmIP::refillMonthDates() {
    auto months = m_state.document.engine->get_colMonths();
    if (!months) return;
    const bool loading = m_loading;
    m_loading = true;
    for (long row = 0; row < 12 && row < months->get_Count(); ++row)
        txtMonthDate[static_cast<std::size_t>(row)]->setText(
            fromUtf8(months->get_Item(vesmora::IndexKey{row + 1})->get_MonthDate()));
    m_loading = loading;
}

frmIP::~frmIP() = default;

// ---- Building the form ----------------------------------------------------------------

QLineEdit* frmIP::addField(const char* objectName, Kind kind, const char* property, int row,
                           bool zeroWhenEmpty, const QString& help) {
    auto* box = new QLineEdit(this);
    box->setObjectName(QString::fromLatin1(objectName));
    auto binding = std::make_unique<Binding>();
    binding->box = box;
    binding->kind = kind;
    binding->property = property ? property : "";
    binding->row = row;
    binding->zeroWhenEmpty = zeroWhenEmpty;
    binding->help = help;
    Binding* raw = binding.get();
    m_bindings.push_back(std::move(binding));
    box->installEventFilter(this);
    connect(box, &QLineEdit::textChanged, this,
            [this, raw] { Guard("ControlExtend.TextChg", [&] { fieldChanged(*raw); }); });
    return box;
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
    m_checks->setAfterAction([this](analysis::CheckAction) { refillMonthDates(); });
    vsTabIP->addTab(m_checks, QStringLiteral("C&hecks"));
    // The tabs are chosen with their Alt keys or the arrows on the strip; the strip's
    // scroll arrows (a narrow form) are not stops of Tab.
    for (QWidget* arrow : vsTabIP->tabBar()->findChildren<QWidget*>())
        arrow->setFocusPolicy(Qt::NoFocus);

    txtHelp = new QPlainTextEdit(this);
    txtHelp->setObjectName(QStringLiteral("txtHelp"));
    txtHelp->setReadOnly(true);
    txtHelp->setTabChangesFocus(true);
    txtHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtHelp->setFixedHeight(fontMetrics().lineSpacing() * 5 + 12);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    for (QPushButton* button : {btnOK, btnCancel}) {
        // Enter on the focused button presses it (handleEvent); there is no default button
        // that Enter elsewhere would press.
        button->setAutoDefault(false);
        button->installEventFilter(this);
        button->setMinimumWidth(90);
    }
    connect(btnOK, &QPushButton::clicked, this,
            [this] { Guard("frmIP.btnOK_Click", [&] { btnOKClick(); }); });
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

    btnFilename = new QPushButton(QStringLiteral("Change or set filename"), page);
    btnFilename->setObjectName(QStringLiteral("btnFilename"));
    btnFilename->setAutoDefault(false);
    btnFilename->installEventFilter(this);
    connect(btnFilename, &QPushButton::clicked, this,
            [this] { Guard("frmIP.btnFilename_Click", [&] { btnFilenameClick(); }); });

    lblFilename = new QLabel(page);
    lblFilename->setObjectName(QStringLiteral("lblFilename"));
    lblFilename->setTextFormat(Qt::PlainText);
    lblFilename->setFrameShape(QFrame::StyledPanel);
    lblFilename->setMinimumWidth(420);

    txtName = addField("txtName", Kind::Engine, "sName", -1, false, QString::fromUtf8(kHelpName));
    txtLine2 =
        addField("txtLine2", Kind::Engine, "Line2", -1, false, QString::fromUtf8(kHelpLine2));
    txtName->setParent(page);
    txtLine2->setParent(page);

    FraMethod = new QGroupBox(QStringLiteral("Method"), page);
    FraMethod->setObjectName(QStringLiteral("FraMethod"));
    chkAveCycle = new QCheckBox(QStringLiteral("Average Cycle"), FraMethod);
    chkAveCycle->setObjectName(QStringLiteral("chkAveCycle"));
    chkPeakCycle = new QCheckBox(QStringLiteral("Peak Cycle"), FraMethod);
    chkPeakCycle->setObjectName(QStringLiteral("chkPeakCycle"));
    auto* methodLayout = new QHBoxLayout(FraMethod);
    methodLayout->addWidget(chkAveCycle);
    methodLayout->addSpacing(24);
    methodLayout->addWidget(chkPeakCycle);
    methodLayout->addStretch(1);

    MaskDtEOYCurrent = new QLineEdit(page);
    MaskDtEOYCurrent->setObjectName(QStringLiteral("MaskDtEOYCurrent"));
    MaskDtEOYCurrent->setInputMask(QString::fromLatin1(kDateMask));
    MaskDtEOYCurrent->setFixedWidth(
        MaskDtEOYCurrent->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
    MaskDtEOYCurrent->installEventFilter(this);

    chkCurAmountsNextYr = new QCheckBox(
        QStringLiteral(
            "Use (current year) amounts as estimates for (next year) amounts where applicable"),
        page);
    chkCurAmountsNextYr->setObjectName(QStringLiteral("chkCurAmountsNextYr"));

    for (QCheckBox* box : {chkAveCycle, chkPeakCycle, chkCurAmountsNextYr})
        box->installEventFilter(this);
    connect(chkAveCycle, &QCheckBox::toggled, this,
            [this](bool on) { Guard("frmIP.chkAveCycle_Click", [&] { chkAveCycleClick(on); }); });
    connect(chkPeakCycle, &QCheckBox::toggled, this,
            [this](bool on) { Guard("frmIP.chkPeakCycle_Click", [&] { chkPeakCycleClick(on); }); });
    connect(chkCurAmountsNextYr, &QCheckBox::toggled, this, [this](bool on) {
        Guard("frmIP.chkCurAmountsNextYr_Click", [&] { chkCurAmountsNextYrClick(on); });
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
            QLineEdit* box = addField(spec.objectName, Kind::Engine, spec.property, -1, true,
                                      QString::fromUtf8(spec.help));
            box->setParent(frame);
            box->setAlignment(Qt::AlignRight);
            box->setFixedWidth(
                box->fontMetrics().horizontalAdvance(QStringLiteral("-000,000,000,0000")));
            bindingOf(box)->label = QString::fromUtf8(spec.name ? spec.name : spec.label);
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

    chkEndOfMonth = new QCheckBox(
        QStringLiteral(
            "Use End - of - Month inventory instead of monthly sales && inventory purchases"),
        fraPeakOpCycle);
    chkEndOfMonth->setObjectName(QStringLiteral("chkEndOfMonth"));
    chkEndOfMonth->installEventFilter(this);
    connect(chkEndOfMonth, &QCheckBox::toggled, this, [this](bool on) {
        Guard("frmIP.chkEndOfMonth_Click", [&] { chkEndOfMonthClick(on); });
    });

    auto heading = [&](const char* name, const char* caption) {
        auto* label = new QLabel(QString::fromUtf8(caption), fraPeakOpCycle);
        label->setObjectName(QString::fromLatin1(name));
        label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        return label;
    };
    lblMonth = heading("lblMonth", "Month End");
    lblReceivables = heading("lblReceivables", "Receivables");
    lblInventoryOrSales = heading("lblInventoryOrSales", "Sales");
    lblPurchases = heading("lblPurchases", "Purchases");

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(3);
    grid->addWidget(lblMonth, 0, 0);
    grid->addWidget(lblReceivables, 0, 1);
    grid->addWidget(lblInventoryOrSales, 0, 2);
    grid->addWidget(lblPurchases, 0, 3);

    const int amountWidth = fontMetrics().horizontalAdvance(QStringLiteral("-000,000,000,0000"));
    for (int row = 0; row < 12; ++row) {
        auto* date = new QLineEdit(fraPeakOpCycle);
        date->setObjectName(QStringLiteral("txtMonthDate"));
        date->setProperty("Index", row);
        date->setInputMask(QString::fromLatin1(kDateMask));
        date->setFixedWidth(date->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) +
                            16);
        // Only the first month's date is a tab stop; the others are derived from it.
        if (row > 0) date->setFocusPolicy(Qt::ClickFocus);
        date->installEventFilter(this);
        txtMonthDate[row] = date;

        txtReceivables[row] = addField("txtReceivables", Kind::Receivables, nullptr, row, true,
                                       QString::fromUtf8(kHelpReceivables));
        txtSalesInv[row] = addField("txtSalesInv", Kind::SalesInv, nullptr, row, true, QString());
        txtPurchases[row] = addField("txtPurchases", Kind::Purchases, nullptr, row, true,
                                     QString::fromUtf8(kHelpPurchases));
        for (QLineEdit* box : {txtReceivables[row], txtSalesInv[row], txtPurchases[row]}) {
            box->setParent(fraPeakOpCycle);
            box->setProperty("Index", row);
            box->setAlignment(Qt::AlignRight);
            box->setFixedWidth(amountWidth);
        }
        grid->addWidget(date, row + 1, 0);
        grid->addWidget(txtReceivables[row], row + 1, 1);
        grid->addWidget(txtSalesInv[row], row + 1, 2);
        grid->addWidget(txtPurchases[row], row + 1, 3);
    }

    btnClearMonths = new QPushButton(QStringLiteral("C&lear Months"), fraPeakOpCycle);
    btnClearMonths->setObjectName(QStringLiteral("btnClearMonths"));
    btnClearMonths->setToolTip(QStringLiteral("Set the amounts of all twelve months to zero"));
    // Not in the form's focus order (which runs from the last grid row to OK); reached by
    // the mouse or its Alt key.
    btnClearMonths->setFocusPolicy(Qt::NoFocus);
    connect(btnClearMonths, &QPushButton::clicked, this,
            [this] { Guard("frmIP.btnClearMonths_Click", [&] { btnClearMonthsClick(); }); });

    auto* frameLayout = new QVBoxLayout(fraPeakOpCycle);
    frameLayout->addWidget(chkEndOfMonth);
    frameLayout->addSpacing(6);
    auto* row = new QHBoxLayout;
    row->addLayout(grid);
    row->addStretch(1);
    auto* side = new QVBoxLayout;
    side->addStretch(1);
    side->addWidget(btnClearMonths);
    row->addLayout(side);
    frameLayout->addLayout(row);
    frameLayout->addStretch(1);

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
        QLineEdit* box = addField(spec.objectName, Kind::Engine, spec.property, -1, true,
                                  QString::fromUtf8(spec.help));
        box->setParent(page);
        box->setAlignment(Qt::AlignRight);
        box->setFixedWidth(
            box->fontMetrics().horizontalAdvance(QStringLiteral("-000,000,000,0000")));
        bindingOf(box)->label = QString::fromUtf8(spec.label);
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
    order.push_back(chkEndOfMonth);
    order.push_back(txtMonthDate[0]);
    for (int row = 0; row < 12; ++row) {
        order.push_back(txtReceivables[row]);
        order.push_back(txtSalesInv[row]);
        order.push_back(txtPurchases[row]);
    }
    for (std::size_t i = 0; i + 1 < order.size(); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
}

// ---- Load sequence ----------------------------------------------------------------------

void frmIP::loadSequence() {
    vesmora::_Caldren& engine = *m_state.document.engine;
    m_loading = true;

    const QString eoyCurrent = fromUtf8(engine.get_EOYCurrent());
    fraCurYear->setTitle(QStringLiteral("Tax Year Ending ") + eoyCurrent);
    AveInputYrLabel->setText(QStringLiteral("Tax Year Ending ") + eoyCurrent);

    txtName->setText(fromUtf8(engine.get_sName()));
    txtLine2->setText(fromUtf8(engine.get_Line2()));

    if (engine.get_DoAveCycle()) chkAveCycle->setChecked(true);
    if (engine.get_DoPeakCycle()) chkPeakCycle->setChecked(true);
    if (engine.get_UseCurrentAmounts()) chkCurAmountsNextYr->setChecked(true);

    lblInventoryOrSales->setText(QStringLiteral("Sales"));

    // What Cancel comes back to: the months as they are before the form adds its twelve.
    keepForCancel();
    if (auto months = engine.get_colMonths()) IPSupport::InitMonths(m_state, *months);
    fillGrid();

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

    m_loading = false;
    // Writes take effect from here on: the engine ignores them outside an edit.
    engine.BeginEdit();
}

void frmIP::keepForCancel() {
    m_savedAtOpen = m_state.document.IsSaved();
    m_monthsAtOpen.clear();
    if (auto months = m_state.document.engine->get_colMonths()) {
        const long count = months->get_Count();
        for (long n = 1; n <= count; ++n) {
            auto m = months->get_Item(vesmora::IndexKey{n});
            m_monthsAtOpen.push_back({m->get_MonthDate(), m->get_Inventory(), m->get_Receivables(),
                                      m->get_Sales(), m->get_Purchases()});
        }
    }
}

void frmIP::discardChanges() {
    vesmora::_Caldren& engine = *m_state.document.engine;
    // The record goes back to the snapshot its edit took when the form opened (or when the
    // file-name button last saved it); the months, which the snapshot does not hold, to the
    // copy kept at the same moment.
    try {
        engine.CancelEdit();
    } catch (const ComError&) {
        // No edit open: nothing was changed through the form.
    }
    if (auto months = engine.get_colMonths()) {
        const auto keptCount = static_cast<long>(m_monthsAtOpen.size());
        while (months->get_Count() > keptCount)
            months->Remove(vesmora::IndexKey{months->get_Count()});
        const long count = months->get_Count();
        for (long n = 1; n <= count; ++n) {
            auto m = months->get_Item(vesmora::IndexKey{n});
            const auto& kept = m_monthsAtOpen[static_cast<std::size_t>(n - 1)];
            m->put_MonthDate(kept[0]);
            const bool computing = m->get_IsComputing();
            m->put_IsComputing(true);
            m->put_Inventory(kept[1]);
            m->put_IsComputing(computing);
            m->put_Receivables(kept[2]);
            m->put_Sales(kept[3]);
            m->put_Purchases(kept[4]);
        }
    }
    m_state.document.SetSaved(m_savedAtOpen);
}

void frmIP::fillGrid() {
    vesmora::_Caldren& engine = *m_state.document.engine;
    auto months = engine.get_colMonths();
    if (!months) return;
    const long count = months->get_Count();
    auto month = [&](int row) -> activation::ComPtr<vesmora::_Monthly> {
        if (row + 1 > count) return {};
        return months->get_Item(vesmora::IndexKey{static_cast<long>(row + 1)});
    };

    for (int row = 0; row < 12; ++row)
        if (auto m = month(row)) txtMonthDate[row]->setText(fromUtf8(m->get_MonthDate()));

    if (engine.get_DoPeakCycle()) fillAmountColumns();

    for (int row = 0; row < 12; ++row)
        if (auto m = month(row)) txtReceivables[row]->setText(fromUtf8(m->get_Receivables()));
}

void frmIP::fillAmountColumns() {
    vesmora::_Caldren& engine = *m_state.document.engine;
    auto months = engine.get_colMonths();
    if (!months) return;
    const long count = months->get_Count();
    auto month = [&](int row) -> activation::ComPtr<vesmora::_Monthly> {
        if (row + 1 > count) return {};
        return months->get_Item(vesmora::IndexKey{static_cast<long>(row + 1)});
    };
    {
        if (!engine.get_DoPeakUseSalesAndPurch()) {
            lblInventoryOrSales->setText(QStringLiteral("Inventory"));
            lblPurchases->setVisible(false);
            lblReceivables->setVisible(true);
            chkEndOfMonth->setChecked(true);
            for (int row = 0; row < 12; ++row) {
                if (auto m = month(row)) txtSalesInv[row]->setText(fromUtf8(m->get_Inventory()));
                txtPurchases[row]->setVisible(false);
            }
        } else {
            lblInventoryOrSales->setText(QStringLiteral("Sales"));
            lblPurchases->setVisible(true);
            lblReceivables->setVisible(true);
            for (int row = 0; row < 12; ++row) {
                if (auto m = month(row)) {
                    txtPurchases[row]->setText(fromUtf8(m->get_Purchases()));
                    txtSalesInv[row]->setText(fromUtf8(m->get_Sales()));
                }
            }
        }
    }
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
    lblFilename->setText(fromUtf8(
        FileOperations::DisplayShorterFilename(m_state, m_state.document.currentFileName)));
}

QLineEdit* frmIP::gridBox(Column column, int row) const {
    if (row < 0 || row > 11) return nullptr;
    switch (column) {
        case Column::MonthDate:
            return txtMonthDate[row];
        case Column::Receivables:
            return txtReceivables[row];
        case Column::SalesInv:
            return txtSalesInv[row];
        case Column::Purchases:
            return txtPurchases[row];
    }
    return nullptr;
}

// ---- Field editing ----------------------------------------------------------------------

std::unique_ptr<ControlExtend::Target> frmIP::targetFor(const Binding& binding) const {
    if (binding.kind == Kind::Engine)
        return std::make_unique<ControlExtend::CaldrenTarget>(m_state.document.engine.Get());
    return std::make_unique<ControlExtend::MonthlyTarget>(m_state.document.engine.Get(),
                                                          binding.row + 1);
}

std::string frmIP::propertyFor(const Binding& binding) const {
    switch (binding.kind) {
        case Kind::Engine:
            return binding.property;
        case Kind::Receivables:
            return "Receivables";
        case Kind::Purchases:
            return "Purchases";
        case Kind::SalesInv:
            // Decided by the engine's option at each change, not by the check box.
            return m_state.document.engine->get_DoPeakUseSalesAndPurch() ? "Sales" : "Inventory";
    }
    return binding.property;
}

frmIP::Binding* frmIP::bindingOf(QObject* object) {
    for (auto& binding : m_bindings)
        if (binding->box == object) return binding.get();
    return nullptr;
}

void frmIP::setHelp(const QString& text) { txtHelp->setPlainText(text); }

void frmIP::markChanged(bool changed) {
    if (!changed) return;
    m_state.document.SetSaved(false);
    // The results and the checks follow each accepted change, before OK.
    analysis::InputChanges().Notify();
}

void frmIP::fieldChanged(Binding& binding) {
    if (m_loading) return;
    QLineEdit* box = binding.box;
    if (binding.zeroWhenEmpty && box->text().isEmpty()) {
        // Setting "0" runs this handler once more, which sends the "0".
        box->setText(QStringLiteral("0"));
        ControlExtend::SelectAllText(box);
    }
    if (binding.zeroWhenEmpty) {
        amountChanged(binding);
        return;
    }
    try {
        auto target = targetFor(binding);
        const std::string property = propertyFor(binding);
        const std::string before = target->Get(property);
        ControlExtend::TextChg(box, *target, property, m_ui);
        markChanged(target->Get(property) != before);
    } catch (const ComError& err) {
        gui::ReportError(err.Number(), err.Description(),
                         std::string("ControlExtend.TextChg\r") + err.Source());
    }
}

void frmIP::fieldGotFocus(Binding& binding) {
    ControlExtend::SelectAllText(binding.box);
    binding.entryValue = targetFor(binding)->Get(propertyFor(binding));
    if (binding.kind == Kind::SalesInv) {
        setHelp(QString::fromUtf8(
            m_state.document.engine->get_DoPeakUseSalesAndPurch() ? kHelpSales : kHelpInventory));
    } else {
        setHelp(binding.help);
    }
}

void frmIP::fieldLostFocus(Binding& binding) {
    try {
        if (binding.zeroWhenEmpty) amountLeft(binding);
        auto target = targetFor(binding);
        binding.box->setText(fromUtf8(ControlExtend::GetPropByName(*target, propertyFor(binding))));
        if (binding.box == txtCOGS && chkCurAmountsNextYr->isChecked()) {
            txtCOGSNxtYr->setText(txtCOGS->text());
            const std::string before = m_state.document.engine->get_COGSNxtYr();
            m_state.document.engine->put_COGSNxtYr(m_state.document.engine->get_COGS());
            markChanged(m_state.document.engine->get_COGSNxtYr() != before);
        }
    } catch (const ComError& err) {
        gui::ReportError(err.Number(), err.Description(),
                         std::string("ControlExtend.TextChg\r") + err.Source());
    }
}

void frmIP::amountChanged(Binding& binding) {
    try {
        auto target = targetFor(binding);
        const std::string property = propertyFor(binding);
        const std::string before = target->Get(property);
        const bool fine = ControlExtend::AmountChg(toUtf8(binding.box->text()), *target, property);
        showTextAsAmount(binding.box, fine);
        markChanged(target->Get(property) != before);
    } catch (const ComError& err) {
        gui::ReportError(err.Number(), err.Description(),
                         std::string("ControlExtend.TextChg\r") + err.Source());
    }
}

void frmIP::amountLeft(Binding& binding) {
    auto target = targetFor(binding);
    const std::string property = propertyFor(binding);
    const std::string typed = toUtf8(binding.box->text());
    const ControlExtend::AmountCheck check = ControlExtend::AmountLeft(typed, *target, property);
    if (check == ControlExtend::AmountCheck::Taken) return;
    // Back to the value the field held when it was entered, in the target and the box.
    const std::string before = target->Get(property);
    target->Let(property, AmountText::Normalize(binding.entryValue).value_or(binding.entryValue));
    markChanged(target->Get(property) != before);
    binding.box->setText(fromUtf8(target->Get(property)));
    m_ui.MsgBox(ControlExtend::AmountRefusal(toUtf8(fieldLabel(binding)), typed, check,
                                             target->Get(property)),
                kOkOnly | kExclamation, kTitle);
    m_ui.Beep();
}

QString frmIP::fieldLabel(const Binding& binding) const {
    if (binding.kind == Kind::Engine) return binding.label;
    const QLabel* column = binding.kind == Kind::Receivables ? lblReceivables
                           : binding.kind == Kind::Purchases ? lblPurchases
                                                             : lblInventoryOrSales;
    return column->text() + QStringLiteral(" of ") + txtMonthDate[binding.row]->text();
}

void frmIP::showTextAsAmount(QLineEdit* box, bool amount) {
    // A text that cannot become an amount shows in red until it is mended or the field is
    // left; no message interrupts the typing.
    if (box->property("notAnAmount").toBool() == !amount) return;
    box->setProperty("notAnAmount", !amount);
    QPalette palette;  // no role of its own: the box's usual colours
    if (!amount) palette.setColor(QPalette::Text, QColor(0xb0, 0x00, 0x20));
    box->setPalette(palette);
}

void frmIP::noteGridEntryValue() {
    if (Binding* binding = bindingOf(focusWidget()); binding && binding->kind != Kind::Engine)
        binding->entryValue = targetFor(*binding)->Get(propertyFor(*binding));
}

bool frmIP::eventFilter(QObject* watched, QEvent* event) {
    bool handled = false;
    Guard("frmIP", [&] { handled = handleEvent(watched, event); });
    return handled || QDialog::eventFilter(watched, event);
}

void frmIP::done(int result) {
    m_closing = true;
    // Cancel, Esc and the close box discard every change made since the form opened.
    if (result == QDialog::Rejected) Guard("frmIP.btnCancel_Click", [&] { discardChanges(); });
    QDialog::done(result);
}

bool frmIP::handleEvent(QObject* watched, QEvent* event) {
    if (m_closing) return false;
    const QEvent::Type type = event->type();
    if (type != QEvent::FocusIn && type != QEvent::FocusOut && type != QEvent::KeyPress &&
        type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonPress)
        return false;

    // Enter on a focused button presses it, as Space does.
    if (type == QEvent::KeyPress &&
        (watched == btnOK || watched == btnCancel || watched == btnFilename)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            static_cast<QPushButton*>(watched)->click();
            return true;
        }
    }

    // Focus that leaves with the window (a message box, another program) is not a change
    // of field: the field is left when the focus moves inside the form.
    if (type == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
    }
    // Nor is its coming back to the field that had it: the field was never left.
    if (type == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if ((reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) &&
            watched == m_focused)
            return false;
        m_focused = watched;
    }

    if (watched == MaskDtEOYCurrent) {
        switch (type) {
            case QEvent::FocusIn:
                setHelp(QString::fromUtf8(kHelpEOYCurrent));
                QTimer::singleShot(0, MaskDtEOYCurrent,
                                   [box = MaskDtEOYCurrent] { box->selectAll(); });
                break;
            case QEvent::MouseButtonRelease:
                MaskDtEOYCurrent->selectAll();
                break;
            case QEvent::FocusOut:
                maskDtEOYCurrentLostFocus();
                break;
            case QEvent::KeyPress:
                if (ControlExtend::EnterAsTab(static_cast<QKeyEvent*>(event), MaskDtEOYCurrent))
                    return true;
                break;
            default:
                break;
        }
        return false;
    }

    if (type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste) &&
        pasteMonths(watched))
        return true;

    for (int row = 0; row < 12; ++row) {
        if (watched != txtMonthDate[row]) continue;
        QLineEdit* box = txtMonthDate[row];
        switch (type) {
            case QEvent::FocusIn:
                if (row == 0) {
                    if (auto months = m_state.document.engine->get_colMonths())
                        IPSupport::InitMonths(m_state, *months);
                    QTimer::singleShot(0, box, [box] { box->selectAll(); });
                }
                setHelp(QString::fromUtf8(kHelpMonthDate));
                break;
            case QEvent::FocusOut:
                if (row == 0) monthDateLostFocus();
                break;
            case QEvent::KeyPress: {
                auto* key = static_cast<QKeyEvent*>(event);
                if (countsAsKeyPress(key)) {
                    // Typing a month's date chooses the peak method (the check box stays as it is).
                    const bool before = m_state.document.engine->get_DoPeakCycle();
                    m_state.document.engine->put_DoPeakCycle(true);
                    markChanged(m_state.document.engine->get_DoPeakCycle() != before);
                }
                if (ControlExtend::EnterAsTab(key, box)) return true;
                break;
            }
            default:
                break;
        }
        return false;
    }

    if (Binding* binding = bindingOf(watched)) {
        switch (type) {
            case QEvent::FocusIn: {
                fieldGotFocus(*binding);
                // Entered with the mouse, the field is selected whole as a spreadsheet cell is:
                // the press that gave the focus does not place the caret (the next one does).
                binding->clickToSelect =
                    static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
                break;
            }
            case QEvent::MouseButtonPress:
                if (std::exchange(binding->clickToSelect, false)) {
                    ControlExtend::SelectAllText(binding->box);
                    return true;
                }
                break;
            case QEvent::FocusOut:
                binding->clickToSelect = false;
                fieldLostFocus(*binding);
                break;
            case QEvent::KeyPress:
                if (ControlExtend::EnterAsTab(static_cast<QKeyEvent*>(event), binding->box))
                    return true;
                break;
            default:
                break;
        }
        return false;
    }

    if (type == QEvent::FocusIn) {
        if (watched == btnFilename)
            setHelp(QString::fromUtf8(kHelpFilename));
        else if (watched == chkAveCycle)
            setHelp(QString::fromUtf8(kHelpAveCycle));
        else if (watched == chkPeakCycle)
            setHelp(QString::fromUtf8(kHelpPeakCycle));
        else if (watched == chkCurAmountsNextYr)
            setHelp(QString::fromUtf8(kHelpCurAmounts));
        else if (watched == chkEndOfMonth)
            setHelp(QString::fromUtf8(kHelpEndOfMonth));
    }
    return false;
}

// ---- Method options ----------------------------------------------------------------------

void frmIP::chkAveCycleClick(bool checked) {
    const bool before = m_state.document.engine->get_DoAveCycle();
    m_state.document.engine->put_DoAveCycle(checked);
    markChanged(m_state.document.engine->get_DoAveCycle() != before);
}

void frmIP::chkPeakCycleClick(bool checked) {
    const bool before = m_state.document.engine->get_DoPeakCycle();
    m_state.document.engine->put_DoPeakCycle(checked);
    markChanged(m_state.document.engine->get_DoPeakCycle() != before);
    // Turned on again, the method finds its months as they are: the grid shows them.
    if (checked && !m_loading && m_state.document.engine->get_DoPeakCycle()) {
        m_loading = true;
        fillAmountColumns();
        m_loading = false;
    }
}

void frmIP::setNxtYrCaption(const QString& caption) { fraNxtYr->setTitle(caption); }

void frmIP::chkCurAmountsNextYrClick(bool checked) {
    vesmora::_Caldren& engine = *m_state.document.engine;
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
    vesmora::_Caldren& engine = *m_state.document.engine;
    if (!engine.get_DoPeakCycle()) return;
    const bool before = engine.get_DoPeakUseSalesAndPurch();
    if (checked) {
        engine.put_DoPeakUseSalesAndPurch(false);
        lblInventoryOrSales->setText(QStringLiteral("Inventory"));
        lblPurchases->setVisible(false);
        for (QLineEdit* box : txtPurchases) box->setVisible(false);
    } else {
        engine.put_DoPeakUseSalesAndPurch(true);
        lblPurchases->setVisible(true);
        lblInventoryOrSales->setText(QStringLiteral("Sales"));
        for (QLineEdit* box : txtPurchases) box->setVisible(true);
    }
    markChanged(engine.get_DoPeakUseSalesAndPurch() != before);
    // The third column now edits another figure of each month: show that figure, never the
    // other one under the new heading.
    refreshGridAmounts();
}

// ---- Dates -------------------------------------------------------------------------------

void frmIP::restoreDateBox(QLineEdit* box, const std::string& engineValue) {
    m_ui.MsgBox(ControlExtend::RejectionMessage(10002), kOkOnly, kTitle);
    m_ui.Beep();
    box->setText(fromUtf8(engineValue));
}

void frmIP::maskDtEOYCurrentLostFocus() {
    vesmora::_Caldren& engine = *m_state.document.engine;
    const std::string text = toUtf8(MaskDtEOYCurrent->text());
    int m = 0, d = 0, y = 0;
    if (!MaskDtEOYCurrent->hasAcceptableInput() || !IPSupport::SplitDate(text, m, d, y)) {
        restoreDateBox(MaskDtEOYCurrent, engine.get_EOYCurrent());
        return;
    }
    const std::string beforeCurrent = engine.get_EOYCurrent();
    const std::string beforeNext = engine.get_EOYNxtYr();
    try {
        engine.put_EOYCurrent(text);
    } catch (const ComError& err) {
        if (!ControlExtend::RejectionMessage(err.Number()).empty()) {
            restoreDateBox(MaskDtEOYCurrent, engine.get_EOYCurrent());
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

void frmIP::monthDateLostFocus() {
    auto months = m_state.document.engine->get_colMonths();
    if (!months || months->get_Count() < 12) return;
    QLineEdit* box = txtMonthDate[0];
    auto first = months->get_Item(vesmora::IndexKey{1L});
    const std::string text = toUtf8(box->text());
    int m = 0, d = 0, y = 0;
    if (!box->hasAcceptableInput() || !IPSupport::SplitDate(text, m, d, y)) {
        // Months 2 to 12 keep their dates.
        restoreDateBox(box, first->get_MonthDate());
        return;
    }
    const std::string before = first->get_MonthDate();
    try {
        first->put_MonthDate(text);
    } catch (const ComError& err) {
        if (!ControlExtend::RejectionMessage(err.Number()).empty()) {
            restoreDateBox(box, first->get_MonthDate());
        } else {
            gui::ReportError(err.Number(), err.Description(),
                             std::string("frmIP.txtMonthDate_LostFocus\r") + err.Source());
            box->setText(fromUtf8(first->get_MonthDate()));
        }
        return;
    }
    bool changed = first->get_MonthDate() != before;

    int month = m + 1;
    for (int i = 1; i <= 11; ++i) {
        if (month == 13) month = 1;
        if (month == 1) ++y;
        const int day = d > 27 ? common::DaysInMonth(month, y) : d;
        const std::string dateText =
            std::to_string(month) + "/" + std::to_string(day) + "/" + std::to_string(y);
        txtMonthDate[i]->setText(paddedDate(month, day, y));
        try {
            auto item = months->get_Item(vesmora::IndexKey{static_cast<long>(i + 1)});
            const std::string itemBefore = item->get_MonthDate();
            item->put_MonthDate(dateText);
            changed = changed || item->get_MonthDate() != itemBefore;
        } catch (const ComError& err) {
            gui::ReportError(err.Number(), err.Description(),
                             std::string("frmIP.txtMonthDate_LostFocus\r") + err.Source());
            break;
        }
        ++month;
    }
    markChanged(changed);
}

// ---- Months pasted from a spreadsheet, and cleared ----------------------------------------

bool frmIP::pasteMonths(QObject* watched) {
    int startRow = -1, startColumn = -1;
    for (int row = 0; row < 12 && startRow < 0; ++row) {
        const std::array<QLineEdit*, 4> boxes{txtMonthDate[row], txtReceivables[row],
                                              txtSalesInv[row], txtPurchases[row]};
        for (int column = 0; column < 4; ++column)
            if (boxes[column] == watched) {
                startRow = row;
                startColumn = column;
            }
    }
    if (startRow < 0) return false;
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const std::string text = toUtf8(clipboard ? clipboard->text() : QString());
    if (!MonthPaste::IsBlock(text))
        return false;  // one value: the box's own paste and editing pattern

    vesmora::_Caldren& engine = *m_state.document.engine;
    auto months = engine.get_colMonths();
    if (!months) return true;
    IPSupport::InitMonths(m_state, *months);
    const bool salesAndPurchases = engine.get_DoPeakUseSalesAndPurch();
    MonthPaste::GridShape shape;
    if (!salesAndPurchases)
        shape.columns = {MonthPaste::kMonthDate, MonthPaste::kReceivables,
                         MonthPaste::kSalesOrInventory};
    const MonthPaste::Plan plan = MonthPaste::PlanPaste(text, startRow, startColumn, shape);
    if (!plan.error.empty()) {
        m_ui.MsgBox(plan.error, kOkOnly | kExclamation, kTitle);
        return true;
    }

    bool changed = false;
    bool firstDate = false;
    const MonthPaste::Outcome outcome =
        MonthPaste::ApplyPaste(plan, [&](const MonthPaste::Cell& cell) {
            auto month = months->get_Item(vesmora::IndexKey{static_cast<long>(cell.row + 1)});
            switch (cell.column) {
                case MonthPaste::kMonthDate: {
                    int m = 0, d = 0, y = 0;
                    if (!IPSupport::SplitDate(cell.value, m, d, y))
                        throw ComError(10002, "frmIP.PasteMonths", "Caldren Formula Calculator");
                    const std::string before = month->get_MonthDate();
                    month->put_MonthDate(cell.value);
                    changed = changed || month->get_MonthDate() != before;
                    m_loading = true;
                    txtMonthDate[0]->setText(paddedDate(m, d, y));
                    m_loading = false;
                    firstDate = true;
                    break;
                }
                case MonthPaste::kReceivables: {
                    const std::string before = month->get_Receivables();
                    month->put_Receivables(cell.value);
                    changed = changed || month->get_Receivables() != before;
                    break;
                }
                case MonthPaste::kSalesOrInventory: {
                    const std::string before =
                        salesAndPurchases ? month->get_Sales() : month->get_Inventory();
                    if (salesAndPurchases)
                        month->put_Sales(cell.value);
                    else
                        month->put_Inventory(cell.value);
                    changed = changed || (salesAndPurchases ? month->get_Sales()
                                                            : month->get_Inventory()) != before;
                    break;
                }
                case MonthPaste::kPurchases: {
                    const std::string before = month->get_Purchases();
                    month->put_Purchases(cell.value);
                    changed = changed || month->get_Purchases() != before;
                    break;
                }
                default:
                    break;
            }
        });
    // The months follow the first one's date, as when it is typed.
    if (firstDate) monthDateLostFocus();
    refreshGridAmounts();
    noteGridEntryValue();
    markChanged(changed);

    if (!outcome.Ok()) {
        const ComError& err = *outcome.error;
        const std::string message = ControlExtend::RejectionMessage(err.Number());
        if (message.empty()) {
            gui::ReportError(err.Number(), err.Description(),
                             std::string("frmIP.PasteMonths\r") + err.Source());
        } else {
            m_ui.MsgBox(message, kOkOnly, kTitle);
            m_ui.Beep();
        }
        const MonthPaste::Cell& at = *outcome.failedCell;
        if (QLineEdit* box = gridBox(static_cast<Column>(at.column), at.row)) {
            box->setFocus(Qt::OtherFocusReason);
            ControlExtend::SelectAllText(box);
        }
    }
    return true;
}

void frmIP::refreshGridAmounts() {
    auto months = m_state.document.engine->get_colMonths();
    if (!months) return;
    const bool salesAndPurchases = m_state.document.engine->get_DoPeakUseSalesAndPurch();
    const long count = months->get_Count();
    const bool loading = m_loading;
    m_loading = true;
    for (int row = 0; row < 12 && row < count; ++row) {
        auto m = months->get_Item(vesmora::IndexKey{static_cast<long>(row + 1)});
        txtReceivables[row]->setText(fromUtf8(m->get_Receivables()));
        txtSalesInv[row]->setText(
            fromUtf8(salesAndPurchases ? m->get_Sales() : m->get_Inventory()));
        txtPurchases[row]->setText(fromUtf8(m->get_Purchases()));
    }
    m_loading = loading;
}

void frmIP::btnClearMonthsClick() {
    if (m_ui.MsgBox(
            "Set the receivables, sales, inventory and purchases of all twelve months to zero?",
            kYesNo | kQuestion, kTitle) != MsgAnswer::Yes)
        return;
    auto months = m_state.document.engine->get_colMonths();
    if (!months) return;
    IPSupport::InitMonths(m_state, *months);
    bool changed = false;
    const long count = months->get_Count();
    for (long i = 1; i <= count && i <= 12; ++i) {
        auto m = months->get_Item(vesmora::IndexKey{i});
        const std::string before = m->get_Receivables() + "|" + m->get_Sales() + "|" +
                                   m->get_Inventory() + "|" + m->get_Purchases();
        m->put_Receivables("0");
        m->put_Sales("0");
        m->put_Inventory("0");
        m->put_Purchases("0");
        changed = changed || before != m->get_Receivables() + "|" + m->get_Sales() + "|" +
                                           m->get_Inventory() + "|" + m->get_Purchases();
    }
    refreshGridAmounts();
    noteGridEntryValue();
    markChanged(changed);
}

// ---- Buttons -----------------------------------------------------------------------------

void frmIP::btnOKClick() {
    IPSupport::GetInputs(m_state);
    accept();
}

void frmIP::btnFilenameClick() {
    const bool saved = FileOperations::SaveAs(m_state);
    m_state.document.engine->BeginEdit();
    // What was saved is what a later Cancel comes back to.
    if (saved) keepForCancel();
    lblFilename->setText(fromUtf8(m_state.document.currentFileName));
}

}  // namespace caldren
