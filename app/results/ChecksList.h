// ChecksList: the checks of the figures (analysis/Checks.h) as a list, one finding a line,
// each naming the fields and the amounts; "Nothing looks wrong." when there is none. A
// finding with an action (month dates outside the tax year) shows its button under the
// list. Never blocking: the list only informs.
//
// It either follows the run state's engine by itself (an Analyzer of its own, refreshed
// after each InputChanges notice, several notices of one event coalesced into one refresh)
// or is fed by its owner through setFindings (the results panel does that).
#pragma once

#include <analysis/Checks.h>

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QListWidget;
class QPushButton;

namespace caldren {
struct Document;
struct ProgramInfo;
}  // namespace caldren
namespace caldren::dialogs {
class Dialogs;
}
namespace caldren::analysis {
class Analyzer;
}

namespace caldren::results {

class FollowInputChanges;

class ChecksList : public QWidget {
public:
    // An action's error is shown through `dialogs` and logged in the program's error log.
    ChecksList(Document& document, const ProgramInfo& program, dialogs::Dialogs& dialogs,
               QWidget* parent = nullptr, bool followInputChanges = true);
    ~ChecksList() override;

    // Checks the run state's engine now (following mode; fed lists only show what they got).
    void refresh();
    void setFindings(const std::vector<analysis::Finding>& findings);
    const std::vector<analysis::Finding>& findings() const { return m_findings; }
    // The lines as shown ("Month dates: ..."), for copying and tests.
    QStringList lines() const;

    // Runs a finding's action on the run state's engine, marks the analysis unsaved, calls
    // the after-action callback (the input form refills the months it shows), then sends
    // the InputChanges notice.
    void runAction(analysis::CheckAction action);
    void setAfterAction(std::function<void(analysis::CheckAction)> callback) {
        m_afterAction = std::move(callback);
    }

private:
    Document& m_document;
    const ProgramInfo& m_program;
    dialogs::Dialogs& m_dialogs;
    std::unique_ptr<analysis::Analyzer> m_analyzer;  // following mode only
    std::unique_ptr<FollowInputChanges> m_follow;    // following mode only
    bool m_shown = false;                            // the list shows m_findings
    std::vector<analysis::Finding> m_findings;
    std::function<void(analysis::CheckAction)> m_afterAction;
    QListWidget* lstFindings = nullptr;
    QPushButton* btnMoveMonthDates = nullptr;
};

}  // namespace caldren::results
