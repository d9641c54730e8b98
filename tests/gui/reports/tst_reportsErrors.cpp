// The error windows and the end of a run: the exit message for every wording case and
// across midnight, the program's own error message, the "Error Warning" window and its
// silencing, ShutDown's order, the exit screen and the error reporter's windows.
#include "ReportsTestSupport.h"

#include "app/gui/frmError.h"
#include "app/gui/frmFinal.h"
#include "app/reports/ReportFonts.h"
#include "app/reports/ReportPrinter.h"

#include <errorreporter/ErrorReporter.h>
#include <profilestore/ProfileStore.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using caldren::MsgAnswer;
namespace gui = caldren::gui;

namespace {

std::string OrderLines() {
    std::string s = "To order other Orlen programs, contact us at:\r\n\r\n";
    for (int i = 0; i < gui::kContactLineCount; ++i) s += std::string("     ") + gui::kContactLines[i] + "\r\n";
    return s;
}

const std::string kUsing =
    "using Orlenwick's Caldren Formula Calculator. How long would your work have taken without it?\r\n\r\n";

}  // namespace

class tst_reportsErrors : public QObject {
    Q_OBJECT
private slots:
    void exitMessage_data();
    void exitMessage();
    void exitMessageWholeText();
    void elapsedAcrossMidnight_data();
    void elapsedAcrossMidnight();
    void shutDownAcrossMidnightShowsTheTimeSpent();
    void errorMessageLayout();
    void errorTypeIsTheStandardTextNotTheDescription();
    void reportErrorAndQuitYesSavesThenShutsDown();
    void reportErrorAndQuitNoShutsDownWithoutSaving();
    void errorWarningWindow();
    void errorWarningHiddenShowsNothing();
    void warningSilencedForTheRestOfTheRun();
    void shutDownOrder();
    void exitScreen();
    void presenterAsksAndLogs();
    void presenterShowsAndLogs();
};

void tst_reportsErrors::exitMessage_data() {
    QTest::addColumn<long>("seconds");
    QTest::addColumn<QString>("start");
    QTest::newRow("0") << 0L << QStringLiteral("You have spent 0 minutes using");
    QTest::newRow("1") << 1L << QStringLiteral("You have spent 0 minutes, and 1 second using");
    QTest::newRow("59") << 59L << QStringLiteral("You have spent 0 minutes, and 59 seconds using");
    QTest::newRow("60") << 60L << QStringLiteral("You have spent 1 minute using");
    QTest::newRow("61") << 61L << QStringLiteral("You have spent 1 minute, and 1 second using");
    QTest::newRow("754") << 754L << QStringLiteral("You have spent 12 minutes, and 34 seconds using");
    QTest::newRow("3599") << 3599L << QStringLiteral("You have spent 59 minutes, and 59 seconds using");
    QTest::newRow("3600") << 3600L << QStringLiteral("You have spent 1 hour using");
    QTest::newRow("3659") << 3659L << QStringLiteral("You have spent 1 hour using");
    QTest::newRow("3660") << 3660L << QStringLiteral("You have spent 1 hour, and 1 minute using");
    QTest::newRow("3720") << 3720L << QStringLiteral("You have spent 1 hour, and 2 minutes using");
    QTest::newRow("7200") << 7200L << QStringLiteral("You have spent 2 hours using");
    QTest::newRow("7260") << 7260L << QStringLiteral("You have spent 2 hours, and 1 minute using");
    QTest::newRow("90000") << 90000L << QStringLiteral("You have spent 25 hours using");
    QTest::newRow("negative") << -5L << QStringLiteral("You have spent 0 minutes using");
}

void tst_reportsErrors::exitMessage() {
    QFETCH(long, seconds);
    QFETCH(QString, start);
    const QString text = QString::fromStdString(gui::BuildExitMessageText(seconds));
    QVERIFY2(text.startsWith(start + QStringLiteral(" Orlenwick's")), qPrintable(text));
}

void tst_reportsErrors::exitMessageWholeText() {
    QCOMPARE(gui::BuildExitMessageText(754),
             "You have spent 12 minutes, and 34 seconds " + kUsing + OrderLines());
    QCOMPARE(gui::BuildExitMessageText(60), "You have spent 1 minute " + kUsing + OrderLines());
}

