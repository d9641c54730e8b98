// frmAbout: the About box, also the splash window of an interactive start (closed by its
// "Run Program" button).
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace caldren {

struct ProgramInfo;

class frmAbout : public QDialog {
public:
    explicit frmAbout(const ProgramInfo& program, QWidget* parent = nullptr);
};

}  // namespace caldren
