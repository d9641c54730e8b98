// SignMarks: amounts below zero where the analysis cannot sensibly take them, pointed at on
// the input form, and the question on a credit typed into a field the analysis subtracts.
//
// Which inputs cannot be negative, and which the analysis subtracts, is the one table of
// the analysis (analysis/Signs.h), which the checks read too; the engine's property names
// are matched there without regard to case, as the engine matches them.
//
// A negative amount in such a field is kept as typed, but its field is marked: a warning
// sign inside the box, a red frame, and a tooltip naming the field and the figure; a line
// under the help pane names every such field and figure. The marks follow each step of the
// form (a field left, a paste, an undo).
#pragma once

#include <QString>

#include <string_view>
#include <vector>

class QLabel;

namespace caldren::input {

class BoundField;

// Whether an input cannot sensibly be negative: the engine's property name ("CurLiab"), or
// a month's ("Receivables", "Sales", "Inventory", "Purchases").
bool CannotBeNegative(std::string_view property);

// The question on an amount typed in parentheses into a field that the analysis subtracts,
// with the field's name and the positive amount: "Current Liabilities are subtracted in the
// analysis. Use 1,040,200?"; empty for the other fields. Its buttons: "Use 1,040,200",
// "Keep −1,040,200".
QString SubtractedQuestion(std::string_view property, const QString& field, const QString& amount);
QString UseButton(const QString& amount);
QString KeepButton(const QString& amount);

// Marks the fields that hold a negative amount where none can be (hidden and empty boxes
// are left alone) and fills the line under the help pane; hides it when none does.
void ShowSignMarks(const std::vector<BoundField*>& fields, QLabel* line);

}  // namespace caldren::input
