// Printing (module PRINT on a QPrinter writing PDF files) and the report font: the page
// model read back with pdftotext, print jobs per copy, the print dialog, the font rules
// and the error 380 path.
#include "ReportsTestSupport.h"

#include "app/gui/frmError.h"
#include "app/reports/QtReportsHost.h"
#include "app/reports/ReportFonts.h"
#include "app/reports/ReportPrinter.h"
#include "app/reports/dlgRptChoices.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QFileInfo>
#include <QFontDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QMap>
#include <QRegularExpression>
#include <QPageLayout>
#include <cmath>

namespace gui = caldren::gui;
namespace rep = caldren::reports;

namespace {

// Answers the report choices (OK with the given boxes) and the print dialog (PDF file,
// copies); counts what was shown.
struct PrintScript {
    QString pdf;
    int copies = 1;
    bool cancelPrint = false;
    Reports::ReportChoices choices{1, 1, 1};
    QStringList titles;

    void Install() {
        gui::Seams().runModal = [this](QDialog& d) {
            titles << d.windowTitle();
            if (auto* c = dynamic_cast<dlgRptChoices*>(&d)) {
                c->chkRptInput->setChecked(choices.input == 1);
                c->chkRptSummary->setChecked(choices.summary == 1);
                c->chkRptDetail->setChecked(choices.detail == 1);
                c->btnOK->click();
                return c->result();
            }
            if (auto* p = dynamic_cast<QPrintDialog*>(&d)) {
                if (cancelPrint) return int(QDialog::Rejected);
                p->printer()->setOutputFormat(QPrinter::PdfFormat);
                p->printer()->setOutputFileName(pdf);
                p->printer()->setPageSize(QPageSize(QPageSize::Letter));
                p->printer()->setCopyCount(copies);
                return int(QDialog::Accepted);
            }
            return int(QDialog::Rejected);
        };
    }
};

QStringList Pages(const QString& text) {
    QStringList pages = text.split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

// The words of a PDF with their places (pdftotext -bbox), grouped in printed lines.
struct PrintedLine {
    double y = 0;                 // top of the line, points
    QList<double> x;              // left edge of each word, points
    QStringList words;
};
using PrintedPage = QList<PrintedLine>;

QList<PrintedPage> ReadPdfLines(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    p.waitForFinished(60000);
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    QList<PrintedPage> pages;
    QList<QMap<long, PrintedLine>> byLine;
    static const QRegularExpression tag(QStringLiteral(
        R"re(<page |<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="[0-9.]+" yMax="[0-9.]+">([^<]*)</word>)re"));
    auto it = tag.globalMatch(html);
    while (it.hasNext()) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QStringLiteral("<page"))) {
            byLine.append(QMap<long, PrintedLine>());
            continue;
        }
        const double x = m.captured(1).toDouble(), y = m.captured(2).toDouble();
        PrintedLine& line = byLine.last()[std::lround(y)];
        line.y = y;
        line.x << x;
        line.words << m.captured(3).replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    }
    for (const auto& page : byLine) pages.append(page.values());  // top to bottom
    return pages;
}

// Where a phrase starts on a page: its line and column, counted from 1 in character cells
// of the report font from the printable area's top left corner; {0, 0} when absent.
struct Place {
    int line = 0;
    int column = 0;
};

Place Find(const PrintedPage& page, const QString& phrase, double cell, double lineHeight) {
    const QRectF area = caldren::reports::ReportPrinter::Instance().Printer()->pageLayout().paintRect(QPageLayout::Point);
    const QStringList want = phrase.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const PrintedLine& line : page) {
        for (int i = 0; i + want.size() <= line.words.size(); ++i) {
            if (line.words.mid(i, want.size()) == want)
                return Place{int(std::lround((line.y - area.top()) / lineHeight)) + 1,
                             int(std::lround((line.x[i] - area.left()) / cell)) + 1};
        }
    }
    return {};
}

// One character cell and one line in points, for the report font on the printer.
void CellAndLine(double& cell, double& lineHeight) {
    QPrinter* printer = caldren::reports::ReportPrinter::Instance().Printer();
    const auto& rp = caldren::reports::ReportPrinter::Instance();
    const QFont font(caldren::reports::MakeReportFont(rp.FontName(), rp.FontSize(), rp.FontBold()), printer);
    const QFontMetricsF m(font, printer);
    const double toPoints = 72.0 / printer->resolution();
    cell = m.horizontalAdvance(QLatin1Char('M')) * toPoints;
    lineHeight = std::round(std::max(m.lineSpacing(), m.height())) * toPoints;
}

}  // namespace

