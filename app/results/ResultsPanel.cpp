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
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTextBlock>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>

namespace caldren::results {

namespace {

// The results of an analysis by both methods: their widest line and their lines.
constexpr int kFiguresColumns = 54;
constexpr int kFiguresLines = 26;

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

// The figures' text. Copy puts the lines selected on the clipboard as a table: label and
// value cells, tab-separated text plus HTML, which a spreadsheet pastes as two columns.
class ResultsText : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;
    std::vector<analysis::PanelLine> lines;  // empty while the text is a message

protected:
    QMimeData* createMimeDataFromSelection() const override {
        const QTextCursor cursor = textCursor();
        if (lines.empty() || !cursor.hasSelection())
            return QPlainTextEdit::createMimeDataFromSelection();
        const QTextBlock first = document()->findBlock(cursor.selectionStart());
        QTextBlock last = document()->findBlock(cursor.selectionEnd());
        // A selection that ends at the start of a line leaves that line out.
        if (last != first && cursor.selectionEnd() == last.position()) last = last.previous();
        const auto from = static_cast<std::size_t>(first.blockNumber());
        const auto to = static_cast<std::size_t>(last.blockNumber());
        auto* mime = new QMimeData;
        mime->setText(FromUtf8(analysis::TableText(lines, from, to)));
        mime->setHtml(FromUtf8(analysis::TableHtml(lines, from, to)));
        return mime;
    }
};

ResultsPanel::ResultsPanel(Document& document, const ProgramInfo& program,
                           dialogs::Dialogs& dialogs, QWidget* parent, bool followInputChanges)
    : QWidget(parent), m_document(document), m_analyzer(analysis::NewEngine) {
    setObjectName(QStringLiteral("ResultsPanel"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    auto* splitter = m_splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("splResults"));
    layout->addWidget(splitter);

    auto* left = new QWidget(splitter);
    auto* column = new QVBoxLayout(left);
    column->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(QStringLiteral("Results"), left);
    caption->setObjectName(QStringLiteral("lblResults"));
    column->addWidget(caption);
    txtResults = new ResultsText(left);
    txtResults->setObjectName(QStringLiteral("txtResults"));
    txtResults->setReadOnly(true);
    txtResults->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtResults->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtResults->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    column->addWidget(txtResults, 1);

    // The chart over the checks: the figures keep the whole height of their column, so
    // that a laptop's screen shows them without scrolling.
    auto* right = new QWidget(splitter);
    right->setObjectName(QStringLiteral("pnlChartAndChecks"));
    auto* stack = new QVBoxLayout(right);
    stack->setContentsMargins(0, 0, 0, 0);
    m_chart = new CycleChart::CycleChartWidget(right);
    m_chart->setVisible(false);
    stack->addWidget(m_chart, 3);
    m_checks = new ChecksList(document, program, dialogs, right, false);
    stack->addWidget(m_checks, 1);
    splitter->addWidget(left);
    splitter->addWidget(right);
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
        txtResults->lines.clear();
        text = QStringLiteral("No analysis is open.");
        m_checks->setFindings({});
    } else {
        const analysis::Snapshot& s = m_analyzer.Update(*m_document.engine);
        txtResults->lines.clear();
        if (s.error.empty()) txtResults->lines = s.results.Lines();
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
    // The figures keep the width of their longest line; the chart and the checks take the
    // rest (a wider window widens them).
    const int figures = figuresSize().width();
    const QList<int> sizes = m_splitter->sizes();
    if (sizes.value(0) < figures)
        m_splitter->setSizes({figures, std::max(sizes.value(0) + sizes.value(1) - figures, 160)});
    m_chart->setVisible(chart);
    updateGeometry();
}

QSize ResultsPanel::figuresSize() const {
    const QFontMetrics metrics(txtResults->font());
    const QStringList lines = txtResults->toPlainText().split(QLatin1Char('\n'));
    // No less than the results of an analysis by both methods take (the window opens
    // before the first file does).
    int widest = metrics.horizontalAdvance(QString(kFiguresColumns, QLatin1Char('0')));
    for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
    const int count = std::max(static_cast<int>(lines.size()) + 1, kFiguresLines);
    // The text, the box's frame and margins, and room for a scroll bar beside it.
    const int margins =
        2 * (txtResults->frameWidth() + qRound(txtResults->document()->documentMargin()));
    return {widest + margins + 24, count * metrics.lineSpacing() + margins};
}

QSize ResultsPanel::sizeHint() const {
    // The figures whole beside the chart at its own width, the checks under the chart.
    const QSize figures = figuresSize();
    const QSize chart = m_chart->sizeHint();
    const int caption = fontMetrics().height() + 6;
    const int checks = 5 * fontMetrics().lineSpacing();
    const QMargins m = contentsMargins();
    return {figures.width() + chart.width() + m_splitter->handleWidth() + m.left() + m.right(),
            std::max(figures.height() + caption, chart.height() + checks) + m.top() + m.bottom()};
}

QString ResultsPanel::resultsText() const { return txtResults->toPlainText(); }

}  // namespace caldren::results
