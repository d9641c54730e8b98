// CycleChart: the monthly operating cycles drawn with QPainter.
#include "CycleChart.h"

#include "Reports.h"

#include <vesmora/Vesmora.h>

#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace CycleChart {

namespace {

const QColor kInventoryColor(0x3b, 0x5b, 0x8c);
const QColor kReceivableColor(0x9c, 0xc3, 0xe6);
const QColor kPeakColor(0xc0, 0x1c, 0x28);
const QColor kAverageColor(0x26, 0x7a, 0x3a);

QString FromUtf8(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString Ratio(double v) { return FromUtf8(Reports::FormatRatioValue(v)); }

// Sizes scale with the area, so screen and printer pages look alike; on the screen the text
// is never smaller than the window's own text allows (leastUnit, see CycleChartWidget).
double AreaUnit(const QRectF& area) {
    return std::max(1.0, std::min(area.width() / 60.0, area.height() / 32.0));
}
double Unit(const QRectF& area, double leastUnit) {
    // The font's unit as far as the area can hold the layout (about 36 by 18 units).
    const double most = std::min(area.width() / 36.0, area.height() / 18.0);
    return std::max(AreaUnit(area), std::min(leastUnit, most));
}

QFont FontOf(const QRectF& area, double leastUnit, double scale, bool bold = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(std::max(6, static_cast<int>(std::lround(Unit(area, leastUnit) * scale))));
    f.setBold(bold);
    return f;
}

// The font no larger than lets `width` hold the text: a narrow chart shows its title and
// its legend whole, in smaller letters.
QFont FittedTo(QFont f, const QString& text, double width) {
    const double wide = QFontMetricsF(f).horizontalAdvance(text);
    if (wide > width && width > 0)
        f.setPixelSize(std::max(6, static_cast<int>(std::floor(f.pixelSize() * width / wide))));
    return f;
}

// A round step for about four ticks up to `top`.
double TickStep(double top) {
    if (top <= 0) return 0.1;
    const double raw = top / 4.0;
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (raw <= m * mag) return m * mag;
    return 10.0 * mag;
}

}  // namespace

int PeakMonth(const std::vector<MonthBar>& months) {
    double peak = 0;
    int index = -1;
    for (std::size_t i = 0; i < months.size(); ++i) {
        if (months[i].operatingCycle > peak) {
            peak = months[i].operatingCycle;
            index = static_cast<int>(i);
        }
    }
    return index;
}

bool WantsChart(const vesmora::_Caldren& calc) { return calc.get_DoPeakCycle(); }

ChartData FromEngine(const vesmora::_Caldren& calc) {
    ChartData d;
    const std::string eoy = calc.get_EOYCurrent();
    if (const auto months = calc.get_colMonths()) {
        auto e = months->get_NewEnum();
        for (auto m = e ? e->Next() : vesmora::ComPtr<vesmora::_Monthly>(); m; m = e->Next()) {
            MonthBar b;
            std::string date = m->get_MonthDate();
            try {
                date = Reports::FormatDate(date);
            } catch (...) {}
            std::string mm = date.substr(0, 2);
            Reports::MonthAbbrev(mm);
            b.label = FromUtf8(mm) + QLatin1Char(' ') +
                      FromUtf8(date.size() >= 4 ? date.substr(date.size() - 4) : date);
            b.inventoryCycle = m->get_InventoryCycle();
            b.receivableCycle = m->get_ReceivableCycle();
            b.operatingCycle = m->get_OperatingCycle();
            d.months.push_back(b);
        }
    }
    d.peakIndex = PeakMonth(d.months);
    if (calc.get_DoAveCycle()) {
        const std::string t = Reports::FormatRatio(calc.get_AdjOperatingCycleAve());
        d.averageCycle = QString::fromStdString(t).toDouble();
    }
    d.title = QStringLiteral("Monthly Operating Cycles - Year Ending ") + FromUtf8(eoy);
    return d;
}

double Geometry::YOf(double value) const {
    if (maxValue <= minValue) return plot.bottom();
    return plot.bottom() - (value - minValue) / (maxValue - minValue) * plot.height();
}

Geometry Layout(const QRectF& area, const ChartData& data, double leastUnit) {
    Geometry g;
    const double u = Unit(area, leastUnit);
    // Title and legend above, month labels below, tick labels on the left.
    g.plot = QRectF(area.left() + 5.0 * u, area.top() + 6.0 * u, area.width() - 6.5 * u,
                    area.height() - 6.0 * u - 3.5 * u);
    double top = 0, bottom = 0;
    for (const MonthBar& m : data.months) {
        top = std::max(
            {top, m.inventoryCycle + m.receivableCycle, m.inventoryCycle, m.operatingCycle});
        bottom = std::min({bottom, m.inventoryCycle, m.inventoryCycle + m.receivableCycle});
    }
    if (data.averageCycle) {
        top = std::max(top, *data.averageCycle);
        bottom = std::min(bottom, *data.averageCycle);
    }
    if (top <= 0) top = 0.1;
    const double step = TickStep(top * 1.08);
    g.maxValue = std::ceil(top * 1.08 / step) * step;
    g.minValue = bottom < 0 ? std::floor(bottom / step) * step : 0.0;
    const std::size_t n = std::max<std::size_t>(1, data.months.size());
    const double slot = g.plot.width() / static_cast<double>(n);
    for (std::size_t i = 0; i < data.months.size(); ++i) {
        const MonthBar& m = data.months[i];
        const double x = g.plot.left() + slot * static_cast<double>(i) + slot * 0.2;
        const double y1 = g.YOf(std::max(0.0, m.inventoryCycle + std::max(0.0, m.receivableCycle)));
        const double y0 = g.YOf(std::min(0.0, m.inventoryCycle + std::min(0.0, m.receivableCycle)));
        g.bars.emplace_back(x, y1, slot * 0.6, y0 - y1);
    }
    return g;
}

QString PeakLabel(const ChartData& data) {
    if (data.peakIndex < 0 || data.peakIndex >= static_cast<int>(data.months.size())) return {};
    const MonthBar& m = data.months[static_cast<std::size_t>(data.peakIndex)];
    return QStringLiteral("Peak ") + m.label + QStringLiteral(": ") + Ratio(m.operatingCycle);
}

QRectF PeakLabelRect(const QRectF& area, const ChartData& data, double leastUnit) {
    const QString text = PeakLabel(data);
    if (text.isEmpty()) return {};
    const Geometry g = Layout(area, data, leastUnit);
    const QRectF bar = g.bars[static_cast<std::size_t>(data.peakIndex)];
    const QFontMetricsF fm(FontOf(area, leastUnit, 1.1, true));
    const double w = fm.horizontalAdvance(text) + Unit(area, leastUnit);
    const double h = fm.height();
    double x = bar.center().x() - w / 2.0;
    x = std::clamp(x, area.left(), std::max(area.left(), area.right() - w));
    return QRectF(x, bar.top() - h - Unit(area, leastUnit) * 0.3, w, h);
}

void PaintCycleChart(QPainter& p, const QRectF& area, const ChartData& data, double leastUnit) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillRect(area, Qt::white);
    const double u = Unit(area, leastUnit);
    const Geometry g = Layout(area, data, leastUnit);

