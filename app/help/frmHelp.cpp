#include "app/help/frmHelp.h"

#include "app/core/RunState.h"
#include "app/dialogs/ProgramIcon.h"
#include "app/reports/QtReportsHost.h"

#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QShortcut>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <vector>

namespace caldren::help {

namespace {

// Pictures wider than this are shown smaller, so that a page of the guide fits the window.
constexpr int kMaxPictureWidth = 640;
constexpr int kAnchorRole = Qt::UserRole;
constexpr int kStartRole = Qt::UserRole + 1;
constexpr int kEndRole = Qt::UserRole + 2;

// The guide's Markdown without its heading ids; after each load of the document the
// window adds the anchors, shrinks the pictures and fills the contents.
class GuideBrowser final : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;
    QStringList ids;
    std::function<void()> loaded;

    QVariant loadResource(int type, const QUrl& name) override {
        if (type != QTextDocument::MarkdownResource && !name.path().endsWith(QLatin1String(".md")))
            return QTextBrowser::loadResource(type, name);
        QFile file(name.toLocalFile());
        if (!file.open(QIODevice::ReadOnly)) return QVariant();
        m_reloaded = true;
        return frmHelp::TakeHeadingIds(QString::fromUtf8(file.readAll()), &ids);
    }

protected:
    void doSetSource(const QUrl& url, QTextDocument::ResourceType type) override {
        if (type == QTextDocument::UnknownResource && url.path().endsWith(QLatin1String(".md")))
            type = QTextDocument::MarkdownResource;
        m_reloaded = false;
        QTextBrowser::doSetSource(url, type);
        if (!m_reloaded || !loaded) return;
        {
            // Marking the headings is no edit of the guide: the browser need not load it
            // again for the next link.
            const QSignalBlocker quiet(document());
            loaded();
        }
        if (url.hasFragment()) scrollToAnchor(url.fragment());
    }

private:
    bool m_reloaded = false;
};

QToolButton* toolButton(QWidget* parent, const char* name, const QString& text,
                        const QString& tip) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(tip);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(true);
    return button;
}

}  // namespace

QString frmHelp::TakeHeadingIds(const QString& markdown, QStringList* ids) {
    static const QRegularExpression heading(
        QStringLiteral("^(#{1,6}\\s.*?)\\s*\\{#([^}\\s]+)[^}]*\\}\\s*$"));
    static const QRegularExpression atxHeading(QStringLiteral("^#{1,6}(\\s|$)"));
    QStringList lines = markdown.split(QLatin1Char('\n'));
    bool fenced = false;
    for (QString& line : lines) {
        if (line.startsWith(QLatin1String("```"))) fenced = !fenced;
        if (fenced || !atxHeading.match(line).hasMatch()) continue;
        const QRegularExpressionMatch match = heading.match(line);
        if (ids) ids->append(match.hasMatch() ? match.captured(2) : QString());
        if (match.hasMatch()) line = match.captured(1);
        // A heading that ends in "#" ("A column of #") keeps it: without the id after it,
        // Markdown would read it as the heading's closing marks.
        if (line.endsWith(QLatin1Char('#')) && line.contains(QLatin1Char(' ')))
            line.insert(line.size() - 1, QLatin1Char('\\'));
    }
    return lines.join(QLatin1Char('\n'));
}

QString frmHelp::AnchorOf(const QString& heading) {
    QString anchor;
    for (const QChar c : heading.toLower()) {
        if (c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('-') ||
            c == QLatin1Char('.'))
            anchor += c;
        else if (c.isSpace())
            anchor += QLatin1Char('-');
    }
    const auto letter =
        std::find_if(anchor.begin(), anchor.end(), [](QChar c) { return c.isLetter(); });
    return anchor.mid(static_cast<int>(letter - anchor.begin()));
}

