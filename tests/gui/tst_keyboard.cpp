// The program used from the keyboard alone: started, a new analysis typed into the input
// form, saved, the three reports viewed, one saved as PDF, the viewers closed and the
// program left, with key events only. And the report viewers side by side, their keys.
#include "GuiTestSupport.h"

#include "app/dialogs/ErrorDialogs.h"
#include "app/gui/frmMain.h"
#include "app/reports/QtReportsHost.h"
#include "app/reports/dlgRptChoices.h"
#include "app/reports/frmReportForm.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <functional>

namespace caldren::gui {
int RunInteractive(RunState& state, dialogs::Dialogs& dialogs);
}

using caldren::reportwindows::dlgRptChoices;
using caldren::reportwindows::frmReportForm;
using guitest::Q;

namespace {

// Keys as a person presses them: to the widget with the focus (else the active window).
void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::activePopupWidget();
    if (!target) target = QApplication::focusWidget();
    if (!target) target = QApplication::activeWindow();
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}
void Type(const char* text) { QTest::keyClicks(QApplication::focusWidget(), Q(text)); }
// Figures typed field after field, Enter after each.
void Fields(std::initializer_list<const char*> figures) {
    for (const char* figure : figures) {
        Type(figure);
        Key(Qt::Key_Return);
    }
}

QString ActiveName() {
    return qApp->activeWindow() ? qApp->activeWindow()->objectName() : QString();
}

