#include "app/help/HelpSupport.h"

#include "app/core/RunState.h"
#include "app/dialogs/Dialogs.h"
#include "app/help/frmHelp.h"

#include <QEvent>
#include <QPointer>
#include <QUrl>

namespace caldren::help::HelpSupport {

namespace {

QPointer<frmHelp> g_help;

// The guide's section of each field of the input form (by objectName; the monthly grid's
// columns share their name).
struct FieldTopic {
    const char* field;
    const char* anchor;
};
const FieldTopic kFieldTopics[] = {
    {"btnFilename", "file-name"},
    {"txtName", "name-of-corporation"},
    {"txtLine2", "optional-second-line"},
    {"chkAveCycle", "method"},
    {"chkPeakCycle", "method"},
    {"MaskDtEOYCurrent", "end-of-current-tax-year"},
    {"chkCurAmountsNextYr", "use-current-amounts"},
    {"txtCurAssets", "current-assets"},
    {"txtSecurities", "investment-in-securities"},
    {"txtNotesFromShareholders", "notes-receivable-from-shareholders"},
    {"txtCurLiab", "current-liabilities"},
    {"txtOtherWorkCapAdj", "other-adjustments-to-working-capital"},
    {"txtInvBeg", "beginning-inventory"},
    {"txtInvEnd", "ending-inventory"},
    {"txtInvPurchases", "inventory-purchases"},
    {"txtNetSales", "net-sales"},
    {"txtCOGS", "cost-of-goods-sold"},
    {"txtCOGSNxtYr", "cost-of-goods-sold-next-year"},
    {"txtOperatingExpNxtYr", "operating-expense"},
    {"txtIncTaxNxtYr", "income-tax-expense"},
    {"txtDeprecNxtYr", "depreciation"},
    {"txtOtherCostAdjNxtYr", "other-adjustments-to-cost-of-operations"},
    {"txtReasonableNeeds", "other-reasonable-needs"},
    {"txtContingencies", "contingencies"},
    {"chkEndOfMonth", "end-of-month-inventory"},
    {"txtMonthDate", "month-end-dates"},
    {"txtReceivables", "month-end-receivables"},
    {"txtSalesInv", "monthly-sales-or-inventory"},
    {"txtPurchases", "monthly-purchases"},
    {"txtARBeg", "beginning-accounts-receivable"},
    {"txtAREnd", "ending-accounts-receivable"},
    {"txtAPBegRel2Inv", "beginning-accounts-payable"},
    {"txtAPEndRel2Inv", "ending-accounts-payable"},
    {"btnMoveMonthDates", "months-outside-the-year"},
};
const char* const kPageTopics[] = {"initial-inputs", "general-inputs", "peak-operating-cycle",
                                   "average-operating-cycle", "checks"};

// Moves the help window to another owner, keeping its place and what it shows.
void Adopt(frmHelp* help, QWidget* owner) {
    if (help->parentWidget() == owner) return;
    const QRect geometry = help->geometry();
    const bool visible = help->isVisible();
    help->setParent(owner, help->windowFlags() | Qt::Window);
    help->setGeometry(geometry);
    if (visible) help->show();
}

// A modal window that owns the help window gives it back to its own owner when it closes,
// so that the guide stays open after the input form.
class OwnerWatch final : public QObject {
public:
    explicit OwnerWatch(QWidget* owner) : QObject(owner), m_owner(owner) {
        owner->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_owner && event->type() == QEvent::Hide && g_help &&
            g_help->parentWidget() == m_owner) {
            QWidget* next = m_owner->parentWidget() ? m_owner->parentWidget()->window() : nullptr;
            Adopt(g_help, next);
        }
        return false;
    }

private:
    QWidget* m_owner;
};

}  // namespace

QString GuideFile(const ProgramInfo& program) {
    return QString::fromStdString(program.programFolder) + QLatin1Char('/') +
           QString::fromLatin1(kGuideFile);
}

frmHelp* ShowHelp(RunState& state, dialogs::Dialogs& dialogs, QWidget* parent,
                  const QString& anchor, bool search) {
    QWidget* owner = parent ? parent->window() : nullptr;
    if (!g_help)
        g_help = new frmHelp(state, dialogs, GuideFile(state.program), owner);
    else
        Adopt(g_help, owner);
    if (owner && owner->isModal() &&
        !owner->findChild<OwnerWatch*>(QString(), Qt::FindDirectChildrenOnly))
        new OwnerWatch(owner);
    g_help->ShowTopic(anchor);
    g_help->show();
    g_help->raise();
    g_help->activateWindow();
    if (search) g_help->FocusSearch();
    return g_help;
}

frmHelp* HelpWindow() { return g_help; }

QString InputFormTopic(const QString& objectName, int page) {
    for (const FieldTopic& topic : kFieldTopics)
        if (objectName == QLatin1String(topic.field)) return QString::fromLatin1(topic.anchor);
    if (page >= 0 && page < static_cast<int>(std::size(kPageTopics)))
        return QString::fromLatin1(kPageTopics[page]);
    return QString::fromLatin1(kPageTopics[0]);
}

QString FindSysInfoTool(dialogs::Dialogs& dialogs) {
    for (const char* name : {"hardinfo", "hardinfo2", "kinfocenter", "gnome-system-monitor"}) {
        QString path = dialogs.findProgram(QString::fromLatin1(name));
        if (!path.isEmpty()) return path;
    }
    return {};
}

void StartSysInfo(dialogs::Dialogs& dialogs, QWidget* parent) {
    const QString tool = FindSysInfoTool(dialogs);
    if (!tool.isEmpty() && dialogs.startProgram(tool)) return;
    dialogs.message(parent, QString::fromLatin1(kSysInfoUnavailable), kOkOnly,
                    QString::fromUtf8(kTitle));
}

bool OpenWebPage(dialogs::Dialogs& dialogs, const QString& url) {
    return dialogs.openUrl(QUrl(url));
}

}  // namespace caldren::help::HelpSupport
