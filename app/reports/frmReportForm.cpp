#include "frmReportForm.h"

#include "app/dialogs/Dialogs.h"

#include <activation/Com.h>

#include <QApplication>
#include <QFileInfo>
#include <QKeySequence>
#include <QSplitter>

#include <QAction>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <algorithm>

namespace caldren::reportwindows {

namespace {

QFont ViewerFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setPointSizeF(10.0);
    font.setKerning(false);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSizeF(10.0);
    }
    return font;
}

// A small printer picture for the toolbar's "print" key (the desktop theme's
// "document-print" where there is one).
QIcon PrintIcon() {
    QIcon themed = QIcon::fromTheme(QStringLiteral("document-print"));
    if (!themed.isNull()) return themed;
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9.5, 3.5, 13, 10));  // paper going in
    p.setBrush(QColor(150, 155, 165));
    p.drawRoundedRect(QRectF(3.5, 12.5, 25, 11), 2, 2);  // body
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8.5, 19.5, 15, 9));  // paper coming out
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.drawLine(QPointF(11, 23), QPointF(21, 23));
    p.drawLine(QPointF(11, 26), QPointF(19, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(80, 200, 90));
    p.drawEllipse(QPointF(24.5, 16), 1.3, 1.3);
    p.end();
    return QIcon(picture);
}

}  // namespace

frmReportForm::frmReportForm(dialogs::Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("frmReportForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Report Form"));

    tbToolbar = new QToolBar(this);
    tbToolbar->setObjectName(QStringLiteral("tbToolbar"));
    tbToolbar->setMovable(false);
    tbToolbar->setFloatable(false);
    tbToolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    addToolBar(Qt::TopToolBarArea, tbToolbar);

    actPrint = tbToolbar->addAction(PrintIcon(), QStringLiteral("Print"));
    actPrint->setObjectName(QStringLiteral("print"));
    actPrint->setToolTip(QStringLiteral("Print (Ctrl+P)"));
    actPrint->setShortcut(Qt::CTRL | Qt::Key_P);
    actSavePdf = tbToolbar->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton),
                                      QStringLiteral("Save as PDF..."));
    actSavePdf->setObjectName(QStringLiteral("pdf"));
    actSavePdf->setToolTip(QStringLiteral("Save the report as a PDF file (Ctrl+Shift+S)"));
    actSavePdf->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    connect(actSavePdf, &QAction::triggered, this, [this] { SavePdf(); });
    actExit = tbToolbar->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton),
                                   QStringLiteral("Exit"));
    actExit->setObjectName(QStringLiteral("exit"));
    actExit->setToolTip(QStringLiteral("Exit (Esc)"));
    actExit->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
    // The buttons take the focus from Tab, as the report text does; Enter or Space presses
    // the focused one.
    for (QAction* action : {actPrint, actSavePdf, actExit})
        if (QWidget* button = tbToolbar->widgetForAction(action))
            button->setFocusPolicy(Qt::TabFocus);
    connect(actPrint, &QAction::triggered, this, [this] {
        if (m_print) m_print();
    });
    connect(actExit, &QAction::triggered, this, &QWidget::close);

    txtReport = new QPlainTextEdit(this);
    txtReport->setObjectName(QStringLiteral("txtReport"));
    txtReport->setAccessibleName(QStringLiteral("Report"));
    txtReport->setAccessibleDescription(QStringLiteral("The report's text, page by page."));
    txtReport->setReadOnly(true);  // typed characters are discarded
    txtReport->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtReport->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtReport->setWordWrapMode(QTextOption::NoWrap);
    txtReport->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtReport->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtReport->setFont(ViewerFont());
    setCentralWidget(txtReport);

    // Ctrl+plus and Ctrl+minus make the report text larger and smaller (Ctrl+= too, the
    // plus key without Shift).
    actZoomIn = new QAction(QStringLiteral("Zoom In"), this);
    actZoomIn->setObjectName(QStringLiteral("zoomIn"));
    actZoomIn->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    connect(actZoomIn, &QAction::triggered, this, [this] { txtReport->zoomIn(1); });
    actZoomOut = new QAction(QStringLiteral("Zoom Out"), this);
    actZoomOut->setObjectName(QStringLiteral("zoomOut"));
    actZoomOut->setShortcut(Qt::CTRL | Qt::Key_Minus);
    connect(actZoomOut, &QAction::triggered, this, [this] {
        if (txtReport->font().pointSizeF() > 4.0) txtReport->zoomOut(1);
    });
    addAction(actZoomIn);
    addAction(actZoomOut);

    // Opening size: 92 columns by 40 lines of the report font, within the screen.
    const QFontMetrics metrics(txtReport->font());
    int width = metrics.horizontalAdvance(QLatin1Char('M')) * 92 + 40;
    int height = metrics.lineSpacing() * 40 + 80;
    QRect area(0, 0, 1024, 768);
    if (QScreen* screen = QGuiApplication::primaryScreen()) area = screen->availableGeometry();
    // Within the screen, frame and title bar included.
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    width = std::min(width, area.width() - 8);
    height = std::min(height, area.height() - titleBar - 8);
    resize(width, height);
    // The opening size is the minimum size for the life of the window.
    setMinimumSize(width, height);
    // Centred on the screen (CenterForm).
    move(area.x() + (area.width() - width) / 2, area.y() + (area.height() - height - titleBar) / 2);
}

void frmReportForm::SetReportText(std::string_view text) {
    m_text.assign(text);
    m_dirty = true;
}