class tst_reportsPrint : public QObject {
    Q_OBJECT
private slots:
    void init();
    void fontRules_data();
    void fontRules();
    void printerRefusesAProportionalFont();
    void setNewFontWithTheDefaultFontAsksNothing();
    void setNewFontWithAMissingFontWarnsAndLetsTheUserChoose();
    void setNewFontCancelledUsesTheSystemFixedFont();
    void setOldFontWarning();
    void getFontsSizeRules_data();
    void getFontsSizeRules();
    void getFontsCancelChangesNothing();
    void printsTheThreeReportsWithThePageModel();
    void twoCopiesAreTwoJobs();
    void chunkReachingTheBottomReserveMovesToTheNextPage();
    void cancelledPrintDialogPrintsNothing();
    void lineCountOutOfRangeIsRefused();
};

void tst_reportsPrint::init() {
    rep::ReportPrinter::Instance().ResetFont({"Courier New", 10.0f, false});
}

void tst_reportsPrint::fontRules_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("usable");
    QTest::newRow("Courier New (Liberation Mono)") << QStringLiteral("Courier New") << true;
    QTest::newRow("Liberation Mono") << QStringLiteral("Liberation Mono") << true;
    QTest::newRow("DejaVu Sans Mono") << QStringLiteral("DejaVu Sans Mono") << true;
    QTest::newRow("DejaVu Sans") << QStringLiteral("DejaVu Sans") << false;
    QTest::newRow("Liberation Serif") << QStringLiteral("Liberation Serif") << false;
    QTest::newRow("empty") << QString() << false;
}

void tst_reportsPrint::fontRules() {
    QFETCH(QString, family);
    QFETCH(bool, usable);
    QCOMPARE(rep::IsFixedPitchFamily(family.toStdString()), usable);
}

void tst_reportsPrint::printerRefusesAProportionalFont() {
    auto& printer = rep::ReportPrinter::Instance();
    try {
        printer.SetFontName("DejaVu Sans");
        QFAIL("no error");
    } catch (const activation::ComError& e) {
        QCOMPARE(e.Number(), 380L);
    }
    QCOMPARE(printer.FontName(), std::string("Courier New"));
    try {
        printer.SetFontSize(0.0f);
        QFAIL("no error");
    } catch (const activation::ComError& e) {
        QCOMPARE(e.Number(), 380L);
    }
}

void tst_reportsPrint::setNewFontWithTheDefaultFontAsksNothing() {
    reportstest::Session s(false);
    int dialogs = 0;
    gui::Seams().runModal = [&](QDialog&) { ++dialogs; return int(QDialog::Rejected); };
    rep::ReportPrinter::Instance().ResetFont({"Liberation Mono", 9.0f, true});
    Reports::PrinterFontRecord saved;
    rep::SetNewFont(s.state, "Courier New", 10.0f, false, saved);
    QCOMPARE(dialogs, 0);
    QCOMPARE(gui::MessageBox::history().size(), 0);
    QCOMPARE(saved.name, std::string("Liberation Mono"));
    QCOMPARE(saved.size, 9.0f);
    QCOMPARE(saved.bold, true);
    const auto& printer = rep::ReportPrinter::Instance();
    QCOMPARE(printer.FontName(), std::string("Courier New"));
    QCOMPARE(printer.FontSize(), 10.0f);
    QCOMPARE(printer.FontBold(), false);
    rep::SetOldFont(s.state, saved);
    QCOMPARE(printer.FontName(), std::string("Liberation Mono"));
    QCOMPARE(printer.FontBold(), true);
}

