// InputPages: the pages of the input form and the controls on them, built into the form's
// tab strip in order: "&Initial Inputs", "&General Inputs", "&Peak Operating Cycle" (the
// frame fraPeakOpCycle around the MonthGrid) and "&Average Operating Cycle". Each page is
// as large as its fields want and scrolls where the screen is smaller.
//
// The controls carry the names the form is known by (objectName) and their own behaviour
// (help texts, selection, Enter as Tab, the bound fields' editing); what they do to the
// rest of the form (the method options, the year end, the file button) the form connects.
#pragma once

#include "FormControls.h"

#include <memory>
#include <vector>

class QGroupBox;
class QLabel;
class QTabWidget;

namespace caldren::input {

class BoundField;
class MonthGrid;

class InputPages {
public:
    InputPages(FormContextPtr context, QTabWidget* tabs);
    ~InputPages();
    InputPages(const InputPages&) = delete;
    InputPages& operator=(const InputPages&) = delete;

    // "Initial Inputs".
    FormButton* btnFilename = nullptr;
    QLabel* lblFilename = nullptr;
    BoundField* txtName = nullptr;
    BoundField* txtLine2 = nullptr;
    QGroupBox* FraMethod = nullptr;
    FormCheckBox* chkAveCycle = nullptr;
    FormCheckBox* chkPeakCycle = nullptr;
    FieldBox* MaskDtEOYCurrent = nullptr;  // written when it is left (the form's step)
    FormCheckBox* chkCurAmountsNextYr = nullptr;

    // "General Inputs": the current year's fields (txtCurAssets ... txtCOGS) and the next
    // year's (txtCOGSNxtYr ... txtContingencies), in focus order.
    QGroupBox* fraCurYear = nullptr;
    QGroupBox* fraNxtYr = nullptr;
    std::vector<BoundField*> currentYearFields;
    std::vector<BoundField*> nextYearFields;
    BoundField* txtCOGS = nullptr;
    BoundField* txtCOGSNxtYr = nullptr;

    // "Peak Operating Cycle".
    QGroupBox* fraPeakOpCycle = nullptr;
    std::unique_ptr<MonthGrid> monthGrid;

    // "Average Operating Cycle": txtARBeg ... txtAPEndRel2Inv.
    QLabel* AveInputYrLabel = nullptr;
    std::vector<BoundField*> averageFields;

private:
    QWidget* buildInitialPage();
    QWidget* buildGeneralPage();
    QWidget* buildPeakPage();
    QWidget* buildAveragePage();

    FormContextPtr m_context;
};

}  // namespace caldren::input
