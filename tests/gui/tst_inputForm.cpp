// The input form driven through its real widgets on the real engine: what it shows, what
// typing writes, refusals, the focus order, the months and dates, the method options, OK,
// Cancel and the file button, and months pasted from a spreadsheet.
#include "GuiTestSupport.h"

#include "app/core/FileOperations.h"
#include "app/input/ControlExtend.h"
#include "app/input/IPSupport.h"
#include "app/input/frmIP.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

using caldren::input::frmIP;
using guitest::Q;
using Column = caldren::input::frmIP::Column;

class TestInputForm : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<guitest::Session> m_session;
    std::unique_ptr<frmIP> m_form;
    QTemporaryDir m_dir;

    vesmora::_Caldren& engine() { return *m_session->state.document.engine; }
    caldren::RunState& state() { return m_session->state; }
    QStringList& boxes() { return m_session->dialogs.boxes; }
    activation::ComPtr<vesmora::_Monthly> month(long n) {
        return engine().get_colMonths()->get_Item(vesmora::IndexKey{n});
    }

    template <class W = QLineEdit>
    W* child(const QString& name) {
        W* widget = m_form->findChild<W*>(name);
        if (!widget) qFatal("no control %s", qPrintable(name));
        return widget;
    }
    QLineEdit* grid(Column column, int row) { return m_form->gridBox(column, row); }

    void openForm() {
        m_form = std::make_unique<frmIP>(state(), *m_session->ui, m_session->dialogs);
        m_form->SetInitialIP();
        m_form->show();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }
    void showPage(int index) { child<QTabWidget>(Q("vsTabIP"))->setCurrentIndex(index); }
    // Focus in and out as Tab gives it.
    void enter(QWidget* box) {
        box->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
    }
    void leave(QWidget* to) { enter(to); }
    void type(QLineEdit* box, const QString& text) {
        enter(box);
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    // A file with a peak analysis: sales and purchases in every month.
    void openPeakFile() {
        engine().BeginEdit();
        engine().put_DoPeakCycle(true);
        engine().put_sName("Peak Co");
        caldren::input::IPSupport::InitMonths(*engine().get_colMonths());
        for (long n = 1; n <= 12; ++n) {
            month(n)->put_Sales(std::to_string(100 * n));
            month(n)->put_Purchases(std::to_string(10 * n));
            month(n)->put_Inventory(std::to_string(1000 + n));
        }
        QVERIFY(caldren::FileOperations::Save(state(), state().document.currentFileName));
        QVERIFY(caldren::FileOperations::OpenFile(state(), state().document.currentFileName));
    }

private slots:
    void init() {
        m_session = std::make_unique<guitest::Session>();
        static int count = 0;
        state().document.currentFileName =
            m_dir.filePath(QStringLiteral("acme%1.cld").arg(++count)).toStdString();
        state().preferences.settingsFilePath =
            m_dir.filePath(QStringLiteral("CaldrenCalc.ini")).toStdString();
    }
    void cleanup() {
        m_form.reset();
        m_session.reset();
    }

    void aNewAnalysisShowsTheEngineAndTheCaptions() {
        openForm();
        const char* const shown[][2] = {
            {"txtCurAssets", "0"},
            {"txtContingencies", "0"},
            {"MaskDtEOYCurrent", "12/31/2002"},
            {"btnOK", "OK"},
            {"btnCancel", "Cancel"},
            {"btnFilename", "Change or set filename"},
            {"chkAveCycle", "Average Cycle"},
            {"chkPeakCycle", "Peak Cycle"},
            {"chkCurAmountsNextYr",
             "Use (current year) amounts as estimates for (next year) amounts where applicable"},
            {"chkEndOfMonth",
             "Use End - of - Month inventory instead of monthly sales && inventory purchases"},
            {"lblMonth", "Month End"},
            {"lblReceivables", "Receivables"},
            {"lblInventoryOrSales", "Sales"},
            {"lblPurchases", "Purchases"},
            {"AveInputYrLabel", "Tax Year Ending 12/31/2002"},
            {"fraCurYear", "Tax Year Ending 12/31/2002"},
            {"fraNxtYr", "Tax Year Ending 12/31/2003"},
            {"fraPeakOpCycle", "Tax Year Ending 12/31/2002"},
            {"FraMethod", "Method"}};
        for (const auto& [name, text] : shown) {
            QWidget* w = child<QWidget>(Q(name));
            const QVariant value = w->property(w->inherits("QGroupBox") ? "title" : "text");
            QCOMPARE(value.toString(), Q(text));
        }
        auto* tabs = child<QTabWidget>(Q("vsTabIP"));
        QCOMPARE(tabs->tabText(0) + tabs->tabText(1) + tabs->tabText(2) + tabs->tabText(3),
                 Q("&Initial Inputs&General Inputs&Peak Operating Cycle&Average Operating Cycle"));
        QCOMPARE(engine().get_colMonths()->get_Count(), 12L);
        for (int row = 0; row < 12; ++row) {
            QCOMPARE(grid(Column::MonthDate, row)->text(), Q("12/31/2002"));
            QCOMPARE(grid(Column::Receivables, row)->text(), Q("0"));
        }
        QCOMPARE(child<QLabel>(Q("lblFilename"))->text().toStdString(),
                 caldren::FileOperations::DisplayShorterFilename(state().document.currentFileName));
        // Loading wrote nothing.
        QVERIFY(!engine().get_IsDirty());
        QVERIFY(state().document.saved);
        QVERIFY(boxes().isEmpty());
    }

    void typingReachesTheEngine_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("row");  // grid row, or -1 for a field of the engine
        const char* const general[] = {"CurAssets",
                                       "Securities",
                                       "NotesFromShareholders",
                                       "CurLiab",
                                       "OtherWorkCapAdj",
                                       "InvBeg",
                                       "InvEnd",
                                       "InvPurchases",
                                       "NetSales",
                                       "COGS",
                                       "COGSNxtYr",
                                       "OperatingExpNxtYr",
                                       "IncTaxNxtYr",
                                       "DeprecNxtYr",
                                       "OtherCostAdjNxtYr",
                                       "ReasonableNeeds",
                                       "Contingencies"};
        for (const char* name : general) QTest::newRow(name) << Q(name) << 1 << -1;
        for (const char* name : {"ARBeg", "AREnd", "APBegRel2Inv", "APEndRel2Inv"})
            QTest::newRow(name) << Q(name) << 3 << -1;
        QTest::newRow("Receivables") << Q("Receivables") << 2 << 2;
        QTest::newRow("Sales") << Q("SalesInv") << 2 << 4;
        QTest::newRow("Purchases") << Q("Purchases") << 2 << 11;
    }
    void typingReachesTheEngine() {
        QFETCH(QString, field);
        QFETCH(int, page);
        QFETCH(int, row);
        openForm();
        showPage(page);
        QLineEdit* box = row < 0 ? child(Q("txt") + field)
                                 : m_form->findChildren<QLineEdit*>(Q("txt") + field).at(row);
        std::unique_ptr<caldren::input::ControlExtend::Target> target;
        std::string property = field.toStdString();
        if (row < 0) {
            target = std::make_unique<caldren::input::ControlExtend::CaldrenTarget>(
                state().document.engine.Get());
        } else {
            target = std::make_unique<caldren::input::ControlExtend::MonthlyTarget>(
                state().document.engine.Get(), row + 1);
            if (property == "SalesInv") property = "Sales";
        }
        type(box, Q("1234"));
        QCOMPARE(target->Get(property), std::string("1,234"));  // every keystroke went in
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(target->Get(property), std::string("123"));
        QTest::keyClicks(box, Q("4.6"));
        leave(child<QPushButton>(Q("btnOK")));
        QCOMPARE(box->text(), Q("1,235"));  // left: the value as the engine formats it
        QCOMPARE(target->Get(property), std::string("1,235"));
        QVERIFY(boxes().isEmpty());
        QVERIFY(!state().document.saved);
    }

    void refusedTextsPutTheLastValueBack_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("after");
        const QString fifty(50, QLatin1Char('x'));
        const QString tooMany =
            Q("Orlen Caldren Formula Calculator|0|(10001) Too many characters "
              "entered.");
        QTest::newRow("51st of name") << Q("txtName") << fifty << Q("y") << tooMany << fifty;
        QTest::newRow("51st of line 2") << Q("txtLine2") << fifty << Q("y") << tooMany << fifty;
    }
    void refusedTextsPutTheLastValueBack() {
        QFETCH(QString, field);
        QFETCH(QString, before);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, after);
        openForm();
        showPage(field == Q("txtName") || field == Q("txtLine2") ? 0 : 1);
        QLineEdit* box = child(field);
        caldren::input::ControlExtend::CaldrenTarget target(state().document.engine.Get());
        const std::string property = field == Q("txtName") ? "sName" : field.mid(3).toStdString();
        type(box, before);
        const std::string accepted = target.Get(property);
        QTest::keyClicks(box, typed);
        QCOMPARE(box->text(), after);
        QCOMPARE(target.Get(property), accepted);
        QCOMPARE(boxes().join(u'\n'), message);
        QCOMPARE(m_session->dialogs.beeps, message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) QCOMPARE(box->cursorPosition(), after.size());
    }

    void emptiedFieldsAndTrailingBlanks() {
        openForm();
        type(child(Q("txtName")), Q("Acme Corp   "));
        leave(child(Q("txtLine2")));
        QCOMPARE(child(Q("txtName"))->text(), Q("Acme Corp"));
        type(child(Q("txtName")), QString());
        QTest::keyClick(child(Q("txtName")), Qt::Key_Backspace);
        QCOMPARE(engine().get_sName(), std::string());
        showPage(1);
        QLineEdit* sales = child(Q("txtNetSales"));
        type(sales, Q("987"));
        sales->selectAll();
        QTest::keyClick(sales, Qt::Key_Delete);
        QCOMPARE(sales->text(), Q("0"));
        QCOMPARE(sales->selectedText(), Q("0"));  // the next key replaces it
        QCOMPARE(engine().get_NetSales(), std::string("0"));
    }

    void enterMovesTheFocusInOrder_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::newRow("name") << 0 << Q("txtName") << Q("txtLine2");
        QTest::newRow("line 2") << 0 << Q("txtLine2") << Q("chkAveCycle");
        QTest::newRow("year end") << 0 << Q("MaskDtEOYCurrent") << Q("chkCurAmountsNextYr");
        QTest::newRow("COGS to next year") << 1 << Q("txtCOGS") << Q("txtCOGSNxtYr");
        QTest::newRow("last of General Inputs") << 1 << Q("txtContingencies") << Q("btnOK");
        QTest::newRow("last of Average") << 3 << Q("txtAPEndRel2Inv") << Q("btnOK");
        QTest::newRow("help pane to the tab strip")
            << 1 << Q("txtHelp") << Q("qt_tabwidget_tabbar");
    }
    void enterMovesTheFocusInOrder() {
        QFETCH(int, page);
        QFETCH(QString, from);
        QFETCH(QString, to);
        openForm();
        showPage(page);
        QWidget* source = child<QWidget>(from);
        enter(source);
        QTest::keyClick(source, from == Q("txtHelp") ? Qt::Key_Tab : Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget()->objectName(), to);
    }

    void theTabStripTakesTheFocusAndTheArrowsChangePages() {
        openForm();
        auto* bar = child<QTabWidget>(Q("vsTabIP"))->tabBar();
        QCOMPARE(bar->focusPolicy(), Qt::TabFocus);
        enter(bar);
        QVERIFY(bar->hasFocus());
        QTest::keyClick(bar, Qt::Key_Right);
        QCOMPARE(bar->currentIndex(), 1);
        QTest::keyClick(bar, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), child<QWidget>(Q("txtCurAssets")));
        // The grid: Enter follows the rows; the dates of months 2 to 12 are no tab stops.
        showPage(2);
        enter(grid(Column::Purchases, 0));
        QTest::keyClick(grid(Column::Purchases, 0), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), grid(Column::Receivables, 1));
    }

    void monthsAreDerivedFromTheFirstDate_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("then");
        QTest::newRow("month ends")
            << Q("01/31/2002") << Q("02/28/2002 03/31/2002 04/30/2002 12/31/2002");
        QTest::newRow("leap year")
            << Q("01/31/2004") << Q("02/29/2004 03/31/2004 04/30/2004 12/31/2004");
        QTest::newRow("year turns")
            << Q("07/31/2002") << Q("08/31/2002 09/30/2002 10/31/2002 06/30/2003");
        QTest::newRow("28 is a month end")
            << Q("01/28/2002") << Q("02/28/2002 03/31/2002 04/30/2002 12/31/2002");
        QTest::newRow("same day") << Q("01/15/2004")
                                  << Q("02/15/2004 03/15/2004 04/15/2004 12/15/2004");
        QTest::newRow("December") << Q("12/31/2003")
                                  << Q("01/31/2004 02/29/2004 03/31/2004 11/30/2004");
        QTest::newRow("into 2100")
            << Q("02/28/2099") << Q("03/31/2099 04/30/2099 05/31/2099 01/31/2100");
    }
    void monthsAreDerivedFromTheFirstDate() {
        QFETCH(QString, first);
        QFETCH(QString, then);
        openForm();
        showPage(2);
        type(grid(Column::MonthDate, 0), QString(first).remove(QLatin1Char('/')));
        leave(grid(Column::Receivables, 0));
        QVERIFY(boxes().isEmpty());
        const QStringList expected = then.split(QLatin1Char(' '));
        // Months 2, 3, 4 and 12.
        const int rows[] = {1, 2, 3, 11};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(grid(Column::MonthDate, rows[i])->text(), expected.at(i));
            QCOMPARE(QString::fromStdString(month(rows[i] + 1)->get_MonthDate()), expected.at(i));
        }
        QCOMPARE(QString::fromStdString(month(1)->get_MonthDate()), first);
        QVERIFY(engine().get_DoPeakCycle());  // typing a month's date chooses the peak method
        QVERIFY(!child<QCheckBox>(Q("chkPeakCycle"))->isChecked());
    }

    void badDatesArePutBack_data() {
        QTest::addColumn<bool>("yearEnd");
        QTest::addColumn<QString>("typed");
        QTest::newRow("month 13") << true << Q("13452003");
        QTest::newRow("February 30") << true << Q("02302003");
        QTest::newRow("incomplete") << true << Q("0630");
        QTest::newRow("first month February 30") << false << Q("02302002");
        QTest::newRow("first month incomplete") << false << Q("013");
    }
    void badDatesArePutBack() {
        QFETCH(bool, yearEnd);
        QFETCH(QString, typed);
        openForm();
        showPage(yearEnd ? 0 : 2);
        QLineEdit* box = yearEnd ? child(Q("MaskDtEOYCurrent")) : grid(Column::MonthDate, 0);
        type(box, typed);
        leave(yearEnd ? child<QWidget>(Q("chkCurAmountsNextYr")) : grid(Column::Receivables, 0));
        QCOMPARE(boxes(), QStringList{Q("Orlen Caldren Formula Calculator|0|(10002) This item "
                                        "needs to be a number.")});
        QCOMPARE(box->text(), Q("12/31/2002"));
        QCOMPARE(engine().get_EOYCurrent() + engine().get_EOYNxtYr(),
                 std::string("12/31/200212/31/2003"));
        QCOMPARE(month(1)->get_MonthDate() + month(6)->get_MonthDate(),
                 std::string("12/31/200212/31/2002"));
    }

    void theYearEndSetsTheNextYearAndTheCaptions() {
        openForm();
        type(child(Q("MaskDtEOYCurrent")), Q("06302002"));
        QCOMPARE(engine().get_EOYCurrent(), std::string("12/31/2002"));  // nothing while typing
        auto* current = child<QCheckBox>(Q("chkCurAmountsNextYr"));
        leave(current);
        QCOMPARE(engine().get_EOYNxtYr(), std::string("06/30/2003"));
        QCOMPARE(child<QGroupBox>(Q("fraCurYear"))->title(), Q("Tax Year Ending 06/30/2002"));
        QCOMPARE(child<QGroupBox>(Q("fraPeakOpCycle"))->title(), Q("Tax Year Ending 06/30/2002"));
        QCOMPARE(child<QGroupBox>(Q("fraNxtYr"))->title(), Q("6/30/2003"));
        QCOMPARE(child<QLabel>(Q("AveInputYrLabel"))->text(), Q("Year Ending 06/30/2002"));
        QTest::mouseClick(current, Qt::LeftButton);
        QCOMPARE(child<QGroupBox>(Q("fraNxtYr"))->title(),
                 Q("Estimates for Tax Year ending 6/30/2003"));
        QTest::mouseClick(current, Qt::LeftButton);
        QCOMPARE(child<QGroupBox>(Q("fraNxtYr"))->title(), Q("Year ending 06/30/2002"));
        type(child(Q("MaskDtEOYCurrent")), Q("02292004"));
        leave(current);
        QCOMPARE(engine().get_EOYNxtYr(), std::string("02/28/2005"));
        // While current amounts are used, leaving Cost of Goods Sold copies it to next year.
        QTest::mouseClick(current, Qt::LeftButton);
        showPage(1);
        type(child(Q("txtCOGS")), Q("250000"));
        leave(child(Q("txtCurAssets")));
        QCOMPARE(child(Q("txtCOGSNxtYr"))->text(), Q("250,000"));
        QCOMPARE(engine().get_COGSNxtYr(), std::string("250,000"));
        QTest::mouseClick(current, Qt::LeftButton);
        type(child(Q("txtCOGS")), Q("7"));
        leave(child(Q("txtCurAssets")));
        QCOMPARE(engine().get_COGSNxtYr(), std::string("250,000"));
    }

    void theMethodOptionsAndTheGrid() {
        openForm();
        auto* ave = child<QCheckBox>(Q("chkAveCycle"));
        auto* peak = child<QCheckBox>(Q("chkPeakCycle"));
        auto* eom = child<QCheckBox>(Q("chkEndOfMonth"));
        // Without the peak method the end-of-month box changes nothing but itself.
        QTest::mouseClick(eom, Qt::LeftButton);
        QVERIFY(engine().get_DoPeakUseSalesAndPurch());
        QVERIFY(state().document.saved);
        QTest::mouseClick(eom, Qt::LeftButton);
        QTest::mouseClick(ave, Qt::LeftButton);
        QTest::mouseClick(peak, Qt::LeftButton);
        QVERIFY(engine().get_DoAveCycle() && engine().get_DoPeakCycle());
        showPage(2);
        type(grid(Column::SalesInv, 4), Q("300"));
        QCOMPARE(month(5)->get_Sales() + "|" + month(5)->get_Inventory(), std::string("300|0"));
        // End-of-month inventory: the third column shows and edits the months' inventory.
        QTest::mouseClick(eom, Qt::LeftButton);
        QVERIFY(!engine().get_DoPeakUseSalesAndPurch());
        QCOMPARE(child<QLabel>(Q("lblInventoryOrSales"))->text(), Q("Inventory"));
        QVERIFY(!child<QLabel>(Q("lblPurchases"))->isVisible() &&
                !grid(Column::Purchases, 0)->isVisible());
        QCOMPARE(grid(Column::SalesInv, 4)->text(), Q("0"));
        type(grid(Column::SalesInv, 4), Q("450"));
        QCOMPARE(child<QPlainTextEdit>(Q("txtHelp"))->toPlainText(),
                 Q("Enter the End - of - Month Inventory for the monthif you DID check the box to "
                   "use End - of - "
                   "Month Inventory."));
        QCOMPARE(month(5)->get_Sales() + "|" + month(5)->get_Inventory(), std::string("300|450"));
        QTest::mouseClick(eom, Qt::LeftButton);
        QCOMPARE(child<QLabel>(Q("lblInventoryOrSales"))->text(), Q("Sales"));
        QVERIFY(grid(Column::Purchases, 0)->isVisible());
        QCOMPARE(grid(Column::SalesInv, 4)->text(), Q("300"));
        QTest::mouseClick(ave, Qt::LeftButton);
        QTest::mouseClick(peak, Qt::LeftButton);
        QVERIFY(!engine().get_DoAveCycle() && !engine().get_DoPeakCycle());
    }

    void turningThePeakMethodOnAgainShowsTheMonths() {
        openPeakFile();
        engine().BeginEdit();
        engine().put_DoPeakCycle(false);
        QVERIFY(caldren::FileOperations::Save(state(), state().document.currentFileName));
        QVERIFY(caldren::FileOperations::OpenFile(state(), state().document.currentFileName));
        openForm();
        showPage(2);
        QCOMPARE(grid(Column::SalesInv, 2)->text(), QString());  // off: the columns stay empty
        QTest::mouseClick(child<QCheckBox>(Q("chkPeakCycle")), Qt::LeftButton);
        QCOMPARE(grid(Column::SalesInv, 2)->text(), Q("300"));
        QCOMPARE(grid(Column::Purchases, 11)->text(), Q("120"));
    }

    void okCancelEscAndTheCloseBox_data() {
        QTest::addColumn<int>("how");  // 0 OK, 1 Cancel, 2 Esc, 3 the close box
        QTest::newRow("OK") << 0;
        QTest::newRow("Cancel") << 1;
        QTest::newRow("Esc") << 2;
        QTest::newRow("close box") << 3;
    }
    void okCancelEscAndTheCloseBox() {
        QFETCH(int, how);
        openPeakFile();
        const QString file = QString::fromStdString(state().document.currentFileName);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray before = f.readAll();
        f.close();
        openForm();
        showPage(1);
        type(child(Q("txtCurAssets")), Q("4321"));
        showPage(2);
        type(grid(Column::Receivables, 3), Q("77"));
        type(grid(Column::MonthDate, 0), Q("01152003"));
        leave(grid(Column::Receivables, 0));
        showPage(0);
        QTest::mouseClick(child<QCheckBox>(Q("chkAveCycle")), Qt::LeftButton);
        QVERIFY(!state().document.saved);
        m_session->dialogs.answers = {caldren::MsgAnswer::Yes};  // Discard
        if (how == 0)
            QTest::mouseClick(child<QPushButton>(Q("btnOK")), Qt::LeftButton);
        else if (how == 1)
            QTest::mouseClick(child<QPushButton>(Q("btnCancel")), Qt::LeftButton);
        else if (how == 2)
            QTest::keyClick(child(Q("txtName")), Qt::Key_Escape);
        else
            m_form->close();
        QVERIFY(!m_form->isVisible());
        const bool kept = how == 0;
        QCOMPARE(boxes().size(), kept ? 0 : 1);
        QCOMPARE(engine().get_CurAssets(), std::string(kept ? "4,321" : "0"));
        QCOMPARE(engine().get_DoAveCycle(), kept);
        QCOMPARE(month(4)->get_Receivables(), std::string(kept ? "77" : "0"));
        QCOMPARE(month(1)->get_MonthDate() + month(2)->get_MonthDate(),
                 std::string(kept ? "01/15/200302/15/2003" : "12/31/200212/31/2002"));
        QVERIFY(state().document.saved);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray after = f.readAll();
        f.close();
        QCOMPARE(after == before, !kept);
        // A cancelled value never reaches the file later.
        QVERIFY(caldren::FileOperations::Save(state(), state().document.currentFileName));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll().contains("Current Assets=4,321"), kept);
    }

    void theFileButtonSavesAndCancelComesBackToWhatWasSaved() {
        openForm();
        showPage(1);
        type(child(Q("txtCurLiab")), Q("55"));
        const QString other = m_dir.filePath(Q("other.cld"));
        m_session->dialogs.files.push_back({other});
        QTest::mouseClick(child<QPushButton>(Q("btnFilename")), Qt::LeftButton);
        QVERIFY(QFile::exists(other));
        QCOMPARE(child<QLabel>(Q("lblFilename"))->text(), other);
        type(child(Q("txtCurLiab")), Q("66"));
        QCOMPARE(engine().get_CurLiab(), std::string("66"));     // the edit is open again
        m_session->dialogs.answers = {caldren::MsgAnswer::Yes};  // Discard
        QTest::mouseClick(child<QPushButton>(Q("btnCancel")), Qt::LeftButton);
        QCOMPARE(engine().get_CurLiab(), std::string("55"));
        QVERIFY(state().document.saved);
        openForm();
        QCOMPARE(child<QLabel>(Q("lblFilename"))->text().toStdString(),
                 caldren::FileOperations::DisplayShorterFilename(other.toStdString()));
    }

    void pastedMonths_data() {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<int>("column");  // where the paste starts, in row 2
        QTest::addColumn<bool>("endOfMonth");
        QTest::addColumn<QString>(
            "months");  // receivables|sales|inventory|purchases of months 2..4
        QTest::addColumn<QString>("message");
        QTest::newRow("down and right") << Q("$1,200\t(300)\t40\n1,300\t310\t41\n") << 1 << false
                                        << Q("1,200|-300|0|40 1,300|310|0|41 0|0|0|0") << QString();
        QTest::newRow("refused value stops")
            << Q("5\t6\t7\n8\tx\t9\n") << 1 << false << Q("5|6|0|7 8|0|0|0 0|0|0|0")
            << Q("(10002) This item needs to be a number.");
        QTest::newRow("inventory skips purchases")
            << Q("1\t2\n3\t4\n5\t6\n") << 1 << true << Q("1|0|2|0 3|0|4|0 5|0|6|0") << QString();
        QTest::newRow("single value is the box's own")
            << Q("42") << 1 << false << Q("42|0|0|0 0|0|0|0 0|0|0|0") << QString();
    }
    void pastedMonths() {
        QFETCH(QString, clipboard);
        QFETCH(int, column);
        QFETCH(bool, endOfMonth);
        QFETCH(QString, months);
        QFETCH(QString, message);
        openForm();
        QTest::mouseClick(child<QCheckBox>(Q("chkPeakCycle")), Qt::LeftButton);
        if (endOfMonth) QTest::mouseClick(child<QCheckBox>(Q("chkEndOfMonth")), Qt::LeftButton);
        showPage(2);
        QGuiApplication::clipboard()->setText(clipboard);
        QLineEdit* start = grid(static_cast<Column>(column), 1);
        enter(start);
        QTest::keySequence(start, QKeySequence::Paste);
        QStringList got;
        for (long n = 2; n <= 4; ++n)
            got << QString::fromStdString(month(n)->get_Receivables() + "|" +
                                          month(n)->get_Sales() + "|" + month(n)->get_Inventory() +
                                          "|" + month(n)->get_Purchases());
        QCOMPARE(got.join(QLatin1Char(' ')), months);
        QCOMPARE(boxes().value(0).section(u'|', 2), message);
    }

    void pastedDatesDeriveTheMonthsAndClearMonthsAsksFirst() {
        openForm();
        showPage(2);
        QGuiApplication::clipboard()->setText(Q("07/31/2002\t5\n"));
        enter(grid(Column::MonthDate, 0));
        QTest::keySequence(grid(Column::MonthDate, 0), QKeySequence::Paste);
        QCOMPARE(month(2)->get_MonthDate() + month(12)->get_MonthDate(),
                 std::string("08/31/200206/30/2003"));
        QCOMPARE(grid(Column::Receivables, 0)->text(), Q("5"));
        auto* clear = child<QPushButton>(Q("btnClearMonths"));
        m_session->dialogs.answers.push_back(caldren::MsgAnswer::No);
        clear->click();
        QCOMPARE(month(1)->get_Receivables(), std::string("5"));
        m_session->dialogs.answers.push_back(caldren::MsgAnswer::Yes);
        clear->click();
        QCOMPARE(month(1)->get_Receivables(), std::string("0"));
        QCOMPARE(grid(Column::Receivables, 0)->text(), Q("0"));
        QCOMPARE(boxes().size(), 2);
    }

    // A journey through the marks on negative amounts, the question on "(1,040,200)" in a
    // subtracted field, pastes with and without a heading row, undo and redo, the context
    // menu, and Cancel's question answered both ways: what it saw is data/formJourney.txt,
    // the file saved on OK data/formJourney.cld.
    void aJourneyThroughMarksPastesUndoAndCancel() {
        QStringList seen;
        auto look = [&](const char* step) {
            seen << Q(step);
            for (const QString& box : boxes()) seen << Q("  asked ") + box;
            boxes().clear();
            QStringList marked;
            for (QLineEdit* box : m_form->findChildren<QLineEdit*>())
                if (!box->toolTip().isEmpty())
                    marked << box->objectName() + box->property("Index").toString();
            marked.sort();
            auto m = month(1);
            seen << guitest::Line(
                " ", engine().get_CurAssets(), engine().get_CurLiab(), engine().get_NetSales(), "|",
                m->get_MonthDate(), m->get_Receivables(), m->get_Sales(), m->get_Purchases(),
                m->get_Inventory(), "|", state().document.saved ? "saved" : "changed", "|",
                marked.join(u','), "|", child<QLabel>(Q("lblSignMarks"))->text());
        };
        auto key = [](QWidget* at, Qt::Key k, Qt::KeyboardModifiers mods) {
            QTest::keyClick(at, k, mods);
        };
        auto paste = [&](const QString& text, QLineEdit* at) {
            QGuiApplication::clipboard()->setText(text);
            enter(at);
            QTest::keySequence(at, QKeySequence::Paste);
        };
        using caldren::MsgAnswer;
        openForm();
        showPage(1);
        QLineEdit* liab = child(Q("txtCurLiab"));
        m_session->dialogs.answers = {MsgAnswer::No};
        type(liab, Q("(1,040,200)"));
        look("typed (1,040,200)");
        leave(child(Q("txtOtherWorkCapAdj")));
        look("left: Keep");
        enter(liab);
        leave(child(Q("txtOtherWorkCapAdj")));
        look("entered and left again");
        m_session->dialogs.answers = {MsgAnswer::Yes};
        type(liab, Q("(1,040,200)"));
        leave(child(Q("txtOtherWorkCapAdj")));
        look("typed again: Use");
        QLineEdit* sales = child(Q("txtNetSales"));
        type(sales, Q("-9,874,000"));
        leave(child(Q("txtCOGS")));
        look("net sales typed negative");
        type(sales, Q("7"));
        key(sales, Qt::Key_Z, Qt::ControlModifier);
        look("typing undone");
        key(sales, Qt::Key_Z, Qt::ControlModifier);
        key(sales, Qt::Key_Z, Qt::ControlModifier);
        look("two more undone");
        key(sales, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        look("redone with Ctrl+Shift+Z");
        key(child<QCheckBox>(Q("chkAveCycle")), Qt::Key_Y, Qt::ControlModifier);
        look("redone with Ctrl+Y outside a field");

        QTest::mouseClick(child<QCheckBox>(Q("chkPeakCycle")), Qt::LeftButton);
        showPage(2);
        paste(Q("07/31/2025\t5,000\t(300)\t40\n\t6,000\t310\t41\n"), grid(Column::MonthDate, 0));
        look("pasted without headings");
        paste(Q("Purchases\tA/R\tMonth End\tInventory\tSales\n50\t-7,000\t01/31/2025\t1\t400\n"),
              grid(Column::Purchases, 0));
        look("pasted by headings");
        paste(Q("Receivables\tQty\tSales\tPurchases\n1\t2\t3\t4\n"), grid(Column::Receivables, 0));
        look("a heading that names no column");
        QAction* first = nullptr;  // the menu's first action: the form's Undo
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QStringList texts;
            for (QAction* action : menu ? menu->actions() : QList<QAction*>())
                texts << action->text() + (action->isEnabled() ? Q("") : Q("(off)"));
            seen << Q("context menu: ") + texts.join(u'|');
            first = menu ? menu->actions().value(0) : nullptr;
            if (menu) menu->close();
        });
        QLineEdit* cell = grid(Column::Receivables, 0);
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(4, 4),
                                cell->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(cell, &click);
        QVERIFY(first);
        first->trigger();
        look("undone from the context menu");
        key(cell, Qt::Key_Y, Qt::ControlModifier);
        look("the paste by headings redone");

        key(grid(Column::Receivables, 0), Qt::Key_Escape, {});
        QVERIFY(m_form->isVisible());
        look("Esc: Keep Editing");
        QTest::mouseClick(child<QPushButton>(Q("btnOK")), Qt::LeftButton);
        QVERIFY(!m_form->isVisible());
        look("OK");

        openForm();
        showPage(1);
        type(child(Q("txtCurAssets")), Q("5"));
        key(child(Q("txtCurAssets")), Qt::Key_Z, Qt::ControlModifier);
        look("reopened, typed and undone");
        QTest::mouseClick(child<QPushButton>(Q("btnCancel")), Qt::LeftButton);
        QVERIFY(!m_form->isVisible());
        look("Cancel without changes");
        openForm();
        showPage(1);
        type(child(Q("txtCurAssets")), Q("5"));
        m_session->dialogs.answers = {MsgAnswer::Yes};
        m_form->close();
        QVERIFY(!m_form->isVisible());
        look("close box: Discard");
        guitest::ExpectTranscript(Q("formJourney"), seen);
        QFile saved(QString::fromStdString(state().document.currentFileName));
        QFile golden(Q(CALDREN_GUI_DATA "/formJourney.cld"));
        QVERIFY(saved.open(QIODevice::ReadOnly) && golden.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), golden.readAll());
    }

    void supportRoutines() {
        const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        for (int m = 1; m <= 12; ++m)
            QCOMPARE(caldren::input::IPSupport::CalcDaysMonth(m), days[m - 1]);
        auto months = engine().get_colMonths();
        caldren::input::IPSupport::InitMonths(*months);
        months->get_Item(vesmora::IndexKey{1L})->put_Receivables("9");
        caldren::input::IPSupport::InitMonths(*months);  // a collection with months is left alone
        QCOMPARE(months->get_Count(), 12L);
        QCOMPARE(months->get_Item(vesmora::IndexKey{1L})->get_Receivables(), std::string("9"));
        engine().BeginEdit();
        caldren::input::ControlExtend::CaldrenTarget target(state().document.engine.Get());
        target.Let("reasonableneeds", "12");  // names without regard to case
        QCOMPARE(target.Get("ReasonableNeeds") + target.Get("CURASSETS"), std::string("120"));
        try {
            target.Let("NoSuchThing", "1");
            QFAIL("expected error 438");
        } catch (const activation::ComError& err) {
            QCOMPARE(err.Number(), 438L);
        }
    }
};

GUITEST_MAIN(TestInputForm)
#include "tst_inputForm.moc"
