// Renders the windows of the program offscreen and writes them as PNG files into the
// folder given as the only argument: the main window, the start-up chooser, the About box
// and the four pages of the input form on the sample analysis DEMO.CLD.
#include "GuiTestSupport.h"

#include "app/core/FileOperations.h"
#include "app/gui/frmAbout.h"
#include "app/gui/frmMain.h"
#include "app/gui/frmStartUp.h"
#include "app/input/frmIP.h"

#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTabWidget>

#include <cstdio>

namespace {
bool save(QWidget* window, const QString& folder, const char* name) {
    window->show();
    (void)QTest::qWaitForWindowExposed(window);
    QCoreApplication::processEvents();
    const QString path = QDir(folder).filePath(QString::fromLatin1(name));
    const bool ok = window->grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", path.toUtf8().constData());
    return ok;
}
}  // namespace

int main(int argc, char** argv) {
    // Qt's own options may follow ("-platform offscreen:configfile=laptop.json").
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder> [Qt options]\n", argv[0]);
        return 2;
    }
    guitest::PinEnvironment();
    QApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    bool ok = true;

    guitest::Session session;
    caldren::RunState& state = session.state;
    state.currentFileName = "/home/ann/Clients/Acme Widgets/DEMO.CLD";
    state.engine->Load(CALDREN_DEMO_SOURCE);

    {
        caldren::frmMain window(state, *session.ui);
        session.ui->setMainWindow(&window);
        window.resize(720, 460);
        window.setStatusText(QStringLiteral("File: ") + QString::fromStdString(state.currentFileName));
        window.setRecentEntry(1, QStringLiteral("&1 /home/ann/Clients/Acme Widgets/DEMO.CLD"), true);
        window.setRecentSeparatorVisible(true);
        ok &= save(&window, folder, "main-window.png");
        session.ui->setMainWindow(nullptr);
        window.hide();
    }
    {
        caldren::frmStartUp chooser(state);
        ok &= save(&chooser, folder, "startup-chooser.png");
    }
    {
        caldren::frmAbout about(state);
        ok &= save(&about, folder, "about-box.png");
    }
    {
        caldren::frmIP form(state, *session.ui);
        form.SetInitialIP();
        form.FitToScreen();
        auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("vsTabIP"));
        const char* const names[] = {"input-initial.png", "input-general.png", "input-peak.png",
                                     "input-average.png"};
        for (int page = 0; page < 4; ++page) {
            tabs->setCurrentIndex(page);
            ok &= save(&form, folder, names[page]);
        }
    }
    return ok ? 0 : 1;
}
