// Months pasted from a spreadsheet into the input form's grid with Ctrl+V, "Clear Months",
// and View, Compare Years... of the main window (the multi-file dialog through the Qt Ui).
#include "GuiTestSupport.h"

#include "app/input/ControlExtend.h"
#include "app/input/frmIP.h"
#include "app/gui/frmMain.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

using caldren::frmIP;
using caldren::gui::MessageBox;
using guitest::Q;
using Column = caldren::frmIP::Column;

class TestMonthPaste : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<guitest::Session> m_session;
    std::unique_ptr<frmIP> m_form;
    QTemporaryDir m_dir;

    vesmora::_Caldren& engine() { return *m_session->state.engine; }
    caldren::RunState& state() { return m_session->state; }
    vesmora::ComPtr<vesmora::_Monthly> month(long position) {
        return engine().get_colMonths()->get_Item(vesmora::IndexKey{position});
    }

    void openForm() {
        m_form = std::make_unique<frmIP>(state(), *m_session->ui);
        m_form->show();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        m_form->findChild<QTabWidget*>(Q("vsTabIP"))->setCurrentIndex(2);
        QCoreApplication::processEvents();
    }
    // Ctrl+V in a grid box holding the focus.
    void pasteAt(QLineEdit* box, const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        box->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        QTest::keySequence(box, QKeySequence::Paste);
        QCoreApplication::processEvents();
    }

