// "Save as PDF..." of the report viewers: the saved file read back with pdftotext equals
// the printed page model of the report, and equals what printing the same report writes;
// the Detailed Analysis report of a peak-method analysis shows its chart under the text and
// carries it on a page of its own; cancel and failure leave no file.
#include "tests/gui/reports/ReportsTestSupport.h"

#include "app/chart/CycleChart.h"
#include "app/compare/CompareCommand.h"
#include "app/gui/FileDialog.h"
#include "app/pdf/ReportPdf.h"
#include "app/reports/QtReportsHost.h"
#include "app/reports/ReportFonts.h"
#include "app/reports/ReportPrinter.h"
#include "app/reports/dlgRptChoices.h"
#include "app/reports/frmReportForm.h"

#include <PrintModel.h>
#include <Reports.h>

#include <QApplication>
#include <QCheckBox>
#include <QPageLayout>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

namespace rep = caldren::reports;
namespace gui = caldren::gui;

namespace {

// The pages of a report as the page model lays them out: each page's lines, columns
// filled with blanks, on a device of `linesPerPage` lines.
class ModelDevice : public PRINT::PrintDevice {
public:
    explicit ModelDevice(int linesPerPage) : m_lines(linesPerPage) {}
    QList<QStringList> pages{QStringList{}};
    int LinesPerPage() override { return m_lines; }
    void DrawText(int line, int column, std::string_view text) override {
        if (m_ended) {
            pages.append(QStringList{});
            m_ended = false;
        }
        QStringList& page = pages.last();
        while (page.size() <= line) page.append(QString());
        QString& l = page[line];
        const QString t = QString::fromUtf8(text.data(), qsizetype(text.size()));
        if (l.size() < column) l += QString(column - l.size(), QLatin1Char(' '));
        l = l.left(column) + t + l.mid(column + t.size());
    }
    void EndPage() override { m_ended = true; }
    void EndDoc() override {}
    void ShowLineCountError(const std::string&) override {}

private:
    int m_lines;
    bool m_ended = false;
};

// Lines of text with blanks collapsed, empty lines dropped: how pdftotext and the model
// are compared (pdftotext places words by their position, not by character cells).
QStringList Words(const QStringList& lines) {
    QStringList out;
    for (QString l : lines) {
        l = l.simplified();
        if (!l.isEmpty()) out << l;
    }
    return out;
}

QList<QStringList> PdfPages(const QString& pdf) {
    QStringList pages = reportstest::PdfText(pdf).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    QList<QStringList> out;
    for (const QString& p : pages) out << Words(p.split(QLatin1Char('\n')));
    return out;
}

// The lines per page of the PDF printer (Letter, report font), as printing measures them.
int PdfLinesPerPage(const rep::FontSpec& font) {
    rep::ReportPrinter probe;
    probe.ResetFont(font);
    probe.SetReportFontSource([font] { return font; });
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setPageSize(QPageSize(QPageSize::Letter));
    probe.SetPrinter(std::move(printer));
    return probe.LinesPerPage();
}

// Opens the viewers of the run state's reports (View mode) and returns them.
std::vector<QPointer<frmReportForm>> ViewReports(reportstest::Session& s, Reports::ReportChoices choices) {
    gui::Seams().runModal = [choices](QDialog& d) {
        if (auto* c = dynamic_cast<dlgRptChoices*>(&d)) {
            c->chkRptInput->setChecked(choices.input == 1);
            c->chkRptSummary->setChecked(choices.summary == 1);
            c->chkRptDetail->setChecked(choices.detail == 1);
            c->btnOK->click();
            return c->result();
        }
        return int(QDialog::Rejected);
    };
    rep::QtReportsHost host(s.state, nullptr);
    rep::RunReportsOn(s.state, Reports::kView, host);
    return host.Viewers();
}

// Prints the chosen reports into a PDF file through the print dialog's seam.
void PrintReports(reportstest::Session& s, Reports::ReportChoices choices, const QString& pdf) {
    gui::Seams().runModal = [choices, pdf](QDialog& d) {
        if (auto* c = dynamic_cast<dlgRptChoices*>(&d)) {
            c->chkRptInput->setChecked(choices.input == 1);
            c->chkRptSummary->setChecked(choices.summary == 1);
            c->chkRptDetail->setChecked(choices.detail == 1);
            c->btnOK->click();
            return c->result();
        }
        if (auto* p = dynamic_cast<QPrintDialog*>(&d)) {
            p->printer()->setOutputFormat(QPrinter::PdfFormat);
            p->printer()->setOutputFileName(pdf);
            p->printer()->setPageSize(QPageSize(QPageSize::Letter));
            return int(QDialog::Accepted);
        }
        return int(QDialog::Rejected);
    };
    rep::QtReportsHost host(s.state, nullptr);
    QVERIFY(rep::RunReportsOn(s.state, Reports::kPrint, host));
}

// A Ui answering the multi-file open dialog.
class CompareUi : public caldren::Ui {
public:
    std::vector<std::string> files;
    caldren::MsgAnswer MsgBox(const std::string& text, int, const std::string&) override {
        messages.push_back(text);
        return caldren::MsgAnswer::Ok;
    }
    std::string OpenFileDialog(const caldren::FileDialogSpec&) override { return {}; }
    std::string SaveFileDialog(const caldren::FileDialogSpec&) override { return {}; }
    std::vector<std::string> OpenFilesDialog(const caldren::FileDialogSpec&) override { return files; }
    void Beep() override {}
    void SetStatusText(const std::string&) override {}
    void SetRecentEntry(int, const std::string&, bool) override {}
    void SetRecentSeparatorVisible(bool) override {}
    void ShowInputForm() override {}
    void ReportErrorAndQuit(long, const std::string&) override {}
    void ShutDown(bool) override {}
    std::vector<std::string> messages;
};

frmReportForm* OpenViewer(const QString& caption) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* v = dynamic_cast<frmReportForm*>(w))
            if (v->isVisible() && v->windowTitle() == caption) return v;
    return nullptr;
}

}  // namespace

