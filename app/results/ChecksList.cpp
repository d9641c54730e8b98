#include "ChecksList.h"

#include "FollowInputChanges.h"

#include "app/core/Document.h"
#include "app/core/ProgramInfo.h"
#include "app/dialogs/ErrorDialogs.h"

#include <activation/Com.h>
#include <analysis/Analyzer.h>
#include <analysis/InputChanges.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace caldren::results {

namespace {

QString FromUtf8(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

const char* const kNothingFound = "Nothing looks wrong.";

}  // namespace

ChecksList::ChecksList(Document& document, const ProgramInfo& program, dialogs::Dialogs& dialogs,
                       QWidget* parent, bool followInputChanges)
    : QWidget(parent), m_document(document), m_program(program), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("ChecksList"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(QStringLiteral("Checks of the Figures"), this);
    caption->setObjectName(QStringLiteral("lblChecks"));
    layout->addWidget(caption);

    lstFindings = new QListWidget(this);
    lstFindings->setObjectName(QStringLiteral("lstFindings"));
    lstFindings->setWordWrap(true);
    lstFindings->setUniformItemSizes(false);
    lstFindings->setSelectionMode(QAbstractItemView::ExtendedSelection);
    layout->addWidget(lstFindings, 1);

    btnMoveMonthDates = new QPushButton(
        FromUtf8(analysis::ActionCaption(analysis::CheckAction::MoveMonthDates)), this);
    btnMoveMonthDates->setObjectName(QStringLiteral("btnMoveMonthDates"));
    btnMoveMonthDates->setVisible(false);
    connect(btnMoveMonthDates, &QPushButton::clicked, this,
            [this] { runAction(analysis::CheckAction::MoveMonthDates); });
    layout->addWidget(btnMoveMonthDates, 0, Qt::AlignLeft);

    if (followInputChanges) {
        m_analyzer = std::make_unique<analysis::Analyzer>(analysis::NewEngine);
        m_follow = std::make_unique<FollowInputChanges>(this, [this] { refresh(); });
        refresh();
    } else {
        setFindings({});
    }
}

ChecksList::~ChecksList() = default;

void ChecksList::refresh() {
    if (!m_analyzer) return;
    if (!m_document.engine) {
        setFindings({});
        return;
    }
    const analysis::Snapshot& s = m_analyzer->Update(*m_document.engine);
    setFindings(s.findings);
    if (!s.error.empty()) {
        m_shown = false;
        lstFindings->clear();
        lstFindings->addItem(FromUtf8(s.error));
    }
}

void ChecksList::setFindings(const std::vector<analysis::Finding>& findings) {
    // Unchanged findings keep the list as it stands (and the user's selection).
    if (m_shown && findings == m_findings) return;
    m_shown = true;
    m_findings = findings;
    lstFindings->clear();
    bool moveDates = false;
    for (const analysis::Finding& f : findings) {
        auto* item =
            new QListWidgetItem(FromUtf8(analysis::KindName(f.kind) + ": " + f.text), lstFindings);
        QStringList fields;
        for (const analysis::FieldRef& field : f.fields)
            fields << (field.month ? QStringLiteral("Month %1 %2")
                                         .arg(field.month)
                                         .arg(FromUtf8(field.property))
                                   : FromUtf8(field.property));
        item->setToolTip(fields.join(QStringLiteral(", ")));
        moveDates = moveDates || f.action == analysis::CheckAction::MoveMonthDates;
    }
    if (findings.empty()) lstFindings->addItem(QString::fromLatin1(kNothingFound));
    btnMoveMonthDates->setVisible(moveDates);
}

QStringList ChecksList::lines() const {
    QStringList out;
    for (int i = 0; i < lstFindings->count(); ++i) out << lstFindings->item(i)->text();
    return out;
}

void ChecksList::runAction(analysis::CheckAction action) {
    if (action != analysis::CheckAction::MoveMonthDates || !m_document.engine) return;
    try {
        if (analysis::MoveMonthDatesIntoTaxYear(*m_document.engine) > 0) m_document.SetSaved(false);
    } catch (const activation::ComError& e) {
        dialogs::ReportError(m_dialogs, m_program.errorLogPath, e.Number(), e.Description(),
                             "ChecksList.MoveMonthDates\r" + e.Source());
    }
    if (m_afterAction) m_afterAction(action);
    analysis::InputChanges().Notify();
}

}  // namespace caldren::results
