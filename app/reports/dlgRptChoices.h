// dlgRptChoices: which reports to build. A frame "Check Desired Reports" (fraChoices) with
// chkRptInput "Input Report", chkRptSummary "Summary Report", chkRptDetail "Detailed
// Analysis Report"; btnOK "OK", btnCancel "Cancel". Centred on the screen.
//
// The check boxes hold the report flags: 1 ticked, 2 greyed, 0 (or anything else) not
// ticked. How the dialog was left decides what becomes of the flags (GetReports).
#pragma once

#include <QDialog>

#include <Reports.h>

class QCheckBox;
class QKeyEvent;
class QGroupBox;
class QPushButton;

namespace caldren::reportwindows {

class dlgRptChoices : public QDialog {
public:
    enum class Closing { Ok, Cancel, CloseBox };

    explicit dlgRptChoices(QWidget* parent = nullptr);

    void SetChoices(const Reports::ReportChoices& choices);
    Reports::ReportChoices Choices() const;
    Closing HowClosed() const { return m_closing; }

    QGroupBox* fraChoices = nullptr;
    QCheckBox* chkRptInput = nullptr;
    QCheckBox* chkRptSummary = nullptr;
    QCheckBox* chkRptDetail = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    // Esc is Cancel: nothing is built. (The close box keeps the stored choice.)
    void keyPressEvent(QKeyEvent* event) override;

private:
    Closing m_closing = Closing::CloseBox;
};

}  // namespace caldren::reportwindows