void frmReportForm::AppendReportText(std::string_view chunk) {
    m_text.append(chunk);
    m_dirty = true;
    if (isVisible()) SyncText();
}

void frmReportForm::SyncText() {
    if (!m_dirty) return;
    QString shown = QString::fromUtf8(m_text.data(), static_cast<qsizetype>(m_text.size()));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtReport->setPlainText(shown);
    m_dirty = false;
}

void frmReportForm::ShowReport() {
    SyncText();
    PlaceBesideOthers();
    show();
    raise();
    activateWindow();
}

namespace {
int g_shown = 0;  // viewers shown so far in the run, for their order
}  // namespace

void frmReportForm::PlaceBesideOthers() {
    m_shownOrder = ++g_shown;
    // The viewer shown last that is still open.
    const frmReportForm* last = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const auto* viewer = dynamic_cast<const frmReportForm*>(window);
        if (viewer && viewer != this && viewer->isVisible() &&
            (!last || viewer->m_shownOrder > last->m_shownOrder))
            last = viewer;
    }
    if (!last) return;  // centred, as it was loaded

    // Below and to the right of it by a title bar and the toolbar, so that the title and
    // toolbar of each viewer stay in sight; smaller where the screen ends, or back at its
    // top when too little would be left.
    QRect area(0, 0, 1024, 768);
    if (QScreen* screen = last->screen() ? last->screen() : QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    // The frame the window manager puts around a viewer (at least a title bar).
    QSize frame = last->frameGeometry().size() - last->size();
    frame.setHeight(std::max(frame.height(), style()->pixelMetric(QStyle::PM_TitleBarHeight)));
    const int step = frame.height() + tbToolbar->sizeHint().height();
    const QSize least(txtReport->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 40,
                      tbToolbar->sizeHint().height() + txtReport->fontMetrics().lineSpacing() * 10);
    QPoint at = last->pos() + QPoint(step, step);
    QSize size = this->size();
    if (at.y() + frame.height() + size.height() > area.bottom() + 1) {
        const int room = area.bottom() + 1 - at.y() - frame.height();
        if (room >= least.height())
            size.setHeight(room);
        else
            at.setY(area.top());
    }
    if (at.x() + frame.width() + size.width() > area.right() + 1) {
        const int room = area.right() + 1 - at.x() - frame.width();
        if (room >= least.width())
            size.setWidth(room);
        else
            at.setX(area.left());
    }
    // Never exactly on top of another viewer.
    for (int tries = 0; tries < 32; ++tries) {
        bool taken = false;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (dynamic_cast<const frmReportForm*>(window) && window != this &&
                window->isVisible() && window->pos() == at)
                taken = true;
        if (!taken) break;
        at += QPoint(step / 2, step / 2);
    }
    // The size it opens with stays its minimum size.
    setMinimumSize(size);
    resize(size);
    move(at);
}

void frmReportForm::SetReportStart(const Reports::ReportStart& start) {
    m_record = {};
    m_record.start = start;
}

void frmReportForm::RecordChunk(std::string_view chunk, int lines,
                                const Reports::ReportHeadings& headings) {
    m_record.chunks.push_back({std::string(chunk), lines, headings});
}

void frmReportForm::SetChart(const CycleChart::ChartData& chart) {
    m_record.chart = chart;
    if (!m_chart) {
        // The text above, the chart below; the splitter lets the user share the height.
        auto* splitter = new QSplitter(Qt::Vertical, this);
        splitter->setObjectName(QStringLiteral("reportSplitter"));
        takeCentralWidget();
        splitter->addWidget(txtReport);
        m_chart = new CycleChart::CycleChartWidget(splitter);
        splitter->addWidget(m_chart);
        splitter->setStretchFactor(0, 3);
        splitter->setStretchFactor(1, 2);
        setCentralWidget(splitter);
    }
    m_chart->setData(chart);
}

QString frmReportForm::SavePdf() {
    FileDialogSpec spec;
    spec.title = "Save as PDF";
    spec.defaultExtension = "pdf";
    spec.filter = "PDF Files(*.pdf)|*.pdf|All Files(*.*)|*.*||";
    // "Summary Report - /data/acme.cld" -> "acme Summary Report.pdf" in the data folder.
    std::string caption = m_record.start.caption;
    if (caption.find(" - ") == std::string::npos && !m_dataFile.empty())
        caption += " - " + m_dataFile;
    const PdfTarget target = DefaultPdfTarget(caption);
    spec.initialFolder = target.folder.toStdString();
    spec.initialName = target.name.toStdString();
    QString path = m_dialogs.saveFileName(this, spec);
    if (path.isEmpty()) return {};
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    // The save dialog does not ask about an existing file; a PDF replaces one only when
    // the user says so.
    if (QFileInfo::exists(path) &&
        m_dialogs.message(this,
                          path + QStringLiteral(" already exists.\nDo you want to replace it?"),
                          kYesNo | kExclamation, QStringLiteral("Save as PDF")) != MsgAnswer::Yes)
        return {};
    try {
        const FontSpec font = m_pdfFont ? m_pdfFont() : FontSpec{"Courier New", 10.0f, false};
        WriteReportPdf(m_record, path, font, m_dialogs);
    } catch (const activation::ComError& e) {
        m_dialogs.message(this, QString::fromUtf8(e.Description()), kOkOnly | kExclamation,
                          QStringLiteral("Save as PDF"));
        return {};
    }
    return path;
}

}  // namespace caldren::reportwindows
