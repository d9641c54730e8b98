// The report windows and the end of a run, each test's observations against its section of
// data/transcripts.txt: the report choices and their flags in the settings file, one
// modeless viewer per report holding the View heading and the File-mode text, print jobs and
// copies, the report font and the "Error Warning" window, the main window's commands and the
// run's error path; the exit message, the program's own error message, ShutDown's order
// across midnight and the exit screen, the error reporter's windows, the "Notice", the manual.
#include "ReportsTestSupport.h"

#include "app/gui/frmError.h"
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
#include <QFileInfo>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

namespace gui = caldren::gui;
namespace rep = caldren::reports;
using namespace Qt::StringLiterals;

namespace {

// Answers the report choices with `boxes` (OK by default) and the print dialog with a PDF
// file on US Letter and the copies given (cancelled without a file); logs every dialog,
// with the choices' boxes as they were shown (0 unticked, 1 greyed, 2 ticked).
struct Script {
    QStringList log;
    QString pdf;
    int copies = 1;
    std::function<void(dlgRptChoices&)> boxes = [](dlgRptChoices& c) { c.btnOK->click(); };
    Script() {
        gui::Seams().runModal = [this](QDialog& d) {
            log << d.windowTitle();
            if (auto* c = dynamic_cast<dlgRptChoices*>(&d)) {
                for (QCheckBox* box : {c->chkRptInput, c->chkRptSummary, c->chkRptDetail})
                    log.last() += QString::number(box->checkState());
                boxes(*c);
                return c->result();
            }
            auto* p = dynamic_cast<QPrintDialog*>(&d);
            if (!p || pdf.isEmpty()) return int(QDialog::Rejected);
            p->printer()->setOutputFormat(QPrinter::PdfFormat);
            p->printer()->setOutputFileName(pdf);
            p->printer()->setPageSize(QPageSize(QPageSize::Letter));
            p->printer()->setCopyCount(copies);
            return int(QDialog::Accepted);
        };
    }
};

QString Fonts(const caldren::RunState& state) {
    const auto& p = rep::ReportPrinter::Instance();
    return u"report %1 %2, printer %3 %4 %5"_s.arg(QString::fromStdString(state.fontName))
        .arg(state.fontSize)
        .arg(QString::fromStdString(p.FontName()))
        .arg(p.FontSize())
        .arg(p.FontBold());
}

}  // namespace

class tst_reportWindows : public QObject {
    Q_OBJECT
private slots:
    void init() { rep::ReportPrinter::Instance().ResetFont({"Courier New", 10.0f, false}); }

