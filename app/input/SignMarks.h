// SignMarks: amounts below zero where the analysis cannot sensibly take them, pointed at on
// the input form, and the fields the analysis subtracts.
//
// A negative amount in a field that cannot be negative (a balance or a flow, or a month's
// figure) is kept as typed, but its field is marked: a warning sign inside the box, a red
// frame, and a tooltip naming the field and the figure; a line under the help pane names
// every such field and figure. The marks follow each step of the form (a field left, a
// paste, an undo).
#pragma once

#include <QString>

#include <string>
#include <string_view>
#include <vector>

class QLabel;

namespace caldren::input {

class BoundField;

// Whether an input cannot sensibly be negative: the engine's property name ("CurLiab"), or
// a month's ("Receivables", "Sales", "Inventory", "Purchases"), without regard to case.
bool CannotBeNegative(std::string_view property);

// The question on an amount typed in parentheses ("(1,040,200)") into a field that the
// analysis subtracts, with the figures as typed: "Current Liabilities are subtracted in the
// analysis. Use 1,040,200?"; empty for the other fields. Its buttons: "Use 1,040,200",
// "Keep -1,040,200".
QString SubtractedQuestion(std::string_view property, const QString& figures);
QString UseButton(const QString& figures);
QString KeepButton(const QString& figures);

// Marks the fields that hold a negative amount where none can be (hidden and empty boxes
// are left alone) and fills the line under the help pane; hides it when none does.
void ShowSignMarks(const std::vector<BoundField*>& fields, QLabel* line);

}  // namespace caldren::input
