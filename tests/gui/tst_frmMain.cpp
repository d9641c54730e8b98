// The main window, the start-up chooser, the About box, the Qt Ui and the interactive
// start, driven through their real widgets with every dialog answered by the seams.
#include "GuiTestSupport.h"

#include "app/core/FileOperations.h"
#include "app/gui/Desktop.h"
#include "app/gui/HelpSupport.h"
#include "app/gui/frmAbout.h"
#include "app/gui/frmMain.h"
#include "app/gui/frmStartUp.h"
#include "app/input/frmIP.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>
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
}  // namespace

class TestFrmMain : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<guitest::Session> m_session;
    QTemporaryDir m_dir;
    caldren::RunState& state() { return m_session->state; }

    QAction* action(QWidget* window, const char* name) {
        auto* found = window->findChild<QAction*>(Q(name));
        if (!found)
            qFatal("no action %s", name);
        return found;
    }

private slots:
    void init() {
        m_session = std::make_unique<guitest::Session>();
        QSettings store = placementStore();
        store.clear();
        store.sync();
    }
    void cleanup() { m_session.reset(); }

    void menuCaptions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        const char* const rows[][2] = {
            {"mnuFileNew", "&New"},
            {"mnuFileOpen", "&Open..."},
            {"mnuFileSave", "&Save"},
            {"mnuFileSaveAs", "Save &As..."},
            {"mnuFilePrintPreview", "Print Pre&view"},
            {"mnuFilePrint", "&Print..."},
            {"mnuFileExit", "E&xit"},
            {"mnuInputs", "&Inputs"},
            {"mnuViewReports", "&Reports..."},
            {"mnuOptionsFonts", "&Fonts..."},
            {"mnuHelpContents", "&Contents"},
            {"mnuHelpSearchForHelpOn", "&Search For Help On..."},
            {"mnuHelpAbout", "&About "},
        };
        for (const auto& row : rows)
            QTest::newRow(row[0]) << Q(row[0]) << Q(row[1]);
    }
    void menuCaptions() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        frmMain window(state(), *m_session->ui);
        QCOMPARE(action(&window, name.toUtf8().constData())->text(), caption);
    }

    void menusInOrder() {
        frmMain window(state(), *m_session->ui);
        QCOMPARE(window.windowTitle(), Q("Orlen Caldren Formula Calculator"));
        QStringList titles;
        for (QAction* entry : window.menuBar()->actions())
            titles << entry->text();
        QCOMPARE(titles, (QStringList{Q("&File"), Q("&Inputs"), Q("&View"), Q("&Options"), Q("&Help")}));
        auto* file = window.findChild<QMenu*>(Q("mnuFile"));
        QStringList entries;
        for (QAction* entry : file->actions())
            entries << (entry->isSeparator() ? Q("-") : entry->objectName());
        QCOMPARE(entries, (QStringList{Q("mnuFileNew"), Q("mnuFileOpen"), Q("-"), Q("mnuFileSave"),
                                       Q("mnuFileSaveAs"), Q("-"), Q("mnuFilePrintPreview"),
                                       Q("mnuFilePrint"), Q("-"), Q("mnuFileMRU"), Q("mnuFileMRU"),
                                       Q("mnuFileMRU"), Q("mnuFileMRU"), Q("mnuFileMRU"), Q("-"),
                                       Q("mnuFileExit")}));
    }

    void toolStripKeys() {
        frmMain window(state(), *m_session->ui);
        auto* strip = window.findChild<QToolBar*>(Q("tbToolBar"));
        QVERIFY(strip);
        QStringList keys, tips;
        for (QAction* button : strip->actions()) {
            if (button->isSeparator())
                continue;
            keys << button->data().toString();
            tips << button->toolTip();
            QVERIFY(!button->icon().isNull());
        }
        const QStringList expected{Q("New"), Q("Open"), Q("Save"), Q("Input"), Q("Preview"), Q("Print"), Q("Help")};
        QCOMPARE(keys, expected);
        QCOMPARE(tips, expected);
    }

    void toolKeysDispatch() {
        frmMain window(state(), *m_session->ui);
        int views = 0, prints = 0, helps = 0;
        caldren::gui::Hooks().viewReports = [&](caldren::RunState&, QWidget* parent) {
            QCOMPARE(parent, static_cast<QWidget*>(&window));
            ++views;
        };
        caldren::gui::Hooks().printReports = [&](caldren::RunState&, QWidget*) { ++prints; };
        caldren::gui::Hooks().helpContents = [&](caldren::RunState&, QWidget*) { ++helps; };
        window.findChild<QAction*>(Q("tbPreview"))->trigger();
        window.findChild<QAction*>(Q("tbPrint"))->trigger();
        window.findChild<QAction*>(Q("tbHelp"))->trigger();
        action(&window, "mnuFilePrintPreview")->trigger();
        action(&window, "mnuViewReports")->trigger();
        window.toolClick(Q("Unknown"));
        QCOMPARE(views, 3);
        QCOMPARE(prints, 1);
        QCOMPARE(helps, 1);
        QVERIFY(MessageBox::history().isEmpty());
    }

    void saveAndSaveAs() {
        frmMain window(state(), *m_session->ui);
        m_session->ui->setMainWindow(&window);
        state().versionTag = "CLD2026.12";
        const QString first = m_dir.filePath(Q("first.cld"));
        state().currentFileName = first.toStdString();
        window.findChild<QAction*>(Q("tbSave"))->trigger();  // the tool key "Save"
        QVERIFY(QFile::exists(first));
        QVERIFY(FileDialog::history().isEmpty());

        // A change, then Save As under another name.
        state().engine->BeginEdit();
        state().engine->put_NetSales("10");
        const QString second = m_dir.filePath(Q("second.cld"));
        FileDialog::setNextFileName(second);
        action(&window, "mnuFileSaveAs")->trigger();
        QVERIFY(QFile::exists(second));
        QCOMPARE(FileDialog::history().size(), 1);
        QCOMPARE(FileDialog::history().at(0).title, std::string("Save As"));
        QCOMPARE(FileDialog::history().at(0).initialName, first.toStdString());
        QCOMPARE(FileDialog::history().at(0).defaultExtension, std::string("CLD"));
        QCOMPARE(window.statusText(), Q("File: ") + second);

        // Cancelled: "Filename Empty!" and nothing else.
        FileDialog::setNextFileName(QString());
        action(&window, "mnuFileSaveAs")->trigger();
        QCOMPARE(MessageBox::history().size(), 1);
        QCOMPARE(MessageBox::history().at(0).text, Q("Filename Empty!"));
        QCOMPARE(MessageBox::history().at(0).style, int(caldren::kCritical));
        QCOMPARE(state().currentFileName, second.toStdString());
    }

    void theInputKeyOpensTheForm() {
        frmMain window(state(), *m_session->ui);
        QString shown;
        guitest::WhenModalShows([&shown](QWidget* modal) {
            shown = modal->objectName();
            modal->close();
        }, "frmIP");
        window.findChild<QAction*>(Q("tbInput"))->trigger();
        QCOMPARE(shown, Q("frmIP"));
    }

    void aCommandWithoutItsWindowSaysSo() {
        frmMain window(state(), *m_session->ui);
        caldren::gui::Hooks().optionsFonts = nullptr;
        action(&window, "mnuOptionsFonts")->trigger();
        QCOMPARE(MessageBox::history().size(), 1);
        QCOMPARE(MessageBox::history().at(0).text, Q("Choosing the report font is not available yet."));
    }

    void searchForHelpOn() {
        frmMain window(state(), *m_session->ui);
        action(&window, "mnuHelpSearchForHelpOn")->trigger();
        QCOMPARE(MessageBox::history().size(), 1);
        QCOMPARE(MessageBox::history().at(0).text,
                 Q("The help file is a searchable PDF file. Menu choice Help - Contents."));
        QCOMPARE(MessageBox::history().at(0).style, int(caldren::kOkOnly));
    }

    void statusLineAndRecentEntries() {
        frmMain window(state(), *m_session->ui);
        m_session->ui->setMainWindow(&window);
        m_session->ui->SetStatusText("File: /tmp/acme.cld");
        QCOMPARE(window.statusText(), Q("File: /tmp/acme.cld"));
        QCOMPARE(window.findChild<QLabel*>(Q("sbPanel1"))->text(), Q("File: /tmp/acme.cld"));

        const auto entries = window.findChildren<QAction*>(Q("mnuFileMRU"));
        QCOMPARE(entries.size(), 5);
        auto* separator = window.findChild<QAction*>(Q("mnuFileMRUSep"));
        for (QAction* entry : entries)
            QVERIFY(!entry->isVisible());
        QVERIFY(!separator->isVisible());
        m_session->ui->SetRecentEntry(1, "&1 /tmp/acme.cld", true);
        m_session->ui->SetRecentSeparatorVisible(true);
        QCOMPARE(entries.at(0)->text(), Q("&1 /tmp/acme.cld"));
        QVERIFY(entries.at(0)->isVisible());
        QVERIFY(separator->isVisible());
        m_session->ui->SetRecentEntry(1, "", false);
        QVERIFY(!entries.at(0)->isVisible());
    }

    void defaultPlacement() {
        frmMain window(state(), *m_session->ui);
        QCOMPARE(window.pos(), QPoint(67, 67));  // 1000 twips
        QCOMPARE(window.size(), QSize(433, 433));  // 6500 twips
    }

    void placementSavedAndRestored() {
        {
            frmMain window(state(), *m_session->ui);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            window.move(120, 90);
            window.resize(640, 480);
            QCoreApplication::processEvents();
            window.close();
        }
        QCOMPARE(m_session->shutDowns, 1);
        QCOMPARE(m_session->lastSaveFirst, false);
        QSettings store = placementStore();
        store.beginGroup(Q("Settings"));
        QCOMPARE(store.value(Q("MainLeft")).toString(), Q("1800"));
        QCOMPARE(store.value(Q("MainTop")).toString(), Q("1350"));
        QCOMPARE(store.value(Q("MainWidth")).toString(), Q("9600"));
        QCOMPARE(store.value(Q("MainHeight")).toString(), Q("7200"));
        frmMain again(state(), *m_session->ui);
        QCOMPARE(again.pos(), QPoint(120, 90));
        QCOMPARE(again.size(), QSize(640, 480));
    }

    void placementNotSavedWhenMinimized() {
        {
            QSettings store = placementStore();
            store.setValue(Q("Settings/MainLeft"), Q("3000"));
            store.sync();
        }
        frmMain window(state(), *m_session->ui);
        QCOMPARE(window.pos().x(), 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.move(10, 10);
        window.showMinimized();
        QCoreApplication::processEvents();
        window.close();
        QCOMPARE(m_session->shutDowns, 1);
        QSettings store = placementStore();
        QCOMPARE(store.value(Q("Settings/MainLeft")).toString(), Q("3000"));
        QVERIFY(!store.contains(Q("Settings/MainWidth")));
    }

    void exitClosesTheOtherWindowsFirst() {
        frmMain window(state(), *m_session->ui);
        window.show();
        auto* other = new QWidget;
        other->setAttribute(Qt::WA_DeleteOnClose);
        other->show();
        QPointer<QWidget> watch(other);
        action(&window, "mnuFileExit")->trigger();
        QCoreApplication::processEvents();
        QVERIFY(watch.isNull() || !watch->isVisible());
        QVERIFY(!window.isVisible());
        QCOMPARE(m_session->shutDowns, 1);
    }

    void noQuestionWithoutChanges() {
        frmMain window(state(), *m_session->ui);
        m_session->ui->setMainWindow(&window);
        state().dataFilePath = m_dir.path().toStdString();
        bool formShown = false;
        guitest::WhenModalShows([&formShown](QWidget* modal) {
            formShown = modal->objectName() == Q("frmIP");
            modal->close();
        }, "frmIP");
        action(&window, "mnuFileNew")->trigger();
        QVERIFY(formShown);
        QVERIFY(MessageBox::history().isEmpty());
        QCOMPARE(state().currentFileName, m_dir.filePath(Q("UNTITLED.CLD")).toStdString());
        QCOMPARE(window.statusText(), Q("File: ") + m_dir.filePath(Q("UNTITLED.CLD")));
    }

    void theUnsavedDataQuestionFollowsAChange() {
        frmMain window(state(), *m_session->ui);
        m_session->ui->setMainWindow(&window);
        state().dataFilePath = m_dir.path().toStdString();
        state().currentFileName = m_dir.filePath(Q("work.cld")).toStdString();
        // Type a value on the input form and leave with Cancel.
        guitest::WhenModalShows([](QWidget* modal) {
            modal->findChild<QTabWidget*>(Q("vsTabIP"))->setCurrentIndex(1);
            auto* box = modal->findChild<QLineEdit*>(Q("txtCurAssets"));
            box->setFocus(Qt::TabFocusReason);
            box->selectAll();
            QTest::keyClicks(box, Q("500"));
            QTest::mouseClick(modal->findChild<QPushButton*>(Q("btnCancel")), Qt::LeftButton);
        }, "frmIP");
        action(&window, "mnuInputs")->trigger();
        QVERIFY(!state().saved);
        QCOMPARE(state().engine->get_CurAssets(), std::string("500"));

        // New asks; Cancel ends the command and keeps the work.
        MessageBox::setNextAnswer(MsgAnswer::Cancel);
        action(&window, "mnuFileNew")->trigger();
        QCOMPARE(MessageBox::history().size(), 1);
        QCOMPARE(MessageBox::history().at(0).title, Q("Unsaved Data Exists!"));
        QCOMPARE(MessageBox::history().at(0).text,
                 Q("Current Inputs have not been Saved!\nDo you want to save them first?"));
        QCOMPARE(MessageBox::history().at(0).style, int(caldren::kYesNoCancel | caldren::kExclamation));
        QCOMPARE(state().engine->get_CurAssets(), std::string("500"));

        // Open asks too; Yes saves through Save As first.
        const QString saved = m_dir.filePath(Q("saved.cld"));
        MessageBox::setNextAnswer(MsgAnswer::Yes);
        FileDialog::setNextFileName(saved);  // Save As
        FileDialog::setNextFileName(QString());  // then the Open dialog is cancelled
        action(&window, "mnuFileOpen")->trigger();
        QVERIFY(QFile::exists(saved));
        QVERIFY(state().saved);
        QCOMPARE(MessageBox::history().size(), 3);
        QCOMPARE(MessageBox::history().at(2).text, Q("Filename Empty!"));
        QCOMPARE(MessageBox::history().at(2).title, Q("WARNING"));

        // Saved now: New asks nothing.
        guitest::WhenModalShows([](QWidget* modal) { modal->close(); }, "frmIP");
        action(&window, "mnuFileNew")->trigger();
        QCOMPARE(MessageBox::history().size(), 3);
    }

    void openingAFileShowsTheInputForm() {
        frmMain window(state(), *m_session->ui);
        m_session->ui->setMainWindow(&window);
        // A file written by the engine: save one first.
        const QString path = m_dir.filePath(Q("acme.cld"));
        state().engine->BeginEdit();
        state().engine->put_sName("Acme Widgets");
        caldren::FileOperations::Save(state(), path.toStdString());
        state().engine = activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);

        QString shownName;
        guitest::WhenModalShows([&shownName](QWidget* modal) {
            shownName = modal->findChild<QLineEdit*>(Q("txtName"))->text();
            modal->close();
        }, "frmIP");
        FileDialog::setNextFileName(path);
        action(&window, "mnuFileOpen")->trigger();
        QCOMPARE(shownName, Q("Acme Widgets"));
        QCOMPARE(window.statusText(), Q("File: ") + path);
        QCOMPARE(FileDialog::history().size(), 1);
        QCOMPARE(FileDialog::history().at(0).title, std::string("Open"));
    }

    void aRecentEntryOpensItsFileAndTheForm() {
        frmMain window(state(), *m_session->ui);
        m_session->ui->setMainWindow(&window);
        const QString path = m_dir.filePath(Q("recent.cld"));
        state().engine->BeginEdit();
        state().engine->put_sName("Recent Co");
        caldren::FileOperations::Save(state(), path.toStdString());
        state().engine = activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
        state().recentFiles[1] = path.toStdString();
        QString shownName;
        guitest::WhenModalShows([&shownName](QWidget* modal) {
            shownName = modal->findChild<QLineEdit*>(Q("txtName"))->text();
            modal->close();
        }, "frmIP");
        const auto entries = window.findChildren<QAction*>(Q("mnuFileMRU"));
        entries.at(1)->trigger();
        QCOMPARE(shownName, Q("Recent Co"));
        QCOMPARE(state().currentFileName, path.toStdString());
        QVERIFY(FileDialog::history().isEmpty());
    }

    void aMissingFileDoesNotOpenTheForm() {
        frmMain window(state(), *m_session->ui);
        m_session->ui->setMainWindow(&window);
        const QString path = m_dir.filePath(Q("missing.cld"));
        FileDialog::setNextFileName(path);
        action(&window, "mnuFileOpen")->trigger();
        QCOMPARE(MessageBox::history().size(), 1);
        QCOMPARE(MessageBox::history().at(0).text, path + Q(" does not exist."));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void fileDialogFilters() {
        QCOMPARE(FileDialog::nameFilters("Data Files(*.CLD)|*.CLD|All Files(*.*)|*.*||"),
                 (QStringList{Q("Data Files(*.CLD) (*.CLD *.cld)"), Q("All Files(*.*) (*)")}));
    }

    void chooserButtons_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("choice");
        QTest::newRow("New Scenario") << Q("btnNew") << 1;
        QTest::newRow("Old Scenario") << Q("btnOld") << 2;
        QTest::newRow("Main Window") << Q("btnMain") << 0;
    }
    void chooserButtons() {
        QFETCH(QString, button);
        QFETCH(int, choice);
        caldren::frmStartUp chooser(state());
        QCOMPARE(chooser.windowTitle(), Q("Startup Options"));
        QCOMPARE(chooser.findChild<QPushButton*>(Q("btnNew"))->text(), Q("&New Scenario"));
        QCOMPARE(chooser.findChild<QPushButton*>(Q("btnOld"))->text(), Q("&Old Scenario"));
        QCOMPARE(chooser.findChild<QPushButton*>(Q("btnMain"))->text(), Q("&Main Window"));
        chooser.show();
        QTest::mouseClick(chooser.findChild<QPushButton*>(button), Qt::LeftButton);
        QVERIFY(!chooser.isVisible());
        QCOMPARE(int(state().startChoice), choice);
    }

    void aboutBox() {
        frmMain window(state(), *m_session->ui);
        caldren::frmAbout about(state(), &window);
        QCOMPARE(about.windowTitle(), Q("About Caldren Formula Calculator"));
        QCOMPARE(about.findChild<QLabel*>(Q("lblTitle"))->text(), Q("Caldren Formula Calculator"));
        QCOMPARE(about.findChild<QLabel*>(Q("lblVersion"))->text(), Q("Version: CLD2026.12.1"));
        QVERIFY(about.findChild<QLabel*>(Q("lblPhone"))->text().startsWith(Q("Phone: ")));
        QVERIFY(about.findChild<QLabel*>(Q("lblFAX"))->text().startsWith(Q("FAX: ")));
        QVERIFY(about.findChild<QLabel*>(Q("lblInfoURL"))->text().startsWith(Q("Information: ")));
        QVERIFY(about.findChild<QLabel*>(Q("lblSalesURL"))->text().startsWith(Q("Online Sales: ")));
        QVERIFY(about.findChild<QLabel*>(Q("lblEmail"))->text().startsWith(Q("email: ")));
        for (const char* name : {"lblProgrammer", "lblStreet", "lblCityState"})
            QVERIFY(!about.findChild<QLabel*>(Q(name))->text().isEmpty());
        QCOMPARE(about.findChild<QPushButton*>(Q("cmdOK"))->text(), Q("Run Program"));
        QCOMPARE(about.findChild<QPushButton*>(Q("cmdSysInfo"))->text(), Q("&System Info..."));
        QCOMPARE(about.findChild<QPushButton*>(Q("btnInfoWWW"))->text(), Q("Go to program Home Page"));
        QCOMPARE(about.findChild<QPushButton*>(Q("btnOLS"))->text(), Q("Go to Online Store"));
        QVERIFY(about.isModal());
        QCOMPARE(about.parentWidget(), static_cast<QWidget*>(&window));

        QList<QUrl> opened;
        caldren::gui::Desktop::setUrlOpener([&opened](const QUrl& url) {
            opened << url;
            return true;
        });
        QTest::mouseClick(about.findChild<QPushButton*>(Q("btnInfoWWW")), Qt::LeftButton);
        QTest::mouseClick(about.findChild<QPushButton*>(Q("btnOLS")), Qt::LeftButton);
        caldren::gui::Desktop::setUrlOpener({});
        QCOMPARE(opened.size(), 2);
        QVERIFY(opened.at(0).toString().contains(Q("example")));
        QVERIFY(opened.at(1).toString().contains(Q("example")));
        QVERIFY(opened.at(0) != opened.at(1));

        about.show();
        QTest::mouseClick(about.findChild<QPushButton*>(Q("cmdOK")), Qt::LeftButton);
        QVERIFY(!about.isVisible());
    }

    void systemInfoUnavailable() {
        caldren::gui::Desktop::setProgramFinder([](const QString&) { return QString(); });
        caldren::frmAbout about(state());
        QTest::mouseClick(about.findChild<QPushButton*>(Q("cmdSysInfo")), Qt::LeftButton);
        caldren::gui::Desktop::setProgramFinder({});
        QCOMPARE(MessageBox::history().size(), 1);
        QCOMPARE(MessageBox::history().at(0).text, Q("System Information Is Unavailable At This Time"));
        QCOMPARE(MessageBox::history().at(0).style, int(caldren::kOkOnly));
    }

    void systemInfoToolStarted() {
        QStringList started;
        caldren::gui::Desktop::setProgramFinder([](const QString& name) {
            return name == Q("hardinfo") ? Q("/usr/bin/hardinfo") : QString();
        });
        caldren::gui::Desktop::setProgramStarter([&started](const QString& program, const QStringList&) {
            started << program;
            return true;
        });
        caldren::frmAbout about(state());
        QTest::mouseClick(about.findChild<QPushButton*>(Q("cmdSysInfo")), Qt::LeftButton);
        caldren::gui::Desktop::setProgramFinder({});
        caldren::gui::Desktop::setProgramStarter({});
        QCOMPARE(started, QStringList{Q("/usr/bin/hardinfo")});
        QVERIFY(MessageBox::history().isEmpty());
    }

    void interactiveStartWithTheMainWindowChoice() {
        QTemporaryDir folder;
        QVERIFY(QFile::copy(Q(CALDREN_DEMO_SOURCE), folder.filePath(Q("DEMO.CLD"))));
        state().programFolder = folder.path().toStdString();
        state().currentFileName = "/given/on/the/line.cld";
        QStringList seen;
        // Splash, then chooser; then the main window is shown and closed.
        std::function<void()> step = [&seen, &step] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal->objectName() == Q("frmAbout")) {
                seen << modal->objectName();
                QTest::mouseClick(modal->findChild<QPushButton*>(Q("cmdOK")), Qt::LeftButton);
            } else if (modal && modal->objectName() == Q("frmStartUp")) {
                seen << modal->objectName();
                QTest::mouseClick(modal->findChild<QPushButton*>(Q("btnMain")), Qt::LeftButton);
            } else if (auto* main = qobject_cast<QMainWindow*>(QApplication::activeWindow())) {
                seen << main->objectName();
                seen << static_cast<frmMain*>(main)->statusText();
                main->close();
                return;
            }
            QTimer::singleShot(10, step);
        };
        QTimer::singleShot(0, step);
        caldren::gui::RunInteractive(state());
        QCOMPARE(seen, (QStringList{Q("frmAbout"), Q("frmStartUp"), Q("frmMain"),
                                    Q("File: /given/on/the/line.cld")}));
        QCOMPARE(m_session->shutDowns, 1);
        QCOMPARE(m_session->errorsAndQuit, 0);
        QVERIFY(QFile::exists(folder.filePath(Q("CaldrenCalc.ini"))));
        QCOMPARE(state().fontName, std::string("Courier New"));
    }

    void aFileNamedAloneSkipsTheChooser() {
        QTemporaryDir folder;
        QVERIFY(QFile::copy(Q(CALDREN_DEMO_SOURCE), folder.filePath(Q("DEMO.CLD"))));
        state().programFolder = folder.path().toStdString();
        state().startFile = folder.filePath(Q("DEMO.CLD")).toStdString();
        QStringList seen;
        std::function<void()> step = [&seen, &step] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal->objectName() == Q("frmAbout")) {
                seen << modal->objectName();
                QTest::mouseClick(modal->findChild<QPushButton*>(Q("cmdOK")), Qt::LeftButton);
            } else if (modal) {
                seen << modal->objectName();
                modal->close();
            } else if (auto* main = qobject_cast<QMainWindow*>(QApplication::activeWindow())) {
                seen << static_cast<frmMain*>(main)->statusText();
                main->close();
                return;
            }
            QTimer::singleShot(10, step);
        };
        QTimer::singleShot(0, step);
        caldren::gui::RunInteractive(state());
        QCOMPARE(seen, (QStringList{Q("frmAbout"), Q("frmIP"),
                                    Q("File: ") + folder.filePath(Q("DEMO.CLD"))}));
        QVERIFY(!state().engine->get_sName().empty());
    }
};

GUITEST_MAIN(TestFrmMain)
#include "tst_frmMain.moc"