    // The dialog's texts; missing flags read as chosen; OK stores the boxes (greyed: 2),
    // Cancel stores nothing ticked, the close box changes no flag.
    void choices() {
        reportstest::Session s;
        Script script;
        dlgRptChoices d;
        for (QWidget* w : std::initializer_list<QWidget*>{&d, d.fraChoices, d.chkRptInput, d.chkRptSummary,
                                                          d.chkRptDetail, d.btnOK, d.btnCancel})
            script.log << w->objectName() + u" "_s +
                              w->property(w == &d             ? "windowTitle"
                                          : w == d.fraChoices ? "title"
                                                              : "text")
                                  .toString();
        rep::QtReportsHost host(s.state, nullptr);
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
            const Reports::ReportChoices stored = rep::ReadReportChoices(s.state);
            script.log << u"chosen %1%2%3, stored %4%5%6"_s.arg(chosen.input)
                              .arg(chosen.summary)
                              .arg(chosen.detail)
                              .arg(stored.input)
                              .arg(stored.summary)
                              .arg(stored.detail);
        }
        reportstest::ExpectTranscript(u"choices"_s, script.log);
    }

    // View: Detailed Analysis, Summary, Inputs, each in its own modeless viewer holding the
    // View heading and the File-mode text; the viewer cannot be typed into, keeps its
    // opening size, prints through the choices and the print dialog, closes with "exit".
    void viewers() {
        reportstest::Session s;
        Script script;
        rep::QtReportsHost host(s.state, nullptr);
        QVERIFY(rep::RunReportsOn(s.state, Reports::kView, host));
        QCOMPARE(host.Viewers().size(), size_t(3));
        using Builder = void (*)(const vesmora::_Caldren&, Reports::ReportSink&, const std::string&);
        const Builder builders[] = {&Reports::BuildDetailReport, &Reports::BuildSummReport,
                                    &Reports::BuildIPReport};
        for (int i = 0; i < 3; ++i) {
            Reports::RecordingSink sink;
            builders[i](*s.state.engine, sink, s.state.currentFileName);
            frmReportForm* v = host.Viewers()[i];
            QCOMPARE(v->windowTitle().toStdString(), sink.Reports().at(0).start.caption);
            QCOMPARE(v->ReportText(),
                     Reports::ViewHeadingText(sink.Reports()[0].start.headings) + sink.Reports()[0].Body());
            QCOMPARE(v->txtReport->toPlainText(),
                     QString::fromStdString(v->ReportText()).replace(u"\r\n"_s, u"\n"_s));
            QVERIFY(v->isVisible() && !v->isModal());
        }
        QPointer<frmReportForm> v = host.Viewers()[1];
        QPlainTextEdit* text = v->txtReport;
        QTest::keyClicks(text, u"abc"_s);
        QTest::keyClick(text, Qt::Key_Backspace);
        const QSize opening = v->size();
        v->resize(opening / 2);
        script.log << u"%1 %2 %3 %4 %5"_s.arg(text->isReadOnly())
                          .arg(text->lineWrapMode())
                          .arg(QFontInfo(text->font()).fixedPitch())
                          .arg(v->size() == opening)
                          .arg(text->toPlainText() ==
                               QString::fromStdString(v->ReportText()).replace(u"\r\n"_s, u"\n"_s));
        for (QObject* o : std::initializer_list<QObject*>{v->tbToolbar, v->actPrint, v->actExit})
            script.log << o->objectName() + u" "_s + o->property("text").toString();
        v->actPrint->trigger();
        v->actExit->trigger();
        QTRY_VERIFY(v.isNull());
        for (auto& viewer : host.Viewers()) delete viewer.data();
        reportstest::ExpectTranscript(u"viewers"_s, script.log);
    }

    // Two copies are two print jobs (PDF files), each from page 1; a cancelled print dialog
    // prints nothing and leaves the printer font as it was; a line count out of range is
    // refused with the "Error!" message. The main window's commands through the window
    // library's hooks; an analysis never saved takes the run's own error path.
    void printJobsAndHooks() {
        reportstest::Session s;
        Script script;
        script.pdf = s.Path(u"copies.pdf"_s);
        script.copies = 2;
        script.boxes = [](dlgRptChoices& c) {
            c.chkRptInput->setChecked(false);
            c.chkRptDetail->setChecked(false);
            c.btnOK->click();
        };
        rep::QtReportsHost host(s.state, nullptr);
        QVERIFY(rep::RunReportsOn(s.state, Reports::kPrint, host));
        const auto& printer = rep::ReportPrinter::Instance();
        QCOMPARE(printer.JobFiles(), (QStringList{script.pdf, s.Path(u"copies-2.pdf"_s)}));
        const QString first = reportstest::PdfText(printer.JobFiles()[0]);
        QVERIFY(first.contains(u"Year Ending"_s) && first.simplified().endsWith(u"Page 1"_s));
        QCOMPARE(reportstest::PdfText(printer.JobFiles()[1]), first);
        script.pdf.clear();
        rep::ReportPrinter::Instance().ResetFont({"Liberation Mono", 9.0f, false});
        QVERIFY(rep::RunReportsOn(s.state, Reports::kPrint, host));
        script.log << Fonts(s.state)
                   << QString::number(rep::ReportPrinter::Instance().Pages().PrnManager2(41, "", "", ""));
        script.log << reportstest::Boxes();
        script.pdf = s.Path(u"main.pdf"_s);
        s.savedHooks.viewReports(s.state, nullptr);
        s.savedHooks.printReports(s.state, nullptr);
        int shown = 0;
        for (QWidget* w : QApplication::topLevelWidgets()) shown += dynamic_cast<frmReportForm*>(w) && w->isVisible();
        script.log << u"%1 %2"_s.arg(QFileInfo::exists(script.pdf)).arg(shown);
        reportstest::Session empty(false);
        QVERIFY(!rep::RunReportsOn(empty.state, Reports::kView, host));
        script.log << u"ends %1 %2, cursor %3"_s.arg(s.programEnds)
                          .arg(empty.programEnds)
                          .arg(QApplication::overrideCursor() != nullptr);
        reportstest::ExpectTranscript(u"printJobsAndHooks"_s, script.log + reportstest::Boxes());
    }

    // A font the printer cannot use: the "Error Warning" window, GetFonts' own warning, then
    // the font dialog (fixed-pitch fonts, from Courier New as it resolves); the choice becomes
    // the report font, a size below 5 becomes 10. Cancelled, the system's fixed font is used.
    // Ticking "Don't show this message again" silences both font warnings.
    void reportFont() {
        reportstest::Session s(false);
        s.state.fontName = "DejaVu Sans";
        QStringList log;
        double chosenSize = 12.0;
        gui::Seams().runModal = [&](QDialog& d) {
            if (auto* w = dynamic_cast<frmError*>(&d)) {
                log << w->windowTitle() + u": "_s + w->lblErrInfo->text()
                    << w->lblErrInfo->objectName() + u", "_s + w->chkDontShow->text() + u", "_s +
                           w->btnOK->objectName();
                w->chkDontShow->setChecked(chosenSize == 0);
                w->btnOK->click();
                return w->result();
            }
            auto& f = dynamic_cast<QFontDialog&>(d);
            log << u"fonts %1 %2 %3"_s.arg(f.testOption(QFontDialog::MonospacedFonts)).arg(f.currentFont().bold())
                       .arg(f.currentFont().family() == rep::ResolvedFamily("Courier New"));
            if (chosenSize == 0) return int(QDialog::Rejected);
            QFont font(u"Liberation Mono"_s);
            font.setPointSizeF(chosenSize);
            f.setCurrentFont(font);
            f.accept();
            return int(QDialog::Accepted);
        };
        Reports::PrinterFontRecord saved;
        rep::SetNewFont(s.state, s.state.fontName, 10.0f, false, saved);
        log << Fonts(s.state);
        chosenSize = 4.0;
        rep::GetFonts(s.state);
        log << Fonts(s.state);
        chosenSize = 0;
        s.state.fontName = "DejaVu Sans";
        rep::SetOldFont(s.state, Reports::PrinterFontRecord{"DejaVu Sans", 10.5f, true});
        rep::SetNewFont(s.state, s.state.fontName, 10.0f, false, saved);
        rep::SetOldFont(s.state, Reports::PrinterFontRecord{"DejaVu Sans", 12.0f, false});
        log << Fonts(s.state)
            << u"%1 %2"_s.arg(rep::IsFixedPitchFamily(rep::ReportPrinter::Instance().FontName()))
                   .arg(rep::IsFixedPitchFamily("Liberation Serif"));
        log << QString::number(gui::ShowErrorWarning("x", "SetOldFont()", true));  // silenced: not shown
        reportstest::ExpectTranscript(u"reportFont"_s, log + reportstest::Boxes());
    }

    // The exit message for the time spent, the time across midnight, the error type of a
    // number, the program's own message: Yes saves first (Save As), both answers shut down.
    void errorMessages() {
        QStringList log;
        for (long seconds : {0, 1, 59, 60, 61, 754, 3599, 3600, 3659, 3660, 3720, 7200, 7260, 90000, -5})
            log << QString::fromStdString(gui::BuildExitMessageText(seconds))
                       .section(u" Orlenwick's"_s, 0, 0);
        log << QString::fromStdString(gui::BuildExitMessageText(60)).split(u"\r\n"_s);
        for (const auto& [start, end] :
             std::vector<std::pair<int, int>>{{36000, 36754}, {500, 500}, {86100, 300}, {86399, 0}})
            log << QString::number(gui::ElapsedSeconds(start, end));
        for (long number : {53, 380, 10005}) log << QString::fromStdString(gui::ErrorTypeText(number));
        log << QString::fromStdString(gui::ErrorMessageText(-2147221231, "x")).section(u"\n"_s, 2, 2);
        for (const caldren::MsgAnswer answer : {caldren::MsgAnswer::Yes, caldren::MsgAnswer::No}) {
            reportstest::Session s;
            gui::MessageBox::setNextAnswer(answer);
            gui::ReportErrorAndQuit(s.state, 11, "RunReports");
            log << reportstest::Boxes()
                << u"saved %1, ends %2, engine %3"_s.arg(s.saveAsCalls)
                       .arg(s.programEnds)
                       .arg(bool(s.state.engine));
        }
        reportstest::ExpectTranscript(u"errorMessages"_s, log);
    }

    // Save As, the preferences (the reporter released), the exit screen (the engine
    // released) with the time spent across midnight, the end; the printer font restored.
    void shutDown() {
        reportstest::Session s;
        auto reporter = std::make_shared<errorreporter::ErrorReporter>();
        std::weak_ptr<errorreporter::ErrorReporter> alive = reporter;
        s.state.errorReporter = std::move(reporter);
        s.state.fontName = "Liberation Mono";
        s.state.fontSize = 10.5f;
        s.state.printerFont = {"Courier New", 11.0f, true};
        s.state.startTime = 86100;  // 23:55:00
        gui::Seams().clock = [] { return std::int32_t(300); };
        QStringList log;
        auto held = [&] {
            return u" engine %1 reporter %2"_s.arg(bool(s.state.engine)).arg(!alive.expired());
        };
        gui::Seams().saveAs = [&](caldren::RunState&) { log << u"saveAs"_s + held(); };
        const auto store = s.savedSeams.storeFontPreferences;
        gui::Seams().storeFontPreferences = [&](caldren::RunState& st) {
            log << u"store"_s + held();
            store(st);
        };
        gui::Seams().openExternal = [&](const QString& url) {
            log << url;
            return true;
        };
        gui::Seams().runModal = [&](QDialog& d) {
            auto& f = dynamic_cast<frmFinal&>(d);
            log << u"exit screen"_s + held()
                << f.windowTitle() + u": "_s + f.btnBuy->text() + u", "_s + f.btnDone->text() + u", "_s +
                       QString::number(f.txtDisplay->isReadOnly())
                << f.txtDisplay->toPlainText().section(u"\n"_s, 0, 0);
            f.btnBuy->click();
            return int(QDialog::Accepted);
        };
        gui::Seams().endProgram = [&](int code) { log << u"end %1"_s.arg(code); };
        rep::ReportPrinter::Instance().ResetFont({"Liberation Mono", 9.0f, false});
        gui::ShutDown(s.state, true);
        profilestore::ProfileStore ini;
        ini.SetFileName(s.state.settingsFilePath);
        log << QString::fromStdString(ini.ReadEntry("User Preferences", "Font Name", "") + " " +
                                      ini.ReadEntry("User Preferences", "Font Size", ""))
            << Fonts(s.state) << QString::number(s.state.endTime);
        reportstest::ExpectTranscript(u"shutDown"_s, log);
    }

    // The error reporter asks or shows through the program's windows and logs; the "Notice"
    // shows the main window afterwards; the manual opens, or a missing one is named.
    void reporterNoticeAndHelp() {
        reportstest::Session s(false);
        gui::NoteRunState(s.state);
        errorreporter::ErrorReporter reporter(gui::MakeQtErrorPresenter());
        gui::MessageBox::setNextAnswer(caldren::MsgAnswer::Yes);
        QStringList log{
            QString::number(reporter.ReportOrLog(53, "File not found", "MainMod.RunSilent\rCaldren.Fetch",
                                                 false, s.state.errorLogPath, caldren::kDescription))};
        reporter.ReportError(6, "Overflow", "ControlExtend.TextChg\rCaldren.CurAssets",
                             caldren::kDescription);
        QWidget main;
        rep::QtReportsHost(s.state, &main).ShowNoDataNotice();
        log << QString::number(main.isVisible());
        rep::ShowPDFHelp(s.state, nullptr);
        gui::Seams().openExternal = [&](const QString& path) {
            log << QFileInfo(path).fileName();
            return true;
        };
        QFile(QString::fromStdString(s.state.helpFile)).open(QIODevice::WriteOnly);
        rep::ShowPDFHelp(s.state, nullptr);
        QFile errors(QString::fromStdString(s.state.errorLogPath));
        QVERIFY(errors.open(QIODevice::ReadOnly));
        for (const QString& line : QString::fromUtf8(errors.readAll()).split(u"\r\n"_s, Qt::SkipEmptyParts))
            log << line.mid(line.indexOf(u"| Error"_s));
        log << u"ends %1"_s.arg(s.programEnds);
        reportstest::ExpectTranscript(u"reporterNoticeAndHelp"_s, (log + reportstest::Boxes()).replaceInStrings(s.dir.path(), u"<folder>"_s));
    }
};

int main(int argc, char** argv) {
    reportstest::PinEnvironment();
    QApplication app(argc, argv);
    tst_reportWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_reportWindows.moc"
