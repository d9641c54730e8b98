// The report viewer and the report choices: viewer text equal to the File-mode report
// plus the View heading, one modeless window per report in the order Detailed, Summary,
// Inputs, read-only, no wrapping, minimum size, toolbar; dlgRptChoices with its captions
// and its flags from and to the settings file; GetCopies; the manual.
#include "ReportsTestSupport.h"

#include "app/reports/QtReportsHost.h"
#include "app/reports/ReportPrinter.h"
#include "app/reports/dlgRptChoices.h"
#include "app/reports/frmReportForm.h"

#include <profilestore/ProfileStore.h>

#include "app/gui/QtUi.h"
#include "app/gui/frmMain.h"

#include <QAction>
#include <QFileInfo>
#include <QPrinter>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>

namespace gui = caldren::gui;
namespace rep = caldren::reports;

namespace {

// The File-mode text of a report body, built into a recording sink.
std::string Body(void (*build)(const vesmora::_Caldren&, Reports::ReportSink&, const std::string&),
                 const caldren::RunState& state, Reports::ReportHeadings* headings = nullptr,
                 std::string* caption = nullptr) {
    Reports::RecordingSink sink;
    build(*state.engine, sink, state.currentFileName);
    if (headings) *headings = sink.Reports().at(0).start.headings;
    if (caption) *caption = sink.Reports().at(0).start.caption;
    return sink.Reports().at(0).Body();
}

void WriteFlags(const caldren::RunState& state, const char* input, const char* summary, const char* detail) {
    profilestore::ProfileStore ini;
    ini.SetFileName(state.settingsFilePath);
    ini.WriteEntry("User Preferences", "Input Report", input);
    ini.WriteEntry("User Preferences", "Summary Report", summary);
    ini.WriteEntry("User Preferences", "Detailed Report", detail);
}

std::string Flag(const caldren::RunState& state, const char* key) {
    profilestore::ProfileStore ini;
    ini.SetFileName(state.settingsFilePath);
    return ini.ReadEntry("User Preferences", key, "(missing)");
}

}  // namespace

class tst_reportsViewer : public QObject {
    Q_OBJECT
private slots:
    void choicesDialogCaptions();
    void choicesOkStoresTheBoxes();
    void choicesCancelStoresNothingTicked();
    void choicesCloseBoxKeepsTheStoredChoice();
    void missingFlagsReadAsChosen();
    void viewOpensOneViewerPerReport();
    void viewerWindow();
    void viewerPrintAsksAgain();
    void nothingChosenDoesNothing();
    void getCopiesCancelIsZero();
    void viewWithoutDataTakesTheRunsErrorPath();
    void mainWindowCommandsReachTheReports();
    void noDataNotice();
    void hooksAreFilled();
    void helpOpensTheManual();
    void helpWithoutTheManualSaysSo();
};

void tst_reportsViewer::choicesDialogCaptions() {
    dlgRptChoices d;
    QCOMPARE(d.windowTitle(), QStringLiteral("Report Choices"));
    QCOMPARE(d.fraChoices->title(), QStringLiteral("Check Desired Reports"));
    QCOMPARE(d.chkRptInput->text(), QStringLiteral("Input Report"));
    QCOMPARE(d.chkRptSummary->text(), QStringLiteral("Summary Report"));
    QCOMPARE(d.chkRptDetail->text(), QStringLiteral("Detailed Analysis Report"));
    QCOMPARE(d.btnOK->text(), QStringLiteral("OK"));
    QCOMPARE(d.btnCancel->text(), QStringLiteral("Cancel"));
    for (const char* name : {"fraChoices", "chkRptInput", "chkRptSummary", "chkRptDetail", "btnOK", "btnCancel"})
        QVERIFY2(d.findChild<QWidget*>(QString::fromLatin1(name)), name);
}