QList<frmReportForm*> OpenViewers() {
    QList<frmReportForm*> viewers;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* viewer = dynamic_cast<frmReportForm*>(w); viewer && viewer->isVisible())
            viewers << viewer;
    return viewers;
}

}  // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void theWholeJourneyWithKeysOnly() {
        guitest::Session session;
        QTemporaryDir folder;
        QVERIFY(QFile::copy(Q(CALDREN_DEMO_SOURCE), folder.filePath(Q("DEMO.CLD"))));
        session.state.program.programFolder = folder.path().toStdString();
        session.dialogs.modal = [](QDialog& d) { return d.exec(); };  // answered by keys
        const QString pdf = folder.filePath(Q("summary.pdf"));
        QString title, summary;
        QPointer<QWidget> main;
        // The window of that name is the active one (a modal window is active above the others).
        auto activeIs = [](const char* name) { return [name] { return ActiveName() == Q(name); }; };
        // What is pressed, each when the window it is meant for is the active one.
        const std::vector<std::pair<std::function<bool()>, std::function<void()>>> steps = {
            {activeIs("frmAbout"), [] { Key(Qt::Key_Return); }},                // "Run Program"
            {activeIs("frmStartUp"), [] { Key(Qt::Key_N, Qt::AltModifier); }},  // "&New Scenario"
            {activeIs("frmIP"),
             [] {
                 Key(Qt::Key_Tab);  // from "Change or set filename" to the name, then the second
                                    // line
                 Fields({"Acme Castings, Inc."});
                 Key(Qt::Key_Tab);
                 Key(Qt::Key_Space);               // "Average Cycle"
                 Key(Qt::Key_A, Qt::AltModifier);  // "&Average Operating Cycle"
                 Fields({"80,000", "$100,000", "50,000"});
                 Type("70,000");
                 Key(Qt::Key_G, Qt::AltModifier);  // "&General Inputs"
                 Fields({"$500,000", "0", "0", "250,000", "(0)", "100,000", "120,000", "620,000",
                         "$900,000", "600,000", "650,000", "200,000", "30,000", "40,000", "0",
                         "20,000", "10,000"});
                 Key(Qt::Key_Return);  // Enter in the last field went to OK; Enter presses it
             }},
            {activeIs("frmMain"),
             [&] {
                 main = QApplication::activeWindow();
                 Key(Qt::Key_S, Qt::ControlModifier);
                 title = main->windowTitle();
                 Key(Qt::Key_V, Qt::AltModifier);  // "&View", then "&Reports..."
                 Key(Qt::Key_R);
             }},
            {activeIs("dlgRptChoices"),
             [] { Key(Qt::Key_Return); }},  // all three reports, as stored
            {[] { return OpenViewers().size() == 3 && !QApplication::activeModalWidget(); },
             [&] {
                 for (frmReportForm* viewer : OpenViewers())
                     if (viewer->windowTitle().startsWith(Q("Summary"))) {
                         summary = viewer->txtReport->toPlainText();
                         viewer->activateWindow();  // as a click on its title would
                         QVERIFY(QTest::qWaitForWindowActive(viewer));
                     }
                 session.dialogs.files.push_back({pdf});
                 Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
                 for (const int key : {Qt::Key_Escape, Qt::Key_W, Qt::Key_Escape}) {
                     // The window manager activates the next window; offscreen the test does.
                     OpenViewers().first()->activateWindow();
                     QVERIFY(QTest::qWaitForWindowActive(OpenViewers().first()));
                     Key(key, key == Qt::Key_W ? Qt::ControlModifier : Qt::NoModifier);
                 }
             }},
            {[] { return OpenViewers().isEmpty(); },
             [&] {
                 main->activateWindow();
                 QVERIFY(QTest::qWaitForWindowActive(main));
                 session.dialogs.modal = {};  // the exit screen
                 Key(Qt::Key_Q, Qt::ControlModifier);
             }},
        };
        std::size_t stage = 0;
        QObject running;  // the steps end with the test
        std::function<void()> step = [&] {
            QTimer::singleShot(10, &running, step);  // first: the keys below open nested loops
            if (stage < steps.size() && steps[stage].first()) steps[stage++].second();
        };
        QTimer::singleShot(0, &running, step);
        caldren::gui::RunInteractive(session.state, session.dialogs);

        QCOMPARE(stage, steps.size());
        QCOMPARE(session.dialogs.ends, QList<int>{0});
        QVERIFY(session.dialogs.boxes.isEmpty());
        QCOMPARE(title, Q("UNTITLED.CLD[*] - Orlen Caldren Formula Calculator"));
        QFile saved(Q(session.state.document.currentFileName.c_str()));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray bytes = saved.readAll();
        QVERIFY(bytes.contains("Current Assets=500,000\r\n"));
        QVERIFY(bytes.contains("Acme Castings, Inc."));
        // The worked example of the average method: 156,744 needed, 63,256 in excess.
        QVERIFY2(summary.contains(Q("Working Capital Needed")), qPrintable(summary));
        QVERIFY2(summary.contains(Q("156,744")) && summary.contains(Q("$63,256")),
                 qPrintable(summary));
        QVERIFY(QFile(pdf).size() > 1000);
    }

    void viewersOpenSideBySide() {
        guitest::Session session;
        QList<frmReportForm*> viewers;
        for (const char* caption :
             {"Detailed Analysis Report", "Summary Report", "Inputs Report"}) {
            auto* viewer = new frmReportForm(session.dialogs);
            viewer->setWindowTitle(Q(caption));
            viewer->SetReportText("  Acme\r\n");
            viewer->ShowReport();
            QVERIFY(QTest::qWaitForWindowExposed(viewer));
            viewers << viewer;
        }
        const QRect screen = viewers[0]->screen()->availableGeometry();
        const int toolbar = viewers[0]->tbToolbar->height();
        for (int i = 0; i < 3; ++i) {
            QVERIFY(screen.contains(viewers[i]->frameGeometry()));
            if (i == 0) continue;
            // Below and to the right of the one before, by more than its title and toolbar.
            const QPoint step = viewers[i]->pos() - viewers[i - 1]->pos();
            QVERIFY2(step.x() > 0 && step.y() > toolbar, qPrintable(QString::number(step.y())));
        }

        // Tab reaches every button; the keys of the viewer.
        QPointer<frmReportForm> viewer = viewers[2];
        viewer->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(viewer));
        viewer->txtReport->setFocus();
        QStringList reached;
        for (int i = 0; i < 4; ++i) {
            Key(Qt::Key_Tab);
            if (auto* button = qobject_cast<QToolButton*>(QApplication::focusWidget()))
                reached << button->defaultAction()->objectName();
        }
        QCOMPARE(reached, (QStringList{Q("print"), Q("pdf"), Q("exit")}));
        const qreal size = viewer->txtReport->font().pointSizeF();
        Key(Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(viewer->txtReport->font().pointSizeF(), size + 1);
        Key(Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(viewer->txtReport->font().pointSizeF(), size);
        Key(Qt::Key_Escape);
        QTRY_VERIFY(viewer.isNull());
        qDeleteAll(viewers.mid(0, 2));
    }

    // Without a printer Print proposes the file "Save as PDF..." would; where printers are
    // installed the print dialog keeps the default one chosen.
    void printingToAFileProposesWhatSaveAsPdfDoes() {
        guitest::Session session;
        session.state.preferences.settingsFilePath =
            QDir::home().filePath(Q("CaldrenCalc.ini")).toStdString();
        session.state.document.currentFileName = "/data/acme.cld";
        QStringList proposed;
        session.dialogs.modal = [](QDialog& dialog) {
            auto& choices = dynamic_cast<dlgRptChoices&>(dialog);
            choices.SetChoices({0, 1, 0});  // the Summary alone
            choices.btnOK->click();
            return choices.result();
        };
        session.dialogs.print = [&](QPrinter& printer, const QString& title) {
            proposed << title << printer.outputFileName();
            return false;
        };
        session.dialogs.answers = {caldren::MsgAnswer::Yes};
        caldren::reportwindows::QtReportsHost host(session.state, session.dialogs, nullptr);
        Reports::ReportChoices choices;
        host.GetReports(Reports::kPrint, choices);
        for (const bool printers : {true, false}) {
            session.dialogs.printers = printers;
            QCOMPARE(host.GetCopies(), 0);
        }
        const caldren::FileDialogSpec file = session.dialogs.fileDialogs.value(0);
        proposed << QString::fromStdString(file.initialFolder + '/' + file.initialName);
        QCOMPARE(proposed,
                 (QStringList{Q("Print Reports"), QString(), Q("/data/acme Summary Report.pdf")}));
    }
};

GUITEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
