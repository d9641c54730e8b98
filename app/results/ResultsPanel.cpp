#include "ResultsPanel.h"

#include "ChecksList.h"
#include "FollowInputChanges.h"
#include "app/core/Document.h"

#include <CycleChart.h>
#include <Reports.h>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

namespace caldren {

namespace {

QString FromUtf8(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// Most keystrokes leave the cycles as they were: the chart is then not drawn again.
bool SameChart(const CycleChart::ChartData& a, const CycleChart::ChartData& b) {
    if (a.title != b.title || a.peakIndex != b.peakIndex || a.averageCycle != b.averageCycle ||
        a.months.size() != b.months.size())
        return false;
    for (std::size_t i = 0; i < a.months.size(); ++i) {
        const CycleChart::MonthBar &x = a.months[i], &y = b.months[i];
        if (x.label != y.label || x.inventoryCycle != y.inventoryCycle ||
            x.receivableCycle != y.receivableCycle || x.operatingCycle != y.operatingCycle)
            return false;
    }
    return true;
}

}  // namespace

ResultsPanel::ResultsPanel(Document& document, const ProgramInfo& program, gui::Dialogs& dialogs,
                           QWidget* parent, bool followInputChanges)
    : QWidget(parent), m_document(document), m_analyzer(analysis::NewEngine) {
    setObjectName(QStringLiteral("ResultsPanel"));
    auto* layout = new QHBoxLayout(this);
    auto* splitter = m_splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("splResults"));
    layout->addWidget(splitter);

    auto* left = new QWidget(splitter);
    auto* column = new QVBoxLayout(left);
    column->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(QStringLiteral("Results"), left);
    caption->setObjectName(QStringLiteral("lblResults"));
    column->addWidget(caption);
    txtResults = new QPlainTextEdit(left);
    txtResults->setObjectName(QStringLiteral("txtResults"));
    txtResults->setReadOnly(true);
    txtResults->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtResults->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtResults->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    column->addWidget(txtResults, 3);
    m_checks = new ChecksList(document, program, dialogs, left, false);
    column->addWidget(m_checks, 2);

    m_chart = new CycleChart::CycleChartWidget(splitter);
    m_chart->setVisible(false);
    splitter->addWidget(left);
    splitter->addWidget(m_chart);
    splitter->setCollapsible(0, false);
    splitter->setStretchFactor(0, 0);  // a wider window widens the chart, not the figures
    splitter->setStretchFactor(1, 1);

    if (followInputChanges)
        m_follow = std::make_unique<FollowInputChanges>(this, [this] { refresh(); });
    refresh();
}

ResultsPanel::~ResultsPanel() = default;

void ResultsPanel::refresh() {
    QString text;
    bool chart = false;
    if (!m_document.engine) {
        text = QStringLiteral("No analysis is open.");
        m_checks->setFindings({});
    } else {
        const analysis::Snapshot& s = m_analyzer.Update(*m_document.engine);
        text = FromUtf8(s.error.empty() ? s.results.Text() : s.error + "\n");
        m_checks->setFindings(s.findings);
        if (s.peakCalculated && m_analyzer.Scratch()) {
            try {
                vesmora::_Caldren& scratch = *m_analyzer.Scratch();
                Reports::FillMonthsFromYearEnd(scratch);
                CycleChart::ChartData chartData = CycleChart::FromEngine(scratch);
                if (!SameChart(chartData, m_chart->data())) m_chart->setData(std::move(chartData));
                chart = true;
            } catch (const activation::ComError&) {
                // No chart for months the chart cannot read; the figures stand.
            }
        }
    }
    // Unchanged text keeps the user's selection while other figures are typed.
    if (txtResults->toPlainText() != text) txtResults->setPlainText(text);
    if (chart && !m_chart->isVisibleTo(this)) {
        // The figures keep the width of their longest line; the chart takes the rest.
        const QFontMetrics metrics(txtResults->font());
        int widest = 0;
        for (const QString& line : text.split(QLatin1Char('\n')))
            widest = std::max(widest, metrics.horizontalAdvance(line));
        const int figures = widest + 2 * txtResults->frameWidth() + 24;
        m_chart->setVisible(true);
        m_splitter->setSizes({figures, std::max(m_splitter->width() - figures, 160)});
    }
    m_chart->setVisible(chart);
}

QString ResultsPanel::resultsText() const { return txtResults->toPlainText(); }

}  // namespace caldren
