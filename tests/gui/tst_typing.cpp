// Amounts typed key by key into an amount field and a cell of the monthly grid, as
// accountants write them: no message while typing, the engine holding the value typed so
// far, the whole text checked when the field is left with Tab, and a refused text answered
// with a message naming the field and the value the field held when it was entered.
#include "GuiTestSupport.h"

#include "app/input/frmIP.h"

#include <QLineEdit>
#include <QTabWidget>
#include <QtTest>

using guitest::Q;

namespace {
const char* const kNotAnAmount =
    "is not an amount. Type amounts as 8420000, 8,420,000 or $8,420,000 (commas between groups of "
    "three digits) and negative amounts as -50,000 or (50,000).";
const char* const kTooLarge =
    "is too large. Amounts go up to 922,337,203,685,477 and down to -922,337,203,685,477.";
}  // namespace

class TestTyping : public QObject {
    Q_OBJECT

private slots:
    void typedAndLeft_data() {
        QTest::addColumn<bool>("grid");     // the first month's receivables, else Current Assets
        QTest::addColumn<bool>("byMouse");  // entered with a click, else with Tab
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("whileTyped");  // the engine's value before the field is left
        QTest::addColumn<QString>("shown");       // the box after it is left
        QTest::addColumn<QString>("refusal");     // "", or the reason of the message
        auto row = [](const char* name, bool grid, bool mouse, const char* typed,
                      const char* during, const char* shown, const char* refusal) {
            QTest::newRow(name) << grid << mouse << Q(typed) << Q(during) << Q(shown) << Q(refusal);
        };
        row("commas left to right", false, false, "8,420,001", "8,420,001", "8,420,001", "");
        row("dollar sign", false, false, "$1,234", "1,234", "1,234", "");
        row("parentheses", false, false, "(50,000)", "-50,000", "-50,000", "");
        row("dollar in parentheses", false, false, "($50,000)", "-50,000", "-50,000", "");
        row("minus before the dollar", false, false, "-$1,000", "-1,000", "-1,000", "");
        row("minus after the dollar", true, false, "$-75", "-75", "-75", "");
        row("decimals", false, false, "1,234.5", "1,235", "1,235", "");
        row("a bare fraction", true, false, ".4", "0", "0", "");
        row("no closing parenthesis yet", false, false, "($5", "-5", "8,420,000", kNotAnAmount);
        row("a comma still open", false, false, "8,", "8", "8,420,000", kNotAnAmount);
        row("a group of four digits", false, false, "8,7600000420,000", "8,760", "8,420,000",
            kNotAnAmount);
        row("a group of two digits", true, false, "12,34", "12", "8,420,000", kNotAnAmount);
        row("an exponent", false, false, "1.25e6", "1", "8,420,000", kNotAnAmount);
        row("a letter", true, false, "12a", "12", "8,420,000", kNotAnAmount);
        row("two signs", false, false, "(-5)", "8,420,000", "8,420,000", kNotAnAmount);
        row("two dollar signs", true, false, "$$5", "8,420,000", "8,420,000", kNotAnAmount);
        row("past the amount range", false, false, "922,337,203,685,478", "922,337,203,685",
            "8,420,000", kTooLarge);
        row("a click selects the field", false, true, "7600000", "7,600,000", "7,600,000", "");
        row("a click in the grid too", true, true, "7,600,000", "7,600,000", "7,600,000", "");
    }

    void typedAndLeft() {
        QFETCH(bool, grid);
        QFETCH(bool, byMouse);
        QFETCH(QString, typed);
        QFETCH(QString, whileTyped);
        QFETCH(QString, shown);
        QFETCH(QString, refusal);
        guitest::Session session;
        QTemporaryDir dir;
        session.state.document.currentFileName = dir.filePath(Q("acme.cld")).toStdString();
        caldren::frmIP form(session.state, *session.ui, session.dialogs);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.findChild<QTabWidget*>(Q("vsTabIP"))->setCurrentIndex(grid ? 2 : 1);
        QLineEdit* box = grid ? form.gridBox(caldren::frmIP::Column::Receivables, 0)
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