void tst_reportsPrint::setNewFontWithAMissingFontWarnsAndLetsTheUserChoose() {
    reportstest::Session s(false);
    s.state.fontName = "DejaVu Sans";
    s.state.fontSize = 10.0f;
    QStringList warnings;
    bool monospacedOnly = false;
    gui::Seams().runModal = [&](QDialog& d) {
        if (auto* w = dynamic_cast<frmError*>(&d)) {
            warnings << w->lblErrInfo->text();
            return int(QDialog::Accepted);
        }
        if (auto* f = dynamic_cast<QFontDialog*>(&d)) {
            monospacedOnly = f->testOption(QFontDialog::MonospacedFonts);
            QFont chosen(QStringLiteral("Liberation Mono"));
            chosen.setPointSizeF(12.0);
            f->setCurrentFont(chosen);
            f->accept();
            return int(QDialog::Accepted);
        }
        return int(QDialog::Rejected);
    };
    Reports::PrinterFontRecord saved;
    rep::SetNewFont(s.state, s.state.fontName, s.state.fontSize, false, saved);
    QCOMPARE(warnings, QStringList{QStringLiteral(
                           "This program requires the DejaVu Sans (10 point) font, which is not "
                           "available on this system. Please install this font. The program will use "
                           "the default font for this system. Report formatting may be affected. As an "
                           "alternative, the program will let you select a font.")});
    // GetFonts' own warning came first.
    QCOMPARE(gui::MessageBox::history().size(), 1);
    QCOMPARE(gui::MessageBox::history()[0].title, QStringLiteral("WARNING!"));
    QCOMPARE(gui::MessageBox::history()[0].style, caldren::kOkOnly | caldren::kExclamation);
    QCOMPARE(gui::MessageBox::history()[0].text, QString::fromUtf8(rep::kFontAdviceText));
    QVERIFY(monospacedOnly);
    QCOMPARE(s.state.fontName, std::string("Liberation Mono"));
    QCOMPARE(s.state.fontSize, 12.0f);
    QCOMPARE(rep::ReportPrinter::Instance().FontName(), std::string("Liberation Mono"));
    QCOMPARE(rep::ReportPrinter::Instance().FontSize(), 12.0f);
    QVERIFY(!s.state.hideWarning);  // the box was not ticked
}

void tst_reportsPrint::setNewFontCancelledUsesTheSystemFixedFont() {
    reportstest::Session s(false);
    s.state.fontName = "DejaVu Sans";
    s.state.hideWarning = true;  // "Hide Error Msg"/"380" set: no warning window
    int warnings = 0, fontDialogs = 0;
    gui::Seams().runModal = [&](QDialog& d) {
        if (dynamic_cast<frmError*>(&d)) ++warnings;
        if (dynamic_cast<QFontDialog*>(&d)) ++fontDialogs;
        return int(QDialog::Rejected);
    };
    Reports::PrinterFontRecord saved;
    rep::SetNewFont(s.state, s.state.fontName, s.state.fontSize, false, saved);
    QCOMPARE(warnings, 0);
    QCOMPARE(fontDialogs, 1);
    QCOMPARE(s.state.fontName, std::string("DejaVu Sans"));  // the report font stays
    QVERIFY(rep::IsFixedPitchFamily(rep::ReportPrinter::Instance().FontName()));
}

void tst_reportsPrint::setOldFontWarning() {
    reportstest::Session s(false);
    QStringList warnings;
    gui::Seams().runModal = [&](QDialog& d) {
        if (auto* w = dynamic_cast<frmError*>(&d)) warnings << w->lblErrInfo->text();
        return int(QDialog::Accepted);
    };
    Reports::PrinterFontRecord saved{"DejaVu Sans", 10.5f, true};
    rep::SetOldFont(s.state, saved);
    QCOMPARE(warnings, QStringList{QStringLiteral(
                           "The DejaVu Sans (10.5 point) font, could not be located. The program will "
                           "use the default font. Report formatting may be affected.")});
    // The rest of the record is not applied.
    QCOMPARE(rep::ReportPrinter::Instance().FontName(), std::string("Courier New"));
    QCOMPARE(rep::ReportPrinter::Instance().FontBold(), false);
}

void tst_reportsPrint::getFontsSizeRules_data() {
    QTest::addColumn<double>("chosen");
    QTest::addColumn<float>("kept");
    QTest::newRow("4 becomes 10") << 4.0 << 10.0f;
    QTest::newRow("5 stays 5") << 5.0 << 5.0f;
    QTest::newRow("12 stays 12") << 12.0 << 12.0f;
}

void tst_reportsPrint::getFontsSizeRules() {
    QFETCH(double, chosen);
    QFETCH(float, kept);
    reportstest::Session s(false);
    s.state.fontSize = 11.0f;
    bool startedBold = false;
    QString startFamily;
    gui::Seams().runModal = [&](QDialog& d) {
        auto* f = dynamic_cast<QFontDialog*>(&d);
        if (!f) return int(QDialog::Rejected);
        startedBold = f->currentFont().bold();
        startFamily = f->currentFont().family();
        QFont font(QStringLiteral("DejaVu Sans Mono"));
        font.setPointSizeF(chosen);
        f->setCurrentFont(font);
        f->accept();
        return int(QDialog::Accepted);
    };
    rep::GetFonts(s.state);
    QVERIFY(startedBold);
    QCOMPARE(startFamily, rep::ResolvedFamily("Courier New"));
    QCOMPARE(s.state.fontName, std::string("DejaVu Sans Mono"));
    QCOMPARE(s.state.fontSize, kept);
}

