// The monthly-cycle chart: the peak month by the engine's rule (the first of a tie), the
// mark drawn over that month, the average line, the chart read from the real engine, and
// a grab of the widget that is not blank.
#include "CycleChart.h"

#include <activation/Activation.h>
#include <vesmora/Vesmora.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

using namespace CycleChart;

namespace {

MonthBar Bar(const char* label, double inv, double rec) {
    MonthBar b;
    b.label = QString::fromLatin1(label);
    b.inventoryCycle = inv;
    b.receivableCycle = rec;
    b.operatingCycle = inv + rec;
    return b;
}

int DistinctColours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
}

// Fraction of the pixels in `r` that have exactly the colour `c`.
double Share(const QImage& image, const QRect& r, QRgb c) {
    int hit = 0, all = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            if (!image.rect().contains(x, y)) continue;
            ++all;
            if ((image.pixel(x, y) & 0xffffff) == (c & 0xffffff)) ++hit;
        }
    return all ? double(hit) / all : 0;
}

}  // namespace

class tst_cycleChart : public QObject {
    Q_OBJECT

private slots:
    void peakRule_data();
    void peakRule();
    void tieMarksTheFirstMonth();
    void averageLineOnlyWhenChosen();
    void grabIsNotBlank();
    void fromTheEngine();
};

void tst_cycleChart::peakRule_data() {
    QTest::addColumn<QList<double>>("cycles");
    QTest::addColumn<int>("peak");
    QTest::newRow("worked example") << QList<double>{0.3, 0.2861111, 0.3583333} << 2;
    QTest::newRow("two-month tie") << QList<double>{0.1, 0.4, 0.2, 0.4} << 1;
    QTest::newRow("tie at the start") << QList<double>{0.4, 0.4} << 0;
    QTest::newRow("all zero") << QList<double>{0, 0, 0} << -1;
    QTest::newRow("all negative") << QList<double>{-0.1, -0.2} << -1;
    QTest::newRow("negative then positive") << QList<double>{-0.5, 0.01} << 1;
    QTest::newRow("no months") << QList<double>{} << -1;
}

void tst_cycleChart::peakRule() {
    QFETCH(QList<double>, cycles);
    QFETCH(int, peak);
    std::vector<MonthBar> months;
    for (double c : cycles) months.push_back(Bar("Jan 2002", c / 2, c / 2));
    QCOMPARE(PeakMonth(months), peak);
}

// Two months share the largest cycle: the mark stands over the first of them.
void tst_cycleChart::tieMarksTheFirstMonth() {
    ChartData d;
    d.title = QStringLiteral("Monthly Operating Cycles - Year Ending 12/31/2002");
    d.months = {Bar("Jan 2002", 0.10, 0.05), Bar("Feb 2002", 0.20, 0.15), Bar("Mar 2002", 0.10, 0.10),
                Bar("Apr 2002", 0.15, 0.20), Bar("May 2002", 0.05, 0.05)};
    d.peakIndex = PeakMonth(d.months);
    QCOMPARE(d.peakIndex, 1);
    QCOMPARE(PeakLabel(d), QStringLiteral("Peak Feb 2002: 0.35000"));

    const QRectF area(0, 0, 640, 320);
    const Geometry g = Layout(area, d);
    QCOMPARE(int(g.bars.size()), 5);
    // Feb and Apr are equally tall; the label is centred over Feb, not Apr.
    QCOMPARE(g.bars[1].top(), g.bars[3].top());
    const QRectF label = PeakLabelRect(area, d);
    QVERIFY(!label.isEmpty());
    QVERIFY(label.left() <= g.bars[1].center().x() && g.bars[1].center().x() <= label.right());
    QVERIFY(label.bottom() <= g.bars[1].top());

    // In the drawing: the peak colour outlines Feb's bar and not Apr's.
    QImage image(640, 320, QImage::Format_RGB32);
    {
        QPainter p(&image);
        PaintCycleChart(p, area, d);
    }
    const QRgb red = qRgb(0xc0, 0x1c, 0x28);
    auto leftEdge = [&](const QRectF& bar) {
        return QRect(int(bar.left()) - 1, int(bar.top()) + 4, 3, int(bar.height()) - 8);
    };
    QVERIFY2(Share(image, leftEdge(g.bars[1]), red) > 0.5, "Feb's bar is not outlined");
    QCOMPARE(Share(image, leftEdge(g.bars[3]), red), 0.0);
}

