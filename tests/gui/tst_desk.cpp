// The windows at the desk, on a laptop's screen (1366 x 768, data/laptop.json), run once at
// the scale factor 1 and once at 1.5: the main window and the months page fit whole, a
// saved placement larger than the screen is brought inside it, printing without a printer
// says so and offers a PDF file, and every control that takes the focus has a name.
#include "GuiTestSupport.h"

#include "app/core/FileOperations.h"
#include "app/gui/AccessibleNames.h"
#include "app/gui/frmAbout.h"
#include "app/gui/frmFinal.h"
#include "app/gui/frmMain.h"
#include "app/gui/frmStartUp.h"
#include "app/help/HelpSupport.h"
#include "app/help/frmHelp.h"
#include "app/input/frmIP.h"
#include "app/reports/dlgRptChoices.h"
#include "app/reports/frmReportForm.h"

#include <QAccessible>
#include <QAction>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTabWidget>

using guitest::Q;

class TestDesk : public QObject {
    Q_OBJECT

    std::unique_ptr<guitest::Session> m_session;
    QString m_demo;

    caldren::RunState& state() { return m_session->state; }
    guitest::FakeDialogs& dialogs() { return m_session->dialogs; }
    static QRect screenArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }
    static QSettings placement() {
        return QSettings(Q("Orlenwick"), Q("Orlen Caldren Formula Calculator"));
    }
    // The window shown, with room for the title bar a window manager adds above it: inside
    // the screen where the window places itself (frame at its position), else no larger.
    static void verifyInside(QWidget* window, bool placed = true) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCoreApplication::processEvents();
        const QRect outer(window->frameGeometry().topLeft(),
                          window->size() + QSize(0, 2 * window->fontMetrics().height()));
        const QString seen = Q("%1x%2 at %3,%4").arg(window->width()).arg(window->height());
        QVERIFY2(placed ? screenArea().contains(outer)
                        : screenArea().size().boundedTo(outer.size()) == outer.size(),
                 qPrintable(seen.arg(window->x()).arg(window->y())));
    }
    // Every control a screen reader can reach with the focus, without a name.
    static QStringList unnamed(QAccessibleInterface* at) {
        QStringList found;
        if (!at) return found;
        const QAccessible::State s = at->state();
        if (s.focusable && !s.invisible && at->text(QAccessible::Name).trimmed().isEmpty())
            found << (at->object() ? at->object()->objectName() : QString()) + u' ' +
                         QString::number(at->role());
        for (int i = 0; i < at->childCount(); ++i) found << unnamed(at->child(i));
        return found;
    }
    static QStringList unnamedIn(QWidget* window) {
        window->show();
        QCoreApplication::processEvents();
        QStringList found = unnamed(QAccessible::queryAccessibleInterface(window));
        for (QString& entry : found) entry.prepend(window->objectName() + u'/');
        return found;
    }