class tst_reportPdf : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void savedSummaryEqualsThePageModel();
    void savedReportsEqualPrinting_data();
    void savedReportsEqualPrinting();
    void detailedShowsAndSavesTheChart();
    void noChartWithoutThePeakMethod();
    void cancelWritesNothing();
    void compareYearsViewerPrintsAndSaves();
    void failureLeavesTheOldFile();
};

void tst_reportPdf::init() {
    gui::FileDialog::reset();
    gui::FileDialog::setHeadless(true);
    // No printer chosen yet: the PDF takes US Letter.
    rep::ReportPrinter::Instance().SetPrinter(nullptr);
}

void tst_reportPdf::cleanup() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (dynamic_cast<frmReportForm*>(w)) delete w;
    gui::FileDialog::reset();
}

void tst_reportPdf::savedSummaryEqualsThePageModel() {
    reportstest::Session s;
    auto viewers = ViewReports(s, {0, 1, 0});
    QCOMPARE(int(viewers.size()), 1);
    frmReportForm* viewer = viewers[0];
    QVERIFY(viewer->actSavePdf);
    QCOMPARE(viewer->actSavePdf->text(), QStringLiteral("Save as PDF..."));
    QCOMPARE(viewer->actSavePdf->objectName(), QStringLiteral("pdf"));
    // The recorded report is the builder's: one chunk of 18 lines and one of 2.
    const rep::RecordedReport& rec = viewer->Recorded();
    QCOMPARE(rec.start.kind, Reports::ReportKind::Summary);
    QCOMPARE(int(rec.chunks.size()), 2);
    QCOMPARE(rec.chunks[0].lines, 18);
    QCOMPARE(rec.chunks[1].lines, 2);

    const QString pdf = s.Path(QStringLiteral("summary.pdf"));
    gui::FileDialog::setNextFileName(pdf);
    viewer->actSavePdf->trigger();
    QVERIFY(QFileInfo::exists(pdf));
    // The save dialog: title, PDF filter, a name from the data file and the report.
    const caldren::FileDialogSpec spec = gui::FileDialog::history().last();
    QCOMPARE(QString::fromStdString(spec.title), QStringLiteral("Save as PDF"));
    QCOMPARE(QString::fromStdString(spec.initialName), QStringLiteral("DEMO Summary Report.pdf"));
    QCOMPARE(QString::fromStdString(spec.filter), QStringLiteral("PDF Files(*.pdf)|*.pdf|All Files(*.*)|*.*||"));

    // The page model of the same report on a device of the PDF's lines per page.
    const rep::FontSpec font = rep::PrintableFont(rep::ReportFont(s.state));
    ModelDevice device(PdfLinesPerPage(font));
    PRINT::PageModel model(device);
    for (const auto& c : rec.chunks) {
        model.PrnManager2(c.lines, c.headings.h1, c.headings.h2, c.headings.h3);
        model.PrintChunk(c.text);
    }
    model.PrnManager2(Reports::kEndReport, "", "", "");
    model.PrnManager2(Reports::kEndJob, "", "", "");
    QList<QStringList> expected;
    for (const QStringList& page : device.pages) expected << Words(page);

    const QList<QStringList> saved = PdfPages(pdf);
    QCOMPARE(saved.size(), 1);
    QCOMPARE(saved, expected);
    QVERIFY(saved[0].contains(QStringLiteral("Page 1")));
    QVERIFY(gui::MessageBox::history().isEmpty());
}

