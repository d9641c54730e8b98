// "Save as PDF..." of the report viewers: a saved file holds the pages that printing the
// same report writes, read back with pdftotext (the words of each page against data/); the
// Detailed Analysis report of a peak-method analysis shows its chart under the text and
// carries it on a page of its own; the comparison's viewer prints and saves the comparison;
// cancel and failure leave no file, and a file that exists is replaced only when agreed.
#include "tests/gui/GuiTestSupport.h"

#include "app/compare/CompareCommand.h"
#include "app/reports/QtReportsHost.h"
#include "app/reports/dlgRptChoices.h"
#include "app/reports/frmReportForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>

namespace rep = caldren::reportwindows;
using namespace Qt::StringLiterals;
using rep::dlgRptChoices;
using rep::frmReportForm;

namespace {

// Answers the report choices with the report given and the print dialog with `pdf` on US
// Letter.
void Answer(guitest::FakeDialogs& dialogs, const char* report, const QString& pdf) {
    dialogs.modal = [report](QDialog& d) {
        auto& c = dynamic_cast<dlgRptChoices&>(d);
        c.chkRptInput->setChecked(report[0] == 'I');
        c.chkRptSummary->setChecked(report[0] == 'S');
        c.chkRptDetail->setChecked(report[0] == 'D');
        c.btnOK->click();
        return c.result();
    };
    dialogs.printers = true;  // and the print dialog prints to a file
    dialogs.print = [pdf](QPrinter& p, const QString&) {
        p.setOutputFileName(pdf);  // ".pdf": a PDF file
        p.setPageSize(QPageSize(QPageSize::Letter));
        return true;
    };
}

// The viewers a View run opened.
std::vector<QPointer<frmReportForm>> View(reportstest::Session& s, const char* report) {
    Answer(s.dialogs, report, {});
    rep::QtReportsHost host(s.state, s.dialogs, nullptr);
    rep::RunReportsOn(s.state, Reports::kView, host);
    return host.Viewers();
}

// Saves the viewer's report as PDF and prints it with the viewer's "print" (the choices
// answered with `report`): the same pages. Logs what the save dialog asked and the saved
// pages' lines, blanks collapsed.
void SaveAndPrint(reportstest::Session& s, frmReportForm* viewer, const char* report,
                  QStringList& seen) {
    s.dialogs.files = {{s.Path(u"saved.pdf"_s)}};
    QCOMPARE(viewer->SavePdf(), s.Path(u"saved.pdf"_s));
    Answer(s.dialogs, report, s.Path(u"printed.pdf"_s));
    viewer->actPrint->trigger();
    const QString text = reportstest::PdfText(s.Path(u"saved.pdf"_s));
    QCOMPARE(reportstest::PdfText(s.Path(u"printed.pdf"_s)), text);
    const caldren::FileDialogSpec spec = s.dialogs.fileDialogs.last();
    seen << guitest::Line(viewer->actSavePdf->objectName(), viewer->actSavePdf->text(), spec.title,
                          spec.filter, spec.initialName);
    for (QString line :
         QString(text).replace(QLatin1Char('\f'), u"\n---\n"_s).split(QLatin1Char('\n')))
        if (!(line = line.simplified()).isEmpty()) seen << line;
}

}  // namespace

class tst_reportPdf : public QObject {
    Q_OBJECT
private slots:
    // The viewers a test left open go with it.
    void cleanup() {
        QList<QPointer<QWidget>> windows;
        for (QWidget* w : QApplication::topLevelWidgets()) windows << w;
        for (const QPointer<QWidget>& w : windows) delete w.data();
    }

    // Each report of DEMO.CLD saved from its viewer and printed: the same pages. The save
    // dialog's title, filter and name; the Detailed Analysis report's chart under the text
    // and on a page of its own, its peak the engine's; no chart without the peak method.
    void savedEqualsPrinted() {
        QStringList log;
        for (const char* reports : {"Inputs", "Summary", "Detailed"}) {
            reportstest::Session s;
            frmReportForm* viewer = View(s, reports).at(0);
            QStringList seen;
            SaveAndPrint(s, viewer, reports, seen);
            if (const CycleChart::CycleChartWidget* chart = viewer->Chart()) {
                const CycleChart::ChartData& d = chart->data();
                seen << guitest::Line(chart->isVisible(),
                                      chart->mapTo(viewer, QPoint()).y() >
                                          viewer->txtReport->mapTo(viewer, QPoint()).y(),
                                      int(d.months.size()), d.averageCycle.value_or(0),
                                      CycleChart::PeakLabel(d),
                                      s.state.document.engine->get_OperatingCyclePeak());
            }
            s.state.document.engine->put_DoPeakCycle(false);  // the loaded file leaves an edit open
            const auto viewers = View(s, reports);
            seen << guitest::Line(viewers.at(0)->Chart() == nullptr,
                                  !viewers[0]->Recorded().chart.has_value());
            log << (seen + s.dialogs.boxes).replaceInStrings(s.dir.path(), u"<folder>"_s);
        }
        guitest::ExpectTranscript(u"saved"_s, log);
    }

    // View, Compare Years...: the comparison of the worked examples in a viewer of its own;
    // its "print" prints the comparison alone, as "Save as PDF..." saves it. Saving again:
    // cancelled, no file; into a folder that does not exist, a message and no file; a name
    // without an extension gets ".pdf", and a file that exists is replaced only after a Yes.
    void compareAndReplace() {
        reportstest::Session s;
        s.dialogs.files = {{QStringLiteral(CALDREN_COMPARE_DATA "/acme2003.CLD"),
                            QStringLiteral(CALDREN_COMPARE_DATA "/acme2002.cld")}};
        QCOMPARE(caldren::compare::CompareYearsCommand(s.state, s.dialogs, nullptr), 2);
        frmReportForm* viewer = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowTitle() == u"Comparison Report"_s)
                viewer = dynamic_cast<frmReportForm*>(w);
        QVERIFY(viewer && !viewer->Chart());
        QStringList log;
        SaveAndPrint(s, viewer, "", log);  // the print dialog alone
        QFile old(s.Path(u"report.pdf"_s));
        QVERIFY(QFile::copy(QStringLiteral(CALDREN_COMPARE_DATA "/acme2002.cld"), old.fileName()));
        int saves = 0;
        for (const QString& name : {QString(), s.Path(u"no-such-folder/out.pdf"_s),
                                    s.Path(u"report"_s), s.Path(u"report"_s)}) {
            if (++saves == 4) s.dialogs.answers = {caldren::MsgAnswer::Yes};  // else No
            s.dialogs.files = {{name}};
            log << viewer->SavePdf();
            QVERIFY(old.open(QIODevice::ReadOnly));
            log << guitest::Line(
                QDir(s.dir.path()).entryList(QDir::Files | QDir::Hidden).join(u","_s),
                old.read(4).data());
            old.close();
        }
        guitest::ExpectTranscript(
            u"compare"_s, (log + s.dialogs.boxes).replaceInStrings(s.dir.path(), u"<folder>"_s));
    }
};

GUITEST_MAIN(tst_reportPdf)

#include "tst_reportPdf.moc"