    // Title.
    p.setPen(Qt::black);
    p.setFont(FittedTo(FontOf(area, leastUnit, 1.4, true), data.title, area.width() - u));
    p.drawText(QRectF(area.left(), area.top() + 0.3 * u, area.width(), 2.0 * u),
               Qt::AlignHCenter | Qt::AlignVCenter, data.title);

    // Legend.
    const QString averageText =
        data.averageCycle
            ? QStringLiteral("Average method adjusted cycle ") + Ratio(*data.averageCycle)
            : QString();
    const QString legendText = QStringLiteral("Inventory cycle Receivable cycle ") + averageText;
    const double swatches = (data.averageCycle ? 3 * 3.1 + 0.4 : 2 * 3.1) * u;
    p.setFont(FittedTo(FontOf(area, leastUnit, 1.0), legendText,
                       area.right() - g.plot.left() - swatches));
    const QFontMetricsF fm(p.font());
    double lx = g.plot.left();
    const double ly = area.top() + 2.8 * u;
    auto swatch = [&](const QColor& c, const QString& text) {
        p.fillRect(QRectF(lx, ly, 1.2 * u, 1.2 * u), c);
        p.setPen(Qt::black);
        p.drawText(QPointF(lx + 1.6 * u, ly + 1.0 * u), text);
        lx += 1.6 * u + fm.horizontalAdvance(text) + 1.5 * u;
    };
    swatch(kInventoryColor, QStringLiteral("Inventory cycle"));
    swatch(kReceivableColor, QStringLiteral("Receivable cycle"));
    if (data.averageCycle) {
        p.setPen(QPen(kAverageColor, std::max(1.0, 0.2 * u), Qt::DashLine));
        p.drawLine(QPointF(lx, ly + 0.6 * u), QPointF(lx + 2.0 * u, ly + 0.6 * u));
        p.setPen(Qt::black);
        p.drawText(QPointF(lx + 2.4 * u, ly + 1.0 * u), averageText);
    }

