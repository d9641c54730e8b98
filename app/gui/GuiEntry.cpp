// The window library's entry point: the interactive start of the program.
//
// Splash (the About box, closed by "Run Program"), the main window loaded, the start-up
// chooser (skipped when a data file was named alone on the command line), the saved flag,
// GetIni, the first action, the status line, the start time, the main window shown, and
// the event loop until the shutdown ends the run.
#include "app/core/GuiEntry.h"

#include "AccessibleNames.h"
#include "QtUi.h"
#include "app/core/FileOperations.h"
#include "app/core/RunState.h"
#include "app/core/Settings.h"
#include "app/dialogs/ErrorDialogs.h"
#include "app/dialogs/ProgramIcon.h"
#include "app/dialogs/QtDialogs.h"
#include "app/input/IPSupport.h"
#include "app/reports/ReportPrinter.h"
#include "frmAbout.h"
#include "frmMain.h"
#include "frmStartUp.h"

#include <errorreporter/ErrorReporter.h>

#include <QApplication>

namespace caldren::gui {

// The interactive start after the QApplication exists, every dialog through `dialogs`;
// returns the event loop's code.
int RunInteractive(RunState& state, dialogs::Dialogs& dialogs) {
    // A name and a description for every control a screen reader reaches.
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        InstallAccessibleNames(*app);
    QtUi ui(state, dialogs);
    state.SetUi(&ui);
    if (!state.program.errorReporter)
        state.program.errorReporter = std::make_shared<errorreporter::ErrorReporter>();
    state.program.errorReporter->SetPresenter(
        dialogs::MakeErrorPresenter(dialogs, state.program.errorLogPath));

    {
        frmAbout splash(state.program, dialogs);
        splash.exec();
    }

    frmMain main(state, ui, dialogs);
    ui.setMainWindow(&main);

    const bool openStartFile = !state.options.startFile.empty();
    if (!openStartFile) {
        frmStartUp chooser(state.options);
        chooser.exec();
    }
    state.document.SetSaved(true);
    // A failure has been reported on GetIni's own path, which ends the run.
    if (!Settings::GetIni(state.preferences, state.program, state.options,
                          &reportwindows::RememberPrinterFont)) {
        state.SetUi(nullptr);
        return 1;
    }

    if (openStartFile) {
        if (FileOperations::OpenFile(state, state.options.startFile))
            input::IPSupport::InitIP(state, ui, dialogs, &main);
    } else if (state.options.startChoice == kStartNew) {
        FileOperations::NewFile(state);
    } else if (state.options.startChoice == kStartOld) {
        if (FileOperations::OpenFile(state, std::string()))
            input::IPSupport::InitIP(state, ui, dialogs, &main);
    }

    ui.SetStatusText("File: " + state.document.currentFileName);
    // The same clock as the end time at shutdown, rounded the same way.
    state.options.startTime = dialogs.secondsSinceMidnight();
    main.show();
    const int code = QApplication::exec();
    state.SetUi(nullptr);
    return code;
}

}  // namespace caldren::gui

extern "C" __attribute__((visibility("default"))) int CaldrenGuiMain(caldren::RunState* state,
                                                                     int argc, char** argv) {
    static int s_argc = 0;
    s_argc = argc;
    QApplication app(s_argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(caldren::kTitle));
    QApplication::setOrganizationName(QStringLiteral("Orlenwick"));
    QApplication::setWindowIcon(caldren::dialogs::ProgramIcon());
    caldren::dialogs::QtDialogs dialogs;
    return caldren::gui::RunInteractive(*state, dialogs);
}