void tst_reportPdf::savedReportsEqualPrinting_data() {
    QTest::addColumn<int>("input");
    QTest::addColumn<int>("summary");
    QTest::addColumn<int>("detail");
    QTest::newRow("Inputs") << 1 << 0 << 0;
    QTest::newRow("Summary") << 0 << 1 << 0;
    QTest::newRow("Detailed Analysis with its chart") << 0 << 0 << 1;
}

// The saved file and the printed file of the same report hold the same pages.
void tst_reportPdf::savedReportsEqualPrinting() {
    QFETCH(int, input);
    QFETCH(int, summary);
    QFETCH(int, detail);
    reportstest::Session s;
    const Reports::ReportChoices choices{input, summary, detail};
    auto viewers = ViewReports(s, choices);
    QCOMPARE(int(viewers.size()), 1);
    const QString saved = s.Path(QStringLiteral("saved.pdf"));
    gui::FileDialog::setNextFileName(saved);
    QCOMPARE(viewers[0]->SavePdf(), saved);

    const QString printed = s.Path(QStringLiteral("printed.pdf"));
    PrintReports(s, choices, printed);
    QVERIFY(QFileInfo::exists(printed));
    const QString a = reportstest::PdfText(saved);
    const QString b = reportstest::PdfText(printed);
    QVERIFY(!a.trimmed().isEmpty());
    QCOMPARE(a, b);
}

