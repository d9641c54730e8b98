// frmAbout: the About box, also the splash window of an interactive start (closed by its
// "Run Program" button).
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace caldren {
struct ProgramInfo;
}  // namespace caldren
namespace caldren::dialogs {
class Dialogs;
}

namespace caldren::gui {

class frmAbout : public QDialog {
public:
    // The system information and the web pages are opened through `dialogs`.
    frmAbout(const ProgramInfo& program, dialogs::Dialogs& dialogs, QWidget* parent = nullptr);
};

}  // namespace caldren::gui
