// CycleChart: the monthly operating cycles of a peak-method analysis as a bar chart.
//
// One bar per month in the collection's order, the inventory cycle at the bottom and the
// receivable cycle stacked on it (both parts of a year), so the height of a bar is the
// month's operating cycle. The peak month is outlined and labelled with its operating cycle
// ("##0.00000"): the first month whose cycle is strictly greater than every one before it
// and than 0, the month whose value the engine keeps as the peak. When the average method
// is chosen too, its adjusted operating cycle is drawn as a horizontal line.
//
// PaintCycleChart draws on any QPainter rectangle, so the viewer (CycleChartWidget) and the
// printer (a page of its own after the Detailed Analysis report) draw the same chart.
#pragma once

#include <QRectF>
#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

class QPainter;

namespace vesmora {
class _Caldren;
}

namespace CycleChart {

struct MonthBar {
    QString label;  // "Jan 2002"
    double inventoryCycle = 0;
    double receivableCycle = 0;
    double operatingCycle = 0;
};

struct ChartData {
    std::vector<MonthBar> months;
    int peakIndex = -1;                  // -1: no month above 0
    std::optional<double> averageCycle;  // AdjOperatingCycleAve when the average method is chosen
    QString title;                       // "Monthly Operating Cycles - Year Ending 12/31/2002"
};

// The engine's peak rule: the first month whose operating cycle is strictly greater than
// the largest before it, starting from 0. -1 when no month is above 0.
int PeakMonth(const std::vector<MonthBar>& months);

// Reads a calculated analysis and changes nothing in it: the months of colMonths (the
// caller numbers them from EOYCurrent first, Reports::FillMonthsFromYearEnd), their three
// cycles, the peak month, and AdjOperatingCycleAve when DoAveCycle is true. Errors of the
// engine propagate (activation::ComError).
ChartData FromEngine(const vesmora::_Caldren& calc);

// True when the analysis chose the peak method: only then is the chart shown and printed.
bool WantsChart(const vesmora::_Caldren& calc);

// Layout shared by painting and tests: where bar i stands inside `area`.
struct Geometry {
    QRectF plot;               // the plotting area (axes inside `area`)
    std::vector<QRectF> bars;  // whole bar of each month (both parts)
    double maxValue = 0;       // value at the top of the plot
    double minValue = 0;       // value at the bottom (0 unless a cycle is negative)
    double YOf(double value) const;
};
Geometry Layout(const QRectF& area, const ChartData& data, double leastUnit = 0);

// The box of the peak label, above the peak bar; empty when there is no peak.
QRectF PeakLabelRect(const QRectF& area, const ChartData& data, double leastUnit = 0);

// The text of the peak label: "Peak Mar 2002: 0.35833".
QString PeakLabel(const ChartData& data);

// Draws the whole chart (title, axis, bars, peak mark, average line, legend) in `area`.
// leastUnit: the smallest unit of the text (pixels) on the screen; 0 lets the area alone
// decide (printed and PDF pages).
void PaintCycleChart(QPainter& painter, const QRectF& area, const ChartData& data,
                     double leastUnit = 0);

// The chart as a widget, for the Detailed Analysis viewer.
class CycleChartWidget : public QWidget {
public:
    explicit CycleChartWidget(QWidget* parent = nullptr);
    void setData(ChartData data);
    const ChartData& data() const { return m_data; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The smallest unit of the chart's text on the screen: most of the window font's size.
    double leastUnit() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ChartData m_data;
};

}  // namespace CycleChart