frmHelp::frmHelp(RunState& state, dialogs::Dialogs& dialogs, const QString& guideFile,
                 QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_dialogs(dialogs), m_guideFile(guideFile) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Help - ") + QString::fromUtf8(kDescription));
    setWindowIcon(dialogs::ProgramIcon());
    setAttribute(Qt::WA_DeleteOnClose);

    auto* browser = new GuideBrowser(this);
    txtGuide = browser;
    txtGuide->setObjectName(QStringLiteral("txtGuide"));
    txtGuide->setAccessibleName(QStringLiteral("User's guide"));
    txtGuide->setOpenExternalLinks(true);
    browser->loaded = [this] { guideLoaded(); };

    tvwContents = new QTreeWidget(this);
    tvwContents->setObjectName(QStringLiteral("tvwContents"));
    tvwContents->setAccessibleName(QStringLiteral("Contents"));
    tvwContents->setAccessibleDescription(QStringLiteral("The sections of the guide."));
    tvwContents->setHeaderHidden(true);
    tvwContents->header()->setStretchLastSection(true);
    // A long heading wraps onto a second line rather than being cut.
    tvwContents->setWordWrap(true);
    tvwContents->setTextElideMode(Qt::ElideNone);

    lstFound = new QListWidget(this);
    lstFound->setObjectName(QStringLiteral("lstFound"));
    lstFound->setAccessibleName(QStringLiteral("Sections found"));
    lstFound->setAccessibleDescription(
        QStringLiteral("The sections that hold every word searched for, the best first."));
    lstFound->setWordWrap(true);
    lstFound->setVisible(false);

    btnBack =
        toolButton(this, "btnBack", QStringLiteral("< Back"), QStringLiteral("Back (Alt+Left)"));
    btnForward = toolButton(this, "btnForward", QStringLiteral("Forward >"),
                            QStringLiteral("Forward (Alt+Right)"));
    QToolButton* btnContents = toolButton(this, "btnContents", QStringLiteral("Contents"),
                                          QStringLiteral("The beginning of the guide"));
    QToolButton* btnOpenPdf = toolButton(this, "btnOpenPdf", QStringLiteral("Open PDF..."),
                                         QStringLiteral("The guide as a PDF file, for printing"));
    btnBack->setEnabled(false);
    btnForward->setEnabled(false);

    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setPlaceholderText(QStringLiteral("Search the guide (Ctrl+F)"));
    txtSearch->setClearButtonEnabled(true);
    txtSearch->setMinimumWidth(220);
    lblFound = new QLabel(this);
    lblFound->setObjectName(QStringLiteral("lblFound"));
    lblFound->setMinimumWidth(110);

    auto* bar = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{btnBack, btnForward, btnContents, btnOpenPdf})
        bar->addWidget(w);
    bar->addStretch(1);
    bar->addWidget(txtSearch);
    bar->addWidget(lblFound);

    // The sections a search found, ranked, over the whole contents.
    auto* contents = new QSplitter(Qt::Vertical, this);
    contents->addWidget(lstFound);
    contents->addWidget(tvwContents);
    contents->setChildrenCollapsible(false);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(contents);
    splitter->addWidget(txtGuide);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 740});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(splitter, 1);

    connect(btnBack, &QToolButton::clicked, txtGuide, &QTextBrowser::backward);
    connect(btnForward, &QToolButton::clicked, txtGuide, &QTextBrowser::forward);
    connect(txtGuide, &QTextBrowser::backwardAvailable, btnBack, &QWidget::setEnabled);
    connect(txtGuide, &QTextBrowser::forwardAvailable, btnForward, &QWidget::setEnabled);
    connect(txtGuide, &QTextBrowser::sourceChanged, this, [this] { selectContentsEntry(); });
    connect(btnContents, &QToolButton::clicked, this,
            [this] { ShowTopic(m_anchors.isEmpty() ? QString() : m_anchors.first()); });
    connect(btnOpenPdf, &QToolButton::clicked, this,
            [this] { reportwindows::ShowPDFHelp(m_state, m_dialogs, this); });
    connect(tvwContents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { contentsEntryClicked(item); });
    connect(tvwContents, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { contentsEntryClicked(item); });
    connect(txtSearch, &QLineEdit::textChanged, this,
            [this](const QString& text) { search(text); });
    connect(txtSearch, &QLineEdit::returnPressed, this, [this] { findNext(false); });
    connect(lstFound, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ShowTopic(item->data(kAnchorRole).toString()); });
    connect(lstFound, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { ShowTopic(item->data(kAnchorRole).toString()); });
    // The contents follow the reading: the section at the top of the page is highlighted.
    connect(txtGuide->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { selectContentsEntry(); });

    auto shortcut = [this](const QKeySequence& keys, std::function<void()> action) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, std::move(action));
    };
    shortcut(QKeySequence::Back, [this] { txtGuide->backward(); });
    shortcut(QKeySequence::Forward, [this] { txtGuide->forward(); });
    shortcut(QKeySequence::Find, [this] { FocusSearch(); });
    shortcut(QKeySequence::FindNext, [this] { findNext(false); });
    shortcut(QKeySequence::FindPrevious, [this] { findNext(true); });
    shortcut(QKeySequence(Qt::Key_Escape), [this] { close(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_W), [this] { close(); });

    QSize size(1040, 720);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(40, 80));
    resize(size);

    if (!QFile::exists(m_guideFile))
        txtGuide->setPlainText(QStringLiteral("The user's guide could not be found: ") +
                               m_guideFile +
                               QStringLiteral(". Reinstall the program to put it back."));
}

