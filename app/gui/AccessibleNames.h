// AccessibleNames: what a screen reader says for each control of a window.
//
// Every control that takes the focus gets a name, where it has none of its own: the label
// that names it (a label whose buddy it is, the caption to its left in a grid or above it in
// a column), its own caption, the title of its frame, its tool tip. Its description is its
// help text: the one the input form shows for it (set by the form's controls), else the
// "What's This" text, else the tool tip (which Qt offers as the description by itself).
#pragma once

class QApplication;
class QWidget;

namespace caldren::gui {

// Names every control of `window` that takes the focus and has no name yet.
void NameControls(QWidget* window);

// Every window of the program gets NameControls when it is shown (once per application).
void InstallAccessibleNames(QApplication& app);

}  // namespace caldren::gui
