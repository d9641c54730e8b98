#include "ControlExtend.h"

#include "FormContext.h"
#include "app/core/RunState.h"
#include "app/core/Ui.h"
#include "app/paste/AmountText.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cctype>
#include <unordered_map>

namespace caldren::input::ControlExtend {

namespace {

using activation::ComError;
using vesmora::_Caldren;
using vesmora::_Monthly;

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Error 438: the object has no property of that name.
[[noreturn]] void noSuchProperty(const std::string& propertyName) {
    throw ComError(438, propertyName, activation::StandardErrorText(438));
}

template <class I>
struct Accessor {
    void (I::*put)(const std::string&) = nullptr;
    std::string (I::*get)() const = nullptr;
};

// The text properties of Caldren by lower-cased name.
const std::unordered_map<std::string, Accessor<_Caldren>>& caldrenTable() {
    using A = Accessor<_Caldren>;
    static const std::unordered_map<std::string, A> table = [] {
        std::unordered_map<std::string, A> t;
        auto both = [&t](const char* name, void (_Caldren::*put)(const std::string&),
                         std::string (_Caldren::*get)() const) {
            t[lower(name)] = A{put, get};
        };
        auto readOnly = [&t](const char* name, std::string (_Caldren::*get)() const) {
            t[lower(name)] = A{nullptr, get};
        };
        both("sName", &_Caldren::put_sName, &_Caldren::get_sName);
        both("Line2", &_Caldren::put_Line2, &_Caldren::get_Line2);
        both("Version", &_Caldren::put_Version, &_Caldren::get_Version);
        both("EOYCurrent", &_Caldren::put_EOYCurrent, &_Caldren::get_EOYCurrent);
        both("EOYNxtYr", &_Caldren::put_EOYNxtYr, &_Caldren::get_EOYNxtYr);
        both("EOYMonths", &_Caldren::put_EOYMonths, &_Caldren::get_EOYMonths);
        both("CurAssets", &_Caldren::put_CurAssets, &_Caldren::get_CurAssets);
        both("Securities", &_Caldren::put_Securities, &_Caldren::get_Securities);
        both("NotesFromShareholders", &_Caldren::put_NotesFromShareholders,
             &_Caldren::get_NotesFromShareholders);
        both("CurLiab", &_Caldren::put_CurLiab, &_Caldren::get_CurLiab);
        both("OtherWorkCapAdj", &_Caldren::put_OtherWorkCapAdj, &_Caldren::get_OtherWorkCapAdj);
        both("InvBeg", &_Caldren::put_InvBeg, &_Caldren::get_InvBeg);
        both("InvEnd", &_Caldren::put_InvEnd, &_Caldren::get_InvEnd);
        both("InvPurchases", &_Caldren::put_InvPurchases, &_Caldren::get_InvPurchases);
        both("COGS", &_Caldren::put_COGS, &_Caldren::get_COGS);
        both("NetSales", &_Caldren::put_NetSales, &_Caldren::get_NetSales);
        both("Reasonableneeds", &_Caldren::put_Reasonableneeds, &_Caldren::get_Reasonableneeds);
        both("Contingencies", &_Caldren::put_Contingencies, &_Caldren::get_Contingencies);
        both("COGSNxtYr", &_Caldren::put_COGSNxtYr, &_Caldren::get_COGSNxtYr);
        both("OperatingExpNxtYr", &_Caldren::put_OperatingExpNxtYr,
             &_Caldren::get_OperatingExpNxtYr);
        both("IncTaxNxtYr", &_Caldren::put_IncTaxNxtYr, &_Caldren::get_IncTaxNxtYr);
        both("DeprecNxtYr", &_Caldren::put_DeprecNxtYr, &_Caldren::get_DeprecNxtYr);
        both("OtherCostAdjNxtYr", &_Caldren::put_OtherCostAdjNxtYr,
             &_Caldren::get_OtherCostAdjNxtYr);
        both("ARBeg", &_Caldren::put_ARBeg, &_Caldren::get_ARBeg);
        both("AREnd", &_Caldren::put_AREnd, &_Caldren::get_AREnd);
        both("APBegRel2Inv", &_Caldren::put_APBegRel2Inv, &_Caldren::get_APBegRel2Inv);
        both("APEndRel2Inv", &_Caldren::put_APEndRel2Inv, &_Caldren::get_APEndRel2Inv);
        readOnly("GrossProfitPercent", &_Caldren::get_GrossProfitPercent);
        readOnly("ExcessWCAve", &_Caldren::get_ExcessWCAve);
        readOnly("ExcessWCPeak", &_Caldren::get_ExcessWCPeak);
        readOnly("ExcessPreContingencyWCAve", &_Caldren::get_ExcessPreContingencyWCAve);
        readOnly("ExcessPreContingencyWCPeak", &_Caldren::get_ExcessPreContingencyWCPeak);
        readOnly("NeededWCAve", &_Caldren::get_NeededWCAve);
        readOnly("AdjOperatingCycleAve", &_Caldren::get_AdjOperatingCycleAve);
        readOnly("OperatingCycleAdjDaysAve", &_Caldren::get_OperatingCycleAdjDaysAve);
        readOnly("APTurnDaysAve", &_Caldren::get_APTurnDaysAve);
        readOnly("APAve", &_Caldren::get_APAve);
        readOnly("APBegAndEndAve", &_Caldren::get_APBegAndEndAve);
        readOnly("OperatingCycleDaysAve", &_Caldren::get_OperatingCycleDaysAve);
        readOnly("ARTurnDaysAve", &_Caldren::get_ARTurnDaysAve);
        readOnly("ARAve", &_Caldren::get_ARAve);
        readOnly("ARBegAndEndAve", &_Caldren::get_ARBegAndEndAve);
        readOnly("InvTurnDaysAve", &_Caldren::get_InvTurnDaysAve);
        readOnly("InvAve", &_Caldren::get_InvAve);
        readOnly("CostOfOperations", &_Caldren::get_CostOfOperations);
        readOnly("InvBegAndEndAve", &_Caldren::get_InvBegAndEndAve);
        readOnly("ExcessQuickAssetsPeak", &_Caldren::get_ExcessQuickAssetsPeak);
        readOnly("NeededWCPeak", &_Caldren::get_NeededWCPeak);
        readOnly("NetOperatingCycle", &_Caldren::get_NetOperatingCycle);
        readOnly("APTurnRatioPeak", &_Caldren::get_APTurnRatioPeak);
        readOnly("AveAP4InvPeak", &_Caldren::get_AveAP4InvPeak);
        readOnly("OperatingCyclePeak", &_Caldren::get_OperatingCyclePeak);
        readOnly("AvailableWC", &_Caldren::get_AvailableWC);
        return t;
    }();
    return table;
}

// The text properties of Monthly by lower-cased name.
const std::unordered_map<std::string, Accessor<_Monthly>>& monthlyTable() {
    using A = Accessor<_Monthly>;
    static const std::unordered_map<std::string, A> table = {
        {"monthdate", A{&_Monthly::put_MonthDate, &_Monthly::get_MonthDate}},
        {"receivables", A{&_Monthly::put_Receivables, &_Monthly::get_Receivables}},
        {"inventory", A{&_Monthly::put_Inventory, &_Monthly::get_Inventory}},
        {"sales", A{&_Monthly::put_Sales, &_Monthly::get_Sales}},
        {"purchases", A{&_Monthly::put_Purchases, &_Monthly::get_Purchases}},
    };
    return table;
}

template <class I>
const Accessor<I>& find(const std::unordered_map<std::string, Accessor<I>>& table,
                        const std::string& propertyName) {
    auto it = table.find(lower(propertyName));
    if (it == table.end()) noSuchProperty(propertyName);
    return it->second;
}

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void CaldrenTarget::Let(const std::string& propertyName, const std::string& text) {
    const auto& accessor = find(caldrenTable(), propertyName);
    if (!accessor.put) throw ComError(383, propertyName, activation::StandardErrorText(383));
    (m_engine->*accessor.put)(text);
}

std::string CaldrenTarget::Get(const std::string& propertyName) const {
    return (m_engine->*find(caldrenTable(), propertyName).get)();
}

activation::ComPtr<_Monthly> MonthlyTarget::month() const {
    auto months = m_engine->get_colMonths();
    if (!months) throw ComError(91, "MonthlyTarget", activation::StandardErrorText(91));
    return months->get_Item(vesmora::IndexKey{m_position});
}

void MonthlyTarget::Let(const std::string& propertyName, const std::string& text) {
    const auto& accessor = find(monthlyTable(), propertyName);
    auto m = month();
    ((*m).*accessor.put)(text);
}

std::string MonthlyTarget::Get(const std::string& propertyName) const {
    const auto& accessor = find(monthlyTable(), propertyName);
    auto m = month();
    return ((*m).*accessor.get)();
}

std::string RejectionMessage(long number) {
    switch (number) {
        case 10001:
            return "(10001) Too many characters entered.";
        case 10002:
            return "(10002) This item needs to be a number.";
        default:
            return {};
    }
}

std::string GetPropByName(const Target& target, const std::string& propertyName) {
    return target.Get(propertyName);
}

bool TextChg(QLineEdit* box, Target& target, const std::string& propertyName,
             const input::FormContext& form) {
    const QString text = box->text();
    // A lone minus sign starts a negative number: nothing to send yet.
    if (text == QLatin1String("-")) return true;
    try {
        target.Let(propertyName, text.toStdString());
        return true;
    } catch (const ComError& err) {
        // The caret as it was before any message box took the focus.
        const int selStart = box->hasSelectedText() ? box->selectionStart() : box->cursorPosition();
        const std::string message = RejectionMessage(err.Number());
        if (!message.empty()) {
            form.ui().MsgBox(message, kOkOnly, kTitle);
        } else {
            std::string location = "ControlExtend.TextChg";
            location += '\r';
            location += err.Source();
            form.reportError(err.Number(), err.Description(), location);
        }
        form.ui().Beep();
        if (selStart > 0) {
            // The last value the target accepted, as the target formats it. Setting the
            // text sends it to the target once more, which leaves the target unchanged.
            box->setText(fromUtf8(GetPropByName(target, propertyName)));
            box->setCursorPosition(selStart - 1);
        }
        return false;
    }
}

bool AmountChg(const std::string& text, Target& target, const std::string& propertyName,
               const input::FormContext& form) {
    const AmountText::Partial typed = AmountText::WhileTyping(text);
    if (!typed.value) return typed.state != AmountText::Typing::Invalid;
    try {
        target.Let(propertyName, *typed.value);
        return true;
    } catch (const ComError& err) {
        if (err.Number() == 10002 || err.Number() == 6)
            return false;  // said when the field is left
        std::string location = "ControlExtend.TextChg";
        location += '\r';
        location += err.Source();
        form.reportError(err.Number(), err.Description(), location);
        return false;
    }
}

AmountCheck AmountLeft(const std::string& text, Target& target, const std::string& propertyName) {
    const auto plain = AmountText::Normalize(text);
    if (!plain) return AmountCheck::NotAnAmount;
    try {
        target.Let(propertyName, *plain);
    } catch (const ComError& err) {
        if (err.Number() == 10002) return AmountCheck::NotAnAmount;
        if (err.Number() == 6) return AmountCheck::TooLarge;
        throw;
    }
    return AmountCheck::Taken;
}

std::string AmountRefusal(const std::string& label, const std::string& typed, AmountCheck why,
                          const std::string& restored) {
    std::string text = label + ": \"" + typed + "\" ";
    if (why == AmountCheck::TooLarge)
        text +=
            "is too large. Amounts go up to 922,337,203,685,477 and down to "
            "-922,337,203,685,477.";
    else
        text +=
            "is not an amount. Type amounts as 8420000, 8,420,000 or $8,420,000 (commas "
            "between groups of three digits) and negative amounts as -50,000 or (50,000).";
    return text + "\n\n" + label + " is back to " + restored + ".";
}

void SelectAllText(QLineEdit* box) { box->setSelection(0, static_cast<int>(box->text().size())); }

bool EnterAsTab(QKeyEvent* key, QWidget* widget) {
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &tab);
    return true;
}

void CenterForm(QWidget* form) {
    QScreen* screen = form->screen() ? form->screen() : QApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    const QSize size = form->frameGeometry().size();
    form->move(area.x() + (area.width() - size.width()) / 2,
               area.y() + (area.height() - size.height()) / 2);
}

}  // namespace caldren::input::ControlExtend
