#include "frmIP.h"

#include "BoundField.h"
#include "ControlExtend.h"
#include "IPSupport.h"
#include "InputPages.h"
#include "MonthGrid.h"
#include "SignMarks.h"
#include "app/core/FileOperations.h"
#include "app/core/ProgramInfo.h"
#include "app/core/RunState.h"
#include "app/dialogs/Dialogs.h"
#include "app/help/HelpSupport.h"
#include "app/results/ChecksList.h"

#include <analysis/InputChanges.h>

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace caldren::input {

namespace {

using activation::ComError;

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }
std::string toUtf8(const QString& text) { return text.toStdString(); }

}  // namespace

frmIP::frmIP(RunState& state, Ui& ui, dialogs::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      m_state(state),
      m_context(std::make_shared<input::FormContext>(state, ui, dialogs)) {
    setObjectName(QStringLiteral("frmIP"));
    setWindowTitle(QStringLiteral("Inputs"));
    setModal(true);
    buildUi();
    setTabOrder();
    // F1: the guide at the focused field's section, else at the page's.
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this, [this] {
        const QWidget* focus = focusWidget();
        help::HelpSupport::ShowHelp(
            m_state, m_context->dialogs(), this,
            help::HelpSupport::InputFormTopic(focus ? focus->objectName() : QString(),
                                              vsTabIP->currentIndex()));
    });
    loadSequence();
    m_undo = std::make_unique<input::FormUndo>(
        *m_context, this, [this] { showValues(); }, [this] { showSignMarks(); });
    m_context->setUndo(m_undo.get());
    m_undo->start();
    showSignMarks();
    FitToScreen();
    // The form may have given the analysis its twelve months: the checks see them.
    analysis::InputChanges().Notify();
}

frmIP::~frmIP() {
    // The controls outlive the form's members by a moment: nothing they see is handled now.
    m_context->setClosing();
}

// ---- Building the form ----------------------------------------------------------------

