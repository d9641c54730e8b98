#include "frmReportForm.h"

#include <QAction>
#include <algorithm>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QToolBar>

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

}  // namespace

frmReportForm::frmReportForm(QWidget* parent) : QMainWindow(parent) {
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

    actPrint = tbToolbar->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton),
                                    QStringLiteral("Print"));
    actPrint->setObjectName(QStringLiteral("print"));
    actPrint->setToolTip(QStringLiteral("Print"));
    actExit = tbToolbar->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton),
                                   QStringLiteral("Exit"));
    actExit->setObjectName(QStringLiteral("exit"));
    actExit->setToolTip(QStringLiteral("Exit"));
    connect(actPrint, &QAction::triggered, this, [this] {
        if (m_print) m_print();
    });
    connect(actExit, &QAction::triggered, this, &QWidget::close);

    txtReport = new QPlainTextEdit(this);
    txtReport->setObjectName(QStringLiteral("txtReport"));
    txtReport->setReadOnly(true);  // typed characters are discarded
    txtReport->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtReport->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtReport->setWordWrapMode(QTextOption::NoWrap);
    txtReport->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtReport->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtReport->setFont(ViewerFont());
    setCentralWidget(txtReport);

    // Opening size: 92 columns by 40 lines of the report font, within the screen.
    const QFontMetrics metrics(txtReport->font());
    int width = metrics.horizontalAdvance(QLatin1Char('M')) * 92 + 40;
    int height = metrics.lineSpacing() * 40 + 80;
    QRect area(0, 0, 1024, 768);
    if (QScreen* screen = QGuiApplication::primaryScreen()) area = screen->availableGeometry();
    width = std::min(width, area.width());
    height = std::min(height, area.height());
    resize(width, height);
    // The opening size is the minimum size for the life of the window.
    setMinimumSize(width, height);
    // Centred on the screen (CenterForm).
    move(area.x() + (area.width() - width) / 2, area.y() + (area.height() - height) / 2);
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
    show();
    raise();
}
