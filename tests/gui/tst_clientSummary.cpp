// View, Client Summary...: a folder of three clients and a broken file read, ordered, sorted,
// filtered, a client opened with Enter, and the rows shown exported.
#include "app/clientsummary/frmClientSummary.h"
#include "tests/gui/GuiTestSupport.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QProgressBar>
#include <QTableView>

using guitest::Q;

class tst_clientSummary : public QObject {
    Q_OBJECT

private slots:
    void readsSortsFiltersOpensAndExports() {
        guitest::Session s;
        QDir().mkdir(s.Path(Q("clients")));
        QFile::copy(Q(CALDREN_DEMO_SOURCE), s.Path(Q("clients/demo.cld")));
        QFile::copy(Q(CALDREN_COMPARE_DATA "/acme2002.cld"), s.Path(Q("clients/acme2002.cld")));
        QFile::copy(Q(CALDREN_COMPARE_DATA "/acme2003.CLD"), s.Path(Q("clients/acme2003.CLD")));
        QFile broken(s.Path(Q("clients/broken.cld")));
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("not a data file\n") > 0);
        broken.close();

        QStringList opened;
        caldren::clientsummary::frmClientSummary window(
            s.dialogs, [&](const std::string& file) { opened << QString::fromStdString(file); });
        s.dialogs.files = {{s.Path(Q("clients"))}};
        QVERIFY(window.chooseFolder());
        QTRY_VERIFY(!window.reading());
        QVERIFY(!window.progressBar()->isVisible());
        QCOMPARE(window.statusText(), Q("4 data files, 1 could not be read"));

        // Largest excess first, the broken file last; a heading sorts.
        QTableView* table = window.table();
        const auto cell = [&](int row, int col) {
            return table->model()->index(row, col).data().toString();
        };
        QCOMPARE(cell(0, 1), Q("Harlow Precision Castings, Inc."));
        QCOMPARE(cell(0, 16), Q("$1,339,788"));
        QCOMPARE(cell(3, 17), Q("Could not be loaded: Type mismatch (error 13)"));
        table->horizontalHeader()->setSortIndicator(3, Qt::AscendingOrder);
        QCOMPARE(cell(0, 3), Q(""));
        QCOMPARE(cell(1, 0), Q("acme2002.cld"));

        // The filter keeps the rows holding its text; Enter opens the current client.
        window.filterBox()->setText(Q("HARLOW"));
        QCOMPARE(table->model()->rowCount(), 1);
        table->setCurrentIndex(table->model()->index(0, 2));
        QTest::keyClick(table, Qt::Key_Return);
        QCOMPARE(opened, QStringList{s.Path(Q("clients/demo.cld"))});

        // Export writes the rows shown.
        s.dialogs.files = {{s.Path(Q("shown"))}};
        window.exportRows();
        QFile csv(s.Path(Q("shown.csv")));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = csv.readAll().split('\n');
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[1].startsWith(s.Path(Q("clients/demo.cld")).toUtf8() + ",\"Harlow"));
        QVERIFY(s.dialogs.boxes.isEmpty());
    }
};

GUITEST_MAIN(tst_clientSummary)
#include "tst_clientSummary.moc"