void frmHelp::ShowTopic(const QString& anchor) {
    if (!QFile::exists(m_guideFile)) return;
    QUrl url = QUrl::fromLocalFile(m_guideFile);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    else if (!txtGuide->source().isEmpty())
        return;
    txtGuide->setSource(url, QTextDocument::MarkdownResource);
}

void frmHelp::FocusSearch() {
    txtSearch->setFocus(Qt::ShortcutFocusReason);
    txtSearch->selectAll();
}

QString frmHelp::CurrentTopic() const { return txtGuide->source().fragment(); }

void frmHelp::guideLoaded() {
    QTextDocument* doc = txtGuide->document();
    const QStringList ids = static_cast<GuideBrowser*>(txtGuide)->ids;
    m_anchors.clear();
    tvwContents->clear();
    std::vector<QTreeWidgetItem*> parents(7, nullptr);
    QTreeWidgetItem* previous = nullptr;
    int heading = 0;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        // Pictures no wider than the window's page.
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) continue;
            QTextImageFormat picture = fragment.charFormat().toImageFormat();
            const QImage image(txtGuide->source().resolved(QUrl(picture.name())).toLocalFile());
            if (image.isNull() || image.width() <= kMaxPictureWidth) continue;
            picture.setWidth(kMaxPictureWidth);
            picture.setHeight(double(image.height()) * kMaxPictureWidth / image.width());
            QTextCursor cursor(doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(picture);
        }
        const int level = block.blockFormat().headingLevel();
        if (level < 1) continue;
        // The heading becomes the anchor its Markdown names.
        QString anchor = heading < ids.size() ? ids.at(heading) : QString();
        ++heading;
        if (anchor.isEmpty()) anchor = AnchorOf(block.text());
        m_anchors << anchor;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat named;
        named.setAnchor(true);
        named.setAnchorNames({anchor});
        cursor.mergeCharFormat(named);
        // The contents: the chapters (level 2) and what they hold; the title stays out.
        if (previous) previous->setData(0, kEndRole, block.position());
        previous = nullptr;
        if (level < 2) continue;
        QTreeWidgetItem* parent = nullptr;
        for (int up = level - 1; up >= 2 && !parent; --up)
            parent = parents[static_cast<std::size_t>(up)];
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tvwContents);
        item->setText(0, block.text());
        item->setData(0, kAnchorRole, anchor);
        item->setData(0, kStartRole, block.position());
        item->setData(0, kEndRole, doc->characterCount());
        parents[static_cast<std::size_t>(level)] = item;
        for (int down = level + 1; down < 7; ++down)
            parents[static_cast<std::size_t>(down)] = nullptr;
        previous = item;
    }
    tvwContents->expandToDepth(0);
    if (!txtSearch->text().isEmpty()) search(txtSearch->text());
    selectContentsEntry();
}

void frmHelp::selectContentsEntry() {
    // The section shown last while its heading is in sight (a short one at the end of the
    // guide cannot reach the top), else the section at the top of the page.
    const QString anchor = CurrentTopic();
    const int top = txtGuide->cursorForPosition(QPoint(2, 2)).position();
    QTreeWidgetItem* atTop = nullptr;
    QTreeWidgetItem* shown = nullptr;
    for (QTreeWidgetItemIterator it(tvwContents); *it; ++it) {
        const int start = (*it)->data(0, kStartRole).toInt();
        if (start <= top && top < (*it)->data(0, kEndRole).toInt()) atTop = *it;
        if (!anchor.isEmpty() && (*it)->data(0, kAnchorRole).toString() == anchor) {
            QTextCursor heading(txtGuide->document());
            heading.setPosition(start);
            if (txtGuide->viewport()->rect().contains(txtGuide->cursorRect(heading).topLeft()))
                shown = *it;
        }
    }
    QTreeWidgetItem* current = shown ? shown : atTop;
    const QSignalBlocker quiet(tvwContents);
    if (!current) {
        tvwContents->clearSelection();
        tvwContents->setCurrentItem(nullptr);
        return;
    }
    tvwContents->setCurrentItem(current);
    tvwContents->scrollToItem(current);
}

void frmHelp::contentsEntryClicked(QTreeWidgetItem* item) {
    if (item) ShowTopic(item->data(0, kAnchorRole).toString());
}

