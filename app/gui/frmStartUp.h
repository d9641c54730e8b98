// frmStartUp: the start-up chooser ("Startup Options"), shown once at an interactive
// start. Its buttons set the run's start choice: 1 New Scenario, 2 Old Scenario,
// 0 (left as it is) Main Window. Each has an access key (Alt+N, Alt+O, Alt+M).
#pragma once

#include <QDialog>

namespace caldren {
struct RunOptions;
}  // namespace caldren

namespace caldren::gui {

class frmStartUp : public QDialog {
public:
    explicit frmStartUp(RunOptions& options, QWidget* parent = nullptr);

private:
    RunOptions& m_options;
};

}  // namespace caldren::gui
