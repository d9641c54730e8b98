// The main window, the start-up chooser, the About box and the interactive start, driven
// through their real widgets on the real engine and real files, every dialog answered by
// the seams: the frame, the file commands and what they do to the client's files and the
// settings file, failed opens, report commands on an empty analysis.
#include "GuiTestSupport.h"

#include "app/core/FileOperations.h"
#include "app/core/Settings.h"
#include "app/gui/Desktop.h"
#include "app/gui/ErrorDialogs.h"
#include "app/gui/frmAbout.h"
#include "app/gui/frmMain.h"
#include "app/gui/frmStartUp.h"
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
int RunInteractive(RunState& state);
}

using caldren::frmMain;
using caldren::MsgAnswer;
using caldren::gui::FileDialog;
using caldren::gui::MessageBox;
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
    std::function<int(QDialog&)> m_runModal;

    caldren::RunState& state() { return m_session->state; }
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
        caldren::FileOperations::Save(state(), file.toStdString());
        state().document.engine =
            activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
        guitest::WhenModalShows([](QWidget* modal) { modal->close(); }, "frmIP");
        FileDialog::setNextFileName(file);
        trigger("mnuFileOpen");
        return file;
    }

private slots:
    void init() {
        m_session = std::make_unique<guitest::Session>();
        state().preferences.settingsFilePath = path("CaldrenCalc.ini").toStdString();
        state().program.errorLogPath = path("CLD_err.log").toStdString();
        state().program.errorReporter =
            std::make_shared<errorreporter::ErrorReporter>(caldren::gui::MakeQtErrorPresenter());
        caldren::gui::NoteRunState(state());
        QSettings store = placementStore();
        store.clear();
        m_window = std::make_unique<frmMain>(state(), *m_session->ui);
        m_session->ui->setMainWindow(m_window.get());
        m_runModal = caldren::gui::Seams().runModal;
    }
    void cleanup() {
        caldren::gui::Seams().runModal = m_runModal;
        m_window.reset();
        m_session.reset();
    }

    void theFrame() {
        QCOMPARE(m_window->windowTitle(), Q("Orlen Caldren Formula Calculator"));
        QStringList menus, file, tools;
        for (QAction* entry : m_window->menuBar()->actions()) menus << entry->text();
        QCOMPARE(menus.join(QLatin1Char('|')), Q("&File|&Inputs|&View|&Options|&Help"));
        for (QAction* entry : m_window->findChild<QMenu*>(Q("mnuFile"))->actions())
            file << (entry->isSeparator() ? Q("-")
                                          : entry->objectName() + QLatin1Char('=') + entry->text());
        QCOMPARE(
            file.join(QLatin1Char('|')),
            Q("mnuFileNew=&New|mnuFileOpen=&Open...|-|mnuFileSave=&Save|mnuFileSaveAs=Save &As...|"
              "mnuFileNewYear=New &Year from This Analysis...|-|"
              "mnuFilePrintPreview=Print Pre&view|mnuFilePrint=&Print...|-|mnuFileMRU=|mnuFileMRU=|"
              "mnuFileMRU=|mnuFileMRU=|mnuFileMRU=|-|mnuFileExit=E&xit"));
        const char* const others[][2] = {{"mnuViewReports", "&Reports..."},
                                         {"mnuOptionsFonts", "&Fonts..."},
                                         {"mnuHelpContents", "&Contents"},
                                         {"mnuHelpAbout", "&About "},
                                         {"mnuHelpSearchForHelpOn", "&Search For Help On..."}};
        for (const auto& [name, caption] : others)
            QCOMPARE(m_window->findChild<QAction*>(Q(name))->text(), Q(caption));
        for (QAction* button : m_window->findChild<QToolBar*>(Q("tbToolBar"))->actions())
            if (!button->isSeparator() && !button->icon().isNull() &&
                button->toolTip() == button->data())
                tools << button->data().toString();
        QCOMPARE(tools.join(QLatin1Char('|')), Q("New|Open|Save|Input|Preview|Print|Help"));
        m_session->ui->SetStatusText("File: /tmp/acme.cld");
        QCOMPARE(m_window->findChild<QLabel*>(Q("sbPanel1"))->text(), Q("File: /tmp/acme.cld"));
        const auto entries = m_window->findChildren<QAction*>(Q("mnuFileMRU"));
        auto* separator = m_window->findChild<QAction*>(Q("mnuFileMRUSep"));
        QVERIFY(!entries.at(0)->isVisible() && !separator->isVisible());
        m_session->ui->SetRecentEntry(1, "&1 /tmp/acme.cld", true);
        m_session->ui->SetRecentSeparatorVisible(true);
        QVERIFY(entries.at(0)->isVisible() && separator->isVisible());
        QCOMPARE(entries.at(0)->text(), Q("&1 /tmp/acme.cld"));
    }

    void commandsReachTheirWindows() {
        int views = 0, prints = 0, helps = 0;
        caldren::gui::Hooks().viewReports = [&](caldren::RunState&, QWidget* parent) {
            views += parent == m_window.get();
        };
        caldren::gui::Hooks().printReports = [&](caldren::RunState&, QWidget*) { ++prints; };
        caldren::gui::Hooks().helpContents = [&](caldren::RunState&, QWidget*) { ++helps; };
        caldren::gui::Hooks().optionsFonts = nullptr;
        for (const char* name : {"tbPreview", "tbPrint", "tbHelp", "mnuFilePrintPreview",
                                 "mnuViewReports", "mnuOptionsFonts"})
            trigger(name);
        m_window->toolClick(Q("Unknown"));
        QCOMPARE(QString::number(views) + QString::number(prints) + QString::number(helps),
                 Q("311"));
        QCOMPARE(MessageBox::history().size(), 1);
        QCOMPARE(MessageBox::history().at(0).text,
                 Q("Choosing the report font is not available yet."));
        QString shown;
        guitest::WhenModalShows(
            [&shown](QWidget* modal) {
                shown = modal->objectName();
                modal->close();
            },
            "frmIP");
        trigger("tbInput");
        QCOMPARE(shown, Q("frmIP"));
        QCOMPARE(FileDialog::nameFilters("Data Files(*.CLD)|*.CLD|All Files(*.*)|*.*||"),
                 (QStringList{Q("Data Files(*.CLD) (*.CLD *.cld)"), Q("All Files(*.*) (*)")}));
    }

    void placementInTwips() {
        QCOMPARE(m_window->geometry().topLeft(), QPoint(67, 67));  // 1000 twips
        QCOMPARE(m_window->size(), QSize(433, 433));               // 6500 twips
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_window->move(120, 90);
        m_window->resize(640, 480);
        trigger("mnuFileExit");
        QCOMPARE(m_session->shutDowns, 1);
        QCOMPARE(m_session->lastSaveFirst, false);
        QSettings store = placementStore();
        QCOMPARE(store.value(Q("Settings/MainLeft")).toString() +
                     store.value(Q("Settings/MainWidth")).toString(),
                 Q("18009600"));
        frmMain again(state(), *m_session->ui);
        QCOMPARE(again.pos(), QPoint(120, 90));
        QCOMPARE(again.size(), QSize(640, 480));
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
        FileDialog::setNextFileName(QString());
        trigger("mnuFileSave");
        QCOMPARE(FileDialog::history().at(0).title, std::string("Save As"));
        QCOMPARE(MessageBox::history().at(0).text, Q("Filename Empty!"));
        QCOMPARE(MessageBox::history().at(0).style, int(caldren::kCritical));
        QCOMPARE(m_session->shutDowns + m_session->errorsAndQuit, 0);
        QVERIFY(!bytesOf(path("CaldrenCalc.ini")).contains("Data File Path"));
        FileDialog::setNextFileName(QString());
        trigger("mnuViewReports");  // a report run saves first: Save As too, and then nothing
        QCOMPARE(FileDialog::history().size(), 2);
        QCOMPARE(FileDialog::history().at(1).title, std::string("Save As"));
        QCOMPARE(m_session->shutDowns + m_session->errorsAndQuit, 0);
        const QString first = path("first.cld");
        FileDialog::setNextFileName(first);
        trigger("tbSave");
        QVERIFY(QFile::exists(first));
        QCOMPARE(m_window->statusText(), Q("File: ") + first);
        QVERIFY(bytesOf(path("CaldrenCalc.ini"))
                    .contains("Data File Path=" + m_dir.path().toUtf8() + "\r\n"));
        // Save writes the named file without asking; Save As to another name.
        trigger("mnuFileSave");
        QCOMPARE(FileDialog::history().size(), 3);
        const QString second = path("second.cld");
        FileDialog::setNextFileName(second);
        trigger("mnuFileSaveAs");
        QVERIFY(bytesOf(second).contains("Version=CLD2026.12\r\n"));
        QCOMPARE(FileDialog::history().at(3).initialName, first.toStdString());
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
        MessageBox::setNextAnswer(MsgAnswer::Cancel);
        trigger("mnuFileNew");  // asks; Cancel keeps everything
        QCOMPARE(MessageBox::history().at(0).title + MessageBox::history().at(0).text,
                 Q("Unsaved Data Exists!Current Inputs have not been Saved!\nDo you want to save "
                   "them first?"));
        QCOMPARE(MessageBox::history().at(0).style,
                 int(caldren::kYesNoCancel | caldren::kExclamation));
        QCOMPARE(state().document.currentFileName, client.toStdString());
        const QString saved = path("saved.cld");
        MessageBox::setNextAnswer(MsgAnswer::Yes);  // Yes: Save As first, then the Open dialog
        FileDialog::setNextFileName(saved);
        FileDialog::setNextFileName(QString());
        trigger("mnuFileOpen");
        QVERIFY(QFile::exists(saved) && state().document.saved);
        QCOMPARE(MessageBox::history().size(), 3);
        QCOMPARE(MessageBox::history().at(2).text + MessageBox::history().at(2).title,
                 Q("Filename Empty!WARNING"));
    }

    void theResultsFollowTheFormAndNextYearStartsFromThem() {
        const QString client = openClientFile();
        auto* panel =
            static_cast<caldren::ResultsPanel*>(m_window->findChild<QWidget*>(Q("ResultsPanel")));
        QVERIFY(panel->resultsText().contains(Q("Available Working Capital")));
        QString whileTyping;
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
        guitest::WhenModalShows([](QWidget* modal) { modal->close(); }, "frmIP");
        trigger("mnuFileNewYear");
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
            << Q("Entry \"Net Sales=7,9x0,000\"\nThis item needs to be a number.");
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
        MessageBox::history().clear();
        if (how == Q("dialog")) {
            FileDialog::setNextFileName(other);
            trigger("mnuFileOpen");
        } else {
            state().preferences.recentFiles[1] = other.toStdString();
            m_window->findChildren<QAction*>(Q("mnuFileMRU")).at(1)->trigger();
        }
        QVERIFY(QApplication::activeModalWidget() == nullptr);  // no input form
        QCOMPARE(MessageBox::history().size(), 1);
        const QString shown = MessageBox::history().at(0).text;
        QVERIFY2(shown.contains(other) && shown.contains(message), qPrintable(shown));
        QVERIFY(!shown.contains(Q("save your data")));
        QCOMPARE(m_session->shutDowns + m_session->errorsAndQuit, 0);
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
        MessageBox::setNextAnswer(MsgAnswer::No);
        FileDialog::setNextFileName(client);
        trigger("mnuFileOpen");
        QVERIFY(MessageBox::history().at(0).text.startsWith(
            client + Q(" is open in CaldrenCalc by bob on elsewhere")));
        QCOMPARE(MessageBox::history().at(0).title, Q("File in Use"));
        QVERIFY(state().document.currentFileName != client.toStdString());
        MessageBox::setNextAnswer(MsgAnswer::Yes);
        FileDialog::setNextFileName(client);
        guitest::WhenModalShows([](QWidget* modal) { modal->close(); }, "frmIP");
        trigger("mnuFileOpen");
        QVERIFY(state().document.currentFileName == client.toStdString() &&
                state().document.readOnly);
        FileDialog::setNextFileName(QString());
        trigger("mnuFileSave");  // read-only: Save is Save As, and the dialog was cancelled
        QVERIFY(MessageBox::history().at(2).text.contains(Q("was opened read-only")));
        QCOMPARE(FileDialog::history().last().title, std::string("Save As"));
        FileDialog::setNextFileName(client);  // Save As onto the name bob has open: refused
        trigger("mnuFileSaveAs");
        QVERIFY(
            MessageBox::history().last().text.endsWith(Q("Save the analysis under another name.")));
        QCOMPARE(bytesOf(client), clientBytes);
        QVERIFY(bytesOf(lock).contains("User=bob"));
        FileDialog::setNextFileName(path("mine.cld"));  // under a name of its own: writable again
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
        caldren::gui::Seams().runModal = [&choices](QDialog& d) {
            ++choices;
            static_cast<dlgRptChoices&>(d).btnOK->click();
            return d.result();
        };
        trigger("mnuViewReports");
        QCOMPARE(MessageBox::history().size(), 1);
        QCOMPARE(MessageBox::history().at(0).title, Q("Notice"));
        QCOMPARE(MessageBox::history().at(0).text, QString::fromUtf8(Reports::kNoDataNotice));
        // Figures, but no net sales: the message names the input to fix.
        state().document.engine->BeginEdit();
        state().document.engine->put_CurAssets("5000");
        trigger("mnuViewReports");
        QCOMPARE(MessageBox::history().size(), 2);
        QVERIFY(MessageBox::history().at(1).text.contains(Q("Net Sales is zero")));
        QCOMPARE(m_session->shutDowns + m_session->errorsAndQuit, 0);
        // Esc in the report choices is Cancel: nothing is built, and nothing is ticked next time.
        caldren::gui::Seams().runModal = [&choices](QDialog& d) {
            ++choices;
            QTest::keyClick(&d, Qt::Key_Escape);
            return d.result();
        };
        trigger("mnuViewReports");
        QCOMPARE(choices, 3);
        QCOMPARE(MessageBox::history().size(), 2);
        QVERIFY(bytesOf(path("CaldrenCalc.ini")).contains("Summary Report=0\r\n"));
    }

    void theChooserAndTheAboutBox() {
        const char* const buttons[][2] = {
            {"btnNew", "&New Scenario"}, {"btnOld", "&Old Scenario"}, {"btnMain", "&Main Window"}};
        for (int choice = 0; choice < 3; ++choice) {
            state().options.startChoice = 0;
            caldren::frmStartUp chooser(state());
            QCOMPARE(chooser.windowTitle(), Q("Startup Options"));
            auto* button = chooser.findChild<QPushButton*>(Q(buttons[choice][0]));
            QCOMPARE(button->text(), Q(buttons[choice][1]));
            chooser.show();
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY(!chooser.isVisible());
            QCOMPARE(int(state().options.startChoice), (choice + 1) % 3);
        }
        caldren::frmAbout about(state(), m_window.get());
        const char* const labels[][2] = {{"lblTitle", "Caldren Formula Calculator"},
                                         {"lblVersion", "Version: CLD2026.12.1"},
                                         {"cmdOK", "Run Program"},
                                         {"cmdSysInfo", "&System Info..."},
                                         {"btnInfoWWW", "Go to program Home Page"},
                                         {"btnOLS", "Go to Online Store"}};
        QCOMPARE(about.windowTitle(), Q("About Caldren Formula Calculator"));
        for (const auto& [name, text] : labels)
            QCOMPARE(about.findChild<QWidget*>(Q(name))->property("text").toString(), Q(text));
        const char* const prefixes[][2] = {{"lblPhone", "Phone: "},
                                           {"lblFAX", "FAX: "},
                                           {"lblInfoURL", "Information: "},
                                           {"lblSalesURL", "Online Sales: "},
                                           {"lblEmail", "email: "},
                                           {"lblStreet", ""},
                                           {"lblCityState", ""}};
        for (const auto& [name, prefix] : prefixes) {
            const QString text = about.findChild<QLabel*>(Q(name))->text();
            QVERIFY2(text.startsWith(Q(prefix)) && text.size() > int(qstrlen(prefix)), name);
        }
        QVERIFY(about.isModal() && about.parentWidget() == m_window.get());
        QList<QUrl> opened;
        caldren::gui::Desktop::setUrlOpener(
            [&opened](const QUrl& url) { return opened << url, true; });
        QTest::mouseClick(about.findChild<QPushButton*>(Q("btnInfoWWW")), Qt::LeftButton);
        QTest::mouseClick(about.findChild<QPushButton*>(Q("btnOLS")), Qt::LeftButton);
        caldren::gui::Desktop::setUrlOpener({});
        QVERIFY(opened.size() == 2 && opened.at(0) != opened.at(1));
        QStringList started;
        caldren::gui::Desktop::setProgramFinder([](const QString& name) {
            return name == Q("hardinfo") ? Q("/usr/bin/hardinfo") : QString();
        });
        caldren::gui::Desktop::setProgramStarter(
            [&started](const QString& program, const QStringList&) {
                return started << program, true;
            });
        QTest::mouseClick(about.findChild<QPushButton*>(Q("cmdSysInfo")), Qt::LeftButton);
        caldren::gui::Desktop::setProgramFinder([](const QString&) { return QString(); });
        QTest::mouseClick(about.findChild<QPushButton*>(Q("cmdSysInfo")), Qt::LeftButton);
        caldren::gui::Desktop::setProgramFinder({});
        caldren::gui::Desktop::setProgramStarter({});
        QCOMPARE(started, QStringList{Q("/usr/bin/hardinfo")});
        QCOMPARE(MessageBox::history().size(), 1);
        QCOMPARE(MessageBox::history().at(0).text,
                 Q("System Information Is Unavailable At This Time"));
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
        caldren::gui::Seams().clock = [] { return 86399; };
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
        caldren::gui::RunInteractive(state());
        caldren::gui::Seams().clock = &caldren::gui::SecondsSinceMidnight;
        QCOMPARE(shown.join(QLatin1Char('|')), QString(seen).replace(Q("%1"), folder.path()));
        QCOMPARE(m_session->shutDowns, 1);
        QCOMPARE(m_session->errorsAndQuit, 0);
        QVERIFY(QFile::exists(folder.filePath(Q("CaldrenCalc.ini"))));
        QCOMPARE(state().options.startTime, 86399);  // the clock the end time is taken from
    }
};

GUITEST_MAIN(TestMainWindow)
#include "tst_mainWindow.moc"