void tst_reportsErrors::elapsedAcrossMidnight_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("elapsed");
    QTest::newRow("same day") << 36000 << 36754 << 754;
    QTest::newRow("no time") << 500 << 500 << 0;
    QTest::newRow("across midnight") << 86100 << 300 << 600;
    QTest::newRow("from 23:59:59 to 00:00:00") << 86399 << 0 << 1;
}

void tst_reportsErrors::elapsedAcrossMidnight() {
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, elapsed);
    QCOMPARE(gui::ElapsedSeconds(start, end), elapsed);
}

void tst_reportsErrors::shutDownAcrossMidnightShowsTheTimeSpent() {
    reportstest::Session s(false);
    s.state.startTime = 86100;  // 23:55:00
    gui::Seams().clock = [] { return std::int32_t(300); };  // 00:05:00
    QString shown;
    gui::Seams().runModal = [&](QDialog& d) {
        if (auto* final = dynamic_cast<frmFinal*>(&d)) shown = final->txtDisplay->toPlainText();
        return int(QDialog::Accepted);
    };
    gui::ShutDown(s.state, false);
    QVERIFY2(shown.startsWith(QStringLiteral("You have spent 10 minutes using")), qPrintable(shown));
    QCOMPARE(s.programEnds, 1);
}

void tst_reportsErrors::errorMessageLayout() {
    QCOMPARE(gui::ErrorMessageText(11, "RunReports"),
             std::string("An error has occurred in the Caldren Formula Calculator.\n\n"
                         "Error Number:   11\n"
                         "Error Type:        Division by zero\n"
                         "Location:           RunReports\n\n"
                         "Do you want to save your data before the program shuts down?"));
}

void tst_reportsErrors::errorTypeIsTheStandardTextNotTheDescription() {
    QCOMPARE(gui::ErrorTypeText(53), std::string("File not found"));
    QCOMPARE(gui::ErrorTypeText(380), std::string("Invalid property value"));
    QCOMPARE(gui::ErrorTypeText(10005), std::string("Application-defined or object-defined error"));
    // A number beyond 16 bits is shown whole.
    QVERIFY(gui::ErrorMessageText(-2147221231, "GetCopies").find("Error Number:   -2147221231\n") !=
            std::string::npos);
}

void tst_reportsErrors::reportErrorAndQuitYesSavesThenShutsDown() {
    reportstest::Session s;
    gui::MessageBox::setNextAnswer(MsgAnswer::Yes);
    gui::ReportErrorAndQuit(s.state, 11, "RunReports");
    const auto& history = gui::MessageBox::history();
    QCOMPARE(history.size(), 1);
    QCOMPARE(history[0].title, QStringLiteral("WARNING!"));
    QCOMPARE(history[0].style, caldren::kYesNo | caldren::kCritical);
    QCOMPARE(history[0].text.toStdString(), gui::ErrorMessageText(11, "RunReports"));
    QCOMPARE(s.saveAsCalls.size(), size_t(1));  // Save As at once, before the shutdown
    QCOMPARE(s.programEnds, 1);
    QVERIFY(!s.state.engine);  // the shutdown released the engine
}

void tst_reportsErrors::reportErrorAndQuitNoShutsDownWithoutSaving() {
    reportstest::Session s;
    gui::MessageBox::setNextAnswer(MsgAnswer::No);
    gui::ReportErrorAndQuit(s.state, 53, "GetIni");
    QCOMPARE(s.saveAsCalls.size(), size_t(0));
    QCOMPARE(s.programEnds, 1);
}

void tst_reportsErrors::errorWarningWindow() {
    reportstest::Session s(false);
    int shown = 0;
    gui::Seams().runModal = [&](QDialog& d) {
        auto* w = dynamic_cast<frmError*>(&d);
        if (!w) return int(QDialog::Rejected);
        ++shown;
        [&] {
            QCOMPARE(w->windowTitle(), QStringLiteral("Error Warning"));
            QCOMPARE(w->lblErrInfo->objectName(), QStringLiteral("lblErrInfo"));
            QCOMPARE(w->lblErrInfo->text(), QStringLiteral("Something is wrong."));
            QCOMPARE(w->chkDontShow->text(), QStringLiteral("Don't show this message again"));
            QCOMPARE(w->btnOK->objectName(), QStringLiteral("btnOK"));
            QVERIFY(!w->chkDontShow->isChecked());
        }();
        w->chkDontShow->setChecked(shown == 2);
        w->btnOK->click();
        return w->result();
    };
    QCOMPARE(gui::ShowErrorWarning("Something is wrong.", "SetNewFont()", false), false);
    QCOMPARE(gui::ShowErrorWarning("Something is wrong.", "SetNewFont()", false), true);
    QCOMPARE(shown, 2);
}

