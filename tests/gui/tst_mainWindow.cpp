// The main window, the start-up chooser, the About box and the interactive start, driven
// through their real widgets on the real engine and real files, every dialog answered by
// the fake dialogs: the frame, the commands, the file commands and what they do to the
// client's files and the settings file, failed opens, report commands on an empty analysis.
#include "GuiTestSupport.h"

#include "app/core/FileOperations.h"
#include "app/core/Settings.h"
#include "app/dialogs/ErrorDialogs.h"
#include "app/dialogs/QtDialogs.h"
#include "app/gui/frmAbout.h"
#include "app/gui/frmMain.h"
#include "app/gui/frmStartUp.h"
#include "app/help/HelpSupport.h"
#include "app/help/frmHelp.h"
#include "app/reports/dlgRptChoices.h"
#include "app/results/ResultsPanel.h"

#include <errorreporter/ErrorReporter.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QToolBar>
#include <QtTest>

namespace caldren::gui {
int RunInteractive(RunState& state, dialogs::Dialogs& dialogs);
}

using caldren::MsgAnswer;
using caldren::gui::frmMain;
using caldren::reportwindows::dlgRptChoices;
using guitest::Q;

namespace {
QSettings placementStore() {
    return QSettings(Q("Orlenwick"), Q("Orlen Caldren Formula Calculator"));
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<guitest::Session> m_session;
    std::unique_ptr<frmMain> m_window;
    QTemporaryDir m_dir;

    caldren::RunState& state() { return m_session->state; }
    guitest::FakeDialogs& dialogs() { return m_session->dialogs; }
    QStringList& boxes() { return m_session->dialogs.boxes; }
    QString path(const char* name) { return m_dir.filePath(Q(name)); }
    void trigger(const char* name) {
        auto* found = m_window->findChild<QAction*>(Q(name));
        if (!found) qFatal("no action %s", name);
        found->trigger();
    }
    // The client's analysis, saved by the program and open.
    QString openClientFile() {
        const QString file = path("client.cld");
        state().document.engine->BeginEdit();
        state().document.engine->put_sName("Client Co");
        state().document.engine->put_NetSales("900000");
        state().document.engine->put_Line2("Year Ended December 31, 2002");
        caldren::FileOperations::Save(state(), file.toStdString());
        state().document.engine =
            activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
        guitest::WhenModalShows([](QWidget* modal) { modal->close(); }, "frmIP");
        dialogs().files.push_back({file});
        trigger("mnuFileOpen");
        return file;
    }

private slots:
    void init() {
        m_session = std::make_unique<guitest::Session>();
        QFile::remove(path("CaldrenCalc.ini"));
        state().preferences.settingsFilePath = path("CaldrenCalc.ini").toStdString();
        state().program.errorLogPath = path("CLD_err.log").toStdString();
        state().program.errorReporter = std::make_shared<errorreporter::ErrorReporter>(
            caldren::dialogs::MakeErrorPresenter(dialogs(), state().program.errorLogPath));
        QSettings store = placementStore();
        store.clear();
        m_window = std::make_unique<frmMain>(state(), *m_session->ui, dialogs());
        m_session->ui->setMainWindow(m_window.get());
    }
    void cleanup() {
        m_window.reset();
        m_session.reset();
    }

    // The frame's texts, the tool keys (tip, key, picture), the status line and the recent files.
    void theFrame() {
        m_session->ui->SetStatusText("File: /tmp/acme.cld");
        QStringList seen = guitest::Texts(m_window.get());
        for (QAction* key : m_window->findChild<QToolBar*>(Q("tbToolBar"))->actions())
            if (!key->isSeparator())
                seen << guitest::Line(key->toolTip(), key->data().toString(),
                                      !key->icon().isNull());
        const auto entries = m_window->findChildren<QAction*>(Q("mnuFileMRU"));
        auto* separator = m_window->findChild<QAction*>(Q("mnuFileMRUSep"));
        QVERIFY(!entries.at(0)->isVisible() && !separator->isVisible());
        m_session->ui->SetRecentEntry(1, "&1 /tmp/acme.cld", true);
        m_session->ui->SetRecentSeparatorVisible(true);
        QVERIFY(entries.at(0)->isVisible() && separator->isVisible());
        QCOMPARE(entries.at(0)->text(), Q("&1 /tmp/acme.cld"));
        guitest::ExpectTranscript(Q("theFrame"), seen);
    }

    void commandsReachTheirWindows() {
        state().document.currentFileName =
            path("commands.cld").toStdString();  // the reports save it
        QStringList shown;
        dialogs().modal = [&shown](QDialog& d) {
            shown << d.windowTitle();
            if (auto* choices = dynamic_cast<dlgRptChoices*>(&d)) choices->btnCancel->click();
            return int(QDialog::Rejected);
        };
        for (const char* name : {"tbPreview", "tbPrint", "tbHelp", "mnuFilePrintPreview",
                                 "mnuViewReports", "mnuViewCompare", "mnuOptionsFonts"})
            trigger(name);
        m_window->toolClick(Q("Unknown"));
        guitest::WhenModalShows(
            [&shown](QWidget* modal) {
                shown << modal->objectName();
                modal->close();
            },
            "frmIP");
        trigger("tbInput");
        QCOMPARE(shown.join(QLatin1Char('|')),
                 Q("Select Reports (View)|Select Reports (Print)|Select Reports (View)|"
                   "Select Reports (View)|Select Font|frmIP"));
        QVERIFY(caldren::help::HelpSupport::HelpWindow()->isVisible());
        QCOMPARE(dialogs().fileDialogs.at(0).title, std::string("Compare Years"));
        QVERIFY(boxes().size() == 1 && boxes()[0].startsWith(Q("WARNING!|48|We strongly")));
        QCOMPARE(caldren::dialogs::NameFilters("Data Files(*.CLD)|*.CLD|All Files(*.*)|*.*||"),
                 (QStringList{Q("Data Files(*.CLD) (*.CLD *.cld)"), Q("All Files(*.*) (*)")}));
    }

    void placementInTwips() {
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_window->move(120, 90);
        m_window->resize(600, 400);
        trigger("mnuFileExit");
        QCOMPARE(dialogs().ends, QList<int>{0});
        QVERIFY(dialogs().fileDialogs.isEmpty());  // no Save As first
        QSettings store = placementStore();
        QCOMPARE(store.value(Q("Settings/MainLeft")).toString() +
                     store.value(Q("Settings/MainWidth")).toString(),
                 Q("18009000"));
        frmMain again(state(), *m_session->ui, dialogs());
        QCOMPARE(again.pos(), QPoint(120, 90));
        QCOMPARE(again.size(), QSize(600, 400));
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        again.move(10, 10);
        again.showMinimized();
        QCoreApplication::processEvents();
        again.close();  // minimized: the placement is not stored
        QCOMPARE(placementStore().value(Q("Settings/MainLeft")).toString(), Q("1800"));
    }

    void saveSaveAsAndSaveWithoutAName() {
        // Started on the main window: no file name yet. Save asks for one (menu, tool key).
        state().preferences.dataFilePath = m_dir.path().toStdString();
        dialogs().files.push_back({QString()});
        trigger("mnuFileSave");
        QCOMPARE(dialogs().fileDialogs.at(0).title, std::string("Save As"));
        QCOMPARE(boxes().at(0), Q("WARNING|16|Filename Empty!"));
        QVERIFY(dialogs().ends.isEmpty());
        QVERIFY(!bytesOf(path("CaldrenCalc.ini")).contains("Data File Path"));
        dialogs().files.push_back({QString()});
        trigger("mnuViewReports");  // a report run saves first: Save As too, and then nothing
        QCOMPARE(dialogs().fileDialogs.size(), 2);
        QCOMPARE(dialogs().fileDialogs.at(1).title, std::string("Save As"));
        QVERIFY(dialogs().ends.isEmpty());
        const QString first = path("first.cld");
        dialogs().files.push_back({first});
        trigger("tbSave");
        QVERIFY(QFile::exists(first));
        QCOMPARE(m_window->statusText(), Q("File: ") + first);
        QVERIFY(bytesOf(path("CaldrenCalc.ini"))
                    .contains("Data File Path=" + m_dir.path().toUtf8() + "\r\n"));
        // Save writes the named file without asking; Save As to another name.
        trigger("mnuFileSave");
        QCOMPARE(dialogs().fileDialogs.size(), 3);
        const QString second = path("second.cld");
        dialogs().files.push_back({second});
        trigger("mnuFileSaveAs");
        QVERIFY(bytesOf(second).contains("Version=CLD2026.12\r\n"));
        QCOMPARE(dialogs().fileDialogs.at(3).initialName, first.toStdString());
        QCOMPARE(state().document.currentFileName, second.toStdString());
        // A name without a folder never writes an empty data path; New never proposes the root.
        // (The file and its lock file land in the test's folder, not the working folder.)
        const QString workingFolder = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        caldren::FileOperations::Save(state(), "relative.cld");
        QDir::setCurrent(workingFolder);
        QVERIFY(bytesOf(path("CaldrenCalc.ini"))
                    .contains("Data File Path=" + m_dir.path().toUtf8() + "\r\n"));
        state().preferences.dataFilePath.clear();
        guitest::WhenModalShows([](QWidget* modal) { modal->close(); }, "frmIP");
        trigger("mnuFileNew");
        QVERIFY(state().document.currentFileName != "/UNTITLED.CLD");
        QVERIFY(
            QString::fromStdString(state().document.currentFileName).endsWith(Q("/UNTITLED.CLD")));
    }

    void theUnsavedDataQuestion() {
        const QString client = openClientFile();
        guitest::WhenModalShows(
            [](QWidget* modal) {
                modal->findChild<QLineEdit*>(Q("txtCurAssets"))->setText(Q("500"));
                QTest::mouseClick(modal->findChild<QPushButton*>(Q("btnOK")), Qt::LeftButton);
            },
            "frmIP");
        trigger("mnuInputs");
        QVERIFY(state().document.saved);  // OK saved it
        state().document.SetSaved(false);
        dialogs().answers.push_back(MsgAnswer::Cancel);
        trigger("mnuFileNew");  // asks; Cancel keeps everything
        QCOMPARE(boxes().at(0), Q("Unsaved Data Exists!|51|Current Inputs have not been Saved!|Do "
                                  "you want to save them first?"));
        QCOMPARE(state().document.currentFileName, client.toStdString());
        const QString saved = path("saved.cld");
        dialogs().answers.push_back(MsgAnswer::Yes);  // Yes: Save As first, then the Open dialog
        dialogs().files.push_back({saved});
        dialogs().files.push_back({QString()});
        trigger("mnuFileOpen");
        QVERIFY(QFile::exists(saved) && state().document.saved);
        QCOMPARE(boxes().size(), 3);
        QCOMPARE(boxes().at(2), Q("WARNING|16|Filename Empty!"));
    }

    void theResultsFollowTheFormAndNextYearStartsFromThem() {
        const QString client = openClientFile();
        auto* panel = static_cast<caldren::results::ResultsPanel*>(
            m_window->findChild<QWidget*>(Q("ResultsPanel")));
        QVERIFY(panel->resultsText().contains(Q("Available Working Capital")));
        QString whileTyping;
        dialogs().answers.push_back(MsgAnswer::Yes);  // Discard the changes
        guitest::WhenModalShows(
            [&whileTyping, panel](QWidget* modal) {
                modal->findChild<QLineEdit*>(Q("txtCurAssets"))->setText(Q("654321"));
                QCoreApplication::processEvents();
                whileTyping = panel->resultsText();
                QTest::mouseClick(modal->findChild<QPushButton*>(Q("btnCancel")), Qt::LeftButton);
            },
            "frmIP");
        trigger("mnuInputs");
        QVERIFY2(whileTyping.contains(Q("$654,321")), qPrintable(whileTyping));
        QCoreApplication::processEvents();
        QVERIFY(!panel->resultsText().contains(Q("$654,321")));  // cancelled
        QLineEdit* line2 = nullptr;  // next year's second line, offered in the form
        guitest::WhenModalShows(
            [&line2](QWidget* modal) {
                line2 = modal->findChild<QLineEdit*>(Q("txtLine2"));
                QVERIFY(line2->isVisible() && line2->isEnabled() && !line2->isReadOnly());
                QCOMPARE(line2->text(), Q("Year Ended December 31, 2003"));
                modal->close();
            },
            "frmIP");
        trigger("mnuFileNewYear");
        QVERIFY(line2);
        QCOMPARE(state().document.currentFileName, path("client2003.cld").toStdString());
        QCOMPARE(state().document.engine->get_EOYCurrent() + state().document.engine->get_sName(),
                 std::string("12/31/2003Client Co"));
        QVERIFY(!state().document.saved && !QFile::exists(path("client2003.cld")));
        QCOMPARE(bytesOf(client).contains("Net Sales=900,000"), true);
    }

    void aFailedOpenKeepsTheCurrentFile_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("fileText");  // empty: no such file
        QTest::addColumn<QString>("message");
        QTest::newRow("missing, Open dialog") << Q("dialog") << QString() << Q(" does not exist.");
        QTest::newRow("missing recent entry") << Q("recent") << QString() << Q(" does not exist.");
        QTest::newRow("refused entry")
            << Q("dialog") << Q("Net Sales=7,9x0,000")
            << Q("Entry \"Net Sales=7,9x0,000\"|This item needs to be a number.");
        QTest::newRow("malformed count")
            << Q("recent") << Q("Monthly Count=twelve") << Q("Entry \"Monthly Count=twelve\"");
        QTest::newRow("garbage") << Q("dialog") << Q("\x01\x02garbage") << Q("could not be opened");
    }
    void aFailedOpenKeepsTheCurrentFile() {
        QFETCH(QString, how);
        QFETCH(QString, fileText);
        QFETCH(QString, message);
        const QString client = openClientFile();
        const QByteArray clientBytes = bytesOf(client);
        const QString other = path("other.cld");
        if (!fileText.isEmpty()) {
            QByteArray bytes = clientBytes;
            if (fileText.startsWith(Q("Net Sales")))
                bytes.replace("Net Sales=900,000", fileText.toUtf8());
            else if (fileText.startsWith(Q("Monthly")))
                bytes.replace("Monthly Count=0", fileText.toUtf8());
            else
                bytes = fileText.toUtf8();
            QFile f(other);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        boxes().clear();
        if (how == Q("dialog")) {
            dialogs().files.push_back({other});
            trigger("mnuFileOpen");
        } else {
            state().preferences.recentFiles[1] = other.toStdString();
            m_window->findChildren<QAction*>(Q("mnuFileMRU")).at(1)->trigger();
        }
        QVERIFY(QApplication::activeModalWidget() == nullptr);  // no input form
        QCOMPARE(boxes().size(), 1);
        const QString shown = boxes().at(0);
        QVERIFY2(shown.contains(other) && shown.contains(message), qPrintable(shown));
        QVERIFY(!shown.contains(Q("save your data")));
        QVERIFY(dialogs().ends.isEmpty());
        QCOMPARE(state().document.currentFileName, client.toStdString());
        QCOMPARE(m_window->statusText(), Q("File: ") + client);
        QCOMPARE(state().document.engine->get_sName() + state().document.engine->get_NetSales(),
                 std::string("Client Co900,000"));
        trigger("mnuFileSave");
        QCOMPARE(bytesOf(client), clientBytes);
        QVERIFY(fileText.isEmpty() ? !QFile::exists(other) : bytesOf(other) != clientBytes);
    }

    void aFileOpenElsewhereOpensReadOnlyOrNotAtAll() {
        const QString client = openClientFile();
        const QString lock = path(".client.cld.lock");
        QVERIFY(bytesOf(lock).contains("User="));  // the lock file names this program
        guitest::WhenModalShows([](QWidget* modal) { modal->close(); }, "frmIP");
        trigger("mnuFileNew");
        QVERIFY(!bytesOf(lock).contains("User="));  // given back
        QFile f(lock);                              // another person, on another computer, opens it
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(
            "CaldrenCalc lock "
            "file\r\nUser=bob\r\nHost=elsewhere\r\nPid=4711\r\nSince=1796588103\r\n");
        f.close();
        const QByteArray clientBytes = bytesOf(client);
        dialogs().answers.push_back(MsgAnswer::No);
        dialogs().files.push_back({client});
        trigger("mnuFileOpen");
        QVERIFY(boxes().at(0).startsWith(Q("File in Use|36|") + client +
                                         Q(" is open in CaldrenCalc by bob on elsewhere")));
        QVERIFY(state().document.currentFileName != client.toStdString());
        dialogs().answers.push_back(MsgAnswer::Yes);
        dialogs().files.push_back({client});
        guitest::WhenModalShows([](QWidget* modal) { modal->close(); }, "frmIP");
        trigger("mnuFileOpen");
        QVERIFY(state().document.currentFileName == client.toStdString() &&
                state().document.readOnly);
        const QString bob = Q("open in CaldrenCalc by bob on elsewhere (process 4711) since ");
        QVERIFY(m_window->statusText().startsWith(Q("File: ") + client + Q(" \u2014 read-only, ") +
                                                  bob));
        dialogs().files.push_back({QString()});
        trigger("mnuFileSave");  // read-only: Save is Save As, and the dialog was cancelled
        QVERIFY(boxes().at(2).contains(Q("was opened read-only: it is ") + bob));
        QCOMPARE(dialogs().fileDialogs.last().title, std::string("Save As"));
        dialogs().files.push_back({client});  // Save As onto the name bob has open: refused
        trigger("mnuFileSaveAs");
        QVERIFY(boxes().last().endsWith(Q("Save the analysis under another name.")));
        QCOMPARE(bytesOf(client), clientBytes);
        QVERIFY(bytesOf(lock).contains("User=bob"));
        dialogs().files.push_back({path("mine.cld")});  // under a name of its own: writable again
        trigger("mnuFileSaveAs");
        QVERIFY(bytesOf(path(".mine.cld.lock")).contains("User=") && !state().document.readOnly);
        guitest::WhenModalShows([](QWidget* modal) { modal->close(); }, "frmIP");
        trigger("mnuFileNew");  // the file now held is given back
        QVERIFY(!bytesOf(path(".mine.cld.lock")).contains("User="));
    }

    void reportsOnAnEmptyAnalysisAndEscInTheChoices() {
        state().preferences.dataFilePath = m_dir.path().toStdString();
        guitest::WhenModalShows([](QWidget* modal) { modal->close(); }, "frmIP");
        trigger("mnuFileNew");
        int choices = 0;
        dialogs().modal = [&choices](QDialog& d) {
            ++choices;
            static_cast<dlgRptChoices&>(d).btnOK->click();
            return d.result();
        };
        trigger("mnuViewReports");
        QCOMPARE(boxes(), QStringList{Q("Notice|48|") + QString::fromUtf8(Reports::kNoDataNotice)});
        // Figures, but no net sales: the message names the input to fix.
        state().document.engine->BeginEdit();
        state().document.engine->put_CurAssets("5000");
        trigger("mnuViewReports");
        QCOMPARE(boxes().size(), 2);
        QVERIFY(boxes().at(1).contains(Q("Net Sales is zero")));
        QVERIFY(dialogs().ends.isEmpty());
        // Esc in the report choices is Cancel: nothing is built, and nothing is ticked next time.
        dialogs().modal = [&choices](QDialog& d) {
            ++choices;
            QTest::keyClick(&d, Qt::Key_Escape);
            return d.result();
        };
        trigger("mnuViewReports");
        QCOMPARE(choices, 3);
        QCOMPARE(boxes().size(), 2);
        QVERIFY(bytesOf(path("CaldrenCalc.ini")).contains("Summary Report=0\r\n"));
    }

    // The report options: ticked as the settings stand when the menu opens; a click stores both.
    void theReportOptionsAreStored() {
        state().preferences.reportFileHeadings = true;
        auto* options = m_window->findChild<QMenu*>(Q("mnuOptions"));
        emit options->aboutToShow();
        auto* headings = m_window->findChild<QAction*>(Q("mnuOptionsReportHeadings"));
        QVERIFY(headings->isChecked());
        trigger("mnuOptionsCorrectedWording");
        QVERIFY(state().preferences.correctedWording);
        QVERIFY(bytesOf(path("CaldrenCalc.ini"))
                    .contains("Report File Headings=1\r\nCorrected Report Wording=1\r\n"));
        trigger("mnuOptionsReportHeadings");
        QVERIFY(!state().preferences.reportFileHeadings);
        QVERIFY(bytesOf(path("CaldrenCalc.ini")).contains("Report File Headings=0\r\n"));
    }

    // The chooser's buttons and their answers; the About box's texts, its web pages and the
    // system information tool (the first of those known that is installed), or a message.
    void theChooserAndTheAboutBox() {
        QStringList seen;
        for (const char* name : {"btnNew", "btnOld", "btnMain"}) {
            state().options.startChoice = 0;
            caldren::gui::frmStartUp chooser(state().options);
            chooser.show();
            QTest::mouseClick(chooser.findChild<QPushButton*>(Q(name)), Qt::LeftButton);
            seen << guitest::Texts(&chooser)
                 << guitest::Line(chooser.isVisible(), state().options.startChoice);
        }
        caldren::gui::frmAbout about(state().program, dialogs(), m_window.get());
        seen << guitest::Texts(&about)
             << guitest::Line(about.isModal(), about.parentWidget() == m_window.get());
        dialogs().programs =
            QStringList{Q("/usr/bin/gnome-system-monitor"), Q("/usr/bin/hardinfo")};
        for (const char* name : {"cmdSysInfo", "btnInfoWWW", "btnOLS", "cmdSysInfo"}) {
            QTest::mouseClick(about.findChild<QPushButton*>(Q(name)), Qt::LeftButton);
            dialogs().programs.clear();  // the second time, no tool is installed
        }
        seen << dialogs().opened << boxes();
        guitest::ExpectTranscript(Q("theChooserAndTheAboutBox"), seen);
    }

    void interactiveStarts_data() {
        QTest::addColumn<QString>("startFile");  // a data file named alone on the command line
        QTest::addColumn<QString>("seen");
        QTest::newRow("main window")
            << QString() << Q("frmAbout|frmStartUp|File: /given/on/the/line.cld");
        QTest::newRow("file named alone") << Q("DEMO.CLD") << Q("frmAbout|frmIP|File: %1/DEMO.CLD");
        QTest::newRow("missing file named alone") << Q("gone.cld") << Q("frmAbout|File: ");
    }
    void interactiveStarts() {
        QFETCH(QString, startFile);
        QFETCH(QString, seen);
        m_window.reset();
        QTemporaryDir folder;
        QVERIFY(QFile::copy(Q(CALDREN_DEMO_SOURCE), folder.filePath(Q("DEMO.CLD"))));
        state().program.programFolder = folder.path().toStdString();
        state().preferences.settingsFilePath.clear();
        state().document.currentFileName = startFile.isEmpty() ? "/given/on/the/line.cld" : "";
        state().options.startFile =
            startFile.isEmpty() ? "" : folder.filePath(startFile).toStdString();
        dialogs().clock = 86399;
        QStringList shown;
        std::function<void()> step = [&shown, &step] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal->objectName() == Q("frmAbout")) {
                shown << modal->objectName();
                QTest::mouseClick(modal->findChild<QPushButton*>(Q("cmdOK")), Qt::LeftButton);
            } else if (modal && modal->objectName() == Q("frmStartUp")) {
                shown << modal->objectName();
                QTest::mouseClick(modal->findChild<QPushButton*>(Q("btnMain")), Qt::LeftButton);
            } else if (modal && modal->isVisible()) {
                shown << modal->objectName();
                modal->close();
            } else if (auto* main = dynamic_cast<frmMain*>(QApplication::activeWindow())) {
                shown << main->statusText();
                main->close();
                return;
            }
            QTimer::singleShot(10, step);
        };
        QTimer::singleShot(0, step);
        caldren::gui::RunInteractive(state(), dialogs());
        QCOMPARE(shown.join(QLatin1Char('|')), QString(seen).replace(Q("%1"), folder.path()));
        QCOMPARE(dialogs().ends, QList<int>{0});
        QVERIFY(QFile::exists(folder.filePath(Q("CaldrenCalc.ini"))));
        QCOMPARE(state().options.startTime, 86399);  // the clock the end time is taken from
    }
};

GUITEST_MAIN(TestMainWindow)
#include "tst_mainWindow.moc"
