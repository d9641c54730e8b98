// The report windows and the end of a run, each test's observations against its section of
// data/transcripts.txt: the report choices and their flags in the settings file, one
// modeless viewer per report holding the View heading and the File-mode text, print jobs and
// copies, the report font and the "Error Warning" window, the main window's commands and the
// run's error path; the exit message, the program's own error message, ShutDown's order
// across midnight and the exit screen, the "Notice", the manual.
#include "tests/gui/GuiTestSupport.h"

#include "app/dialogs/ErrorDialogs.h"
#include "app/dialogs/frmError.h"
#include "app/gui/ShutDown.h"
#include "app/gui/frmFinal.h"
#include "app/reports/QtReportsHost.h"
#include "app/reports/ReportFonts.h"
#include "app/reports/ReportPrinter.h"
#include "app/reports/dlgRptChoices.h"
#include "app/reports/frmReportForm.h"

#include <errorreporter/ErrorReporter.h>
#include <profilestore/ProfileStore.h>

#include <QApplication>
#include <QCheckBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

namespace dialogs = caldren::dialogs;
namespace gui = caldren::gui;
namespace rep = caldren::reportwindows;
using namespace Qt::StringLiterals;
using rep::dlgRptChoices;
using rep::frmReportForm;

namespace {

// Answers the report choices with `boxes` (OK by default) and the print dialog with a PDF
// file on US Letter and the copies given (cancelled without a file); logs every dialog,
// with the choices' boxes as they were shown (0 unticked, 1 greyed, 2 ticked).
struct Script {
    QStringList log;
    QString pdf;
    int copies = 1;
    std::function<void(dlgRptChoices&)> boxes = [](dlgRptChoices& c) { c.btnOK->click(); };
    explicit Script(guitest::FakeDialogs& dialogs) {
        dialogs.modal = [this](QDialog& d) {
            auto& c = dynamic_cast<dlgRptChoices&>(d);
            log << d.windowTitle();
            for (QCheckBox* box : {c.chkRptInput, c.chkRptSummary, c.chkRptDetail})
                log.last() += QString::number(box->checkState());
            boxes(c);
            return c.result();
        };
        dialogs.printers = true;  // and the print dialog prints to a file
        dialogs.print = [this](QPrinter& p, const QString& title) {
            log << title;
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf);
            p.setPageSize(QPageSize(QPageSize::Letter));
            p.setCopyCount(copies);
            return !pdf.isEmpty();
        };
    }
};

QString Fonts(const caldren::RunState& st) {
    const auto& p = rep::ReportPrinter::Instance();
    return guitest::Line(st.preferences.fontName, st.preferences.fontSize, "printer", p.FontName(),
                         p.FontSize(), p.FontBold());
}

}  // namespace

