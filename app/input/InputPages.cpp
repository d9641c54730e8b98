#include "InputPages.h"

#include "BoundField.h"
#include "MonthGrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollArea>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace caldren::input {

namespace {

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

// An amount field with its label on the left, in a row of the grid.
BoundField* addAmountField(const FormContextPtr& context, const FieldSpec& spec, QWidget* parent,
                           QGridLayout* grid, int row) {
    auto* field = new BoundField(context, spec.property, true, QString::fromUtf8(spec.help),
                                 QString::fromUtf8(spec.name ? spec.name : spec.label), parent);
    field->setObjectName(QString::fromLatin1(spec.objectName));
    field->setAlignment(Qt::AlignRight);
    field->setFixedWidth(
        field->fontMetrics().horizontalAdvance(QStringLiteral("-000,000,000,0000")));
    auto* label = new QLabel(QString::fromUtf8(spec.label), parent);
    label->setObjectName(QString::fromLatin1(spec.objectName).replace(0, 3, QStringLiteral("lbl")));
    label->setBuddy(field);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
    return field;
}

}  // namespace

InputPages::InputPages(FormContextPtr context, QTabWidget* tabs) : m_context(std::move(context)) {
    tabs->addTab(new PageArea(buildInitialPage()), QStringLiteral("&Initial Inputs"));
    tabs->addTab(new PageArea(buildGeneralPage()), QStringLiteral("&General Inputs"));
    tabs->addTab(new PageArea(buildPeakPage()), QStringLiteral("&Peak Operating Cycle"));
    tabs->addTab(new PageArea(buildAveragePage()), QStringLiteral("&Average Operating Cycle"));
}

InputPages::~InputPages() = default;

QWidget* InputPages::buildInitialPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("pageInitialInputs"));

    btnFilename = new FormButton(m_context, QStringLiteral("Change or set filename"),
                                 QString::fromUtf8(kHelpFilename), page);
    btnFilename->setObjectName(QStringLiteral("btnFilename"));

    lblFilename = new QLabel(page);
    lblFilename->setObjectName(QStringLiteral("lblFilename"));
    lblFilename->setTextFormat(Qt::PlainText);
    lblFilename->setFrameShape(QFrame::StyledPanel);
    lblFilename->setMinimumWidth(420);

    txtName = new BoundField(m_context, "sName", false, QString::fromUtf8(kHelpName), {}, page);
    txtName->setObjectName(QStringLiteral("txtName"));
    txtLine2 = new BoundField(m_context, "Line2", false, QString::fromUtf8(kHelpLine2), {}, page);
    txtLine2->setObjectName(QStringLiteral("txtLine2"));

    FraMethod = new QGroupBox(QStringLiteral("Method"), page);
    FraMethod->setObjectName(QStringLiteral("FraMethod"));
    chkAveCycle = new FormCheckBox(m_context, QStringLiteral("Average Cycle"),
                                   QString::fromUtf8(kHelpAveCycle), FraMethod);
    chkAveCycle->setObjectName(QStringLiteral("chkAveCycle"));
    chkPeakCycle = new FormCheckBox(m_context, QStringLiteral("Peak Cycle"),
                                    QString::fromUtf8(kHelpPeakCycle), FraMethod);
    chkPeakCycle->setObjectName(QStringLiteral("chkPeakCycle"));
    auto* methodLayout = new QHBoxLayout(FraMethod);
    methodLayout->addWidget(chkAveCycle);
    methodLayout->addSpacing(24);
    methodLayout->addWidget(chkPeakCycle);
    methodLayout->addStretch(1);

    // The year end: entered or clicked, selected whole; written when it is left.
    auto* eoy = new FieldBox(m_context, page);
    MaskDtEOYCurrent = eoy;
    eoy->setObjectName(QStringLiteral("MaskDtEOYCurrent"));
    eoy->makeDateBox();
    eoy->whenEntered([this, eoy](Qt::FocusReason) {
        m_context->showHelp(QString::fromUtf8(kHelpEOYCurrent));
        QTimer::singleShot(0, eoy, [eoy] { eoy->selectAll(); });
    });
    eoy->whenReleased([eoy] { eoy->selectAll(); });
    eoy->whenKey([eoy](QKeyEvent* key) { return ControlExtend::EnterAsTab(key, eoy); });

    chkCurAmountsNextYr = new FormCheckBox(
        m_context,
        QStringLiteral(
            "Use (current year) amounts as estimates for (next year) amounts where applicable"),
        QString::fromUtf8(kHelpCurAmounts), page);
    chkCurAmountsNextYr->setObjectName(QStringLiteral("chkCurAmountsNextYr"));

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

QWidget* InputPages::buildGeneralPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("pageGeneralInputs"));

    auto makeFrame = [&](const char* name, const FieldSpec* specs, std::size_t count,
                         std::vector<BoundField*>& fields) {
        auto* frame = new QGroupBox(page);
        frame->setObjectName(QString::fromLatin1(name));
        auto* grid = new QGridLayout(frame);
        grid->setVerticalSpacing(6);
        for (std::size_t i = 0; i < count; ++i)
            fields.push_back(addAmountField(m_context, specs[i], frame, grid, static_cast<int>(i)));
        grid->setRowStretch(static_cast<int>(count), 1);
        grid->setColumnStretch(0, 1);
        return frame;
    };
    fraCurYear =
        makeFrame("fraCurYear", kCurYearFields, std::size(kCurYearFields), currentYearFields);
    fraNxtYr = makeFrame("fraNxtYr", kNxtYrFields, std::size(kNxtYrFields), nextYearFields);
    txtCOGS = currentYearFields.back();
    txtCOGSNxtYr = nextYearFields.front();

    auto* layout = new QHBoxLayout(page);
    layout->addWidget(fraCurYear, 1);
    layout->addWidget(fraNxtYr, 1);
    return page;
}

QWidget* InputPages::buildPeakPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("pagePeakOperatingCycle"));
    fraPeakOpCycle = new QGroupBox(page);
    fraPeakOpCycle->setObjectName(QStringLiteral("fraPeakOpCycle"));
    monthGrid = std::make_unique<MonthGrid>(m_context, fraPeakOpCycle);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(fraPeakOpCycle);
    return page;
}

QWidget* InputPages::buildAveragePage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("pageAverageOperatingCycle"));

    AveInputYrLabel = new QLabel(page);
    AveInputYrLabel->setObjectName(QStringLiteral("AveInputYrLabel"));
    QFont bold = AveInputYrLabel->font();
    bold.setBold(true);
    AveInputYrLabel->setFont(bold);

    auto* fields = new QGridLayout;
    fields->setVerticalSpacing(8);
    int row = 0;
    for (const FieldSpec& spec : kAverageFields)
        averageFields.push_back(addAmountField(m_context, spec, page, fields, row++));
    fields->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(AveInputYrLabel);
    layout->addSpacing(8);
    layout->addLayout(fields);
    layout->addStretch(1);
    return page;
}

}  // namespace caldren::input