void tst_reportsErrors::errorWarningHiddenShowsNothing() {
    reportstest::Session s(false);
    int shown = 0;
    gui::Seams().runModal = [&](QDialog&) { ++shown; return int(QDialog::Accepted); };
    QCOMPARE(gui::ShowErrorWarning("x", "SetOldFont()", true), true);
    QCOMPARE(shown, 0);
}

void tst_reportsErrors::warningSilencedForTheRestOfTheRun() {
    reportstest::Session s(false);
    s.state.hideWarning = false;
    s.state.fontName = "DejaVu Sans";  // proportional: the printer cannot use it
    s.state.fontSize = 10.0f;
    int warnings = 0, fontDialogs = 0;
    gui::Seams().runModal = [&](QDialog& d) {
        if (auto* w = dynamic_cast<frmError*>(&d)) {
            ++warnings;
            w->chkDontShow->setChecked(true);  // "Don't show this message again"
            return int(QDialog::Accepted);
        }
        ++fontDialogs;  // the font dialog: cancelled
        return int(QDialog::Rejected);
    };
    Reports::PrinterFontRecord saved;
    caldren::reports::SetNewFont(s.state, s.state.fontName, s.state.fontSize, false, saved);
    QCOMPARE(warnings, 1);
    QVERIFY(s.state.hideWarning);
    caldren::reports::SetNewFont(s.state, s.state.fontName, s.state.fontSize, false, saved);
    // The restoring warning is silenced too.
    Reports::PrinterFontRecord unusable{"DejaVu Sans", 12.0f, false};
    caldren::reports::SetOldFont(s.state, unusable);
    QCOMPARE(warnings, 1);
    QCOMPARE(fontDialogs, 2);  // the font dialog is still offered each time
    caldren::reports::ReportPrinter::Instance().ResetFont({"Courier New", 10.0f, false});
}

void tst_reportsErrors::shutDownOrder() {
    reportstest::Session s;
    auto reporter = std::make_shared<errorreporter::ErrorReporter>();
    std::weak_ptr<errorreporter::ErrorReporter> reporterAlive = reporter;
    s.state.errorReporter = std::move(reporter);
    s.state.fontName = "Liberation Mono";
    s.state.fontSize = 10.5f;
    s.state.printerFont = {"Courier New", 11.0f, true};
    s.state.startTime = 1000;
    gui::Seams().clock = [] { return std::int32_t(1754); };

    std::vector<std::string> steps;
    gui::Seams().saveAs = [&](caldren::RunState& st) {
        steps.push_back(std::string("saveAs engine=") + (st.engine ? "held" : "gone") +
                        " reporter=" + (reporterAlive.expired() ? "gone" : "held"));
    };
    const auto storeDefault = s.savedSeams.storeFontPreferences;
    gui::Seams().storeFontPreferences = [&](caldren::RunState& st) {
        steps.push_back(std::string("store engine=") + (st.engine ? "held" : "gone") +
                        " reporter=" + (reporterAlive.expired() ? "gone" : "held"));
        storeDefault(st);
    };
    QString exitText;
    gui::Seams().runModal = [&](QDialog& d) {
        if (auto* f = dynamic_cast<frmFinal*>(&d)) {
            steps.push_back(std::string("exit screen engine=") + (s.state.engine ? "held" : "gone"));
            exitText = f->txtDisplay->toPlainText();
        }
        return int(QDialog::Accepted);
    };
    gui::Seams().endProgram = [&](int code) { steps.push_back("end " + std::to_string(code)); };

    caldren::reports::ReportPrinter::Instance().ResetFont({"Liberation Mono", 9.0f, false});
    gui::ShutDown(s.state, true);

    const std::vector<std::string> expected = {
        "saveAs engine=held reporter=held", "store engine=held reporter=gone",
        "exit screen engine=gone", "end 0"};
    QCOMPARE(steps, expected);
    QVERIFY(exitText.startsWith(QStringLiteral("You have spent 12 minutes, and 34 seconds using")));
    // The report font in the settings file, the size as a single-precision number's text.
    profilestore::ProfileStore ini;
    ini.SetFileName(s.state.settingsFilePath);
    QCOMPARE(ini.ReadEntry("User Preferences", "Font Name", ""), std::string("Liberation Mono"));
    QCOMPARE(ini.ReadEntry("User Preferences", "Font Size", ""), std::string("10.5"));
    // The printer has its start font back.
    const auto& printer = caldren::reports::ReportPrinter::Instance();
    QCOMPARE(printer.FontName(), std::string("Courier New"));
    QCOMPARE(printer.FontSize(), 11.0f);
    QCOMPARE(printer.FontBold(), true);
    QCOMPARE(s.state.endTime, 1754);
    caldren::reports::ReportPrinter::Instance().ResetFont({"Courier New", 10.0f, false});
}