void tst_reportsViewer::choicesOkStoresTheBoxes() {
    reportstest::Session s;
    WriteFlags(s.state, "0", "1", "2");
    QString title;
    Qt::CheckState seen[3] = {};
    gui::Seams().runModal = [&](QDialog& d) {
        auto* c = dynamic_cast<dlgRptChoices*>(&d);
        title = d.windowTitle();
        seen[0] = c->chkRptInput->checkState();
        seen[1] = c->chkRptSummary->checkState();
        seen[2] = c->chkRptDetail->checkState();
        c->chkRptInput->setChecked(true);
        c->chkRptSummary->setChecked(false);
        c->btnOK->click();
        return c->result();
    };
    rep::QtReportsHost host(s.state, nullptr);
    Reports::ReportChoices choices{9, 9, 9};
    host.GetReports(Reports::kView, choices);
    QCOMPARE(title, QStringLiteral("Select Reports (View)"));
    QCOMPARE(seen[0], Qt::Unchecked);
    QCOMPARE(seen[1], Qt::Checked);
    QCOMPARE(seen[2], Qt::PartiallyChecked);  // 2: greyed
    QCOMPARE(choices.input, 1);
    QCOMPARE(choices.summary, 0);
    QCOMPARE(choices.detail, 2);
    QCOMPARE(Flag(s.state, "Input Report"), std::string("1"));
    QCOMPARE(Flag(s.state, "Summary Report"), std::string("0"));
    QCOMPARE(Flag(s.state, "Detailed Report"), std::string("2"));
}

void tst_reportsViewer::choicesCancelStoresNothingTicked() {
    reportstest::Session s;
    WriteFlags(s.state, "1", "1", "1");
    QString title;
    gui::Seams().runModal = [&](QDialog& d) {
        title = d.windowTitle();
        dynamic_cast<dlgRptChoices*>(&d)->btnCancel->click();
        return d.result();
    };
    rep::QtReportsHost host(s.state, nullptr);
    Reports::ReportChoices choices;
    host.GetReports(Reports::kPrint, choices);
    QCOMPARE(title, QStringLiteral("Select Reports (Print)"));
    QVERIFY(!choices.Any());
    for (const char* key : {"Input Report", "Summary Report", "Detailed Report"})
        QCOMPARE(Flag(s.state, key), std::string("0"));
}

void tst_reportsViewer::choicesCloseBoxKeepsTheStoredChoice() {
    reportstest::Session s;
    WriteFlags(s.state, "0", "1", "0");
    gui::Seams().runModal = [&](QDialog& d) {
        auto* c = dynamic_cast<dlgRptChoices*>(&d);
        c->chkRptInput->setChecked(true);  // ticked, then the window closed by its box
        c->show();
        c->close();
        return c->result();
    };
    rep::QtReportsHost host(s.state, nullptr);
    Reports::ReportChoices choices{1, 1, 1};
    host.GetReports(Reports::kView, choices);
    QCOMPARE(choices.input, 0);
    QCOMPARE(choices.summary, 1);
    QCOMPARE(choices.detail, 0);
    QCOMPARE(Flag(s.state, "Input Report"), std::string("0"));
    QCOMPARE(Flag(s.state, "Summary Report"), std::string("1"));
}

void tst_reportsViewer::missingFlagsReadAsChosen() {
    reportstest::Session s;
    const Reports::ReportChoices c = rep::ReadReportChoices(s.state);
    QCOMPARE(c.input, 1);
    QCOMPARE(c.summary, 1);
    QCOMPARE(c.detail, 1);
}

