// frmIP: the input form. Four pages ("Initial Inputs", "General Inputs", "Peak Operating
// Cycle", "Average Operating Cycle"), the Checks page, the help pane, OK and Cancel.
//
// The form holds no input data of its own: it reads every value from the run state's
// engine when it loads, each field writes its keystrokes into the bound engine property (or
// month property) itself, and on OK the form saves the data file. Every control carries the
// name the form is known by as its objectName (txtCurAssets, chkPeakCycle,
// MaskDtEOYCurrent, ...); the monthly grid's control arrays (txtMonthDate, txtReceivables,
// txtSalesInv, txtPurchases) share their name and carry their row in the property "Index".
//
// The rooms of the form (namespace input): InputPages builds the pages and their controls,
// MonthGrid is the peak method's months, BoundField a field bound to a property, FieldBox,
// FormButton and FormCheckBox the controls that carry their own behaviour, FormContext what
// they share, CancelSnapshot what Cancel comes back to, FormUndo the steps that Ctrl+Z takes
// back, SignMarks the marks on negative amounts where none can be. The form itself runs the
// load sequence, the focus order, the method options, the year end, OK, Cancel (which asks
// before it discards changes) and the file button.
#pragma once

#include "CancelSnapshot.h"
#include "FormContext.h"
#include "FormUndo.h"
#include "MonthGrid.h"

#include <QDialog>
#include <QString>

#include <memory>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace caldren {
struct RunState;
class Ui;
}  // namespace caldren
namespace caldren::results {
class ChecksList;
}
namespace caldren::dialogs {
class Dialogs;
}

namespace caldren::input {

class InputPages;

class frmIP : public QDialog {
public:
    // Builds the form and runs the load sequence (loading flag, fields from the engine,
    // BeginEdit last). Its messages go through `ui`, its error and help windows through
    // `dialogs`.
    frmIP(RunState& state, Ui& ui, dialogs::Dialogs& dialogs, QWidget* parent = nullptr);
    ~frmIP() override;

    // The size its fields want, within the screen's free area (the pages scroll where the
    // screen is smaller).
    void FitToScreen();

    // SetInitialIP: the file label shows the current file name shortened for display.
    void SetInitialIP();

    // Grid boxes by column and row 0..11.
    using Column = input::MonthGrid::Column;
    QLineEdit* gridBox(Column column, int row) const;

protected:
    // Closing (OK, Cancel, Esc, the frame's close box): the controls losing the focus
    // with the window are not fields being left. Cancel, Esc and the close box ask first
    // when the form holds changes; Keep Editing leaves the form open.
    void done(int result) override;
    // Undo and Redo, elsewhere than in a field.
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void buildUi();
    // The form's procedures on the controls' signals, and the steps it adds to theirs.
    void connectHandlers();
    void setTabOrder();
    void loadSequence();

    void chkAveCycleClick(bool checked);
    void chkPeakCycleClick(bool checked);
    void chkCurAmountsNextYrClick(bool checked);
    void chkEndOfMonthClick(bool checked);
    void btnOKClick();
    void btnFilenameClick();
    void maskDtEOYCurrentLostFocus();
    void setNxtYrCaption(const QString& caption);
    // The frames' and the average page's captions from the year end, as loading sets them.
    void showCaptions();
    // After an undo or a redo: every control from the engine.
    void showValues();
    // The marks on negative amounts where none can be.
    void showSignMarks();

    RunState& m_state;
    // The loading flag, the help pane, the focus rules: shared with every control.
    std::shared_ptr<input::FormContext> m_context;
    // The four pages of fields and the month grid.
    std::unique_ptr<input::InputPages> m_pages;
    QTabWidget* vsTabIP = nullptr;
    QPlainTextEdit* txtHelp = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    results::ChecksList* m_checks = nullptr;
    // Under the help pane: the fields that hold a negative amount where none can be.
    QLabel* lblSignMarks = nullptr;
    // What Cancel, Esc and the close box come back to.
    input::CancelSnapshot m_snapshot;
    // Ctrl+Z and Ctrl+Y: the form's steps, from the values it opened with.
    std::unique_ptr<input::FormUndo> m_undo;
};

}  // namespace caldren::input