    // Axis and ticks (parts of a year).
    const double step = TickStep(g.maxValue);
    p.setFont(FontOf(area, leastUnit, 0.9));
    for (double v = g.minValue; v <= g.maxValue + step / 2; v += step) {
        const double y = g.YOf(v);
        p.setPen(QPen(QColor(0xd0, 0xd0, 0xd0), std::max(1.0, 0.08 * u)));
        p.drawLine(QPointF(g.plot.left(), y), QPointF(g.plot.right(), y));
        p.setPen(Qt::black);
        p.drawText(QRectF(area.left(), y - u, 4.5 * u, 2.0 * u), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(v, 'f', 2));
    }
    p.setPen(QPen(Qt::black, std::max(1.0, 0.12 * u)));
    p.drawLine(QPointF(g.plot.left(), g.YOf(0)), QPointF(g.plot.right(), g.YOf(0)));
    p.drawLine(g.plot.topLeft(), QPointF(g.plot.left(), g.plot.bottom()));

    // Bars: inventory part from 0, receivable part stacked on it.
    for (std::size_t i = 0; i < data.months.size(); ++i) {
        const MonthBar& m = data.months[i];
        const QRectF& bar = g.bars[i];
        const double y0 = g.YOf(0), yInv = g.YOf(m.inventoryCycle),
                     yAll = g.YOf(m.inventoryCycle + m.receivableCycle);
        p.fillRect(QRectF(QPointF(bar.left(), std::min(y0, yInv)),
                          QPointF(bar.right(), std::max(y0, yInv))),
                   kInventoryColor);
        p.fillRect(QRectF(QPointF(bar.left(), std::min(yInv, yAll)),
                          QPointF(bar.right(), std::max(yInv, yAll))),
                   kReceivableColor);
        // Month label under the axis: "Jan" over "2002".
        p.setPen(Qt::black);
        const QStringList parts = m.label.split(QLatin1Char(' '));
        const QRectF slot(bar.left() - bar.width() / 3, g.plot.bottom() + 0.3 * u,
                          bar.width() * 5 / 3, 1.5 * u);
        p.drawText(slot, Qt::AlignHCenter | Qt::AlignTop, parts.value(0));
        p.drawText(slot.translated(0, 1.4 * u), Qt::AlignHCenter | Qt::AlignTop, parts.value(1));
    }

    // The average method's adjusted cycle.
    if (data.averageCycle) {
        const double y = g.YOf(*data.averageCycle);
        p.setPen(QPen(kAverageColor, std::max(1.0, 0.2 * u), Qt::DashLine));
        p.drawLine(QPointF(g.plot.left(), y), QPointF(g.plot.right(), y));
    }

    // The peak month: outlined and labelled.
    if (data.peakIndex >= 0 && data.peakIndex < static_cast<int>(g.bars.size())) {
        const QRectF bar = g.bars[static_cast<std::size_t>(data.peakIndex)];
        p.setPen(QPen(kPeakColor, std::max(2.0, 0.25 * u)));
        p.setBrush(Qt::NoBrush);
        p.drawRect(bar);
        p.setFont(FontOf(area, leastUnit, 1.1, true));
        p.setPen(kPeakColor);
        p.drawText(PeakLabelRect(area, data, leastUnit), Qt::AlignCenter, PeakLabel(data));
    }
    p.restore();
}

CycleChartWidget::CycleChartWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("cycleChart"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CycleChartWidget::setData(ChartData data) {
    m_data = std::move(data);
    update();
}

QSize CycleChartWidget::sizeHint() const {
    const int h = QFontInfo(font()).pixelSize();
    return QSize(std::max(640, 50 * h), std::max(320, 25 * h));
}
double CycleChartWidget::leastUnit() const {
    // The legend's text as large as the window's font (most of it), however small the chart.
    return 0.85 * QFontInfo(font()).pixelSize();
}

QSize CycleChartWidget::minimumSizeHint() const {
    const int h = QFontInfo(font()).pixelSize();
    return QSize(std::max(360, 30 * h), std::max(220, 16 * h));
}

void CycleChartWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintCycleChart(p, QRectF(rect()), m_data, leastUnit());
}

}  // namespace CycleChart
