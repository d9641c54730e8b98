// The help window on the guide as the build put it into the program folder: every link
// leads to a section and scrolls it into sight, every picture loads, every message of the
// program's message table (app/messages.txt) is explained under Troubleshooting and is a
// text of the program, and F1 in each field of the input form opens the field's section.
#include "GuiTestSupport.h"

#include "app/help/HelpSupport.h"
#include "app/help/frmHelp.h"
#include "app/input/frmIP.h"

#include <QAbstractTextDocumentLayout>
#include <QDirIterator>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>

using guitest::Q;

namespace {

// The heading block that carries an anchor.
QTextBlock Heading(QTextDocument* doc, const QString& anchor) {
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        if (block.blockFormat().headingLevel() > 0 &&
            block.begin().fragment().charFormat().anchorNames().contains(anchor))
            return block;
    return {};
}

// The section's heading is in the window (at its top, unless the guide ends before).
bool InSight(QTextBrowser* browser, const QString& anchor) {
    const QScrollBar* bar = browser->verticalScrollBar();
    const QTextBlock heading = Heading(browser->document(), anchor);
    const qreal top = browser->document()->documentLayout()->blockBoundingRect(heading).top();
    return heading.isValid() && (qAbs(top - bar->value()) < 2 ||
                                 (bar->value() == bar->maximum() && top >= bar->value()));
}

}  // namespace

