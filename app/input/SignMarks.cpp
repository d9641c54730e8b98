#include "SignMarks.h"

#include "BoundField.h"

#include <QLabel>

#include <algorithm>
#include <cctype>

namespace caldren::input {

namespace {

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The line names this many fields; the Checks page lists them all.
constexpr int kNamedOnTheLine = 4;

}  // namespace

bool CannotBeNegative(std::string_view property) {
    // Balances and flows; the adjustments (OtherWorkCapAdj, OtherCostAdjNxtYr) may be
    // either sign.
    static const char* const kNames[] = {"CurAssets",    "Securities",  "NotesFromShareholders",
                                         "CurLiab",      "InvBeg",      "InvEnd",
                                         "InvPurchases", "COGS",        "NetSales",
                                         "ARBeg",        "AREnd",       "APBegRel2Inv",
                                         "APEndRel2Inv", "COGSNxtYr",   "OperatingExpNxtYr",
                                         "IncTaxNxtYr",  "DeprecNxtYr", "Receivables",
                                         "Inventory",    "Sales",       "Purchases"};
    return std::any_of(std::begin(kNames), std::end(kNames),
                       [&](const char* name) { return SameName(name, property); });
}

QString SubtractedQuestion(std::string_view property, const QString& figures) {
    // Current liabilities from the working capital available, depreciation from the cost of
    // operations, the payables' turnover from the operating cycle, the other reasonable needs
    // and the contingencies from the excess.
    static const struct {
        const char* property;
        const char* name;
        bool plural;
    } kSubtracted[] = {
        {"CurLiab", "Current Liabilities", true},
        {"DeprecNxtYr", "Depreciation", false},
        {"APBegRel2Inv", "Beginning Accounts Payable Related to Inventory", true},
        {"APEndRel2Inv", "Ending Accounts Payable Related to Inventory", true},
        {"Reasonableneeds", "Other Reasonable Needs", true},
        {"Contingencies", "Contingencies", true},
    };
    for (const auto& field : kSubtracted)
        if (SameName(field.property, property))
            return QString::fromUtf8(field.name) +
                   (field.plural ? QStringLiteral(" are subtracted in the analysis. Use ")
                                 : QStringLiteral(" is subtracted in the analysis. Use ")) +
                   figures + QStringLiteral("?");
    return {};
}

QString UseButton(const QString& figures) { return QStringLiteral("Use ") + figures; }

QString KeepButton(const QString& figures) { return QStringLiteral("Keep -") + figures; }

void ShowSignMarks(const std::vector<BoundField*>& fields, QLabel* line) {
    QStringList named;
    int more = 0;
    for (BoundField* field : fields) {
        const std::string value =
            field->isHidden() || field->text().isEmpty() ? std::string() : field->value();
        const bool negative =
            !value.empty() && value.front() == '-' && CannotBeNegative(field->boundProperty());
        const QString figure = field->label() + QLatin1Char(' ') + QString::fromStdString(value);
        field->setSignMark(negative ? QStringLiteral("Negative: ") + figure +
                                          QStringLiteral(". This amount cannot sensibly be "
                                                         "negative; it is kept as typed, check "
                                                         "its sign.")
                                    : QString());
        if (!negative) continue;
        if (named.size() < kNamedOnTheLine)
            named << figure;
        else
            ++more;
    }
    QString text;
    if (!named.isEmpty()) {
        text = QStringLiteral("Cannot sensibly be negative: ") + named.join(QStringLiteral("; "));
        if (more > 0) text += QStringLiteral("; and %1 more (see the Checks page)").arg(more);
        text += QLatin1Char('.');
    }
    line->setText(text);
    line->setVisible(!text.isEmpty());
}

}  // namespace caldren::input