void tst_reportPdf::detailedShowsAndSavesTheChart() {
    reportstest::Session s;  // DEMO.CLD: both methods, twelve months
    auto viewers = ViewReports(s, {0, 0, 1});
    QCOMPARE(int(viewers.size()), 1);
    frmReportForm* viewer = viewers[0];
    QVERIFY(viewer->Chart() != nullptr);
    QVERIFY(viewer->Chart()->isVisible());
    QCOMPARE(int(viewer->Chart()->data().months.size()), 12);
    QVERIFY(viewer->Chart()->data().averageCycle.has_value());
    // The chart stands under the text.
    QVERIFY(viewer->Chart()->mapTo(viewer, QPoint(0, 0)).y() >
            viewer->txtReport->mapTo(viewer, QPoint(0, 0)).y());
    // The peak month of the chart is the one whose cycle the engine kept as the peak.
    const CycleChart::ChartData& d = viewer->Chart()->data();
    QVERIFY(d.peakIndex >= 0);
    QCOMPARE(Reports::FormatRatioValue(d.months[size_t(d.peakIndex)].operatingCycle),
             Reports::FormatRatio(s.state.engine->get_OperatingCyclePeak()));

    const QString pdf = s.Path(QStringLiteral("detailed.pdf"));
    gui::FileDialog::setNextFileName(pdf);
    QCOMPARE(viewer->SavePdf(), pdf);
    const QList<QStringList> pages = PdfPages(pdf);
    QVERIFY(pages.size() >= 2);
    // The last page is the chart's: the report's heading block, the chart, the page number.
    const QString last = pages.last().join(QLatin1Char(' '));
    QVERIFY2(last.contains(QStringLiteral("Monthly Operating Cycles - Year Ending")), qPrintable(last));
    QVERIFY(last.contains(CycleChart::PeakLabel(d)));
    QVERIFY(last.contains(QString::fromStdString(s.state.engine->get_sName())));
    QVERIFY(pages.last().last() == QStringLiteral("Page ") + QString::number(pages.size()));
    QVERIFY(!last.contains(QStringLiteral("Days In Adjusted Operating Cycle")));
    for (int i = 0; i < pages.size(); ++i)
        QCOMPARE(pages[i].last(), QStringLiteral("Page ") + QString::number(i + 1));
}

void tst_reportPdf::noChartWithoutThePeakMethod() {
    reportstest::Session s;
    s.state.engine->put_DoPeakCycle(false);  // the loaded file leaves an edit open
    auto viewers = ViewReports(s, {0, 1, 1});
    QCOMPARE(int(viewers.size()), 2);
    for (const auto& v : viewers) {
        QVERIFY(v->Chart() == nullptr);
        QVERIFY(!v->Recorded().chart.has_value());
    }
}

void tst_reportPdf::cancelWritesNothing() {
    reportstest::Session s;
    auto viewers = ViewReports(s, {0, 1, 0});
    gui::FileDialog::setNextFileName(QString());  // cancelled
    QCOMPARE(viewers[0]->SavePdf(), QString());
    QVERIFY(QDir(s.dir.path()).entryList({QStringLiteral("*.pdf"), QStringLiteral(".*.part")},
                                         QDir::Files | QDir::Hidden).isEmpty());
    QVERIFY(gui::MessageBox::history().isEmpty());
}

void tst_reportPdf::failureLeavesTheOldFile() {
    reportstest::Session s;
    auto viewers = ViewReports(s, {0, 1, 0});
    // A folder that does not exist.
    const QString missing = s.Path(QStringLiteral("no-such-folder/out.pdf"));
    gui::FileDialog::setNextFileName(missing);
    QCOMPARE(viewers[0]->SavePdf(), QString());
    QVERIFY(!QFileInfo::exists(missing));
    QCOMPARE(gui::MessageBox::history().size(), 1);
    QVERIFY(gui::MessageBox::history()[0].text.contains(QStringLiteral("could not be written")));
    QCOMPARE(gui::MessageBox::history()[0].title, QStringLiteral("Save as PDF"));
    // A name without an extension gets ".pdf"; an existing file is replaced whole.
    QFile old(s.Path(QStringLiteral("report.pdf")));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    // Asked first: No keeps the old file.
    gui::MessageBox::setNextAnswer(caldren::MsgAnswer::No);
    gui::FileDialog::setNextFileName(s.Path(QStringLiteral("report")));
    QCOMPARE(viewers[0]->SavePdf(), QString());
    QCOMPARE(gui::MessageBox::history().size(), 2);
    QCOMPARE(gui::MessageBox::history()[1].text,
             s.Path(QStringLiteral("report.pdf")) + QStringLiteral(" already exists.\nDo you want to replace it?"));
    QCOMPARE(gui::MessageBox::history()[1].style, int(caldren::kYesNo | caldren::kExclamation));
    {
        QFile same(s.Path(QStringLiteral("report.pdf")));
        QVERIFY(same.open(QIODevice::ReadOnly));
        QCOMPARE(same.readAll(), QByteArray("old"));
    }
    gui::MessageBox::setNextAnswer(caldren::MsgAnswer::Yes);
    gui::FileDialog::setNextFileName(s.Path(QStringLiteral("report")));
    QCOMPARE(viewers[0]->SavePdf(), s.Path(QStringLiteral("report.pdf")));
    QFile now(s.Path(QStringLiteral("report.pdf")));
    QVERIFY(now.open(QIODevice::ReadOnly));
    QVERIFY(now.readAll().startsWith("%PDF"));
}

