#include "SignMarks.h"

#include "BoundField.h"

#include <analysis/Signs.h>

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

// The entry of the analysis' table, the property's name matched as the engine matches it
// (the form binds "ReasonableNeeds", the table says "Reasonableneeds").
const analysis::NonNegativeInput* Find(std::string_view property) {
    for (const analysis::NonNegativeInput& input : analysis::NonNegativeInputs())
        if (SameName(input.property, property)) return &input;
    return nullptr;
}

// The line names this many fields; the Checks page lists them all.
constexpr int kNamedOnTheLine = 4;

}  // namespace

bool CannotBeNegative(std::string_view property) { return Find(property) != nullptr; }

QString SubtractedQuestion(std::string_view property, const QString& field, const QString& amount) {
    const analysis::NonNegativeInput* input = Find(property);
    if (!input || !input->subtracted) return {};
    // "Current Liabilities are", "Contingencies are", "Depreciation is".
    const bool plural = field.endsWith(u's');
    return field +
           (plural ? QStringLiteral(" are subtracted in the analysis. Use ")
                   : QStringLiteral(" is subtracted in the analysis. Use ")) +
           amount + QStringLiteral("?");
}

QString UseButton(const QString& amount) { return QStringLiteral("Use ") + amount; }

// The minus as the typesetter writes it: the button reads "Keep −1,040,200".
QString KeepButton(const QString& amount) { return QStringLiteral("Keep \u2212") + amount; }

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
