// The windows at the desk on a laptop's screen (data/laptop.json), run at the scale factors 1
// and 1.5: they fit, printing without a printer offers a PDF, every control has a name.
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

using caldren::reportwindows::dlgRptChoices;
using caldren::reportwindows::frmReportForm;
using guitest::Q;

namespace {
// Shown, with room for a title bar above: inside the screen where the window places itself
// (its frame at its position), else no larger than the screen.
bool Fits(QWidget* window, bool placed) {
    window->show();
    QCoreApplication::processEvents();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect outer(window->frameGeometry().topLeft(),
                      window->size() + QSize(0, 2 * window->fontMetrics().height()));
    return placed ? area.contains(outer) : area.size().boundedTo(outer.size()) == outer.size();
}
// The controls that take the focus and lack a name or a description, in the accessibility
// tree.
QStringList Unnamed(QAccessibleInterface* at) {
    QStringList found;
    const QAccessible::State s = at->state();
    const auto* widget = qobject_cast<const QWidget*>(at->object());
    if (s.focusable && !s.invisible &&
        (at->text(QAccessible::Name).trimmed().isEmpty() ||
         (widget && widget->accessibleDescription().trimmed().isEmpty())))
        found << at->object()->objectName();
    for (int i = 0; i < at->childCount(); ++i) found << Unnamed(at->child(i));
    return found;
}
}  // namespace

class TestDesk : public QObject {
    Q_OBJECT
    std::unique_ptr<guitest::Session> m_session;
    caldren::RunState& state() { return m_session->state; }
    guitest::FakeDialogs& dialogs() { return m_session->dialogs; }
    void open() {
        const QString demo = m_session->Path(Q("DEMO.CLD"));
        QVERIFY(caldren::FileOperations::OpenFile(state(), demo.toStdString()));
    }
    QWidget* child(QWidget* window, const char* name) {
        return window->findChild<QWidget*>(Q(name));
    }

private slots:
    void init() {
        m_session = std::make_unique<guitest::Session>();
        state().preferences.settingsFilePath = m_session->Path(Q("CaldrenCalc.ini")).toStdString();
        const QString demo = m_session->Path(Q("DEMO.CLD"));
        QFile::copy(Q(CALDREN_DEMO_SOURCE), demo);
        QFile::setPermissions(demo, QFile::ReadOwner | QFile::WriteOwner);
        QSettings(Q("Orlenwick"), Q("Orlen Caldren Formula Calculator")).clear();
    }
    void cleanup() { m_session.reset(); }

    void theWindowsFitAndShowTheirContentsWhole() {
        // The first window opens before the first file does.
        caldren::gui::frmMain first(state(), *m_session->ui, dialogs());
        m_session->ui->setMainWindow(&first);
        open();
        QVERIFY(Fits(&first, true));
        auto* results = static_cast<QPlainTextEdit*>(child(&first, "txtResults"));
        QVERIFY(results->toPlainText().contains(Q("Excess Working Capital")));
        QCOMPARE(
            results->verticalScrollBar()->maximum() + results->horizontalScrollBar()->maximum(), 0);
        const QWidget* chart = child(&first, "cycleChart");
        QVERIFY(chart->isVisible() &&
                chart->size() == chart->size().expandedTo(chart->minimumSizeHint()));
        // A saved placement far larger than the screen, partly off it.
        QSettings store(Q("Orlenwick"), Q("Orlen Caldren Formula Calculator"));
        for (const auto& [key, twips] : {std::pair{"MainLeft", "-900"},
                                         {"MainTop", "9000"},
                                         {"MainWidth", "45000"},
                                         {"MainHeight", "30000"}})
            store.setValue(Q("Settings/") + Q(key), Q(twips));
        store.sync();
        caldren::gui::frmMain saved(state(), *m_session->ui, dialogs());
        QVERIFY(Fits(&saved, true));
        m_session->ui->setMainWindow(nullptr);
        // The months page: every month and Clear Months without scrolling.
        caldren::input::frmIP form(state(), *m_session->ui, dialogs());
        static_cast<QTabWidget*>(child(&form, "vsTabIP"))->setCurrentIndex(2);
        QVERIFY(Fits(&form, false));
        auto* page = static_cast<QScrollArea*>(child(&form, "pagePeakOperatingCycleArea"));
        QCOMPARE(page->verticalScrollBar()->maximum(), 0);
        QVERIFY(child(&form, "btnClearMonths")->visibleRegion().boundingRect().height() > 0);
        form.reject();
    }

    // No printer: Print says so and offers a PDF file, never the print dialog; No prints nothing.
    void printingWithoutAPrinterOffersAPdf() {
        caldren::gui::frmMain window(state(), *m_session->ui, dialogs());
        m_session->ui->setMainWindow(&window);
        open();
        dialogs().modal = [](QDialog& d) {
            static_cast<dlgRptChoices&>(d).btnOK->click();
            return d.result();
        };
        dialogs().answers = {caldren::MsgAnswer::No, caldren::MsgAnswer::Yes};
        dialogs().files = {{m_session->Path(Q("reports"))}};
        for (int i = 0; i < 2; ++i) window.findChild<QAction*>(Q("mnuFilePrint"))->trigger();
        const QString said =
            Q("Orlen Caldren Formula Calculator|52|No printer is set up on this "
              "computer, so the reports cannot be printed.||Save them as a PDF "
              "file instead?");
        QCOMPARE(dialogs().boxes, QStringList({said, said}));
        QFile pdf(m_session->Path(Q("reports.pdf")));
        QVERIFY(pdf.open(QIODevice::ReadOnly) && pdf.read(5) == "%PDF-");
        m_session->ui->setMainWindow(nullptr);
    }

    void everyControlThatTakesTheFocusHasAName() {
        caldren::gui::InstallAccessibleNames(*qApp);
        open();
        std::vector<std::unique_ptr<QWidget>> windows;
        windows.emplace_back(new caldren::gui::frmMain(state(), *m_session->ui, dialogs()));
        windows.emplace_back(new caldren::input::frmIP(state(), *m_session->ui, dialogs()));
        windows.emplace_back(new frmReportForm(dialogs()));
        windows.emplace_back(new dlgRptChoices);
        windows.emplace_back(new caldren::gui::frmStartUp(state().options));
        windows.emplace_back(new caldren::gui::frmAbout(state().program, dialogs()));
        windows.emplace_back(new caldren::gui::frmFinal(dialogs()));
        QStringList found;
        for (const auto& window : windows) {
            window->show();
            found << Unnamed(QAccessible::queryAccessibleInterface(window.get()));
        }
        QWidget* help = caldren::help::HelpSupport::ShowHelp(state(), dialogs(), nullptr);
        found << Unnamed(QAccessible::queryAccessibleInterface(help));
        help->close();
        QCOMPARE(found.join(u' '), QString());
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
