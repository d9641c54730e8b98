// ResultsPanel: the open analysis's results at a glance, for the main window.
//
// Available working capital, cost of operations and, for each chosen method, the operating
// cycle in days and as a part of a year, the working capital needed and the excess before
// and after other needs, as the same texts as the reports print (analysis/Results.h), in a
// read-only text that can be selected and copied; "—" with the reason where a figure cannot
// be computed yet. The figures read as accountants read them (negatives in parentheses, the
// decimals of a column lined up), and Copy puts the lines selected on the clipboard as a
// table (tab-separated text and HTML: label and value cells). Beside it the monthly-cycle chart
// when the peak method is calculated, and under it the checks of the figures (ChecksList, fed by
// the panel).
//
// The figures come from an Analyzer's scratch copy: the panel never calculates, changes or
// saves the run state's engine. It refreshes after each InputChanges notice (several
// notices of one event coalesced into one refresh) and when refresh() is called.
#pragma once

#include <analysis/Analyzer.h>

#include <QString>
#include <QWidget>

#include <memory>

class QLabel;
class QPlainTextEdit;
class QSplitter;

namespace CycleChart {
class CycleChartWidget;
}

namespace caldren {
struct Document;
struct ProgramInfo;
}  // namespace caldren
namespace caldren::dialogs {
class Dialogs;
}

namespace caldren::results {

class ChecksList;
class FollowInputChanges;
class ResultsText;

class ResultsPanel : public QWidget {
public:
    // The checks' actions show their errors through `dialogs`, logged in the program's log.
    ResultsPanel(Document& document, const ProgramInfo& program, dialogs::Dialogs& dialogs,
                 QWidget* parent = nullptr, bool followInputChanges = true);
    ~ResultsPanel() override;

    // Recomputes from the run state's engine now.
    void refresh();

    QString resultsText() const;
    const analysis::Snapshot& snapshot() const { return m_analyzer.Current(); }
    ChecksList* checksList() const { return m_checks; }
    CycleChart::CycleChartWidget* chart() const { return m_chart; }

    // The figures whole beside the chart.
    QSize sizeHint() const override;

private:
    // What the figures need to be read whole: their widest line and every line.
    QSize figuresSize() const;

    Document& m_document;
    analysis::Analyzer m_analyzer;
    std::unique_ptr<FollowInputChanges> m_follow;
    QSplitter* m_splitter = nullptr;
    ResultsText* txtResults = nullptr;
    CycleChart::CycleChartWidget* m_chart = nullptr;
    ChecksList* m_checks = nullptr;
};

}  // namespace caldren::results
