// The input form driven through its real widgets: typing into fields and reading the
// engine, rejections, Enter as Tab, the monthly grid, the method options and their
// captions, the year-end date, OK and Cancel, and the saved flag.
#include "GuiTestSupport.h"

#include "app/core/FileOperations.h"
#include "app/input/ControlExtend.h"
#include "app/input/IPSupport.h"
#include "app/input/frmIP.h"

#include <errorreporter/ErrorReporter.h>

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

using caldren::frmIP;
using caldren::gui::MessageBox;
using guitest::Q;
using Column = caldren::frmIP::Column;

class TestFrmIP : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<guitest::Session> m_session;
    std::unique_ptr<frmIP> m_form;
    QTemporaryDir m_dir;

    vesmora::_Caldren& engine() { return *m_session->state.engine; }
    caldren::RunState& state() { return m_session->state; }

    template <class W = QLineEdit>
    W* child(const char* name) {
        W* widget = m_form->findChild<W*>(Q(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    void openForm() {
        m_form = std::make_unique<frmIP>(state(), *m_session->ui);
        m_form->SetInitialIP();
        m_form->show();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }

    void showPage(int index) { child<QTabWidget>("vsTabIP")->setCurrentIndex(index); }

    // Gives the box the focus as Tab would.
    void enter(QWidget* box) {
        box->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        QVERIFY(box->hasFocus());
    }
    // Leaves the box for another control of the same page, as Tab would.
    void leave(QWidget* box, QWidget* to) {
        to->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        QVERIFY(!box->hasFocus());
    }
    void replaceText(QLineEdit* box, const QString& text) {
        enter(box);
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    std::string monthDate(long position) {
        return engine().get_colMonths()->get_Item(vesmora::IndexKey{position})->get_MonthDate();
    }

private slots:
    void init() {
        m_session = std::make_unique<guitest::Session>();
        static int count = 0;
        state().currentFileName = m_dir.filePath(QStringLiteral("acme%1.cld").arg(++count)).toStdString();
    }
    void cleanup() {
        m_form.reset();
        m_session.reset();
    }

    void newAnalysisShowsTheEngineDefaults() {
        openForm();
        QCOMPARE(child("txtCurAssets")->text(), Q("0"));
        QCOMPARE(child("txtContingencies")->text(), Q("0"));
        QCOMPARE(child("MaskDtEOYCurrent")->text(), Q("12/31/2002"));
        QCOMPARE(child<QGroupBox>("fraCurYear")->title(), Q("Tax Year Ending 12/31/2002"));
        QCOMPARE(child<QGroupBox>("fraNxtYr")->title(), Q("Tax Year Ending 12/31/2003"));
        QCOMPARE(child<QGroupBox>("fraPeakOpCycle")->title(), Q("Tax Year Ending 12/31/2002"));
        QCOMPARE(child<QLabel>("AveInputYrLabel")->text(), Q("Tax Year Ending 12/31/2002"));
        QCOMPARE(child<QLabel>("lblInventoryOrSales")->text(), Q("Sales"));
        QCOMPARE(engine().get_colMonths()->get_Count(), 12L);
        for (int row = 0; row < 12; ++row) {
            QCOMPARE(m_form->gridBox(Column::MonthDate, row)->text(), Q("12/31/2002"));
            QCOMPARE(m_form->gridBox(Column::Receivables, row)->text(), Q("0"));
        }
        // Loading wrote nothing: a fresh record is not dirty.
        QVERIFY(!engine().get_IsDirty());
        QVERIFY(state().saved);
        QVERIFY(MessageBox::history().isEmpty());
    }

    void pagesAndCaptions() {
        openForm();
        auto* tabs = child<QTabWidget>("vsTabIP");
        QCOMPARE(tabs->count(), 4);
        QCOMPARE(tabs->tabText(0), Q("&Initial Inputs"));
        QCOMPARE(tabs->tabText(1), Q("&General Inputs"));
        QCOMPARE(tabs->tabText(2), Q("&Peak Operating Cycle"));
        QCOMPARE(tabs->tabText(3), Q("&Average Operating Cycle"));
        QCOMPARE(child<QPushButton>("btnOK")->text(), Q("OK"));
        QCOMPARE(child<QPushButton>("btnCancel")->text(), Q("Cancel"));
        QCOMPARE(child<QPushButton>("btnFilename")->text(), Q("Change or set filename"));
        QCOMPARE(child<QGroupBox>("FraMethod")->title(), Q("Method"));
        QCOMPARE(child<QCheckBox>("chkAveCycle")->text(), Q("Average Cycle"));
        QCOMPARE(child<QCheckBox>("chkPeakCycle")->text(), Q("Peak Cycle"));
        QCOMPARE(child<QCheckBox>("chkCurAmountsNextYr")->text(),
                 Q("Use (current year) amounts as estimates for (next year) amounts where applicable"));
        QCOMPARE(child<QCheckBox>("chkEndOfMonth")->text(),
                 Q("Use End - of - Month inventory instead of monthly sales && inventory purchases"));
        QCOMPARE(child<QLabel>("lblMonth")->text(), Q("Month End"));
        QCOMPARE(child<QLabel>("lblReceivables")->text(), Q("Receivables"));
        QCOMPARE(child<QLabel>("lblPurchases")->text(), Q("Purchases"));
        QCOMPARE(m_form->findChildren<QLineEdit*>(Q("txtMonthDate")).size(), 12);
        QCOMPARE(m_form->findChildren<QLineEdit*>(Q("txtSalesInv")).size(), 12);
        // The file label shows the name shortened: 25 characters, "...", 25 characters.
        const std::string name = state().currentFileName;
        QCOMPARE(child<QLabel>("lblFilename")->text().toStdString(),
                 caldren::FileOperations::DisplayShorterFilename(name));
    }

    void typingWritesTheEngineProperty_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("property");
        QTest::addColumn<int>("page");
        const char* const general[][2] = {
            {"txtCurAssets", "CurAssets"}, {"txtSecurities", "Securities"},
            {"txtNotesFromShareholders", "NotesFromShareholders"}, {"txtCurLiab", "CurLiab"},
            {"txtOtherWorkCapAdj", "OtherWorkCapAdj"}, {"txtInvBeg", "InvBeg"}, {"txtInvEnd", "InvEnd"},
            {"txtInvPurchases", "InvPurchases"}, {"txtNetSales", "NetSales"}, {"txtCOGS", "COGS"},
            {"txtCOGSNxtYr", "COGSNxtYr"}, {"txtOperatingExpNxtYr", "OperatingExpNxtYr"},
            {"txtIncTaxNxtYr", "IncTaxNxtYr"}, {"txtDeprecNxtYr", "DeprecNxtYr"},
            {"txtOtherCostAdjNxtYr", "OtherCostAdjNxtYr"}, {"txtReasonableNeeds", "ReasonableNeeds"},
            {"txtContingencies", "Contingencies"}};
        for (const auto& row : general)
            QTest::newRow(row[0]) << Q(row[0]) << Q(row[1]) << 1;
        const char* const average[][2] = {{"txtARBeg", "ARBeg"}, {"txtAREnd", "AREnd"},
                                          {"txtAPBegRel2Inv", "APBegRel2Inv"},
                                          {"txtAPEndRel2Inv", "APEndRel2Inv"}};
        for (const auto& row : average)
            QTest::newRow(row[0]) << Q(row[0]) << Q(row[1]) << 3;
    }
    void typingWritesTheEngineProperty() {
        QFETCH(QString, field);
        QFETCH(QString, property);
        QFETCH(int, page);
        openForm();
        showPage(page);
        QLineEdit* box = child(field.toUtf8().constData());
        caldren::ControlExtend::CaldrenTarget target(m_session->state.engine.Get());
        replaceText(box, Q("1234"));
        // Every keystroke went to the engine: the property already holds 1234.
        QCOMPARE(target.Get(property.toStdString()), std::string("1,234"));
        QCOMPARE(box->text(), Q("1234"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(target.Get(property.toStdString()), std::string("123"));
        QTest::keyClicks(box, Q("4.6"));
        leave(box, child<QPushButton>("btnOK"));
        // Leaving shows the value as the engine formats it.
        QCOMPARE(box->text(), Q("1,235"));
        QCOMPARE(target.Get(property.toStdString()), std::string("1,235"));
        QVERIFY(MessageBox::history().isEmpty());
        QVERIFY(!state().saved);
    }

    void theHelpPaneFollowsTheFocus() {
        openForm();
        showPage(1);
        enter(child("txtSecurities"));
        QCOMPARE(child<QPlainTextEdit>("txtHelp")->toPlainText(),
                 Q("Enter any Investment in Securities for the current year. Do not include Investment "
                   "in Securities that are included in Current Assets."));
        showPage(0);
        enter(child("MaskDtEOYCurrent"));
        QCOMPARE(child<QPlainTextEdit>("txtHelp")->toPlainText(),
                 Q("Enter the analysis date. If the date is correct as shown, just press ENTER."));
        enter(child<QCheckBox>("chkPeakCycle"));
        QVERIFY(child<QPlainTextEdit>("txtHelp")->toPlainText().startsWith(
            Q("Check this box if you want to use the PeakOperating Cycle Method.")));
    }

    void aRefusalOnLeavingSurvivesARealMessageBox() {
        openForm();
        showPage(1);
        QLineEdit* box = child("txtCurAssets");
        replaceText(box, Q("12a"));
        MessageBox::setHeadless(false);
        QString shown;
        guitest::WhenModalShows([&shown](QWidget* modal) {
            shown = QString::fromLatin1(modal->metaObject()->className());
            QTest::keyClick(modal, Qt::Key_Return);
        }, "QMessageBox");
        QTest::keyClick(box, Qt::Key_Tab);
        MessageBox::setHeadless(true);
        QCoreApplication::processEvents();
        QCOMPARE(shown, Q("QMessageBox"));
        QCOMPARE(MessageBox::history().size(), 1);
        QCOMPARE(box->text(), Q("0"));
        QCOMPARE(engine().get_CurAssets(), std::string("0"));
        // The form is active again (a window manager does this; offscreen the test does).
        m_form->activateWindow();
        QTRY_VERIFY(child("txtSecurities")->hasFocus());
    }

    void aLoneMinusIsNotSent() {
        openForm();
        showPage(1);
        QLineEdit* box = child("txtCurLiab");
        replaceText(box, Q("7"));
        QCOMPARE(engine().get_CurLiab(), std::string("7"));
        box->selectAll();
        QTest::keyClicks(box, Q("-"));
        QVERIFY(MessageBox::history().isEmpty());
        QCOMPARE(engine().get_CurLiab(), std::string("7"));
        QTest::keyClicks(box, Q("5"));
        QCOMPARE(engine().get_CurLiab(), std::string("-5"));
        QVERIFY(MessageBox::history().isEmpty());
    }

    void anEmptiedNumberFieldBecomesASelectedZero() {
        openForm();
        showPage(1);
        QLineEdit* box = child("txtNetSales");
        replaceText(box, Q("987"));
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(box->text(), Q("0"));
        QCOMPARE(box->selectedText(), Q("0"));
        QCOMPARE(engine().get_NetSales(), std::string("0"));
        QTest::keyClicks(box, Q("5"));
        QCOMPARE(box->text(), Q("5"));
        QCOMPARE(engine().get_NetSales(), std::string("5"));
    }

    void anEmptiedNameStaysEmpty() {
        openForm();
        QLineEdit* box = child("txtName");
        replaceText(box, Q("Acme"));
        QCOMPARE(engine().get_sName(), std::string("Acme"));
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QString());
        QCOMPARE(engine().get_sName(), std::string());
    }

    void theFiftyFirstCharacterIsRejected_data() {
        QTest::addColumn<QString>("field");
        QTest::newRow("txtName") << Q("txtName");
        QTest::newRow("txtLine2") << Q("txtLine2");
    }
    void theFiftyFirstCharacterIsRejected() {
        QFETCH(QString, field);
        openForm();
        QLineEdit* box = child(field.toUtf8().constData());
        const QString fifty(50, QLatin1Char('x'));
        replaceText(box, fifty);
        QVERIFY(MessageBox::history().isEmpty());
        QTest::keyClicks(box, Q("y"));
        QCOMPARE(MessageBox::history().size(), 1);
        QCOMPARE(MessageBox::history().at(0).text, Q("(10001) Too many characters entered."));
        QCOMPARE(MessageBox::beepCount(), 1);
        QCOMPARE(box->text(), fifty);
        QCOMPARE(box->cursorPosition(), 50);
    }

    void trailingBlanksGoWhenTheNameIsLeft() {
        openForm();
        QLineEdit* box = child("txtName");
        replaceText(box, Q("Acme Corp   "));
        leave(box, child("txtLine2"));
        QCOMPARE(box->text(), Q("Acme Corp"));
        QCOMPARE(engine().get_sName(), std::string("Acme Corp"));
    }

    void enterMovesTheFocusInOrder_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::newRow("name") << 0 << Q("txtName") << Q("txtLine2");
        QTest::newRow("line 2") << 0 << Q("txtLine2") << Q("chkAveCycle");
        QTest::newRow("year end") << 0 << Q("MaskDtEOYCurrent") << Q("chkCurAmountsNextYr");
        QTest::newRow("current assets") << 1 << Q("txtCurAssets") << Q("txtSecurities");
        QTest::newRow("COGS to next year") << 1 << Q("txtCOGS") << Q("txtCOGSNxtYr");
        QTest::newRow("last of General Inputs") << 1 << Q("txtContingencies") << Q("btnOK");
        QTest::newRow("AR") << 3 << Q("txtARBeg") << Q("txtAREnd");
        QTest::newRow("last of Average") << 3 << Q("txtAPEndRel2Inv") << Q("btnOK");
    }
    void enterMovesTheFocusInOrder() {
        QFETCH(int, page);
        QFETCH(QString, from);
        QFETCH(QString, to);
        openForm();
        showPage(page);
        QWidget* source = child<QWidget>(from.toUtf8().constData());
        enter(source);
        const QString before = source->property("text").toString();
        QTest::keyClick(source, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget()->objectName(), to);
        // Enter inserted nothing.
        QCOMPARE(source->property("text").toString().remove(QLatin1Char('\n')), source->property("text").toString());
        Q_UNUSED(before);
    }

    void enterInTheGridFollowsTheRows() {
        openForm();
        showPage(2);
        enter(m_form->gridBox(Column::MonthDate, 0));
        QTest::keyClick(m_form->gridBox(Column::MonthDate, 0), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), m_form->gridBox(Column::Receivables, 0));
        QTest::keyClick(m_form->gridBox(Column::Receivables, 0), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), m_form->gridBox(Column::SalesInv, 0));
        QTest::keyClick(m_form->gridBox(Column::SalesInv, 0), Qt::Key_Enter);
        QCOMPARE(QApplication::focusWidget(), m_form->gridBox(Column::Purchases, 0));
        QTest::keyClick(m_form->gridBox(Column::Purchases, 0), Qt::Key_Return);
        // The date boxes of months 2 to 12 are not tab stops.
        QCOMPARE(QApplication::focusWidget(), m_form->gridBox(Column::Receivables, 1));
        enter(m_form->gridBox(Column::Purchases, 11));
        QTest::keyClick(m_form->gridBox(Column::Purchases, 11), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget()->objectName(), Q("btnOK"));
    }

    void monthsAreDerivedFromTheFirstDate_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("01/31/2002 month ends")
            << Q("01/31/2002")
            << QStringList{Q("02/28/2002"), Q("03/31/2002"), Q("04/30/2002"), Q("05/31/2002"),
                           Q("06/30/2002"), Q("07/31/2002"), Q("08/31/2002"), Q("09/30/2002"),
                           Q("10/31/2002"), Q("11/30/2002"), Q("12/31/2002")};
        QTest::newRow("01/31/2004 leap year")
            << Q("01/31/2004")
            << QStringList{Q("02/29/2004"), Q("03/31/2004"), Q("04/30/2004"), Q("05/31/2004"),
                           Q("06/30/2004"), Q("07/31/2004"), Q("08/31/2004"), Q("09/30/2004"),
                           Q("10/31/2004"), Q("11/30/2004"), Q("12/31/2004")};
        QTest::newRow("07/31/2002 year turns at January")
            << Q("07/31/2002")
            << QStringList{Q("08/31/2002"), Q("09/30/2002"), Q("10/31/2002"), Q("11/30/2002"),
                           Q("12/31/2002"), Q("01/31/2003"), Q("02/28/2003"), Q("03/31/2003"),
                           Q("04/30/2003"), Q("05/31/2003"), Q("06/30/2003")};
        QTest::newRow("01/28/2002 read as month end")
            << Q("01/28/2002")
            << QStringList{Q("02/28/2002"), Q("03/31/2002"), Q("04/30/2002"), Q("05/31/2002"),
                           Q("06/30/2002"), Q("07/31/2002"), Q("08/31/2002"), Q("09/30/2002"),
                           Q("10/31/2002"), Q("11/30/2002"), Q("12/31/2002")};
        QTest::newRow("01/15/2004 same day")
            << Q("01/15/2004")
            << QStringList{Q("02/15/2004"), Q("03/15/2004"), Q("04/15/2004"), Q("05/15/2004"),
                           Q("06/15/2004"), Q("07/15/2004"), Q("08/15/2004"), Q("09/15/2004"),
                           Q("10/15/2004"), Q("11/15/2004"), Q("12/15/2004")};
        QTest::newRow("12/31/2003 all next year")
            << Q("12/31/2003")
            << QStringList{Q("01/31/2004"), Q("02/29/2004"), Q("03/31/2004"), Q("04/30/2004"),
                           Q("05/31/2004"), Q("06/30/2004"), Q("07/31/2004"), Q("08/31/2004"),
                           Q("09/30/2004"), Q("10/31/2004"), Q("11/30/2004")};
        QTest::newRow("02/28/2099 no leap day in 2100")
            << Q("02/28/2099")
            << QStringList{Q("03/31/2099"), Q("04/30/2099"), Q("05/31/2099"), Q("06/30/2099"),
                           Q("07/31/2099"), Q("08/31/2099"), Q("09/30/2099"), Q("10/31/2099"),
                           Q("11/30/2099"), Q("12/31/2099"), Q("01/31/2100")};
    }
    void monthsAreDerivedFromTheFirstDate() {
        QFETCH(QString, first);
        QFETCH(QStringList, expected);
        openForm();
        showPage(2);
        QLineEdit* date = m_form->gridBox(Column::MonthDate, 0);
        enter(date);
        date->selectAll();
        QTest::keyClicks(date, QString(first).remove(QLatin1Char('/')));
        QCOMPARE(date->text(), first);
        leave(date, m_form->gridBox(Column::Receivables, 0));
        QVERIFY(MessageBox::history().isEmpty());
        QCOMPARE(QString::fromStdString(monthDate(1)), first);
        for (int row = 1; row < 12; ++row) {
            QCOMPARE(m_form->gridBox(Column::MonthDate, row)->text(), expected.at(row - 1));
            QCOMPARE(QString::fromStdString(monthDate(row + 1)), expected.at(row - 1));
        }
    }

    void typingAMonthDateChoosesThePeakMethod() {
        openForm();
        showPage(2);
        QVERIFY(!engine().get_DoPeakCycle());
        QLineEdit* date = m_form->gridBox(Column::MonthDate, 3);
        date->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(date, Q("1"));
        QVERIFY(engine().get_DoPeakCycle());
        QVERIFY(!child<QCheckBox>("chkPeakCycle")->isChecked());
    }

    void anInvalidFirstMonthIsPutBack() {
        openForm();
        showPage(2);
        QLineEdit* date = m_form->gridBox(Column::MonthDate, 0);
        enter(date);
        date->selectAll();
        QTest::keyClicks(date, Q("02302002"));
        leave(date, m_form->gridBox(Column::Receivables, 0));
        QCOMPARE(MessageBox::history().size(), 1);
        QCOMPARE(MessageBox::history().at(0).text, Q("(10002) This item needs to be a number."));
        QCOMPARE(MessageBox::beepCount(), 1);
        QCOMPARE(date->text(), Q("12/31/2002"));
        QCOMPARE(monthDate(1), std::string("12/31/2002"));
        QCOMPARE(m_form->gridBox(Column::MonthDate, 5)->text(), Q("12/31/2002"));
        // An incomplete date too.
        enter(date);
        date->selectAll();
        QTest::keyClicks(date, Q("013"));
        leave(date, m_form->gridBox(Column::Receivables, 0));
        QCOMPARE(MessageBox::history().size(), 2);
        QCOMPARE(date->text(), Q("12/31/2002"));
    }

    void theYearEndSetsTheNextYearAndCaptions() {
        openForm();
        QLineEdit* box = child("MaskDtEOYCurrent");
        enter(box);
        box->selectAll();
        QTest::keyClicks(box, Q("06302002"));
        // Nothing is written while typing.
        QCOMPARE(engine().get_EOYCurrent(), std::string("12/31/2002"));
        leave(box, child<QCheckBox>("chkCurAmountsNextYr"));
        QCOMPARE(engine().get_EOYCurrent(), std::string("06/30/2002"));
        QCOMPARE(engine().get_EOYNxtYr(), std::string("06/30/2003"));
        QCOMPARE(child<QGroupBox>("fraCurYear")->title(), Q("Tax Year Ending 06/30/2002"));
        QCOMPARE(child<QGroupBox>("fraPeakOpCycle")->title(), Q("Tax Year Ending 06/30/2002"));
        QCOMPARE(child<QGroupBox>("fraNxtYr")->title(), Q("6/30/2003"));
        QCOMPARE(child<QLabel>("AveInputYrLabel")->text(), Q("Year Ending 06/30/2002"));
        QVERIFY(!state().saved);
    }

    void aLeapDayYearEndGivesTheLastDayOfFebruaryNextYear() {
        openForm();
        QLineEdit* box = child("MaskDtEOYCurrent");
        enter(box);
        box->selectAll();
        QTest::keyClicks(box, Q("02292004"));
        leave(box, child<QCheckBox>("chkCurAmountsNextYr"));
        QVERIFY(MessageBox::history().isEmpty());
        QCOMPARE(engine().get_EOYCurrent(), std::string("02/29/2004"));
        QCOMPARE(engine().get_EOYNxtYr(), std::string("02/28/2005"));
    }

    void anInvalidYearEndIsPutBack_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("month 13") << Q("13452003");
        QTest::newRow("February 30") << Q("02302003");
        QTest::newRow("incomplete") << Q("0630");
    }
    void anInvalidYearEndIsPutBack() {
        QFETCH(QString, typed);
        openForm();
        QLineEdit* box = child("MaskDtEOYCurrent");
        enter(box);
        box->selectAll();
        QTest::keyClicks(box, typed);
        leave(box, child<QCheckBox>("chkCurAmountsNextYr"));
        QCOMPARE(MessageBox::history().size(), 1);
        QCOMPARE(MessageBox::history().at(0).text, Q("(10002) This item needs to be a number."));
        QCOMPARE(MessageBox::beepCount(), 1);
        QCOMPARE(box->text(), Q("12/31/2002"));
        QCOMPARE(engine().get_EOYCurrent(), std::string("12/31/2002"));
        QCOMPARE(engine().get_EOYNxtYr(), std::string("12/31/2003"));
        QVERIFY(state().saved);
    }

    void escapeWithAHalfTypedDateAsksNothing() {
        openForm();
        QLineEdit* box = child("MaskDtEOYCurrent");
        enter(box);
        box->selectAll();
        QTest::keyClicks(box, Q("0630"));
        QTest::keyClick(box, Qt::Key_Escape);
        QVERIFY(!m_form->isVisible());
        QCOMPARE(m_form->result(), int(QDialog::Rejected));
        QVERIFY(MessageBox::history().isEmpty());
        QCOMPARE(engine().get_EOYCurrent(), std::string("12/31/2002"));
    }

    void methodBoxesWriteTheEngine() {
        openForm();
        auto* ave = child<QCheckBox>("chkAveCycle");
        auto* peak = child<QCheckBox>("chkPeakCycle");
        QTest::mouseClick(ave, Qt::LeftButton);
        QTest::mouseClick(peak, Qt::LeftButton);
        QVERIFY(engine().get_DoAveCycle());
        QVERIFY(engine().get_DoPeakCycle());
        QTest::mouseClick(ave, Qt::LeftButton);
        QTest::mouseClick(peak, Qt::LeftButton);
        QVERIFY(!engine().get_DoAveCycle());
        QVERIFY(!engine().get_DoPeakCycle());
    }

    void currentAmountsCaptions() {
        openForm();
        QLineEdit* box = child("MaskDtEOYCurrent");
        enter(box);
        box->selectAll();
        QTest::keyClicks(box, Q("06302002"));
        auto* current = child<QCheckBox>("chkCurAmountsNextYr");
        leave(box, current);
        QTest::mouseClick(current, Qt::LeftButton);
        QVERIFY(engine().get_UseCurrentAmounts());
        QCOMPARE(child<QGroupBox>("fraNxtYr")->title(), Q("Estimates for Tax Year ending 6/30/2003"));
        QTest::mouseClick(current, Qt::LeftButton);
        QVERIFY(!engine().get_UseCurrentAmounts());
        QCOMPARE(child<QGroupBox>("fraNxtYr")->title(), Q("Year ending 06/30/2002"));
    }

    void endOfMonthWithoutPeakChangesNothing() {
        openForm();
        showPage(2);
        auto* eom = child<QCheckBox>("chkEndOfMonth");
        QTest::mouseClick(eom, Qt::LeftButton);
        QVERIFY(eom->isChecked());
        QVERIFY(engine().get_DoPeakUseSalesAndPurch());
        QCOMPARE(child<QLabel>("lblInventoryOrSales")->text(), Q("Sales"));
        QVERIFY(child<QLabel>("lblPurchases")->isVisible());
        QVERIFY(m_form->gridBox(Column::Purchases, 0)->isVisible());
        QVERIFY(state().saved);
    }

    void endOfMonthSwitchesTheThirdColumn() {
        openForm();
        QTest::mouseClick(child<QCheckBox>("chkPeakCycle"), Qt::LeftButton);
        showPage(2);
        QLineEdit* sales = m_form->gridBox(Column::SalesInv, 4);
        replaceText(sales, Q("300"));
        auto month5 = engine().get_colMonths()->get_Item(vesmora::IndexKey{5L});
        QCOMPARE(month5->get_Sales(), std::string("300"));
        QCOMPARE(month5->get_Inventory(), std::string("0"));

        auto* eom = child<QCheckBox>("chkEndOfMonth");
        QTest::mouseClick(eom, Qt::LeftButton);
        QVERIFY(!engine().get_DoPeakUseSalesAndPurch());
        QCOMPARE(child<QLabel>("lblInventoryOrSales")->text(), Q("Inventory"));
        QVERIFY(!child<QLabel>("lblPurchases")->isVisible());
        QVERIFY(!m_form->gridBox(Column::Purchases, 0)->isVisible());
        // The numbers stay; edits now go to the month's inventory.
        QCOMPARE(sales->text(), Q("300"));
        enter(sales);
        QCOMPARE(child<QPlainTextEdit>("txtHelp")->toPlainText(),
                 Q("Enter the End - of - Month Inventory for the monthif you DID check the box to use "
                   "End - of - Month Inventory."));
        sales->selectAll();
        QTest::keyClicks(sales, Q("450"));
        QCOMPARE(month5->get_Inventory(), std::string("450"));
        QCOMPARE(month5->get_Sales(), std::string("300"));

        QTest::mouseClick(eom, Qt::LeftButton);
        QVERIFY(engine().get_DoPeakUseSalesAndPurch());
        QCOMPARE(child<QLabel>("lblInventoryOrSales")->text(), Q("Sales"));
        QVERIFY(child<QLabel>("lblPurchases")->isVisible());
        QVERIFY(m_form->gridBox(Column::Purchases, 0)->isVisible());
        QCOMPARE(sales->text(), Q("450"));
    }

    void aClearedReceivablesCellStoresZero() {
        openForm();
        showPage(2);
        QLineEdit* cell = m_form->gridBox(Column::Receivables, 2);
        replaceText(cell, Q("5000"));
        auto month3 = engine().get_colMonths()->get_Item(vesmora::IndexKey{3L});
        QCOMPARE(month3->get_Receivables(), std::string("5,000"));
        cell->selectAll();
        QTest::keyClick(cell, Qt::Key_Backspace);
        QCOMPARE(cell->text(), Q("0"));
        QCOMPARE(cell->selectedText(), Q("0"));
        QCOMPARE(month3->get_Receivables(), std::string("0"));
        QTest::keyClicks(cell, Q("x"));
        QVERIFY(MessageBox::history().isEmpty());  // said when the cell is left
    }

    void costOfGoodsSoldIsCopiedWhileCurrentAmountsAreUsed() {
        openForm();
        QTest::mouseClick(child<QCheckBox>("chkCurAmountsNextYr"), Qt::LeftButton);
        showPage(1);
        replaceText(child("txtOperatingExpNxtYr"), Q("77"));
        QLineEdit* cogs = child("txtCOGS");
        replaceText(cogs, Q("250000"));
        leave(cogs, child("txtCurAssets"));
        QCOMPARE(child("txtCOGSNxtYr")->text(), Q("250,000"));
        QCOMPARE(engine().get_COGSNxtYr(), std::string("250,000"));
        QCOMPARE(engine().get_OperatingExpNxtYr(), std::string("77"));
    }

    void costOfGoodsSoldIsNotCopiedOtherwise() {
        openForm();
        showPage(1);
        QLineEdit* cogs = child("txtCOGS");
        replaceText(cogs, Q("250000"));
        leave(cogs, child("txtCurAssets"));
        QCOMPARE(child("txtCOGSNxtYr")->text(), Q("0"));
        QCOMPARE(engine().get_COGSNxtYr(), std::string("0"));
    }

    void okWritesTheFile() {
        openForm();
        showPage(1);
        replaceText(child("txtCurAssets"), Q("1234"));
        QTest::mouseClick(child<QPushButton>("btnOK"), Qt::LeftButton);
        QVERIFY(!m_form->isVisible());
        QCOMPARE(m_form->result(), int(QDialog::Accepted));
        QFile file(QString::fromStdString(state().currentFileName));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY2(bytes.contains("Current Assets=1,234"), bytes.constData());
        QVERIFY(bytes.contains("Version=CLD2026.12"));
        QVERIFY(state().saved);
    }

    void cancelWritesNothingAndKeepsTheValue() {
        openForm();
        showPage(1);
        replaceText(child("txtCurAssets"), Q("4321"));
        QTest::mouseClick(child<QPushButton>("btnCancel"), Qt::LeftButton);
        QVERIFY(!m_form->isVisible());
        QVERIFY(!QFile::exists(QString::fromStdString(state().currentFileName)));
        QCOMPARE(engine().get_CurAssets(), std::string("4,321"));
        QVERIFY(!state().saved);
    }

    void changeOrSetFilenameSavesAndGoesOnEditing() {
        openForm();
        const QString other = m_dir.filePath(Q("other.cld"));
        caldren::gui::FileDialog::setNextFileName(other);
        QTest::mouseClick(child<QPushButton>("btnFilename"), Qt::LeftButton);
        QVERIFY(QFile::exists(other));
        QCOMPARE(child<QLabel>("lblFilename")->text(), other);
        QCOMPARE(state().currentFileName, other.toStdString());
        // The edit is open again: typing still reaches the engine.
        showPage(1);
        replaceText(child("txtCurLiab"), Q("55"));
        QCOMPARE(engine().get_CurLiab(), std::string("55"));
        // Opened again, the form shows the name shortened.
        m_form.reset();
        openForm();
        QCOMPARE(child<QLabel>("lblFilename")->text().toStdString(),
                 caldren::FileOperations::DisplayShorterFilename(other.toStdString()));
    }

    void openingAndLeavingWithoutChangeKeepsTheSavedFlag() {
        openForm();
        showPage(1);
        QLineEdit* box = child("txtCurAssets");
        enter(box);
        leave(box, child("txtSecurities"));
        QTest::mouseClick(child<QCheckBox>("chkEndOfMonth"), Qt::LeftButton);  // peak off
        QVERIFY(state().saved);
        // The same value typed again is no change.
        replaceText(box, Q("0"));
        QVERIFY(state().saved);
    }

    void calcDaysMonthAndInitMonths() {
        const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        for (int m = 1; m <= 12; ++m)
            QCOMPARE(caldren::IPSupport::CalcDaysMonth(m), days[m - 1]);
        auto months = engine().get_colMonths();
        QCOMPARE(months->get_Count(), 0L);
        caldren::IPSupport::InitMonths(*months);
        QCOMPARE(months->get_Count(), 12L);
        months->get_Item(vesmora::IndexKey{1L})->put_Receivables("9");
        caldren::IPSupport::InitMonths(*months);
        QCOMPARE(months->get_Count(), 12L);
        QCOMPARE(months->get_Item(vesmora::IndexKey{1L})->get_Receivables(), std::string("9"));
    }

    void propertiesAreFoundWithoutRegardToCase() {
        engine().BeginEdit();
        caldren::ControlExtend::CaldrenTarget target(m_session->state.engine.Get());
        target.Let("reasonableneeds", "12");
        QCOMPARE(target.Get("ReasonableNeeds"), std::string("12"));
        QCOMPARE(engine().get_Reasonableneeds(), std::string("12"));
        QCOMPARE(target.Get("CURASSETS"), std::string("0"));
        try {
            target.Let("NoSuchThing", "1");
            QFAIL("expected error 438");
        } catch (const activation::ComError& err) {
            QCOMPARE(err.Number(), 438L);
        }
    }
};

GUITEST_MAIN(TestFrmIP)
#include "tst_frmIP.moc"
