// frmError: the "Error Warning" window. Shows a warning text in lblErrInfo and lets the
// user tick chkDontShow ("Don't show this message again"); btnOK closes it. Centred on the
// screen. ShowErrorWarning (ErrorDialogs.h) reads the box's state after it closes.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace caldren::dialogs {

class frmError : public QDialog {
public:
    explicit frmError(QWidget* parent = nullptr);

    void SetMessage(const QString& text);
    bool DontShowAgain() const;

    QLabel* lblErrInfo = nullptr;
    QCheckBox* chkDontShow = nullptr;
    QPushButton* btnOK = nullptr;
};

}  // namespace caldren::dialogs