private slots:
    void init() {
        m_session = std::make_unique<guitest::Session>();
        state().preferences.settingsFilePath = m_session->Path(Q("CaldrenCalc.ini")).toStdString();
        state().preferences.dataFilePath = m_session->dir.path().toStdString();
        m_demo = m_session->Path(Q("DEMO.CLD"));
        QFile::copy(Q(CALDREN_DEMO_SOURCE), m_demo);
        QFile::setPermissions(m_demo, QFile::ReadOwner | QFile::WriteOwner);
        placement().clear();
    }
    void cleanup() { m_session.reset(); }

    void theFirstMainWindowShowsTheResultsAndTheChartWhole() {
        caldren::frmMain window(state(), *m_session->ui, dialogs());
        m_session->ui->setMainWindow(&window);
        QVERIFY(caldren::FileOperations::OpenFile(state(), m_demo.toStdString()));
        verifyInside(&window);
        const auto* results = window.findChild<QPlainTextEdit*>(Q("txtResults"));
        QVERIFY(results->toPlainText().contains(Q("Excess Working Capital")));
        QCOMPARE(results->verticalScrollBar()->maximum(), 0);
        QCOMPARE(results->horizontalScrollBar()->maximum(), 0);
        const QWidget* chart = window.findChild<QWidget*>(Q("cycleChart"));
        QVERIFY(chart->isVisible());
        QVERIFY(chart->width() >= chart->minimumSizeHint().width() &&
                chart->height() >= chart->minimumSizeHint().height());
        m_session->ui->setMainWindow(nullptr);
    }

    void aSavedPlacementLargerThanTheScreenIsBroughtInside() {
        QSettings store = placement();
        for (const auto& [key, twips] : {std::pair{"MainLeft", "-900"},
                                         {"MainTop", "9000"},
                                         {"MainWidth", "45000"},
                                         {"MainHeight", "30000"}})
            store.setValue(Q("Settings/") + Q(key), Q(twips));
        store.sync();
        caldren::frmMain window(state(), *m_session->ui, dialogs());
        verifyInside(&window);
        QVERIFY(window.width() > screenArea().width() - 40);
    }

    void theMonthsPageShowsEveryMonthAndClearMonths() {
        QVERIFY(caldren::FileOperations::OpenFile(state(), m_demo.toStdString()));
        caldren::frmIP form(state(), *m_session->ui, dialogs());
        form.SetInitialIP();
        form.findChild<QTabWidget*>(Q("vsTabIP"))->setCurrentIndex(2);
        verifyInside(&form, false);
        const auto* page = form.findChild<QScrollArea*>(Q("pagePeakOperatingCycleArea"));
        QCOMPARE(page->verticalScrollBar()->maximum(), 0);
        const QWidget* clear = form.findChild<QWidget*>(Q("btnClearMonths"));
        QVERIFY(clear->isVisible() && clear->visibleRegion().boundingRect() == clear->rect());
        form.reject();
    }

    // No print system: Print says so and offers the reports as a PDF file (never the print
    // dialog, which would not open); No prints nothing.
    void printingWithoutAPrinterOffersAPdf() {
        caldren::frmMain window(state(), *m_session->ui, dialogs());
        m_session->ui->setMainWindow(&window);
        QVERIFY(caldren::FileOperations::OpenFile(state(), m_demo.toStdString()));
        int printDialogs = 0;
        dialogs().print = [&printDialogs](QPrinter&, const QString&) {
            return ++printDialogs, true;
        };
        dialogs().modal = [](QDialog& d) {
            static_cast<dlgRptChoices&>(d).btnOK->click();
            return d.result();
        };
        const QString pdf = m_session->Path(Q("reports"));
        dialogs().answers = {caldren::MsgAnswer::No, caldren::MsgAnswer::Yes};
        dialogs().files = {{pdf}};
        auto* print = window.findChild<QAction*>(Q("mnuFilePrint"));
        print->trigger();
        QVERIFY(!QFile::exists(pdf + Q(".pdf")));
        print->trigger();
        const QString said =
            Q("Orlen Caldren Formula Calculator|52|No printer is set up on this "
              "computer, so the reports cannot be printed.||Save them as a PDF "
              "file instead?");
        QCOMPARE(dialogs().boxes, QStringList({said, said}));
        QCOMPARE(dialogs().fileDialogs.value(0).filter,
                 std::string("PDF Files(*.pdf)|*.pdf|All Files(*.*)|*.*||"));
        QCOMPARE(printDialogs, 0);
        QFile file(pdf + Q(".pdf"));
        QVERIFY(file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-");
        QVERIFY(dialogs().ends.isEmpty());
        m_session->ui->setMainWindow(nullptr);
    }

    void everyControlThatTakesTheFocusHasAName() {
        caldren::gui::InstallAccessibleNames(*qApp);
        QVERIFY(caldren::FileOperations::OpenFile(state(), m_demo.toStdString()));
        state().program.programFolder = CALDREN_PROGRAM_FOLDER;
        QStringList found;
        caldren::frmMain window(state(), *m_session->ui, dialogs());
        found << unnamedIn(&window);
        caldren::frmIP form(state(), *m_session->ui, dialogs());
        found << unnamedIn(&form);
        form.reject();
        caldren::frmHelp* help = caldren::HelpSupport::ShowHelp(state(), dialogs(), nullptr);
        found << unnamedIn(help);
        help->close();
        frmReportForm viewer(dialogs());
        viewer.setObjectName(Q("frmReportForm"));
        found << unnamedIn(&viewer);
        dlgRptChoices choices;
        found << unnamedIn(&choices);
        caldren::frmStartUp chooser(state().options);
        found << unnamedIn(&chooser);
        caldren::frmAbout about(state().program, dialogs());
        found << unnamedIn(&about);
        frmFinal farewell(dialogs());
        found << unnamedIn(&farewell);
        QCOMPARE(found.join(u'|'), QString());
    }
};

int main(int argc, char** argv) {
    guitest::PinEnvironment();
    // The laptop's screen; the scale factor comes from the test's environment.
    ::setenv("QT_QPA_PLATFORM", "offscreen:configfile=" CALDREN_GUI_DATA "/laptop.json", 1);
    QApplication app(argc, argv);
    TestDesk test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_desk.moc"