void tst_reportsViewer::viewOpensOneViewerPerReport() {
    reportstest::Session s;
    gui::Seams().runModal = [](QDialog& d) {
        auto* c = dynamic_cast<dlgRptChoices*>(&d);
        if (!c) return int(QDialog::Accepted);  // the exit screen
        c->btnOK->click();
        return c->result();
    };
    rep::QtReportsHost host(s.state, nullptr);
    QVERIFY(rep::RunReportsOn(s.state, Reports::kView, host));
    QCOMPARE(host.Viewers().size(), size_t(3));

    // Detailed Analysis, Summary, Inputs: in that order of opening.
    using Build = void (*)(const vesmora::_Caldren&, Reports::ReportSink&, const std::string&);
    const Build builders[] = {&Reports::BuildDetailReport, &Reports::BuildSummReport, &Reports::BuildIPReport};
    for (int i = 0; i < 3; ++i) {
        frmReportForm* viewer = host.Viewers()[i];
        QVERIFY(viewer);
        Reports::ReportHeadings headings;
        std::string caption;
        const std::string body = Body(builders[i], s.state, &headings, &caption);
        QCOMPARE(viewer->windowTitle().toStdString(), caption);
        // The viewer holds the View heading and then exactly the File-mode text.
        QCOMPARE(viewer->ReportText(), Reports::ViewHeadingText(headings) + body);
        QString shown = QString::fromStdString(Reports::ViewHeadingText(headings) + body);
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QCOMPARE(viewer->txtReport->toPlainText(), shown);
        QVERIFY(viewer->isVisible());
        QVERIFY(!viewer->isModal());
    }
    QVERIFY(host.Viewers()[0]->windowTitle().startsWith(QStringLiteral("Detailed Analysis Report - ")));
    QVERIFY(host.Viewers()[1]->windowTitle().startsWith(QStringLiteral("Summary Report - ")));
    QCOMPARE(host.Viewers()[2]->windowTitle(), QStringLiteral("Inputs Report"));
    for (auto& v : host.Viewers()) delete v.data();
}