QStringList frmHelp::SearchWords(const QString& question) {
    // Words that say nothing about what is looked for.
    static const QSet<QString> common = {
        QStringLiteral("a"),      QStringLiteral("an"),   QStringLiteral("and"),
        QStringLiteral("are"),    QStringLiteral("as"),   QStringLiteral("at"),
        QStringLiteral("be"),     QStringLiteral("by"),   QStringLiteral("can"),
        QStringLiteral("do"),     QStringLiteral("does"), QStringLiteral("for"),
        QStringLiteral("from"),   QStringLiteral("how"),  QStringLiteral("i"),
        QStringLiteral("in"),     QStringLiteral("is"),   QStringLiteral("it"),
        QStringLiteral("me"),     QStringLiteral("my"),   QStringLiteral("of"),
        QStringLiteral("on"),     QStringLiteral("or"),   QStringLiteral("the"),
        QStringLiteral("this"),   QStringLiteral("that"), QStringLiteral("to"),
        QStringLiteral("what"),   QStringLiteral("when"), QStringLiteral("where"),
        QStringLiteral("which"),  QStringLiteral("why"),  QStringLiteral("with"),
        QStringLiteral("you"),    QStringLiteral("your"), QStringLiteral("there"),
        QStringLiteral("should"), QStringLiteral("get"),  QStringLiteral("use")};
    static const QRegularExpression apart(QStringLiteral("[^\\w#%$]+"));
    QStringList words;
    for (const QString& word : question.toLower().split(apart, Qt::SkipEmptyParts))
        if (!common.contains(word) && !words.contains(word)) words << word;
    return words;
}

void frmHelp::search(const QString& text) {
    QList<QTextEdit::ExtraSelection> marks;
    m_found.clear();
    lstFound->clear();
    const QStringList words = SearchWords(text);
    QTextDocument* doc = txtGuide->document();
    // A section is found when it holds every word (as the start of a word); the more often
    // and the more of them in its heading, the better.
    struct Found {
        int score, start;
        QTreeWidgetItem* item;
    };
    std::vector<Found> found;
    std::vector<QRegularExpression> patterns;
    for (const QString& word : words)
        patterns.emplace_back(QStringLiteral("(?<![\\w])") + QRegularExpression::escape(word),
                              QRegularExpression::CaseInsensitiveOption);
    const QString all = doc->toPlainText();
    for (QTreeWidgetItemIterator it(tvwContents); *it && !words.isEmpty(); ++it) {
        const int start = (*it)->data(0, kStartRole).toInt();
        const QString section = all.mid(start, (*it)->data(0, kEndRole).toInt() - start);
        const QString heading = (*it)->text(0);
        int score = 0;
        for (const QRegularExpression& pattern : patterns) {
            int times = 0;
            for (auto match = pattern.globalMatch(section); match.hasNext(); match.next()) ++times;
            if (times == 0) {
                score = 0;
                break;
            }
            score += times + (pattern.match(heading).hasMatch() ? 10 : 0);
        }
        if (score > 0) found.push_back({score, start, *it});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& a, const Found& b) { return a.score > b.score; });
    QTextEdit::ExtraSelection mark;
    mark.format.setBackground(QColor(0xff, 0xe0, 0x66));
    for (const Found& f : found) {
        auto* entry = new QListWidgetItem(f.item->text(0), lstFound);
        entry->setData(kAnchorRole, f.item->data(0, kAnchorRole));
        m_found << f.item->data(0, kAnchorRole).toString();
        const int end = f.item->data(0, kEndRole).toInt();
        for (const QRegularExpression& pattern : patterns)
            for (auto at = pattern.globalMatch(all, f.start); at.hasNext();) {
                const QRegularExpressionMatch match = at.next();
                if (match.capturedStart() >= end) break;
                mark.cursor = QTextCursor(doc);
                mark.cursor.setPosition(static_cast<int>(match.capturedStart()));
                mark.cursor.setPosition(static_cast<int>(match.capturedEnd()),
                                        QTextCursor::KeepAnchor);
                marks << mark;
            }
    }
    txtGuide->setExtraSelections(marks);
    lstFound->setVisible(!found.empty());
    const bool asked = !text.trimmed().isEmpty();
    lblFound->setText(!asked              ? QString()
                      : found.empty()     ? QStringLiteral("Not found")
                      : found.size() == 1 ? QStringLiteral("1 section")
                                          : QStringLiteral("%1 sections").arg(found.size()));
    m_foundAt = -1;
}

void frmHelp::findNext(bool backward) {
    // Enter and F3 go through the sections found, the best first.
    if (m_found.isEmpty()) return;
    const int count = static_cast<int>(m_found.size());
    m_foundAt = m_foundAt < 0 ? (backward ? count - 1 : 0)
                              : (m_foundAt + (backward ? count - 1 : 1)) % count;
    lstFound->setCurrentRow(m_foundAt);
    ShowTopic(m_found.at(m_foundAt));
}

}  // namespace caldren::help
