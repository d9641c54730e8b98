// The results panel and the list of checks on the offscreen platform, on the real engine.
#include "app/results/ChecksList.h"
#include "app/results/ResultsPanel.h"
#include "tests/gui/GuiTestSupport.h"

#include <CycleChart.h>
#include <analysis/InputChanges.h>

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

class TestResults : public QObject {
    Q_OBJECT

    static QString dataFile(const char* name) {
        return QStringLiteral(CALDREN_TEST_DATA "/analysis/") + QString::fromUtf8(name);
    }
    static QByteArray bytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QString text(const char* name) { return QString::fromUtf8(bytes(dataFile(name))); }
    // A copy of a data file loaded into the session's engine, as Open does.
    static QString open(guitest::Session& s, QTemporaryDir& dir, const char* name) {
        const QString file = dir.filePath(QStringLiteral("open.cld"));
        QFile::copy(dataFile(name), file);
        s.state.document.engine->Load(file.toStdString());
        return file;
    }

private slots:
    void panelFollowsTheAnalysisWithoutSaving() {
        guitest::Session s;
        QTemporaryDir dir;
        const QString file = open(s, dir, "worked_both.cld");
        const QByteArray onDisk = bytes(file);
        caldren::results::ResultsPanel panel(s.state.document, s.state.program, s.dialogs);
        QCOMPARE(panel.resultsText(), text("panel_both.txt"));
        QVERIFY(panel.chart()->isVisibleTo(&panel));
        QCOMPARE(panel.chart()->data().peakIndex, 2);

        // Copy: a table, as tab-separated text and as HTML; a part of the lines, those rows.
        auto* results = panel.findChild<QPlainTextEdit*>(QStringLiteral("txtResults"));
        results->selectAll();
        results->copy();
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(copied->text(), text("panel_both_copied.tsv"));
        QCOMPARE(copied->html(), text("panel_both_copied.html"));
        QTextCursor lines(results->document()->findBlockByNumber(4));
        lines.setPosition(results->document()->findBlockByNumber(6).position(),
                          QTextCursor::KeepAnchor);  // two lines, ending at the third's start
        results->setTextCursor(lines);
        results->copy();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("Available Working Capital\t250000\nCost Of Operations\t840000\n"));

        s.state.document.engine->put_NetSales("0");
        caldren::analysis::InputChanges().Notify();
        caldren::analysis::InputChanges().Notify();
        QTRY_COMPARE(panel.resultsText(), text("panel_both_no_sales.txt"));
        results->selectAll();
        results->copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), text("panel_both_no_sales_copied.tsv"));
        QVERIFY(!panel.chart()->isVisibleTo(&panel));
        QCOMPARE(
            panel.checksList()->lines().last(),
            QStringLiteral(
                "Zero base: Net Sales is zero: the calculation divides by it, so no method can "
                "be calculated."));
        QCOMPARE(bytes(file), onDisk);
        QVERIFY(s.state.document.IsSaved());
    }

    void checksListMovesTheMonthDates() {
        guitest::Session s;
        QTemporaryDir dir;
        open(s, dir, "checks_dates.cld");
        caldren::results::ChecksList list(s.state.document, s.state.program, s.dialogs);
        auto* button = list.findChild<QPushButton*>(QStringLiteral("btnMoveMonthDates"));
        QVERIFY(button->isVisibleTo(&list));
        QCOMPARE(list.lines(),
                 QStringList{QStringLiteral(
                     "Month dates: The dates of months 7 to 12 (01/15/2026 to 06/15/2026) lie "
                     "outside the tax year ending 12/31/2025, which runs from January 2025 to "
                     "December 2025.")});
        int afterAction = 0;
        list.setAfterAction([&](caldren::analysis::CheckAction) { ++afterAction; });
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(afterAction, 1);
        QCOMPARE(s.state.document.engine->get_colMonths()
                     ->get_Item(vesmora::IndexKey{1L})
                     ->get_MonthDate(),
                 std::string("01/15/2025"));
        QVERIFY(!s.state.document.IsSaved());
        QTRY_COMPARE(list.lines(), QStringList{QStringLiteral("Nothing looks wrong.")});
        QVERIFY(!button->isVisibleTo(&list));
    }
};

GUITEST_MAIN(TestResults)
#include "tst_resultsPanel.moc"