class tst_reportWindows : public QObject {
    Q_OBJECT
private slots:
    // View: the report choices (missing flags read as chosen), then Detailed Analysis,
    // Summary, Inputs, each in its own modeless viewer holding the View heading and the
    // File-mode text; the viewer cannot be typed into, keeps its opening size, prints through
    // the choices and the print dialog, closes with "exit". The dialog's texts; OK stores the
    // boxes (greyed: 2), Cancel stores nothing ticked, the close box changes no flag.
    void choicesAndViewers() {
        reportstest::Session s;
        Script script(s.dialogs);
        rep::QtReportsHost host(s.state, s.dialogs, nullptr);
        QVERIFY(rep::RunReportsOn(s.state, Reports::kView, host));
        int i = 0;
        for (auto build :
             {&Reports::BuildDetailReport, &Reports::BuildSummReport, &Reports::BuildIPReport}) {
            Reports::RecordingSink sink;
            build(*s.state.document.engine, sink, s.state.document.currentFileName,
                  Reports::Wording::AsEver);
            const auto& r = sink.Reports().at(0);
            frmReportForm* v = host.Viewers()[i++];
            QCOMPARE(v->ReportText(), Reports::ViewHeadingText(r.start.headings) + r.Body());
            script.log << guitest::Line(v->windowTitle() == guitest::Text(r.start.caption),
                                        v->isVisible(), v->isModal());
        }
        QPointer<frmReportForm> v = host.Viewers()[1];
        QPlainTextEdit* text = v->txtReport;
        const QString before = text->toPlainText();
        QCOMPARE(before, guitest::Text(v->ReportText()).replace(u"\r\n"_s, u"\n"_s));
        QTest::keyClicks(text, u"abc"_s);
        QTest::keyClick(text, Qt::Key_Backspace);
        const QSize opening = v->size();
        v->resize(opening / 2);
        script.log << guitest::Line(text->isReadOnly(), text->lineWrapMode(),
                                    QFontInfo(text->font()).fixedPitch(), v->size() == opening,
                                    text->toPlainText() == before, v->tbToolbar->objectName(),
                                    v->actPrint->objectName(), v->actPrint->text(),
                                    v->actExit->objectName(), v->actExit->text());
        v->actPrint->trigger();
        v->actExit->trigger();
        QTRY_VERIFY(v.isNull());
        dlgRptChoices d;
        script.log << guitest::Line(d.windowTitle(), d.fraChoices->objectName(),
                                    d.fraChoices->title());
        for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
                 d.chkRptInput, d.chkRptSummary, d.chkRptDetail, d.btnOK, d.btnCancel})
            script.log << guitest::Line(b->objectName(), b->text());
        for (const char* answer : {"OK", "Cancel", "close"}) {
            script.boxes = [answer](dlgRptChoices& c) {
                c.chkRptInput->setChecked(!c.chkRptInput->isChecked());
                c.chkRptDetail->setCheckState(Qt::PartiallyChecked);
                if (answer[0] == 'O') c.btnOK->click();
                if (answer[0] == 'C') c.btnCancel->click();
                c.show();
                c.close();
            };
            Reports::ReportChoices chosen{1, 1, 1};
            host.GetReports(answer[0] == 'C' ? Reports::kPrint : Reports::kView, chosen);
            const Reports::ReportChoices stored = rep::ReadReportChoices(s.state.preferences);
            script.log << guitest::Line("chosen", chosen.input, chosen.summary, chosen.detail,
                                        "stored", stored.input, stored.summary, stored.detail);
        }
        guitest::ExpectTranscript(u"choicesAndViewers"_s, script.log);
    }

    // Two copies are two print jobs (PDF files), each from page 1; a cancelled print dialog
    // prints nothing and leaves the printer font as it was; a line count out of range is
    // refused with the "Error!" message; an analysis never saved takes the run's own error
    // path, and the hourglass is gone.
    void printJobs() {
        reportstest::Session s;
        Script script(s.dialogs);
        script.pdf = s.Path(u"copies.pdf"_s);
        script.copies = 2;
        rep::QtReportsHost host(s.state, s.dialogs, nullptr);
        QVERIFY(rep::RunReportsOn(s.state, Reports::kPrint, host));
        const auto& printer = rep::ReportPrinter::Instance();
        QCOMPARE(printer.JobFiles(), (QStringList{script.pdf, s.Path(u"copies-2.pdf"_s)}));
        const QString first = reportstest::PdfText(printer.JobFiles()[0]);
        QVERIFY(first.contains(u"Year Ending"_s) &&
                first.contains(u"Inputs - Caldren Formula Calculator"_s));
        QCOMPARE(reportstest::PdfText(printer.JobFiles()[1]), first);
        script.pdf.clear();
        rep::ReportPrinter::Instance().ResetFont({"Liberation Mono", 9.0f, false});
        QVERIFY(rep::RunReportsOn(s.state, Reports::kPrint, host));
        script.log << Fonts(s.state)
                   << guitest::Line(
                          rep::ReportPrinter::Instance().Pages().PrnManager2(41, "", "", ""))
                   << s.dialogs.boxes;
        s.dialogs.boxes.clear();
        reportstest::Session empty(false);
        QVERIFY(!rep::RunReportsOn(empty.state, Reports::kView, host));
        script.log << guitest::Line("ends", s.dialogs.ends.size(), empty.dialogs.ends.size(),
                                    QApplication::overrideCursor() != nullptr);
        guitest::ExpectTranscript(u"printJobs"_s, script.log + s.dialogs.boxes);
    }

    // A font the printer cannot use: the "Error Warning" window, GetFonts' own warning, then
    // the font dialog (fixed-pitch fonts, from Courier New as it resolves); the choice becomes
    // the report font, a size below 5 becomes 10. Cancelled, the system's fixed font is used.
    // Ticking "Don't show this message again" silences both font warnings.
    void reportFont() {
        reportstest::Session s(false);
        s.state.preferences.fontName = "DejaVu Sans";
        QStringList log;
        double chosenSize = 12.0;
        s.dialogs.modal = [&](QDialog& d) {
            if (auto* w = dynamic_cast<caldren::dialogs::frmError*>(&d)) {
                log << guitest::Line(w->windowTitle(), w->lblErrInfo->objectName(),
                                     w->chkDontShow->text(), w->btnOK->objectName())
                    << w->lblErrInfo->text();
                w->chkDontShow->setChecked(chosenSize == 0);
                w->btnOK->click();
                return w->result();
            }
            auto& f = dynamic_cast<QFontDialog&>(d);
            log << guitest::Line("fonts", f.testOption(QFontDialog::MonospacedFonts),
                                 f.currentFont().bold(),
                                 f.currentFont().family() == rep::ResolvedFamily("Courier New"));
            if (chosenSize == 0) return int(QDialog::Rejected);
            QFont font(u"Liberation Mono"_s);
            font.setPointSizeF(chosenSize);
            f.setCurrentFont(font);
            f.accept();
            return int(QDialog::Accepted);
        };
        Reports::PrinterFontRecord saved;
        rep::SetNewFont(s.state, s.dialogs, s.state.preferences.fontName, 10.0f, false, saved);
        log << Fonts(s.state);
        chosenSize = 4.0;
        rep::GetFonts(s.state, s.dialogs);
        log << Fonts(s.state);
        chosenSize = 0;
        s.state.preferences.fontName = "DejaVu Sans";
        rep::SetOldFont(s.state, s.dialogs, Reports::PrinterFontRecord{"DejaVu Sans", 10.5f, true});
        rep::SetNewFont(s.state, s.dialogs, s.state.preferences.fontName, 10.0f, false, saved);
        rep::SetOldFont(s.state, s.dialogs,
                        Reports::PrinterFontRecord{"DejaVu Sans", 12.0f, false});
        log << Fonts(s.state)
            << guitest::Line(
                   rep::IsFixedPitchFamily(rep::ReportPrinter::Instance().FontName()),
                   rep::IsFixedPitchFamily("Liberation Serif"),
                   dialogs::ShowErrorWarning(s.dialogs, "x", "SetOldFont()", true));  // not shown
        guitest::ExpectTranscript(u"reportFont"_s, log + s.dialogs.boxes);
    }

    // The exit message for the time spent, the time across midnight, the error type of a
    // number; the program's own message: Yes saves first (Save As), both answers shut down;
    // the "Notice" shows the main window afterwards; the manual opens, or a missing one is named.
    void messages() {
        QStringList log;
        for (long seconds :
             {0, 1, 59, 60, 61, 754, 3599, 3600, 3659, 3660, 3720, 7200, 7260, 90000, -5})
            log << guitest::Text(gui::BuildExitMessageText(seconds))
                       .section(u" Orlenwick's"_s, 0, 0);
        log << guitest::Text(gui::BuildExitMessageText(60)).split(u"\r\n"_s);
        log << guitest::Line(gui::ElapsedSeconds(36000, 36754), gui::ElapsedSeconds(500, 500),
                             gui::ElapsedSeconds(86100, 300), gui::ElapsedSeconds(86399, 0));
        for (long number : {53, 380, 10005}) log << guitest::Text(dialogs::ErrorTypeText(number));
        for (const caldren::MsgAnswer answer : {caldren::MsgAnswer::Yes, caldren::MsgAnswer::No}) {
            reportstest::Session s;
            s.dialogs.answers = {answer};
            dialogs::ReportErrorAndQuit(s.state, s.dialogs, 11, "RunReports");
            log << s.dialogs.boxes
                << guitest::Line("saved", s.dialogs.fileDialogs.size(), "ends",
                                 s.dialogs.ends.size(), bool(s.state.document.engine));
        }
        reportstest::Session s(false);
        QWidget main;
        rep::QtReportsHost(s.state, s.dialogs, &main).ShowNoDataNotice();
        rep::ShowPDFHelp(s.state, s.dialogs, nullptr);
        QFile(guitest::Text(s.state.program.helpFile)).open(QIODevice::WriteOnly);
        rep::ShowPDFHelp(s.state, s.dialogs, nullptr);
        log << guitest::Line(main.isVisible(), "ends", s.dialogs.ends.size()) << s.dialogs.opened
            << s.dialogs.boxes;
        guitest::ExpectTranscript(u"messages"_s, log.replaceInStrings(s.dir.path(), u"<folder>"_s));
    }

    // Save As while the engine holds the data, the preferences, the exit screen (the reporter
    // and the engine released) with the time spent across midnight, the end; the printer
    // font restored.
    void shutDown() {
        reportstest::Session s;
        s.state.program.errorReporter = std::make_shared<errorreporter::ErrorReporter>();
        s.state.preferences.fontSize = 10.5f;
        s.state.preferences.printerFont = {"Courier New", 11.0f, true};
        s.state.options.startTime = 86100;  // 23:55:00
        s.dialogs.clock = 300;
        s.dialogs.files = {{s.Path(u"saved.cld"_s)}};
        QStringList log;
        s.dialogs.modal = [&](QDialog& d) {
            auto& f = dynamic_cast<gui::frmFinal&>(d);
            log << guitest::Line("exit screen engine", bool(s.state.document.engine), "reporter",
                                 bool(s.state.program.errorReporter))
                << guitest::Line(f.windowTitle(), f.btnBuy->text(), f.btnDone->text(),
                                 f.txtDisplay->isReadOnly())
                << f.txtDisplay->toPlainText().section(u"\n"_s, 0, 0);
            f.btnBuy->click();
            return int(QDialog::Accepted);
        };
        rep::ReportPrinter::Instance().ResetFont({"Liberation Mono", 9.0f, false});
        gui::ShutDown(s.state, s.dialogs, true);
        profilestore::ProfileStore ini;
        ini.SetFileName(s.state.preferences.settingsFilePath);
        log << guitest::Line(s.dialogs.fileDialogs.at(0).title,
                             QFile(s.Path(u"saved.cld"_s)).size() > 1000, "end",
                             s.dialogs.ends.at(0))
            << guitest::Line(ini.ReadEntry("User Preferences", "Font Name", ""),
                             ini.ReadEntry("User Preferences", "Font Size", ""))
            << Fonts(s.state) << guitest::Line(s.state.options.endTime) << s.dialogs.opened;
        guitest::ExpectTranscript(u"shutDown"_s, log);
    }
};

GUITEST_MAIN(tst_reportWindows)

#include "tst_reportWindows.moc"