void tst_cycleChart::averageLineOnlyWhenChosen() {
    ChartData d;
    d.months = {Bar("Jan 2002", 0.1, 0.1), Bar("Feb 2002", 0.1, 0.2)};
    d.peakIndex = PeakMonth(d.months);
    const QRectF area(0, 0, 600, 300);
    const QRgb green = qRgb(0x26, 0x7a, 0x3a);
    auto greenIn = [&](const ChartData& data) {
        QImage image(600, 300, QImage::Format_RGB32);
        QPainter p(&image);
        PaintCycleChart(p, area, data);
        p.end();
        const Geometry g = Layout(area, data);
        return Share(image, g.plot.toRect(), green);
    };
    QCOMPARE(greenIn(d), 0.0);
    d.averageCycle = 0.1866;
    QVERIFY(greenIn(d) > 0.0);
    // The line stands at its value: above it a bar of 0.3 reaches, below it none.
    const Geometry g = Layout(area, d);
    QVERIFY(g.YOf(0.1866) > g.bars[1].top());
    QVERIFY(g.YOf(0.1866) < g.YOf(0.0));
}

void tst_cycleChart::grabIsNotBlank() {
    CycleChartWidget w;
    ChartData d;
    d.title = QStringLiteral("Monthly Operating Cycles - Year Ending 12/31/2002");
    d.months = {Bar("Jan 2002", 0.1666667, 0.1333333), Bar("Feb 2002", 0.175, 0.1111111),
                Bar("Mar 2002", 0.1916667, 0.1666667)};
    d.peakIndex = PeakMonth(d.months);
    d.averageCycle = 0.1866;
    w.setData(d);
    w.resize(640, 320);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QImage image = w.grab().toImage();
    QCOMPARE(image.size(), QSize(640, 320));
    // White background, two bar colours, the peak and average colours, text: many colours.
    QVERIFY2(DistinctColours(image) > 8, "the chart looks blank");
    const Geometry g = Layout(QRectF(0, 0, 640, 320), d);
    const QRect inv(int(g.bars[0].left()) + 3, int(g.YOf(0.08)), 4, 4);
    QVERIFY(Share(image, inv, qRgb(0x3b, 0x5b, 0x8c)) > 0.9);
    QVERIFY(!w.grab().isNull());
}

// The worked example of the peak method on the engine: three months, the third the peak
// (0.35833), and the average method's adjusted cycle 0.18660 as the line.
void tst_cycleChart::fromTheEngine() {
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    activation::SetFallbackLibrary(CALDREN_ENGINE_LIBRARY);
    auto calc = activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
    vesmora::_Caldren& c = *calc;
    c.BeginEdit();
    c.put_DoAveCycle(true);
    c.put_DoPeakCycle(true);
    c.put_DoPeakUseSalesAndPurch(true);
    c.put_InvBeg("100,000");
    c.put_InvEnd("120,000");
    c.put_COGS("600,000");
    c.put_ARBeg("80,000");
    c.put_AREnd("100,000");
    c.put_NetSales("900,000");
    c.put_APBegRel2Inv("50,000");
    c.put_APEndRel2Inv("70,000");
    c.put_InvPurchases("620,000");
    c.put_COGSNxtYr("650,000");
    c.put_OperatingExpNxtYr("200,000");
    c.put_IncTaxNxtYr("30,000");
    c.put_DeprecNxtYr("40,000");
    c.put_CurAssets("500,000");
    c.put_CurLiab("250,000");
    auto months = c.get_colMonths();
    months->Add("1/15/2002", "0", "120000", "75000", "50000", 0, 0, 0);
    months->Add("2/15/2002", "0", "100000", "60000", "45000", 0, 0, 0);
    months->Add("3/15/2002", "0", "150000", "90000", "70000", 0, 0, 0);
    c.ApplyEdit((home.path() + QStringLiteral("/acme.cld")).toStdString());
    c.Calculate();
    QVERIFY(WantsChart(c));

    const ChartData d = FromEngine(c);
    QCOMPARE(int(d.months.size()), 3);
    QCOMPARE(d.peakIndex, 2);
    QCOMPARE(PeakLabel(d).right(7), QStringLiteral("0.35833"));
    // The month keeps its cycles to five decimals: 100,000 / 600,000 and 120,000 / 900,000.
    QCOMPARE(d.months[0].inventoryCycle, 0.16667);
    QCOMPARE(d.months[0].receivableCycle, 0.13333);
    QCOMPARE(d.months[0].label, QStringLiteral("Jan 2002"));
    QCOMPARE(d.months[2].operatingCycle, 0.35833);
    QVERIFY(d.averageCycle.has_value());
    QCOMPARE(*d.averageCycle, 0.1866);
    QVERIFY(d.title.endsWith(QStringLiteral("12/31/2002")));

    c.BeginEdit();
    c.put_DoPeakCycle(false);
    QVERIFY(!WantsChart(c));
    c.CancelEdit();
}

QTEST_MAIN(tst_cycleChart)
#include "tst_cycleChart.moc"