// View, Compare Years...: the comparison in a viewer of its own; its "print" prints the
// comparison (not the analysis' reports) and "Save as PDF..." saves the same pages.
void tst_reportPdf::compareYearsViewerPrintsAndSaves() {
    reportstest::Session s;
    CompareUi ui;
    s.state.ui = &ui;
    const QString data = QStringLiteral(CALDREN_COMPARE_DATA);
    QFile::copy(data + QStringLiteral("/acme2002.cld"), s.Path(QStringLiteral("acme2002.cld")));
    QFile::copy(data + QStringLiteral("/acme2003.CLD"), s.Path(QStringLiteral("acme2003.CLD")));
    ui.files = {s.Path(QStringLiteral("acme2003.CLD")).toStdString(),
                s.Path(QStringLiteral("acme2002.cld")).toStdString()};
    QCOMPARE(rep::CompareYearsCommand(s.state, nullptr), 2);
    frmReportForm* viewer = OpenViewer(QStringLiteral("Comparison Report"));
    QVERIFY(viewer);
    QCOMPARE(viewer->Recorded().start.kind, Reports::ReportKind::Compare);
    QVERIFY(viewer->Chart() == nullptr);
    QFile two(QStringLiteral(CALDREN_REPORTS_DATA) + QStringLiteral("/compare_two.txt"));
    QVERIFY(two.open(QIODevice::ReadOnly));
    std::string body;
    for (const auto& c : viewer->Recorded().chunks) body += c.text;
    QCOMPARE(QByteArray::fromStdString(body + "\r\n"), two.readAll());
    QVERIFY(ui.messages.empty());

    const QString saved = s.Path(QStringLiteral("compare-saved.pdf"));
    gui::FileDialog::setNextFileName(saved);
    QCOMPARE(viewer->SavePdf(), saved);
    QCOMPARE(QString::fromStdString(gui::FileDialog::history().last().initialName),
             QStringLiteral("Comparison Report.pdf"));

    // "print": the print dialog, then the comparison, and nothing else.
    const QString printed = s.Path(QStringLiteral("compare-printed.pdf"));
    QStringList titles;
    gui::Seams().runModal = [&](QDialog& d) {
        titles << d.windowTitle();
        if (auto* p = dynamic_cast<QPrintDialog*>(&d)) {
            p->printer()->setOutputFormat(QPrinter::PdfFormat);
            p->printer()->setOutputFileName(printed);
            p->printer()->setPageSize(QPageSize(QPageSize::Letter));
            return int(QDialog::Accepted);
        }
        return int(QDialog::Rejected);
    };
    viewer->actPrint->trigger();
    QCOMPARE(titles, QStringList{QStringLiteral("Print Reports")});
    QVERIFY(QFileInfo::exists(printed));
    const QString a = reportstest::PdfText(saved);
    QCOMPARE(a, reportstest::PdfText(printed));
    QVERIFY(a.contains(QStringLiteral("Comparison Of Years")));
    QVERIFY(a.contains(QStringLiteral("Net Operating Cycle - Part Of Year")));
    s.state.ui = nullptr;
}

int main(int argc, char** argv) {
    reportstest::PinEnvironment();
    QApplication app(argc, argv);
    tst_reportPdf t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_reportPdf.moc"
