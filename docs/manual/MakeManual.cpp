// makemanual: lays the Markdown manual out and writes it as a PDF file.
//
//   makemanual <manual.md> <output.pdf>
//
// Images named in the Markdown are read relative to the Markdown file's folder and scaled
// down to the page width. Runs without a display (QT_QPA_PLATFORM=offscreen).
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: makemanual <manual.md> <output.pdf>\n");
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString target = QString::fromLocal8Bit(argv[2]);
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "makemanual: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString markdown = QString::fromUtf8(in.readAll());

    QPdfWriter writer(target);
    writer.setTitle(QStringLiteral("Caldren Formula Calculator - User's Guide"));
    writer.setCreator(QStringLiteral("Orlenwick"));
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                     QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter));

    QTextDocument doc;
    doc.setBaseUrl(QUrl::fromLocalFile(QFileInfo(source).absolutePath() + QLatin1Char('/')));
    QFont body(QStringLiteral("Liberation Serif"));
    body.setPointSizeF(11.0);
    doc.setDefaultFont(body);
    doc.setDefaultStyleSheet(QStringLiteral("code, pre { font-family: 'Liberation Mono'; }"));
    doc.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);

    // The page as the document lays it out: the writer's paint area at 96 units per inch,
    // the unit the document's fonts are measured in; printing scales it to the writer.
    const QRectF area = writer.pageLayout().paintRect(QPageLayout::Point);
    doc.setPageSize(QSizeF(area.width() * 96.0 / 72.0, area.height() * 96.0 / 72.0));
    const double maxWidth = doc.pageSize().width() * 0.92;

    // Images a little smaller than on the screen, never wider than the page.
    const double scale = 0.7;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) continue;
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            const QUrl url = doc.baseUrl().resolved(QUrl(image.name()));
            const QImage picture(url.toLocalFile());
            if (picture.isNull()) {
                std::fprintf(stderr, "makemanual: warning: image %s not found\n", qPrintable(image.name()));
                continue;
            }
            doc.addResource(QTextDocument::ImageResource, QUrl(image.name()), picture);
            double width = picture.width() * scale;
            double height = picture.height() * scale;
            if (width > maxWidth) {
                height *= maxWidth / width;
                width = maxWidth;
            }
            image.setWidth(width);
            image.setHeight(height);
            QTextCursor cursor(&doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(image);
        }
    }
    doc.print(&writer);
    return 0;
}