void tst_reportsErrors::exitScreen() {
    reportstest::Session s(false);
    QStringList opened;
    gui::Seams().openExternal = [&](const QString& url) { opened << url; return true; };
    frmFinal screen;
    screen.SetDisplayText(gui::BuildExitMessageText(754));
    QCOMPARE(screen.windowTitle(), QStringLiteral("Orlenwick Caldren Formula Calculator"));
    QCOMPARE(screen.btnBuy->objectName(), QStringLiteral("btnBuy"));
    QCOMPARE(screen.btnBuy->text(), QStringLiteral("Order && Download Update"));  // shows one "&"
    QCOMPARE(screen.btnDone->text(), QStringLiteral("Bye!"));
    QVERIFY(screen.txtDisplay->isReadOnly());
    QVERIFY(screen.txtDisplay->toPlainText().contains(QStringLiteral("12 minutes, and 34 seconds")));
    screen.btnBuy->click();
    QCOMPARE(opened, QStringList{QString::fromUtf8(gui::kOrderPageUrl)});
    screen.show();
    screen.btnDone->click();
    QVERIFY(!screen.isVisible());
}

void tst_reportsErrors::presenterAsksAndLogs() {
    reportstest::Session s(false);
    gui::NoteRunState(s.state);
    errorreporter::ErrorReporter reporter(gui::MakeQtErrorPresenter());
    gui::MessageBox::setNextAnswer(MsgAnswer::Yes);
    const bool save = reporter.ReportOrLog(53, "File not found", "MainMod.RunSilent\rCaldren.Fetch",
                                           false, s.state.errorLogPath, caldren::kDescription);
    QVERIFY(save);
    const auto& history = gui::MessageBox::history();
    QCOMPARE(history.size(), 1);
    QCOMPARE(history[0].style, caldren::kYesNo | caldren::kCritical);
    QCOMPARE(history[0].title, QStringLiteral("Caldren Formula Calculator"));
    QVERIFY(history[0].text.contains(QStringLiteral("File not found")));
    QFile log(QString::fromStdString(s.state.errorLogPath));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray line = log.readAll();
    QVERIFY2(line.contains("| Error 53 | File not found | MainMod.RunSilent <- Caldren.Fetch\r\n"),
             line.constData());
}

void tst_reportsErrors::presenterShowsAndLogs() {
    reportstest::Session s(false);
    gui::NoteRunState(s.state);
    errorreporter::ErrorReporter reporter(gui::MakeQtErrorPresenter());
    reporter.ReportError(6, "Overflow", "ControlExtend.TextChg\rCaldren.CurAssets", caldren::kDescription);
    QCOMPARE(gui::MessageBox::history().size(), 1);
    QCOMPARE(gui::MessageBox::history()[0].style, caldren::kOkOnly | caldren::kCritical);
    QFile log(QString::fromStdString(s.state.errorLogPath));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(log.readAll().contains("| Error 6 | Overflow | ControlExtend.TextChg <- Caldren.CurAssets\r\n"));
}

int main(int argc, char** argv) {
    reportstest::PinEnvironment();
    QApplication app(argc, argv);
    tst_reportsErrors test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_reportsErrors.moc"