private slots:
    void init() {
        m_session = std::make_unique<guitest::Session>();
        static int count = 0;
        state().currentFileName = m_dir.filePath(QStringLiteral("paste%1.cld").arg(++count)).toStdString();
    }
    void cleanup() {
        m_form.reset();
        m_session.reset();
    }

    // Three months with commas, dollar signs, parentheses and a heading row, pasted at the
    // first receivables cell: every value in the month objects and in the boxes.
    void pasteFillsDownAndRight() {
        openForm();
        pasteAt(m_form->gridBox(Column::Receivables, 0),
                Q("Receivables\tSales\tPurchases\r\n"
                  "$120,000\t$75,000\t$50,000\r\n"
                  "100,000\t60,000\t(1,500)\r\n"
                  "150,000\t90,000\t70,000\r\n"));
        QVERIFY(MessageBox::history().isEmpty());
        QCOMPARE(month(1)->get_Receivables(), std::string("120,000"));
        QCOMPARE(month(1)->get_Sales(), std::string("75,000"));
        QCOMPARE(month(1)->get_Purchases(), std::string("50,000"));
        QCOMPARE(month(2)->get_Purchases(), std::string("-1,500"));
        QCOMPARE(month(3)->get_Sales(), std::string("90,000"));
        QCOMPARE(month(4)->get_Receivables(), std::string("0"));
        QCOMPARE(m_form->gridBox(Column::Receivables, 0)->text(), Q("120,000"));
        QCOMPARE(m_form->gridBox(Column::SalesInv, 1)->text(), Q("60,000"));
        QCOMPARE(m_form->gridBox(Column::Purchases, 1)->text(), Q("-1,500"));
        QCOMPARE(m_form->gridBox(Column::Receivables, 2)->text(), Q("150,000"));
        QVERIFY(!state().saved);
    }

    // A refused value stops the paste at its cell with the 10002 message; the cells
    // before it stay, those after it are not set; the focus goes to the refused cell.
    void refusedValueStopsThere() {
        openForm();
        pasteAt(m_form->gridBox(Column::Receivables, 0), Q("1,000\t2,000\r\n3,000\tn/a\r\n5,000\t6,000\r\n"));
        QCOMPARE(MessageBox::history().size(), 1);
        QCOMPARE(MessageBox::history()[0].text,
                 QString::fromStdString(caldren::ControlExtend::RejectionMessage(10002)));
        QCOMPARE(month(1)->get_Receivables(), std::string("1,000"));
        QCOMPARE(month(1)->get_Sales(), std::string("2,000"));
        QCOMPARE(month(2)->get_Receivables(), std::string("3,000"));
        QCOMPARE(month(2)->get_Sales(), std::string("0"));
        QCOMPARE(month(3)->get_Receivables(), std::string("0"));
        QCOMPARE(m_form->gridBox(Column::SalesInv, 1)->text(), Q("0"));
        QVERIFY(m_form->gridBox(Column::SalesInv, 1)->hasFocus());
    }

    // The first month's date pasted in the date column: the other months follow it.
    void firstDateDerivesTheMonths() {
        openForm();
        pasteAt(m_form->gridBox(Column::MonthDate, 0), Q("1/31/2004\t10\r\n2/29/2004\t20\r\n"));
        QVERIFY(MessageBox::history().isEmpty());
        QCOMPARE(month(1)->get_MonthDate(), std::string("01/31/2004"));
        QCOMPARE(month(2)->get_MonthDate(), std::string("02/29/2004"));
        QCOMPARE(month(12)->get_MonthDate(), std::string("12/31/2004"));
        QCOMPARE(m_form->gridBox(Column::MonthDate, 11)->text(), Q("12/31/2004"));
        QCOMPARE(month(2)->get_Receivables(), std::string("20"));
    }

    // With month-end inventory the purchase boxes are hidden: the third pasted column
    // goes to the inventory and a fourth beyond the grid is dropped.
    void monthEndInventorySkipsPurchases() {
        engine().BeginEdit();
        engine().put_DoPeakCycle(true);
        engine().put_DoPeakUseSalesAndPurch(false);
        openForm();
        pasteAt(m_form->gridBox(Column::Receivables, 0), Q("120,000\t100,000\t9\r\n"));
        QCOMPARE(month(1)->get_Receivables(), std::string("120,000"));
        QCOMPARE(month(1)->get_Inventory(), std::string("100,000"));
        QCOMPARE(month(1)->get_Purchases(), std::string("0"));
    }

    void notTabularIsRefused() {
        openForm();
        pasteAt(m_form->gridBox(Column::Receivables, 0), Q("Dear client,\r\nplease find the figures.\r\n"));
        QCOMPARE(MessageBox::history().size(), 1);
        QVERIFY(MessageBox::history()[0].text.startsWith(Q("The clipboard does not hold rows of figures.")));
        QCOMPARE(month(1)->get_Receivables(), std::string("0"));
    }

    // A single value is the box's own paste (and its editing pattern).
    void singleValueIsTheBoxsOwnPaste() {
        openForm();
        QLineEdit* box = m_form->gridBox(Column::Receivables, 3);
        box->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        box->selectAll();
        QGuiApplication::clipboard()->setText(Q("4,500"));
        QTest::keySequence(box, QKeySequence::Paste);
        QCoreApplication::processEvents();
        QCOMPARE(month(4)->get_Receivables(), std::string("4,500"));
        QVERIFY(MessageBox::history().isEmpty());
    }

    void clearMonthsAsksFirst() {
        openForm();
        pasteAt(m_form->gridBox(Column::Receivables, 0), Q("1\t2\t3\r\n4\t5\t6\r\n"));
        auto* clear = m_form->findChild<QPushButton*>(Q("btnClearMonths"));
        QVERIFY(clear);
        QCOMPARE(clear->text(), Q("C&lear Months"));
        MessageBox::setNextAnswer(caldren::MsgAnswer::No);
        clear->click();
        QCOMPARE(month(2)->get_Sales(), std::string("5"));
        QCOMPARE(MessageBox::history().last().style, int(caldren::kYesNo | caldren::kQuestion));
        MessageBox::setNextAnswer(caldren::MsgAnswer::Yes);
        clear->click();
        for (long i = 1; i <= 12; ++i) {
            QCOMPARE(month(i)->get_Receivables(), std::string("0"));
            QCOMPARE(month(i)->get_Sales(), std::string("0"));
            QCOMPARE(month(i)->get_Inventory(), std::string("0"));
            QCOMPARE(month(i)->get_Purchases(), std::string("0"));
        }
        QCOMPARE(m_form->gridBox(Column::SalesInv, 1)->text(), Q("0"));
        QCOMPARE(m_form->gridBox(Column::Purchases, 0)->text(), Q("0"));
    }

    // View, Compare Years...: the multi-file dialog of the Qt Ui, then the viewer.
    void compareYearsFromTheViewMenu() {
        caldren::frmMain window(state(), *m_session->ui);
        m_session->ui->setMainWindow(&window);
        QAction* command = window.findChild<QAction*>(Q("mnuViewCompare"));
        QVERIFY(command);
        QCOMPARE(command->text(), Q("&Compare Years..."));
        const QString data = Q(CALDREN_COMPARE_DATA);
        const QString a = m_dir.filePath(Q("acme2002.cld"));
        const QString b = m_dir.filePath(Q("acme2003.CLD"));
        QFile::copy(data + Q("/acme2002.cld"), a);
        QFile::copy(data + Q("/acme2003.CLD"), b);
        caldren::gui::FileDialog::setNextFileNames({b, a});
        command->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(QString::fromStdString(caldren::gui::FileDialog::history().last().title), Q("Compare Years"));
        QWidget* viewer = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowTitle() == Q("Comparison Report")) viewer = w;
        QVERIFY(viewer);
        delete viewer;
        // One file: refused with a message, no viewer.
        caldren::gui::FileDialog::setNextFileNames({a});
        command->trigger();
        QCOMPARE(MessageBox::history().size(), 1);
        QVERIFY(MessageBox::history()[0].text.startsWith(Q("Please choose from two to six data files")));
        m_session->ui->setMainWindow(nullptr);
    }
};

GUITEST_MAIN(TestMonthPaste)
#include "tst_monthPaste.moc"
