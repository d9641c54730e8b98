#include "MonthGrid.h"

#include "BoundField.h"
#include "IPSupport.h"
#include "app/core/RunState.h"
#include "app/core/Ui.h"
#include "app/paste/MonthPaste.h"

#include <common/Calendar.h>

#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

namespace caldren::input {

namespace {

using activation::ComError;

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }
std::string toUtf8(const QString& text) { return text.toStdString(); }

const char* const kHelpEndOfMonth =
    "Check the box to use End - of - Month Inventory instead of monthly Sales & Inventory "
    "Purchases. It is preferable to use End - of - Month Inventory. However, some business do "
    "not have End - of - Month Inventory.Almost all businesses have monthly Sales and "
    "InventoryPurchases that can be used to estimate End - of - Month Inventory.";
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

// "mm/dd/yyyy" of a date given as month, day, year.
QString paddedDate(int month, int day, int year) {
    return QStringLiteral("%1/%2/%3")
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(day, 2, 10, QLatin1Char('0'))
        .arg(year, 4, 10, QLatin1Char('0'));
}

// A key that types (or Enter): what chooses the peak method in a date box.
bool countsAsKeyPress(const QKeyEvent* key) {
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) return true;
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) return false;
    return !key->text().isEmpty();
}

}  // namespace