void frmIP::buildUi() {
    vsTabIP = new QTabWidget(this);
    vsTabIP->setObjectName(QStringLiteral("vsTabIP"));
    // The strip itself takes the focus at its own place in the order (the arrow keys then
    // change pages); the tab widget does not hand its focus on to it from elsewhere.
    vsTabIP->setFocusPolicy(Qt::NoFocus);
    vsTabIP->setFocusProxy(nullptr);
    vsTabIP->tabBar()->setFocusPolicy(Qt::TabFocus);
    m_pages = std::make_unique<input::InputPages>(m_context, vsTabIP);
    // What looks wrong in the figures, kept up to date as they are typed; never blocking.
    m_checks =
        new results::ChecksList(m_state.document, m_state.program, m_context->dialogs(), this);
    m_checks->setAfterAction([this](analysis::CheckAction) {
        m_pages->monthGrid->refillDates();
        m_context->stepDone();
    });
    vsTabIP->addTab(m_checks, QStringLiteral("C&hecks"));
    // The tabs are chosen with their Alt keys or the arrows on the strip; the strip's
    // scroll arrows (a narrow form) are not stops of Tab.
    for (QWidget* arrow : vsTabIP->tabBar()->findChildren<QWidget*>())
        arrow->setFocusPolicy(Qt::NoFocus);

    txtHelp = new QPlainTextEdit(this);
    txtHelp->setObjectName(QStringLiteral("txtHelp"));
    txtHelp->setAccessibleName(QStringLiteral("Help"));
    txtHelp->setAccessibleDescription(QStringLiteral("What the field with the focus asks for."));
    m_context->setHelpPane(txtHelp);
    txtHelp->setReadOnly(true);
    txtHelp->setTabChangesFocus(true);
    txtHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtHelp->setFixedHeight(fontMetrics().lineSpacing() * 5 + 12);

    btnOK = new input::FormButton(m_context, QStringLiteral("OK"), {}, this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnCancel = new input::FormButton(m_context, QStringLiteral("Cancel"), {}, this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    for (QPushButton* button : {btnOK, btnCancel}) button->setMinimumWidth(90);

    auto* buttons = new QVBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);

    // The line of the marks on negative amounts, under the help pane.
    lblSignMarks = new QLabel(this);
    lblSignMarks->setObjectName(QStringLiteral("lblSignMarks"));
    lblSignMarks->setTextFormat(Qt::PlainText);
    lblSignMarks->setWordWrap(true);
    QPalette marks = lblSignMarks->palette();
    marks.setColor(QPalette::WindowText, QColor(0xa0, 0x00, 0x00));
    lblSignMarks->setPalette(marks);
    lblSignMarks->hide();
    auto* help = new QVBoxLayout;
    help->addWidget(txtHelp);
    help->addWidget(lblSignMarks);

    auto* bottom = new QHBoxLayout;
    bottom->addLayout(help, 1);
    bottom->addSpacing(8);
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(vsTabIP, 1);
    layout->addLayout(bottom);
    connectHandlers();
}

void frmIP::connectHandlers() {
    const input::InputPages& p = *m_pages;
    auto onClick = [this](QPushButton* button, const char* location, void (frmIP::*handler)()) {
        connect(button, &QPushButton::clicked, this,
                [=, this] { input::Guard(*m_context, location, [&] { (this->*handler)(); }); });
    };
    onClick(btnOK, "frmIP.btnOK_Click", &frmIP::btnOKClick);
    // A box ticked is a step of the form's undo.
    connect(btnCancel, &QPushButton::clicked, this, [this] { reject(); });
    onClick(p.btnFilename, "frmIP.btnFilename_Click", &frmIP::btnFilenameClick);
    auto onToggle = [this](QCheckBox* box, const char* location, void (frmIP::*handler)(bool)) {
        connect(box, &QCheckBox::toggled, this, [=, this](bool on) {
            input::Guard(*m_context, location, [&] { (this->*handler)(on); });
            m_context->stepDone();
        });
    };
    onToggle(p.chkAveCycle, "frmIP.chkAveCycle_Click", &frmIP::chkAveCycleClick);
    onToggle(p.chkPeakCycle, "frmIP.chkPeakCycle_Click", &frmIP::chkPeakCycleClick);
    onToggle(p.chkCurAmountsNextYr, "frmIP.chkCurAmountsNextYr_Click",
             &frmIP::chkCurAmountsNextYrClick);
    onToggle(p.monthGrid->endOfMonthBox(), "frmIP.chkEndOfMonth_Click", &frmIP::chkEndOfMonthClick);
    p.MaskDtEOYCurrent->whenLeft([this] {
        maskDtEOYCurrentLostFocus();
        m_context->stepDone();
    });
    // While the current amounts serve as next year's, leaving Cost of Goods Sold copies it.
    p.txtCOGS->afterLeaving([this] {
        if (!m_pages->chkCurAmountsNextYr->isChecked()) return;
        m_pages->txtCOGSNxtYr->setText(m_pages->txtCOGS->text());
        vesmora::_Caldren& engine = *m_state.document.engine;
        const std::string before = engine.get_COGSNxtYr();
        engine.put_COGSNxtYr(engine.get_COGS());
        m_context->markChanged(engine.get_COGSNxtYr() != before);
    });
}

void frmIP::setTabOrder() {
    const input::InputPages& p = *m_pages;
    std::vector<QWidget*> order{p.btnFilename,
                                p.txtName,
                                p.txtLine2,
                                p.chkAveCycle,
                                p.chkPeakCycle,
                                p.MaskDtEOYCurrent,
                                p.chkCurAmountsNextYr,
                                btnOK,
                                btnCancel,
                                txtHelp,
                                vsTabIP->tabBar()};
    for (const auto* fields : {&p.currentYearFields, &p.nextYearFields, &p.averageFields})
        order.insert(order.end(), fields->begin(), fields->end());
    const std::vector<QWidget*> grid = p.monthGrid->focusOrder();
    order.insert(order.end(), grid.begin(), grid.end());
    for (std::size_t i = 0; i + 1 < order.size(); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
}

// ---- Load sequence ----------------------------------------------------------------------

void frmIP::loadSequence() {
    vesmora::_Caldren& engine = *m_state.document.engine;
    const input::InputPages& p = *m_pages;
    m_context->setLoading(true);

    p.txtName->showValue();
    p.txtLine2->showValue();

    if (engine.get_DoAveCycle()) p.chkAveCycle->setChecked(true);
    if (engine.get_DoPeakCycle()) p.chkPeakCycle->setChecked(true);
    if (engine.get_UseCurrentAmounts()) p.chkCurAmountsNextYr->setChecked(true);

    // What Cancel comes back to: the months as they are before the form adds its twelve.
    m_snapshot.Take(m_state.document);
    if (auto months = engine.get_colMonths()) IPSupport::InitMonths(m_state, *months);
    p.monthGrid->fill();

    p.MaskDtEOYCurrent->setText(fromUtf8(engine.get_EOYCurrent()));
    for (const auto* fields : {&p.currentYearFields, &p.nextYearFields, &p.averageFields})
        for (input::BoundField* field : *fields) field->showValue();
    showCaptions();

    m_context->setLoading(false);
    // Writes take effect from here on: the engine ignores them outside an edit.
    engine.BeginEdit();
}

void frmIP::showCaptions() {
    vesmora::_Caldren& engine = *m_state.document.engine;
    const input::InputPages& p = *m_pages;
    const QString eoyCurrent = fromUtf8(engine.get_EOYCurrent());
    p.fraCurYear->setTitle(QStringLiteral("Tax Year Ending ") + eoyCurrent);
    p.AveInputYrLabel->setText(QStringLiteral("Tax Year Ending ") + eoyCurrent);
    // The next year: month and day of the year-end box, the engine's year plus one.
    int m = 0, d = 0, y = 0, boxMonth = 0, boxDay = 0, boxYear = 0;
    if (IPSupport::SplitDate(engine.get_EOYCurrent(), m, d, y) &&
        IPSupport::SplitDate(toUtf8(p.MaskDtEOYCurrent->text()), boxMonth, boxDay, boxYear)) {
        p.fraNxtYr->setTitle(QStringLiteral("Tax Year Ending ") +
                             fromUtf8(IPSupport::NextYearDate(boxMonth, boxDay, y)));
    }
    p.fraPeakOpCycle->setTitle(QStringLiteral("Tax Year Ending ") + eoyCurrent);
}

void frmIP::showValues() {
    vesmora::_Caldren& engine = *m_state.document.engine;
    const input::InputPages& p = *m_pages;
    m_context->setLoading(true);
    const std::pair<QCheckBox*, bool> boxes[] = {
        {p.chkAveCycle, engine.get_DoAveCycle()},
        {p.chkPeakCycle, engine.get_DoPeakCycle()},
        {p.chkCurAmountsNextYr, engine.get_UseCurrentAmounts()}};
    for (const auto& [box, on] : boxes) {
        const QSignalBlocker quiet(box);
        box->setChecked(on);
    }
    p.txtName->showValue();
    p.txtLine2->showValue();
    p.MaskDtEOYCurrent->setText(fromUtf8(engine.get_EOYCurrent()));
    for (const auto* fields : {&p.currentYearFields, &p.nextYearFields, &p.averageFields})
        for (input::BoundField* field : *fields) field->showValue();
    p.monthGrid->showMonths();
    showCaptions();
    m_context->setLoading(false);
    // The field being typed in holds the value it shows now.
    if (auto* field = dynamic_cast<input::BoundField*>(focusWidget())) {
        field->noteEntryValue();
        field->selectAll();
    }
}

void frmIP::showSignMarks() {
    std::vector<input::BoundField*> fields;
    const input::InputPages& p = *m_pages;
    for (const auto* page : {&p.currentYearFields, &p.nextYearFields, &p.averageFields})
        fields.insert(fields.end(), page->begin(), page->end());
    const std::vector<input::BoundField*> months = p.monthGrid->amountFields();
    fields.insert(fields.end(), months.begin(), months.end());
    input::ShowSignMarks(fields, lblSignMarks);
}

void frmIP::FitToScreen() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return resize(sizeHint());
    // Room for the window's frame and title bar inside the screen's free area.
    const QRect area = screen->availableGeometry();
    const int frame =
        std::max(style()->pixelMetric(QStyle::PM_TitleBarHeight), 2 * fontMetrics().height()) + 8;
    const QSize room(area.width() - 16, area.height() - frame);
    if (sizeHint().height() > room.height()) {
        // A short screen (a laptop at a large scale factor): the help pane keeps two lines
        // and the pages' rows and margins close up, so that every page, the twelve months
        // and Clear Months included, shows whole without scrolling.
        txtHelp->setFixedHeight(fontMetrics().lineSpacing() * 2 + 12);
        layout()->setContentsMargins(6, 4, 6, 4);
        layout()->setSpacing(4);
        for (QLayout* inner : vsTabIP->findChildren<QLayout*>()) {
            inner->setContentsMargins(inner->contentsMargins() / 2);
            if (auto* grid = qobject_cast<QGridLayout*>(inner))
                grid->setVerticalSpacing(std::min(grid->verticalSpacing(), 1));
            else if (auto* box = qobject_cast<QBoxLayout*>(inner))
                box->setSpacing(std::min(box->spacing(), 2));
        }
        vsTabIP->updateGeometry();
    }
    resize(sizeHint().boundedTo(room).expandedTo(minimumSizeHint()));
}

void frmIP::SetInitialIP() {
    m_pages->lblFilename->setText(fromUtf8(FileOperations::DisplayShorterFilename(
        m_state.program, m_state.options, m_state.document.currentFileName)));
}

QLineEdit* frmIP::gridBox(Column column, int row) const {
    return m_pages->monthGrid->box(column, row);
}

void frmIP::done(int result) {
    if (result == QDialog::Rejected && !m_context->closing() && m_undo && m_undo->changed() &&
        m_context->dialogs().ask(this, QStringLiteral("Discard the changes made to this analysis?"),
                                 kYesNo | kQuestion | kDefaultButton2, QString::fromUtf8(kTitle),
                                 QStringLiteral("Discard"),
                                 QStringLiteral("Keep Editing")) != MsgAnswer::Yes)
        return;
    m_context->setClosing();
    // Cancel, Esc and the close box discard every change made since the form opened.
    if (result == QDialog::Rejected)
        input::Guard(*m_context, "frmIP.btnCancel_Click",
                     [&] { m_snapshot.Restore(m_state.document); });
    QDialog::done(result);
}

void frmIP::contextMenuEvent(QContextMenuEvent* event) {
    if (m_context->closing() || !m_undo) return;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("mnuFormEdit"));
    m_undo->updateActions();
    menu.addAction(m_undo->undoAction());
    menu.addAction(m_undo->redoAction());
    menu.exec(event->globalPos());
}

