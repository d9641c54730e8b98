// The monthly-cycle chart: the peak month by the engine's rule (the first of a tie), the
// mark drawn over that month and the average line in the widget's grab, and the chart read
// from the engine's worked example. CTest pins HOME and the platform.
#include "CycleChart.h"

#include <activation/Activation.h>
#include <vesmora/Vesmora.h>

#include <QtTest>

using namespace CycleChart;

namespace {

MonthBar Bar(const char* label, double inv, double rec) {
    return {QString::fromLatin1(label), inv, rec, inv + rec};
}

// Fraction of the pixels in `r` that have exactly the colour `c`.
double Share(const QImage& image, const QRect& r, QRgb c) {
    int hit = 0, all = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x, ++all)
            hit += std::abs(qRed(image.pixel(x, y)) - qRed(c)) +
                       std::abs(qGreen(image.pixel(x, y)) - qGreen(c)) +
                       std::abs(qBlue(image.pixel(x, y)) - qBlue(c)) <
                   60;  // edges are smoothed
    return all ? double(hit) / all : 0;
}

}  // namespace

class tst_cycleChart : public QObject {
    Q_OBJECT

private slots:
    void peakRule() {
        const std::vector<std::vector<double>> cycles = {{0.3, 0.2861111, 0.3583333},
                                                         {0.1, 0.4, 0.2, 0.4},
                                                         {0.4, 0.4},
                                                         {0, 0, 0},
                                                         {-0.1, -0.2},
                                                         {-0.5, 0.01},
                                                         {}};
        const int peaks[] = {2, 1, 0, -1, -1, 1, -1};
        for (std::size_t row = 0; row < cycles.size(); ++row) {
            std::vector<MonthBar> months;
            for (double c : cycles[row]) months.push_back(Bar("Jan 2002", c / 2, c / 2));
            QCOMPARE(PeakMonth(months), peaks[row]);
        }
    }

    // Two months share the largest cycle: the mark stands over the first of them; the average
    // line stands at its value, only when the average method is chosen.
    void peakMarkAndAverageLine() {
        ChartData d;
        d.months = {Bar("Jan 2002", 0.10, 0.05), Bar("Feb 2002", 0.20, 0.15),
                    Bar("Mar 2002", 0.10, 0.10), Bar("Apr 2002", 0.15, 0.20),
                    Bar("May 2002", 0.05, 0.05)};
        d.peakIndex = PeakMonth(d.months);
        QCOMPARE(PeakLabel(d), QStringLiteral("Peak Feb 2002: 0.35000"));
        const QRectF area(0, 0, 640, 320);
        CycleChartWidget w;
        w.resize(640, 320);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const Geometry g = Layout(area, d, w.leastUnit());
        QCOMPARE(int(g.bars.size()), 5);
        QCOMPARE(g.bars[1].top(), g.bars[3].top());
        QVERIFY(PeakLabelRect(area, d, w.leastUnit()).bottom() <= g.bars[1].top());
        const QRgb red = qRgb(0xc0, 0x1c, 0x28), green = qRgb(0x26, 0x7a, 0x3a);
        auto leftEdge = [&](const QRectF& bar) {
            return QRect(int(bar.left()) - 1, int(bar.top()) + 4, 3, int(bar.height()) - 8);
        };
        for (const bool average : {false, true}) {
            d.averageCycle = average ? std::optional<double>(0.3) : std::nullopt;
            w.setData(d);
            const QImage image = w.grab().toImage();
            QVERIFY2(Share(image, leftEdge(g.bars[1]), red) > 0.5, "Feb's bar is not outlined");
            QCOMPARE(Share(image, leftEdge(g.bars[3]), red), 0.0);
            const QRect atAverage(int(g.bars[2].left()),
                                  int(Layout(area, d, w.leastUnit()).YOf(0.3)) - 1,
                                  int(g.bars[2].width()), 3);
            QCOMPARE(Share(image, atAverage, green) > 0.1, average);
        }
    }

    // The worked example of the peak method: the third month is the peak (0.35833); the
    // average method's adjusted cycle 0.18660 is the line.
    void fromTheEngine() {
        activation::SetFallbackLibrary(CALDREN_ENGINE_LIBRARY);
        auto c = activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
        c->Load(CALDREN_ENGINE_DATA "/worked_example.cld");
        c->Calculate();
        QVERIFY(WantsChart(*c));
        const ChartData d = FromEngine(*c);
        QCOMPARE(d.peakIndex, 2);
        QCOMPARE(PeakLabel(d), QStringLiteral("Peak Mar 2002: 0.35833"));
        QCOMPARE(d.months[0].inventoryCycle, 0.16667);  // to five decimals, as the month keeps it
        QCOMPARE(d.averageCycle.value_or(0), 0.1866);
        QCOMPARE(d.title, QStringLiteral("Monthly Operating Cycles - Year Ending 12/31/2002"));
        c->put_DoAveCycle(false);
        QVERIFY(!FromEngine(*c).averageCycle.has_value());
        c->put_DoPeakCycle(false);
        QVERIFY(!WantsChart(*c));
    }
};

QTEST_MAIN(tst_cycleChart)
#include "tst_cycleChart.moc"