void tst_reportsPrint::getFontsCancelChangesNothing() {
    reportstest::Session s(false);
    s.state.fontName = "Courier New";
    s.state.fontSize = 11.0f;
    gui::Seams().runModal = [](QDialog&) { return int(QDialog::Rejected); };
    rep::GetFonts(s.state);
    QCOMPARE(gui::MessageBox::history().size(), 1);  // the warning has still been shown
    QCOMPARE(s.state.fontName, std::string("Courier New"));
    QCOMPARE(s.state.fontSize, 11.0f);
}

void tst_reportsPrint::printsTheThreeReportsWithThePageModel() {
    reportstest::Session s;
    PrintScript script;
    script.pdf = s.Path(QStringLiteral("reports.pdf"));
    script.Install();
    rep::QtReportsHost host(s.state, nullptr);
    QVERIFY(rep::RunReportsOn(s.state, Reports::kPrint, host));
    QCOMPARE(script.titles, (QStringList{QStringLiteral("Select Reports (Print)"), QStringLiteral("Print Reports")}));
    QCOMPARE(rep::ReportPrinter::Instance().JobsEnded(), 1);
    const QString name = QString::fromStdString(s.state.engine->get_sName());
    const QString line2 = QString::fromStdString(s.state.engine->get_Line2());
    const QList<PrintedPage> pages = ReadPdfLines(script.pdf);
    QVERIFY2(pages.size() >= 3, qPrintable(QString::number(pages.size())));
    double cell = 0, lineHeight = 0;
    CellAndLine(cell, lineHeight);
    const int L = rep::ReportPrinter::Instance().LinesPerPage();
    const QStringList text = Pages(reportstest::PdfText(script.pdf));
    QCOMPARE(text.size(), pages.size());
    int summaryPage = -1, detailPage = -1;
    for (int i = 0; i < pages.size(); ++i) {
        // 6 empty lines, then the headings at print column 10 on lines 7 and 8.
        const Place h1 = Find(pages[i], name, cell, lineHeight);
        const Place h2 = Find(pages[i], line2, cell, lineHeight);
        QCOMPARE(h1.line, 7);
        QCOMPARE(h1.column, 10);
        QCOMPARE(h2.line, 8);
        QCOMPARE(h2.column, 10);
        // "Page  n" at print column 3, below every body line, within the page.
        const Place number = Find(pages[i], QStringLiteral("Page ") + QString::number(i + 1), cell, lineHeight);
        QCOMPARE(number.column, 3);
        QVERIFY2(number.line > 10 && number.line <= L - 6 + 1, qPrintable(QString::number(number.line)));
        QCOMPARE(pages[i].last().words.join(QLatin1Char(' ')), QStringLiteral("Page ") + QString::number(i + 1));
        // "Page", two blanks (one of them the number's sign place), the number.
        QCOMPARE(int(std::lround((pages[i].last().x[1] - pages[i].last().x[0]) / cell)), 6);
        if (summaryPage < 0 && text[i].contains(QStringLiteral("Year Ending"))) summaryPage = i;
        if (detailPage < 0 && text[i].contains(QStringLiteral("Available Working Capital"))) detailPage = i;
    }
    // The Inputs report first, then the Summary, then the Detailed Analysis, each from a
    // new page; page numbers count on through the job.
    QVERIFY(text.first().contains(QStringLiteral("Inputs - Caldren Formula Calculator")));
    QVERIFY(summaryPage > 0);
    QVERIFY(detailPage > summaryPage);
}

void tst_reportsPrint::twoCopiesAreTwoJobs() {
    reportstest::Session s;
    PrintScript script;
    script.pdf = s.Path(QStringLiteral("copies.pdf"));
    script.copies = 2;
    script.choices = {0, 1, 0};
    script.Install();
    rep::QtReportsHost host(s.state, nullptr);
    QVERIFY(rep::RunReportsOn(s.state, Reports::kPrint, host));
    const auto& printer = rep::ReportPrinter::Instance();
    QCOMPARE(printer.JobsEnded(), 2);
    QCOMPARE(printer.JobFiles(), (QStringList{script.pdf, s.Path(QStringLiteral("copies-2.pdf"))}));
    const QString first = reportstest::PdfText(printer.JobFiles()[0]);
    const QString second = reportstest::PdfText(printer.JobFiles()[1]);
    QVERIFY(!first.isEmpty());
    QCOMPARE(second, first);
    // Each job starts at page 1.
    double cell = 0, lineHeight = 0;
    CellAndLine(cell, lineHeight);
    QCOMPARE(Find(ReadPdfLines(printer.JobFiles()[1]).first(), QStringLiteral("Page 1"), cell, lineHeight).column, 3);
}