// ---- Method options ----------------------------------------------------------------------

void frmIP::chkAveCycleClick(bool checked) {
    const bool before = m_state.document.engine->get_DoAveCycle();
    m_state.document.engine->put_DoAveCycle(checked);
    m_context->markChanged(m_state.document.engine->get_DoAveCycle() != before);
}

void frmIP::chkPeakCycleClick(bool checked) {
    const bool before = m_state.document.engine->get_DoPeakCycle();
    m_state.document.engine->put_DoPeakCycle(checked);
    m_context->markChanged(m_state.document.engine->get_DoPeakCycle() != before);
    // Turned on again, the method finds its months as they are: the grid shows them.
    if (checked && !m_context->loading() && m_state.document.engine->get_DoPeakCycle()) {
        m_context->setLoading(true);
        m_pages->monthGrid->fillAmountColumns();
        m_context->setLoading(false);
    }
}

void frmIP::setNxtYrCaption(const QString& caption) { m_pages->fraNxtYr->setTitle(caption); }

void frmIP::chkCurAmountsNextYrClick(bool checked) {
    vesmora::_Caldren& engine = *m_state.document.engine;
    const std::string eoy = engine.get_EOYCurrent();
    int m = 0, d = 0, y = 0;
    IPSupport::SplitDate(eoy, m, d, y);
    setNxtYrCaption(QStringLiteral("Year ending ") + fromUtf8(eoy));
    const bool before = engine.get_UseCurrentAmounts();
    engine.put_UseCurrentAmounts(checked);
    m_context->markChanged(engine.get_UseCurrentAmounts() != before);
    if (checked)
        setNxtYrCaption(QStringLiteral("Estimates for Tax Year ending ") +
                        QStringLiteral("%1/%2/%3").arg(m).arg(d).arg(y + 1));
}