class tst_help : public QObject {
    Q_OBJECT
    guitest::Session m_session;
    caldren::help::frmHelp* Help() {
        return caldren::help::HelpSupport::ShowHelp(m_session.state, m_session.dialogs, nullptr);
    }
    QTextBrowser* Browser() { return Help()->findChild<QTextBrowser*>(Q("txtGuide")); }

private slots:
    void everyLinkAndPictureOfTheGuideLeadsSomewhere() {
        const QStringList anchors = Help()->Anchors();
        QCOMPARE(QSet<QString>(anchors.begin(), anchors.end()).size(), anchors.size());
        QTextBrowser* browser = Browser();
        int links = 0, pictures = 0;
        for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                if (format.isImageFormat()) {
                    const QUrl picture =
                        browser->source().resolved(QUrl(format.toImageFormat().name()));
                    QVERIFY2(!QImage(picture.toLocalFile()).isNull(),
                             qPrintable(picture.toString()));
                    ++pictures;
                }
                if (format.isImageFormat() || !format.isAnchor() || format.anchorHref().isEmpty())
                    continue;
                const QUrl url = browser->source().resolved(QUrl(format.anchorHref()));
                ++links;
                QVERIFY2(anchors.contains(url.fragment()), qPrintable(format.anchorHref()));
                browser->setSource(url);
                QCOMPARE(Help()->CurrentTopic(), url.fragment());
                QVERIFY2(InSight(browser, url.fragment()), qPrintable(format.anchorHref()));
            }
        QVERIFY(links >= 15 && pictures >= 17);
    }

    void troubleshootingExplainsEveryMessageOfTheProgram() {
        QTextDocument* doc = Browser()->document();
        QString section;
        for (QTextBlock block = Heading(doc, Q("troubleshooting")).next();
             block.isValid() && block.blockFormat().headingLevel() != 2; block = block.next())
            section += block.text() + QLatin1Char(' ');
        // The program's texts: the string literals of each source file, one after the other.
        QString program;
        const QRegularExpression literal(Q("\"((?:[^\"\\\\\\n]|\\\\.)*)\""));
        for (const char* dir : {"app", "engine/src", "reports/text", "components/errorreporter"})
            for (QDirIterator it(Q(CALDREN_SOURCE_DIR "/") + Q(dir), {Q("*.cpp"), Q("*.h")},
                                 QDir::Files, QDirIterator::Subdirectories);
                 it.hasNext();) {
                QFile file(it.next());
                file.open(QIODevice::ReadOnly);
                for (const auto& match : literal.globalMatch(QString::fromUtf8(file.readAll())))
                    program += match.captured(1)
                                   .replace(Q("\\n"), Q(" "))
                                   .replace(Q("\\r"), Q(" "))
                                   .remove(QLatin1Char('\\'));
                program += QLatin1Char('\n');
            }
        program = program.simplified();
        const QStringList messages = guitest::DataLines(Q(CALDREN_SOURCE_DIR "/app/messages.txt"));
        QVERIFY(messages.size() > 70);
        for (const QString& message : messages) {
            QVERIFY2(section.simplified().contains(message.simplified()), qPrintable(message));
            for (const QString& part :
                 message.split(QRegularExpression(Q("<[a-z]+>")), Qt::SkipEmptyParts))
                QVERIFY2(part.trimmed().isEmpty() || program.contains(part.simplified()),
                         qPrintable(part));
        }
    }

    void f1InEveryFieldOpensItsSection() {
        // An analysis whose months lie outside its year: the Checks page offers to move them.
        m_session.state.document.engine->Load(CALDREN_TEST_DATA "/analysis/checks_dates.cld");
        caldren::input::frmIP form(m_session.state, *m_session.ui, m_session.dialogs);
        form.show();
        QTest::qWait(50);
        QStringList fields;
        for (QWidget* field :
             form.findChildren<QWidget*>(QRegularExpression(Q("^(txt|chk|btn|Mask)"))))
            if (field->focusPolicy() != Qt::NoFocus) fields << field->objectName();
        fields.removeDuplicates();
        fields.removeIf([](const QString& name) {
            return name == Q("txtHelp") || name.startsWith(Q("btnOK")) || name == Q("btnCancel");
        });
        const QStringList rows =
            guitest::DataLines(Q(CALDREN_TEST_DATA "/help/field_topics.cases"));
        QCOMPARE(rows.size(), fields.size());
        auto* tabs = form.findChild<QTabWidget*>(Q("vsTabIP"));
        for (const QString& row : rows) {
            const QStringList cells = row.split(QLatin1Char('\t'));
            QWidget* field = form.findChild<QWidget*>(cells[0]);
            QVERIFY2(field && fields.contains(cells[0]), qPrintable(cells[0]));
            QWidget* page = field;
            while (page->parentWidget() && !qobject_cast<QStackedWidget*>(page->parentWidget()))
                page = page->parentWidget();
            tabs->setCurrentWidget(page);
            form.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&form));
            field->setFocus(Qt::OtherFocusReason);
            QTest::keyClick(field, Qt::Key_F1);
            QCOMPARE(Help()->CurrentTopic() + Q(" ") + cells[0], cells[1] + Q(" ") + cells[0]);
            QVERIFY(InSight(Browser(), cells[1]));
        }
        // Elsewhere (the OK button) the section of the page shown.
        QWidget* ok = form.findChild<QWidget*>(Q("btnOK"));
        ok->setFocus();
        QTest::keyClick(ok, Qt::Key_F1);
        QCOMPARE(Help()->CurrentTopic(), Q("checks"));
    }

    // Every word of a question, common words left out; the sections that hold them all,
    // ranked, listed over the contents, which stay whole; the section shown highlighted.
    void searchAnswersQuestions() {
        caldren::help::frmHelp* help = Help();
        auto* search = help->findChild<QLineEdit*>(Q("txtSearch"));
        auto* contents = help->findChild<QTreeWidget*>(Q("tvwContents"));
        QStringList seen;
        for (const QString& line : guitest::DataLines(Q(CALDREN_GUI_DATA "/helpQuestions.txt"))) {
            search->setText(line.section(u'|', 0, 0));
            QTest::keyClick(search, Qt::Key_Return);  // to the best section
            QStringList words = caldren::help::frmHelp::SearchWords(search->text());
            const QStringList found = help->Found().mid(0, 3);
            seen << QStringList{search->text(), words.isEmpty() ? Q("(none)") : words.join(u' '),
                                found.isEmpty() ? Q("Not found") : found.join(u' '),
                                contents->currentItem()->text(0)}
                        .join(u'|');
            for (QTreeWidgetItemIterator it(contents); *it; ++it) QVERIFY(!(*it)->isHidden());
        }
        QCOMPARE(seen.join(u'\n'),
                 guitest::DataLines(Q(CALDREN_GUI_DATA "/helpQuestions.txt")).join(u'\n'));
    }
};

GUITEST_MAIN(tst_help)
#include "tst_help.moc"
