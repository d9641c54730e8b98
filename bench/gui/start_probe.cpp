// Start-up probe: the interactive start of the program up to the start-up chooser on the
// screen, then the process ends. The About box (splash) is closed as soon as it shows, as
// by a user who clicks "Run Program" at once. Timed from outside as a whole process
// (hyperfine); prints the milliseconds from main() to the chooser shown on stdout.
#include "app/core/RunState.h"
#include "app/dialogs/QtDialogs.h"

#include <activation/Activation.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace caldren::gui {
int RunInteractive(RunState& state, dialogs::Dialogs& dialogs);
}

int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    activation::SetFallbackLibrary(CALDREN_VESMORA_PATH);
    caldren::RunState state;
    state.document.engine = activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
    state.program.programFolder = CALDREN_PROGRAM_FOLDER;
    state.program.fullVersion = "CLD2026.12.1";
    state.program.versionTag = "CLD2026.12";

    QApplication app(argc, argv);
    std::function<void()> step;
    step = [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == QStringLiteral("frmAbout")) {
            modal->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        } else if (modal && modal->objectName() == QStringLiteral("frmStartUp") &&
                   modal->isVisible()) {
            std::printf("%.1f ms from main() to the chooser shown\n", clock.nsecsElapsed() / 1e6);
            std::fflush(stdout);
            std::_Exit(0);
        }
        QTimer::singleShot(1, step);
    };
    QTimer::singleShot(0, step);
    caldren::dialogs::QtDialogs dialogs;
    return caldren::gui::RunInteractive(state, dialogs);
}