void frmIP::chkEndOfMonthClick(bool checked) {
    vesmora::_Caldren& engine = *m_state.document.engine;
    if (!engine.get_DoPeakCycle()) return;
    const bool before = engine.get_DoPeakUseSalesAndPurch();
    engine.put_DoPeakUseSalesAndPurch(!checked);
    m_pages->monthGrid->showInventoryColumn(checked);
    m_context->markChanged(engine.get_DoPeakUseSalesAndPurch() != before);
    // The third column now edits another figure of each month: show that figure, never the
    // other one under the new heading.
    m_pages->monthGrid->refreshAmounts();
}

// ---- Dates -------------------------------------------------------------------------------

void frmIP::maskDtEOYCurrentLostFocus() {
    vesmora::_Caldren& engine = *m_state.document.engine;
    QLineEdit* box = m_pages->MaskDtEOYCurrent;
    const std::string text = toUtf8(box->text());
    int m = 0, d = 0, y = 0;
    if (!box->hasAcceptableInput() || !IPSupport::SplitDate(text, m, d, y)) {
        m_context->putDateBack(box, engine.get_EOYCurrent());
        return;
    }
    const std::string beforeCurrent = engine.get_EOYCurrent();
    const std::string beforeNext = engine.get_EOYNxtYr();
    try {
        engine.put_EOYCurrent(text);
    } catch (const ComError& err) {
        if (!ControlExtend::RejectionMessage(err.Number()).empty()) {
            m_context->putDateBack(box, engine.get_EOYCurrent());
        } else {
            m_context->reportError(
                err.Number(), err.Description(),
                std::string("frmIP.MaskDtEOYCurrent_LostFocus\r") + err.Source());
            box->setText(fromUtf8(engine.get_EOYCurrent()));
        }
        return;
    }
    const std::string next = IPSupport::NextYearDate(m, d, y);
    try {
        engine.put_EOYNxtYr(next);
    } catch (const ComError& err) {
        m_context->reportError(err.Number(), err.Description(),
                               std::string("frmIP.MaskDtEOYCurrent_LostFocus\r") + err.Source());
    }
    m_context->markChanged(engine.get_EOYCurrent() != beforeCurrent ||
                           engine.get_EOYNxtYr() != beforeNext);

    const QString current = fromUtf8(engine.get_EOYCurrent());
    m_pages->fraCurYear->setTitle(QStringLiteral("Tax Year Ending ") + current);
    m_pages->fraPeakOpCycle->setTitle(QStringLiteral("Tax Year Ending ") + current);
    setNxtYrCaption(fromUtf8(next));
    m_pages->AveInputYrLabel->setText(QStringLiteral("Year Ending ") + current);
}

// ---- Buttons -----------------------------------------------------------------------------

void frmIP::btnOKClick() {
    IPSupport::GetInputs(m_state);
    accept();
}

void frmIP::btnFilenameClick() {
    const bool saved = FileOperations::SaveAs(m_state);
    m_state.document.engine->BeginEdit();
    // What was saved is what a later Cancel comes back to.
    if (saved) {
        m_snapshot.Take(m_state.document);
        m_undo->saved();
    }
    m_pages->lblFilename->setText(fromUtf8(m_state.document.currentFileName));
}

}  // namespace caldren::input