void tst_reportsViewer::viewerWindow() {
    frmReportForm* viewer = new frmReportForm;
    QPointer<frmReportForm> alive(viewer);
    viewer->SetReportText("  ACME\r\n  A long line " + std::string(300, 'x') + "\r\n");
    viewer->ShowReport();
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    QPlainTextEdit* text = viewer->txtReport;
    QCOMPARE(text->objectName(), QStringLiteral("txtReport"));
    QVERIFY(text->isReadOnly());
    QCOMPARE(text->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(text->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(text->horizontalScrollBar()->maximum() > 0);  // the long line is not wrapped
    QVERIFY(QFontInfo(text->font()).fixedPitch());
    QCOMPARE(text->document()->blockCount(), 3);
    // Typing changes nothing.
    const QString before = text->toPlainText();
    text->setFocus();
    QTest::keyClicks(text, QStringLiteral("abc"));
    QTest::keyClick(text, Qt::Key_Delete);
    QTest::keyClick(text, Qt::Key_Backspace);
    QCOMPARE(text->toPlainText(), before);
    // The opening size is the minimum.
    const QSize opening = viewer->size();
    QCOMPARE(viewer->minimumSize(), opening);
    viewer->resize(opening.width() / 2, opening.height() / 2);
    QCOMPARE(viewer->size(), opening);
    // Toolbar: "print" and "exit".
    QCOMPARE(viewer->tbToolbar->objectName(), QStringLiteral("tbToolbar"));
    QCOMPARE(viewer->actPrint->objectName(), QStringLiteral("print"));
    QCOMPARE(viewer->actPrint->text(), QStringLiteral("Print"));
    QCOMPARE(viewer->actExit->objectName(), QStringLiteral("exit"));
    QCOMPARE(viewer->actExit->text(), QStringLiteral("Exit"));
    QVERIFY(!viewer->actPrint->icon().isNull());
    viewer->actExit->trigger();
    QTRY_VERIFY(alive.isNull());  // closed and deleted
}

void tst_reportsViewer::viewerPrintAsksAgain() {
    reportstest::Session s;
    QStringList titles;
    gui::Seams().runModal = [&](QDialog& d) {
        titles << d.windowTitle();
        if (auto* c = dynamic_cast<dlgRptChoices*>(&d)) {
            c->btnOK->click();
            return c->result();
        }
        return int(QDialog::Rejected);  // the print dialog: cancelled
    };
    rep::QtReportsHost host(s.state, nullptr);
    QVERIFY(rep::RunReportsOn(s.state, Reports::kView, host));
    titles.clear();
    host.Viewers()[1]->actPrint->trigger();
    QCOMPARE(titles, (QStringList{QStringLiteral("Select Reports (Print)"), QStringLiteral("Print Reports")}));
    for (auto& v : host.Viewers()) delete v.data();
}

void tst_reportsViewer::nothingChosenDoesNothing() {
    reportstest::Session s;
    gui::Seams().runModal = [](QDialog& d) {
        dynamic_cast<dlgRptChoices*>(&d)->btnCancel->click();
        return d.result();
    };
    rep::QtReportsHost host(s.state, nullptr);
    QVERIFY(rep::RunReportsOn(s.state, Reports::kView, host));
    QCOMPARE(host.Viewers().size(), size_t(0));
    QCOMPARE(s.state.rptInput, std::int16_t(0));
    QCOMPARE(gui::MessageBox::history().size(), 0);
}

void tst_reportsViewer::getCopiesCancelIsZero() {
    reportstest::Session s;
    QString title;
    bool pdfOffered = false;
    gui::Seams().runModal = [&](QDialog& d) {
        title = d.windowTitle();
        pdfOffered = dynamic_cast<QPrintDialog*>(&d)->testOption(QAbstractPrintDialog::PrintToFile);
        return int(QDialog::Rejected);
    };
    rep::QtReportsHost host(s.state, nullptr);
    QCOMPARE(host.GetCopies(), 0);
    QCOMPARE(title, QStringLiteral("Print Reports"));
    QVERIFY(pdfOffered);
}

void tst_reportsViewer::viewWithoutDataTakesTheRunsErrorPath() {
    reportstest::Session s(false);  // a record never saved or loaded: Calculate refuses
    gui::Seams().runModal = [](QDialog& d) {
        auto* c = dynamic_cast<dlgRptChoices*>(&d);
        if (!c) return int(QDialog::Accepted);  // the exit screen
        c->btnOK->click();
        return c->result();
    };
    rep::QtReportsHost host(s.state, nullptr);
    QVERIFY(!rep::RunReportsOn(s.state, Reports::kView, host));
    QCOMPARE(host.Viewers().size(), size_t(0));
    const auto& history = gui::MessageBox::history();
    QVERIFY(!history.isEmpty());
    QCOMPARE(history[0].title, QStringLiteral("Notice"));
    QCOMPARE(history[0].text, QString::fromUtf8(Reports::kNoDataNotice));
    QCOMPARE(s.programEnds, 0);
    QVERIFY(QApplication::overrideCursor() == nullptr);  // the hourglass is gone
}

void tst_reportsViewer::mainWindowCommandsReachTheReports() {
    // The main window's View Reports and Print commands run through the window library's
    // hooks into RouteOutput: save, the reports, open again.
    reportstest::Session s;
    caldren::QtUi ui(s.state);
    s.state.ui = &ui;
    const QString pdf = s.Path(QStringLiteral("main.pdf"));
    QStringList titles;
    gui::Seams().runModal = [&](QDialog& d) {
        titles << d.windowTitle();
        if (auto* c = dynamic_cast<dlgRptChoices*>(&d)) {
            c->btnOK->click();
            return c->result();
        }
        if (auto* p = dynamic_cast<QPrintDialog*>(&d)) {
            p->printer()->setOutputFormat(QPrinter::PdfFormat);
            p->printer()->setOutputFileName(pdf);
            return int(QDialog::Accepted);
        }
        return int(QDialog::Accepted);
    };
    {
        caldren::frmMain main(s.state, ui);
        ui.setMainWindow(&main);
        auto* view = main.findChild<QAction*>(QStringLiteral("mnuViewReports"));
        QVERIFY(view);
        view->trigger();
        QCOMPARE(main.findChildren<frmReportForm*>().size(), 3);
        QCOMPARE(titles, QStringList{QStringLiteral("Select Reports (View)")});
        auto* print = main.findChild<QAction*>(QStringLiteral("mnuFilePrint"));
        QVERIFY(print);
        print->trigger();
        QCOMPARE(titles.mid(1), (QStringList{QStringLiteral("Select Reports (Print)"), QStringLiteral("Print Reports")}));
        QVERIFY(QFileInfo::exists(pdf));
        QCOMPARE(s.programEnds, 0);
        ui.setMainWindow(nullptr);
    }
    s.state.ui = nullptr;
}

void tst_reportsViewer::noDataNotice() {
    reportstest::Session s(false);
    QWidget main;
    rep::QtReportsHost host(s.state, &main);
    host.ShowNoDataNotice();
    const auto& history = gui::MessageBox::history();
    QCOMPARE(history.size(), 1);
    QCOMPARE(history[0].title, QStringLiteral("Notice"));
    QCOMPARE(history[0].style, caldren::kOkOnly | caldren::kExclamation);
    QCOMPARE(history[0].text,
             QStringLiteral("No data was entered. Please either use menu choice File - New to enter new "
                            "information or File - Open to retrieve data that was previously saved."));
    QVERIFY(main.isVisible());  // then the main window is shown
}

void tst_reportsViewer::hooksAreFilled() {
    // The window library's hooks for these commands are filled when it is loaded.
    reportstest::Session s(false);
    const auto& hooks = s.savedHooks;
    QVERIFY(hooks.viewReports);
    QVERIFY(hooks.printReports);
    QVERIFY(hooks.optionsFonts);
    QVERIFY(hooks.helpContents);
    QVERIFY(hooks.reportErrorAndQuit);
    QVERIFY(hooks.shutDown);
    QVERIFY(hooks.makeErrorPresenter);
    QVERIFY(hooks.rememberPrinterFont);
    rep::ReportPrinter::Instance().ResetFont({"Liberation Mono", 9.5f, true});
    hooks.rememberPrinterFont(s.state);
    QCOMPARE(s.state.printerFont.name, std::string("Liberation Mono"));
    QCOMPARE(s.state.printerFont.size, 9.5f);
    QCOMPARE(s.state.printerFont.bold, true);
    rep::ReportPrinter::Instance().ResetFont({"Courier New", 10.0f, false});
}

void tst_reportsViewer::helpOpensTheManual() {
    reportstest::Session s(false);
    QFile manual(QString::fromStdString(s.state.helpFile));
    QVERIFY(manual.open(QIODevice::WriteOnly));
    manual.write("%PDF-1.4\n");
    manual.close();
    QStringList opened;
    gui::Seams().openExternal = [&](const QString& path) { opened << path; return true; };
    rep::ShowPDFHelp(s.state, nullptr);
    QCOMPARE(opened, QStringList{QString::fromStdString(s.state.helpFile)});
    QCOMPARE(gui::MessageBox::history().size(), 0);
}

void tst_reportsViewer::helpWithoutTheManualSaysSo() {
    reportstest::Session s(false);
    int opened = 0;
    gui::Seams().openExternal = [&](const QString&) { ++opened; return true; };
    rep::ShowPDFHelp(s.state, nullptr);
    QCOMPARE(opened, 0);
    QCOMPARE(gui::MessageBox::history().size(), 1);
    QVERIFY(gui::MessageBox::history()[0].text.contains(QStringLiteral("cldguide.pdf")));
    QCOMPARE(s.programEnds, 0);  // the program goes on
}

int main(int argc, char** argv) {
    reportstest::PinEnvironment();
    QApplication app(argc, argv);
    tst_reportsViewer test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_reportsViewer.moc"