void tst_reportsPrint::chunkReachingTheBottomReserveMovesToTheNextPage() {
    reportstest::Session s(false);
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    const QString pdf = s.Path(QStringLiteral("chunks.pdf"));
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdf);
    printer->setPageSize(QPageSize(QPageSize::Letter));
    rep::ReportPrinter::Instance().SetPrinter(std::move(printer));
    const int L = rep::ReportPrinter::Instance().LinesPerPage();
    QVERIFY(L > 30);

    // Chunks of 10 lines: the counter runs 13, 23, 33, ...; a chunk starts a new page when
    // counter + 10 >= L - 6.
    rep::PrintSink sink(s.state, nullptr);
    Reports::ReportHeadings h{"ACME TOOL CORPORATION", "Line two", "Chunk test"};
    sink.BeginReport(Reports::ReportStart{Reports::ReportKind::Summary, "x", h});
    const int chunks = 12;
    std::vector<int> expectedPage;
    int counter = 13, page = 1;
    for (int c = 0; c < chunks; ++c) {
        if (counter != 13 && counter + 10 >= L - 6) {
            ++page;
            counter = 13;
        }
        counter += 10;
        expectedPage.push_back(page);
        std::string chunk;
        for (int l = 0; l < 10; ++l)
            chunk += "  chunk " + std::to_string(c) + " line " + std::to_string(l) + "\r\n";
        sink.PrintOrDisplay(chunk, 10, h);
    }
    sink.EndReport();
    sink.EndPrintJob();

    const QList<PrintedPage> pages = ReadPdfLines(pdf);
    QCOMPARE(pages.size(), expectedPage.back());
    double cell = 0, lineHeight = 0;
    CellAndLine(cell, lineHeight);
    for (int c = 0; c < chunks; ++c) {
        const PrintedPage& p = pages[expectedPage[c] - 1];
        const Place first = Find(p, QStringLiteral("chunk %1 line 0").arg(c), cell, lineHeight);
        const Place last = Find(p, QStringLiteral("chunk %1 line 9").arg(c), cell, lineHeight);
        QVERIFY2(first.line > 0 && last.line == first.line + 9, qPrintable(QString::number(c)));  // never split
        QCOMPARE(first.column, 3);
    }
    for (int i = 0; i < pages.size(); ++i) {
        QCOMPARE(Find(pages[i], QStringLiteral("ACME TOOL CORPORATION"), cell, lineHeight).line, 7);
        QCOMPARE(Find(pages[i], QStringLiteral("ACME TOOL CORPORATION"), cell, lineHeight).column, 10);
        // Filler lines down to L - 6 by the line counter, which takes the heading block for
        // 13 lines (10 printed here): the page number is printed on line L - 8.
        const Place number = Find(pages[i], QStringLiteral("Page ") + QString::number(i + 1), cell, lineHeight);
        QCOMPARE(number.line, L - 8);
        QCOMPARE(number.column, 3);
    }
}

void tst_reportsPrint::cancelledPrintDialogPrintsNothing() {
    reportstest::Session s;
    PrintScript script;
    script.pdf = s.Path(QStringLiteral("never.pdf"));
    script.cancelPrint = true;
    script.Install();
    rep::ReportPrinter::Instance().ResetFont({"Liberation Mono", 9.0f, false});
    rep::QtReportsHost host(s.state, nullptr);
    rep::RunReportsOn(s.state, Reports::kPrint, host);
    QVERIFY(!QFileInfo::exists(script.pdf));
    QCOMPARE(rep::ReportPrinter::Instance().FontName(), std::string("Liberation Mono"));
    QCOMPARE(rep::ReportPrinter::Instance().FontSize(), 9.0f);
}

void tst_reportsPrint::lineCountOutOfRangeIsRefused() {
    reportstest::Session s(false);
    auto& pages = rep::ReportPrinter::Instance().Pages();
    const int before = pages.Counter();
    QCOMPARE(pages.PrnManager2(41, "", "", ""), 2);
    QCOMPARE(pages.Counter(), before);
    QCOMPARE(gui::MessageBox::history().size(), 1);
    QCOMPARE(gui::MessageBox::history()[0].title, QStringLiteral("Error!"));
    QCOMPARE(gui::MessageBox::history()[0].style, caldren::kOkOnly | caldren::kCritical);
    QCOMPARE(gui::MessageBox::history()[0].text,
             QStringLiteral("41 lines passed to PrnManager2(). Please use between 1 and 40"));
}

int main(int argc, char** argv) {
    reportstest::PinEnvironment();
    QApplication app(argc, argv);
    tst_reportsPrint test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_reportsPrint.moc"
