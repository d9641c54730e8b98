// frmIP: the input form. Four pages ("Initial Inputs", "General Inputs", "Peak Operating
// Cycle", "Average Operating Cycle"), the help pane, OK and Cancel.
//
// The form holds no input data of its own: it reads every value from the run state's
// engine when it loads, writes each keystroke into the bound engine property (or month
// property) through ControlExtend::TextChg, and on OK saves the data file. Every control
// carries the name the form is known by as its objectName (txtCurAssets, chkPeakCycle,
// MaskDtEOYCurrent, ...); the monthly grid's control arrays (txtMonthDate, txtReceivables,
// txtSalesInv, txtPurchases) share their name and carry their row in the property "Index".
#pragma once

#include "CancelSnapshot.h"
#include "ControlExtend.h"
#include "FormContext.h"
#include "MonthGrid.h"

#include <QDialog>
#include <QString>

#include <array>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace caldren {
namespace input {
class BoundField;
}
struct RunState;
class Ui;
class ChecksList;
}  // namespace caldren

namespace caldren {

class frmIP : public QDialog {
public:
    // Builds the form and runs the load sequence (loading flag, fields from the engine,
    // BeginEdit last).
    frmIP(RunState& state, Ui& ui, QWidget* parent = nullptr);
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
    // with the window are not fields being left.
    void done(int result) override;

private:
    void buildUi();
    QWidget* buildInitialPage();
    QWidget* buildGeneralPage();
    QWidget* buildPeakPage();
    QWidget* buildAveragePage();
    void setTabOrder();
    // The field named objectName.
    input::BoundField* addField(const char* objectName, input::BoundField* field);
    void loadSequence();

    void chkAveCycleClick(bool checked);
    void chkPeakCycleClick(bool checked);
    void chkCurAmountsNextYrClick(bool checked);
    void chkEndOfMonthClick(bool checked);
    void btnOKClick();
    void btnFilenameClick();
    void maskDtEOYCurrentLostFocus();
    void setNxtYrCaption(const QString& caption);

    void setHelp(const QString& text);
    void markChanged(bool changed);

    RunState& m_state;
    Ui& m_ui;
    // The loading flag, the help pane, the focus rules: shared with every control.
    std::shared_ptr<input::FormContext> m_context;

    QTabWidget* vsTabIP = nullptr;
    QPlainTextEdit* txtHelp = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnFilename = nullptr;
    QLabel* lblFilename = nullptr;
    QLineEdit* txtName = nullptr;
    QLineEdit* txtLine2 = nullptr;
    QGroupBox* FraMethod = nullptr;
    QCheckBox* chkAveCycle = nullptr;
    QCheckBox* chkPeakCycle = nullptr;
    QLineEdit* MaskDtEOYCurrent = nullptr;
    QCheckBox* chkCurAmountsNextYr = nullptr;
    QGroupBox* fraCurYear = nullptr;
    QGroupBox* fraNxtYr = nullptr;
    QLineEdit* txtCOGS = nullptr;
    QLineEdit* txtCOGSNxtYr = nullptr;
    QLabel* AveInputYrLabel = nullptr;
    QGroupBox* fraPeakOpCycle = nullptr;
    std::vector<QLineEdit*> m_generalFields;  // current year then next year, in tab order
    std::vector<QLineEdit*> m_averageFields;
    ChecksList* m_checks = nullptr;
    // What Cancel, Esc and the close box come back to.
    input::CancelSnapshot m_snapshot;
    std::unique_ptr<input::MonthGrid> m_grid;
};

}  // namespace caldren
