// Amounts typed key by key into an amount field and a cell of the monthly grid, as
// accountants write them: no message while typing, the engine holding the value typed so
// far, the whole text checked when the field is left with Tab, and a refused text answered
// with a message naming the field and the value the field held when it was entered (the
// rows of data/typing.txt).
#include "GuiTestSupport.h"

#include "app/input/frmIP.h"

#include <QLineEdit>
#include <QTabWidget>
#include <QtTest>

using guitest::Q;

class TestTyping : public QObject {
    Q_OBJECT

private slots:
    // The rows of data/typing.txt.
    void typedAndLeft_data() {
        QTest::addColumn<QStringList>("row");
        const QStringList lines = guitest::DataLines(Q(CALDREN_GUI_DATA "/typing.txt"));
        QVERIFY(!lines.isEmpty());
        for (const QString& line : lines) {
            const QStringList row = line.split(QLatin1Char('\t'));
            QTest::newRow(qPrintable(row[0])) << row;
        }
    }

    void typedAndLeft() {
        QFETCH(QStringList, row);
        const bool grid = row[1] == Q("grid"), byMouse = row[2] == Q("click");
        const QString typed = row[3], whileTyped = row[4], shown = row[5], refusal = row.value(6);
        guitest::Session session;
        QTemporaryDir dir;
        session.state.document.currentFileName = dir.filePath(Q("acme.cld")).toStdString();
        caldren::input::frmIP form(session.state, *session.ui, session.dialogs);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.findChild<QTabWidget*>(Q("vsTabIP"))->setCurrentIndex(grid ? 2 : 1);
        QLineEdit* box = grid ? form.gridBox(caldren::input::frmIP::Column::Receivables, 0)
                              : form.findChild<QLineEdit*>(Q("txtCurAssets"));
        auto engineValue = [&] {
            auto month =
                session.state.document.engine->get_colMonths()->get_Item(vesmora::IndexKey{1L});
            return Q(
                (grid ? month->get_Receivables() : session.state.document.engine->get_CurAssets())
                    .c_str());
        };
        // The value the field holds when it is entered.
        box->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(box, Q("8420000"));
        QTest::keyClick(box, Qt::Key_Tab);
        QCOMPARE(box->text(), Q("8,420,000"));

        if (byMouse)
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() / 3, box->height() / 2));
        else
            box->setFocus(Qt::TabFocusReason);
        QVERIFY(box->hasFocus());
        for (const QChar key : typed) {
            QTest::keyClicks(box, QString(key));
            QVERIFY2(session.dialogs.boxes.isEmpty(), qPrintable(box->text()));
        }
        QCOMPARE(box->text(), typed);
        QCOMPARE(engineValue(), whileTyped);

        QTest::keyClick(box, Qt::Key_Tab);
        QVERIFY(!box->hasFocus());
        QCOMPARE(box->text(), shown);
        QCOMPARE(engineValue(), shown);
        QCOMPARE(session.dialogs.boxes.size(), refusal.isEmpty() ? 0 : 1);
        if (refusal.isEmpty()) return;
        const QString label = grid ? Q("Receivables of 12/31/2002") : Q("Current Assets");
        QCOMPARE(session.dialogs.boxes.at(0), Q("Orlen Caldren Formula Calculator|48|") + label +
                                                  Q(": \"") + typed + Q("\" ") + refusal + Q("||") +
                                                  label + Q(" is back to 8,420,000."));
        QCOMPARE(session.dialogs.beeps, 1);
    }
};

GUITEST_MAIN(TestTyping)
#include "tst_typing.moc"
