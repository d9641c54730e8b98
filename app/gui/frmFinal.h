// frmFinal: the exit screen. Title "Orlenwick Caldren Formula Calculator", the time spent
// and the order lines in the read-only txtDisplay (fixed-pitch), btnBuy "Order && Download
// Update" (opens the order page in the default browser) and btnDone "Bye!" (closes).
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace caldren::dialogs {
class Dialogs;
}

namespace caldren::gui {

class frmFinal : public QDialog {
public:
    // "Order && Download Update" opens the order page through `dialogs`.
    explicit frmFinal(dialogs::Dialogs& dialogs, QWidget* parent = nullptr);

    // The text as BuildExitMessageText makes it (CR LF line ends).
    void SetDisplayText(const std::string& text);

    QPlainTextEdit* txtDisplay = nullptr;
    QPushButton* btnBuy = nullptr;
    QPushButton* btnDone = nullptr;
};

}  // namespace caldren::gui