MonthGrid::MonthGrid(FormContextPtr context, QGroupBox* frame)
    : m_context(std::move(context)), m_frame(frame) {
    chkEndOfMonth = new FormCheckBox(
        m_context,
        QStringLiteral(
            "Use End - of - Month inventory instead of monthly sales && inventory purchases"),
        QString::fromUtf8(kHelpEndOfMonth), frame);
    chkEndOfMonth->setObjectName(QStringLiteral("chkEndOfMonth"));

    auto heading = [&](const char* name, const char* caption) {
        auto* label = new QLabel(QString::fromUtf8(caption), frame);
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

    using Figure = BoundField::Figure;
    const auto help = [](const char* text) { return [text] { return QString::fromUtf8(text); }; };
    const auto salesOrInventoryHelp = [this] {
        return QString::fromUtf8(m_context->engine().get_DoPeakUseSalesAndPurch() ? kHelpSales
                                                                                  : kHelpInventory);
    };
    for (int row = 0; row < 12; ++row) {
        auto* date = new FieldBox(m_context, frame);
        date->setObjectName(QStringLiteral("txtMonthDate"));
        date->setProperty("Index", row);
        date->makeDateBox();
        // Only the first month's date is a tab stop; the others are derived from it.
        if (row > 0) date->setFocusPolicy(Qt::ClickFocus);
        date->whenEntered([this, row, date](Qt::FocusReason) { monthDateGotFocus(row, date); });
        if (row == 0)
            date->whenLeft([this] {
                monthDateLostFocus();
                m_context->stepDone();
            });
        date->whenPasting([this, date] { return pasteMonths(date); });
        date->whenKey([this, date](QKeyEvent* key) { return monthDateKey(date, key); });
        txtMonthDate[row] = date;

        auto cell = [&](const char* name, Figure figure, BoundField::Text helpText,
                        const QLabel* column) {
            // Messages name a cell by its column and its month: "Receivables of 12/31/2002".
            auto label = [column, date] {
                return column->text() + QStringLiteral(" of ") + date->text();
            };
            auto* field = new BoundField(m_context, figure, row, std::move(helpText), label, frame);
            field->setObjectName(QString::fromLatin1(name));
            field->setProperty("Index", row);
            field->setAlignment(Qt::AlignRight);
            field->setFixedWidth(
                field->fontMetrics().horizontalAdvance(QStringLiteral("-000,000,000,0000")));
            field->whenPasting([this, field] { return pasteMonths(field); });
            return field;
        };
        txtReceivables[row] =
            cell("txtReceivables", Figure::Receivables, help(kHelpReceivables), lblReceivables);
        txtSalesInv[row] = cell("txtSalesInv", Figure::SalesOrInventory, salesOrInventoryHelp,
                                lblInventoryOrSales);
        txtPurchases[row] =
            cell("txtPurchases", Figure::Purchases, help(kHelpPurchases), lblPurchases);
        grid->addWidget(date, row + 1, 0);
        grid->addWidget(txtReceivables[row], row + 1, 1);
        grid->addWidget(txtSalesInv[row], row + 1, 2);
        grid->addWidget(txtPurchases[row], row + 1, 3);
    }

    btnClearMonths = new QPushButton(QStringLiteral("C&lear Months"), frame);
    btnClearMonths->setObjectName(QStringLiteral("btnClearMonths"));
    btnClearMonths->setToolTip(QStringLiteral("Set the amounts of all twelve months to zero"));
    // Not in the form's focus order (which runs from the last grid row to OK); reached by
    // the mouse or its Alt key.
    btnClearMonths->setFocusPolicy(Qt::NoFocus);
    QObject::connect(btnClearMonths, &QPushButton::clicked, frame, [this] {
        Guard(*m_context, "frmIP.btnClearMonths_Click", [&] { btnClearMonthsClick(); });
    });

    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(chkEndOfMonth);
    frameLayout->addSpacing(6);
    auto* rows = new QHBoxLayout;
    rows->addLayout(grid);
    rows->addStretch(1);
    auto* side = new QVBoxLayout;
    side->addStretch(1);
    side->addWidget(btnClearMonths);
    rows->addLayout(side);
    frameLayout->addLayout(rows);
    frameLayout->addStretch(1);
}

QLineEdit* MonthGrid::box(Column column, int row) const {
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

std::vector<QWidget*> MonthGrid::focusOrder() const {
    std::vector<QWidget*> order{chkEndOfMonth, txtMonthDate[0]};
    for (int row = 0; row < 12; ++row)
        order.insert(order.end(), {txtReceivables[row], txtSalesInv[row], txtPurchases[row]});
    return order;
}

// ---- Filled from the months ------------------------------------------------------------

void MonthGrid::fill() {
    vesmora::_Caldren& engine = m_context->engine();
    lblInventoryOrSales->setText(QStringLiteral("Sales"));
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

void MonthGrid::fillAmountColumns() {
    vesmora::_Caldren& engine = m_context->engine();
    auto months = engine.get_colMonths();
    if (!months) return;
    const long count = months->get_Count();
    auto month = [&](int row) -> activation::ComPtr<vesmora::_Monthly> {
        if (row + 1 > count) return {};
        return months->get_Item(vesmora::IndexKey{static_cast<long>(row + 1)});
    };
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

void MonthGrid::showInventoryColumn(bool inventory) {
    if (inventory) {
        lblInventoryOrSales->setText(QStringLiteral("Inventory"));
        lblPurchases->setVisible(false);
        for (QLineEdit* cell : txtPurchases) cell->setVisible(false);
    } else {
        lblPurchases->setVisible(true);
        lblInventoryOrSales->setText(QStringLiteral("Sales"));
        for (QLineEdit* cell : txtPurchases) cell->setVisible(true);
    }
}

void MonthGrid::refreshAmounts() {
    auto months = m_context->engine().get_colMonths();
    if (!months) return;
    const bool salesAndPurchases = m_context->engine().get_DoPeakUseSalesAndPurch();
    const long count = months->get_Count();
    const bool loading = m_context->loading();
    m_context->setLoading(true);
    for (int row = 0; row < 12 && row < count; ++row) {
        auto m = months->get_Item(vesmora::IndexKey{static_cast<long>(row + 1)});
        txtReceivables[row]->setText(fromUtf8(m->get_Receivables()));
        txtSalesInv[row]->setText(
            fromUtf8(salesAndPurchases ? m->get_Sales() : m->get_Inventory()));
        txtPurchases[row]->setText(fromUtf8(m->get_Purchases()));
    }
    m_context->setLoading(loading);
}

void MonthGrid::refillDates() {
    auto months = m_context->engine().get_colMonths();
    if (!months) return;
    const bool loading = m_context->loading();
    m_context->setLoading(true);
    for (long row = 0; row < 12 && row < months->get_Count(); ++row)
        txtMonthDate[static_cast<std::size_t>(row)]->setText(
            fromUtf8(months->get_Item(vesmora::IndexKey{row + 1})->get_MonthDate()));
    m_context->setLoading(loading);
}

void MonthGrid::showMonths() {
    vesmora::_Caldren& engine = m_context->engine();
    const bool loading = m_context->loading();
    m_context->setLoading(true);
    if (engine.get_DoPeakCycle()) {
        const bool inventory = !engine.get_DoPeakUseSalesAndPurch();
        {
            const QSignalBlocker quiet(chkEndOfMonth);
            chkEndOfMonth->setChecked(inventory);
        }
        showInventoryColumn(inventory);
        refreshAmounts();
    } else if (auto months = engine.get_colMonths()) {
        for (long row = 0; row < 12 && row < months->get_Count(); ++row)
            txtReceivables[static_cast<std::size_t>(row)]->showValue();
    }
    refillDates();
    m_context->setLoading(loading);
}

std::vector<BoundField*> MonthGrid::amountFields() const {
    std::vector<BoundField*> fields;
    for (int row = 0; row < 12; ++row)
        fields.insert(fields.end(), {txtReceivables[row], txtSalesInv[row], txtPurchases[row]});
    return fields;
}

void MonthGrid::noteEntryValue() {
    if (auto* field = dynamic_cast<BoundField*>(m_frame->window()->focusWidget());
        field && field->isMonthFigure())
        field->noteEntryValue();
}

// ---- The month dates ----------------------------------------------------------------------

void MonthGrid::monthDateGotFocus(int row, QLineEdit* box) {
    if (row == 0) {
        if (auto months = m_context->engine().get_colMonths())
            IPSupport::InitMonths(m_context->state(), *months);
        QTimer::singleShot(0, box, [box] { box->selectAll(); });
    }
    m_context->showHelp(QString::fromUtf8(kHelpMonthDate));
}

bool MonthGrid::monthDateKey(QLineEdit* box, QKeyEvent* key) {
    if (countsAsKeyPress(key)) {
        // Typing a month's date chooses the peak method (the check box stays as it is).
        vesmora::_Caldren& engine = m_context->engine();
        const bool before = engine.get_DoPeakCycle();
        engine.put_DoPeakCycle(true);
        m_context->markChanged(engine.get_DoPeakCycle() != before);
    }
    return ControlExtend::EnterAsTab(key, box);
}

void MonthGrid::monthDateLostFocus() {
    auto months = m_context->engine().get_colMonths();
    if (!months || months->get_Count() < 12) return;
    QLineEdit* box = txtMonthDate[0];
    auto first = months->get_Item(vesmora::IndexKey{1L});
    const std::string text = toUtf8(box->text());
    int m = 0, d = 0, y = 0;
    if (!box->hasAcceptableInput() || !IPSupport::SplitDate(text, m, d, y)) {
        // Months 2 to 12 keep their dates.
        m_context->putDateBack(box, first->get_MonthDate());
        return;
    }
    const std::string before = first->get_MonthDate();
    try {
        first->put_MonthDate(text);
    } catch (const ComError& err) {
        if (!ControlExtend::RejectionMessage(err.Number()).empty()) {
            m_context->putDateBack(box, first->get_MonthDate());
        } else {
            m_context->reportError(err.Number(), err.Description(),
                                   std::string("frmIP.txtMonthDate_LostFocus\r") + err.Source());
            box->setText(fromUtf8(first->get_MonthDate()));
        }
        return;
    }
    bool changed = first->get_MonthDate() != before;

    // A first day past the 27th is a month end: every month takes its own last day.
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
            m_context->reportError(err.Number(), err.Description(),
                                   std::string("frmIP.txtMonthDate_LostFocus\r") + err.Source());
            break;
        }
        ++month;
    }
    m_context->markChanged(changed);
}

// ---- Months pasted from a spreadsheet, and cleared ----------------------------------------

bool MonthGrid::pasteMonths(QLineEdit* start) {
    int startRow = -1, startColumn = -1;
    for (int row = 0; row < 12 && startRow < 0; ++row)
        for (int column = 0; column < 4; ++column)
            if (box(static_cast<Column>(column), row) == start) {
                startRow = row;
                startColumn = column;
            }
    if (startRow < 0) return false;
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const std::string text = toUtf8(clipboard ? clipboard->text() : QString());
    if (!MonthPaste::IsBlock(text))
        return false;       // one value: the box's own paste and editing pattern
    m_context->stepDone();  // the typing before it is a step of its own

    vesmora::_Caldren& engine = m_context->engine();
    Ui& ui = m_context->ui();
    auto months = engine.get_colMonths();
    if (!months) return true;
    IPSupport::InitMonths(m_context->state(), *months);
    const bool salesAndPurchases = engine.get_DoPeakUseSalesAndPurch();
    MonthPaste::GridShape shape;
    if (!salesAndPurchases) {
        shape.columns = {MonthPaste::kMonthDate, MonthPaste::kReceivables,
                         MonthPaste::kSalesOrInventory};
        shape.inventory = true;
    }
    const MonthPaste::Plan plan = MonthPaste::PlanPaste(text, startRow, startColumn, shape);
    if (!plan.error.empty()) {
        ui.MsgBox(plan.error, kOkOnly | kExclamation, kTitle);
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
                    m_context->setLoading(true);
                    txtMonthDate[0]->setText(paddedDate(m, d, y));
                    m_context->setLoading(false);
                    firstDate = true;
                    break;
                }
                case MonthPaste::kReceivables:
                case MonthPaste::kSalesOrInventory:
                case MonthPaste::kPurchases: {
                    const std::string name = cell.column == MonthPaste::kReceivables ? "Receivables"
                                             : cell.column == MonthPaste::kPurchases ? "Purchases"
                                             : salesAndPurchases                     ? "Sales"
                                                                                     : "Inventory";
                    ControlExtend::MonthlyTarget target(&engine, cell.row + 1);
                    const std::string before = target.Get(name);
                    target.Let(name, cell.value);
                    changed = changed || target.Get(name) != before;
                    break;
                }
                default:
                    break;
            }
        });
    // The months follow the first one's date, as when it is typed.
    if (firstDate) monthDateLostFocus();
    refreshAmounts();
    noteEntryValue();
    m_context->markChanged(changed);

    if (!outcome.Ok()) {
        const ComError& err = *outcome.error;
        const std::string message = ControlExtend::RejectionMessage(err.Number());
        if (message.empty()) {
            m_context->reportError(err.Number(), err.Description(),
                                   std::string("frmIP.PasteMonths\r") + err.Source());
        } else {
            ui.MsgBox(message, kOkOnly, kTitle);
            ui.Beep();
        }
        const MonthPaste::Cell& at = *outcome.failedCell;
        if (QLineEdit* cell = box(static_cast<Column>(at.column), at.row)) {
            cell->setFocus(Qt::OtherFocusReason);
            ControlExtend::SelectAllText(cell);
        }
    } else if (!plan.note.empty()) {
        ui.MsgBox(plan.note, kOkOnly | kInformation, kTitle);
    }
    m_context->stepDone();
    return true;
}

void MonthGrid::btnClearMonthsClick() {
    const std::string question =
        "Set the receivables, sales, inventory and purchases of all twelve months to zero?";
    if (m_context->ui().MsgBox(question, kYesNo | kQuestion, kTitle) != MsgAnswer::Yes) return;
    auto months = m_context->engine().get_colMonths();
    if (!months) return;
    IPSupport::InitMonths(m_context->state(), *months);
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
    refreshAmounts();
    noteEntryValue();
    m_context->markChanged(changed);
    m_context->stepDone();
}

}  // namespace caldren::input
