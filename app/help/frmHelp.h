// frmHelp: the user's guide inside the program. The guide's Markdown and its pictures as Qt
// lays them out, a contents pane of its headings, links between sections, Back and Forward,
// a search box that looks for every word of a question (common words left out), lists the
// sections that hold them all, the best first, over the contents and marks the words, and "Open
// PDF..." for the printable guide (cldguide.pdf, the desktop's PDF viewer).
//
// Every heading of the guide is an anchor: the one its Markdown line names ("## Net Sales
// {#net-sales}", the form the PDF build reads too), else one made from its words. The
// window needs no PDF viewer and no network.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace caldren {
struct RunState;
}
namespace caldren::dialogs {
class Dialogs;
}

namespace caldren::help {

class frmHelp : public QWidget {
public:
    // "Open PDF..." opens the printable guide through `dialogs`.
    frmHelp(RunState& state, dialogs::Dialogs& dialogs, const QString& guideFile,
            QWidget* parent = nullptr);

    // Shows the section with this anchor; an empty anchor keeps the place shown (the
    // beginning of the guide when nothing is shown yet).
    void ShowTopic(const QString& anchor);
    // The search box, focused and its text selected.
    void FocusSearch();
    // The anchor of the section shown last (the fragment of the browser's source).
    QString CurrentTopic() const;
    // Every anchor of the guide, in order.
    QStringList Anchors() const { return m_anchors; }

    // The heading ids written in the Markdown ("{#id}" at the end of a heading line), taken
    // out of the text; `ids` receives one entry per heading, empty where none is written.
    static QString TakeHeadingIds(const QString& markdown, QStringList* ids);
    // The anchor made from a heading's words where none is written ("Net Sales" ->
    // "net-sales"), as the PDF build makes it.
    static QString AnchorOf(const QString& heading);
    // The words a search looks for in a question: lower case, once each, common words
    // ("what", "is", "the") left out.
    static QStringList SearchWords(const QString& question);
    // The anchors of the sections the last search found, the best first.
    QStringList Found() const { return m_found; }

private:
    void guideLoaded();
    void search(const QString& text);
    void findNext(bool backward);
    void selectContentsEntry();
    void contentsEntryClicked(QTreeWidgetItem* item);

    RunState& m_state;
    dialogs::Dialogs& m_dialogs;
    QString m_guideFile;
    QStringList m_anchors;
    QStringList m_found;
    int m_foundAt = -1;  // the section found that Enter or F3 went to last
    QTextBrowser* txtGuide = nullptr;
    QTreeWidget* tvwContents = nullptr;
    QListWidget* lstFound = nullptr;
    QLineEdit* txtSearch = nullptr;
    QLabel* lblFound = nullptr;
    QToolButton* btnBack = nullptr;
    QToolButton* btnForward = nullptr;
};

}  // namespace caldren::help
