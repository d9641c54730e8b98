#include "frmClientSummary.h"

#include "app/dialogs/Dialogs.h"

#include <activation/Com.h>

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace caldren::clientsummary {

namespace {

constexpr int kSortRole = Qt::UserRole;     // the value a column sorts by
constexpr int kRowRole = Qt::UserRole + 1;  // the row's index in m_rows (first column)
constexpr const char* kTitle = "Client Summary";

QString Utf8(const std::string& text) { return QString::fromUtf8(text); }

// "1,234,567", "-1,234"; "$1,234" and "-$1,234" with `dollars`.
QString Grouped(long long value, bool dollars) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), 1, ',');
    return Utf8((value < 0 ? "-" : "") + std::string(dollars ? "$" : "") + digits);
}

// A column heading on lines of at most 16 characters, broken at blanks ("Peak: Excess
// Working Capital" -> "Peak: Excess\nWorking Capital"), so the figures' columns stay narrow.
QString Wrapped(const std::string& heading) {
    QStringList lines;
    for (const QString& word : Utf8(heading).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!lines.isEmpty() && lines.back().size() + 1 + word.size() <= 16)
            lines.back() += QLatin1Char(' ') + word;
        else
            lines << word;
    }
    return lines.join(QLatin1Char('\n'));
}

QStandardItem* TextItem(const std::string& text) {
    auto* item = new QStandardItem(Utf8(text));
    item->setData(Utf8(text).toLower(), kSortRole);
    return item;
}

QStandardItem* NumberItem(const QString& shown, double value) {
    auto* item = new QStandardItem(shown);
    item->setData(value, kSortRole);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

QPushButton* Button(const char* caption, const char* name) {
    auto* button = new QPushButton(QString::fromUtf8(caption));
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

}  // namespace

frmClientSummary::frmClientSummary(dialogs::Dialogs& dialogs,
                                   std::function<void(const std::string&)> open, QWidget* parent)
    : QWidget(parent, Qt::Window), m_dialogs(dialogs), m_open(std::move(open)) {
    setObjectName(QStringLiteral("frmClientSummary"));
    setWindowTitle(QString::fromUtf8(kTitle));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(1240, 560);

    m_folder = new QLabel(QStringLiteral("(no folder chosen)"));
    m_folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_choose = Button("Choose &Folder...", "cmdChoose");
    m_recursive = new QCheckBox(QStringLiteral("Include &subfolders"));
    m_filter = new QLineEdit;
    m_filter->setObjectName(QStringLiteral("txtFilter"));
    m_filter->setPlaceholderText(QStringLiteral("Show the rows that contain this text"));
    m_filter->setClearButtonEnabled(true);

    m_model = new QStandardItemModel(this);
    QStringList headings;
    for (const std::string& h : summary::ColumnHeadings()) headings << Wrapped(h);
    m_model->setHorizontalHeaderLabels(headings);
    m_proxy = new QSortFilterProxyModel(this);
    m_proxy->setSourceModel(m_model);
    m_proxy->setSortRole(kSortRole);
    m_proxy->setFilterKeyColumn(-1);
    m_proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_table = new QTableView;
    m_table->setObjectName(QStringLiteral("tblClients"));
    m_table->setModel(m_proxy);
    m_table->setSortingEnabled(true);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSortIndicatorShown(true);
    m_table->horizontalHeader()->setDefaultSectionSize(120);
    m_table->installEventFilter(this);
    // What tells who is exposed first: each method's excess working capital after the
    // methods chosen (the order of the columns as exported stays the summary's).
    m_table->horizontalHeader()->moveSection(11, 5);
    m_table->horizontalHeader()->moveSection(16, 6);

    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("prgReading"));
    m_cancel = Button("Cancel", "cmdCancel");
    m_status = new QLabel;
    m_open_button = Button("&Open Client", "cmdOpen");
    m_export = Button("&Export...", "cmdExport");
    QPushButton* close = Button("Close", "cmdClose");

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Folder:")));
    top->addWidget(m_folder, 1);
    top->addWidget(m_recursive);
    top->addWidget(m_choose);
    auto* filter = new QHBoxLayout;
    auto* filterLabel = new QLabel(QStringLiteral("F&ilter:"));
    filterLabel->setBuddy(m_filter);
    filter->addWidget(filterLabel);
    filter->addWidget(m_filter, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_progress);
    bottom->addWidget(m_cancel);
    bottom->addWidget(m_status, 1);
    bottom->addWidget(m_open_button);
    bottom->addWidget(m_export);
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(filter);
    layout->addWidget(m_table, 1);
    layout->addLayout(bottom);

    m_timer = new QTimer(this);
    m_timer->setInterval(100);
    connect(m_timer, &QTimer::timeout, this, [this] { poll(); });
    connect(m_choose, &QPushButton::clicked, this, [this] { chooseFolder(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { cancel(); });
    connect(m_open_button, &QPushButton::clicked, this, [this] { openCurrent(); });
    connect(m_export, &QPushButton::clicked, this, [this] { exportRows(); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_table, &QTableView::doubleClicked, this, [this] { openCurrent(); });
    connect(m_filter, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_proxy->setFilterFixedString(text);
        m_status->setText(statusText());
    });
    setReading(false);
}

frmClientSummary::~frmClientSummary() {
    if (m_reading) m_reading->cancel = true;
    if (m_reader.joinable()) m_reader.join();
}

bool frmClientSummary::chooseFolder() {
    const QString folder = m_dialogs.folderName(
        this, QStringLiteral("Choose the Folder of the Client Files"), m_folder->text());
    if (folder.isEmpty()) return false;
    readFolder(folder);
    return true;
}

void frmClientSummary::readFolder(const QString& folder) {
    if (reading()) return;
    m_folder->setText(folder);
    auto unreadable = std::make_shared<std::vector<summary::Row>>();
    const std::vector<std::string> files =
        summary::ListDataFiles({folder.toStdString()}, m_recursive->isChecked(), *unreadable);
    m_total = files.size();
    m_reading = std::make_unique<summary::Progress>();
    m_cancelled = false;
    m_finished = false;
    m_progress->setRange(0, static_cast<int>(m_total));
    m_progress->setValue(0);
    setReading(true);
    summary::Progress* progress = m_reading.get();
    m_reader = std::thread([this, files, unreadable, progress] {
        std::vector<summary::Row> rows =
            summary::ReadRows(files, summary::EngineMaker(), *progress);
        rows.insert(rows.end(), unreadable->begin(), unreadable->end());
        summary::OrderRows(rows);
        m_result = std::move(rows);
        m_finished = true;
    });
    m_timer->start();
}

bool frmClientSummary::reading() const { return m_reader.joinable(); }

void frmClientSummary::cancel() {
    if (!m_reading) return;
    m_cancelled = true;
    m_reading->cancel = true;
}

void frmClientSummary::poll() {
    if (m_reading) m_progress->setValue(static_cast<int>(m_reading->done.load()));
    m_status->setText(statusText());
    if (m_finished) finish();
}

void frmClientSummary::finish() {
    m_timer->stop();
    if (m_reader.joinable()) m_reader.join();
    m_rows = std::move(m_result);
    m_result.clear();
    showRows();
    setReading(false);
}

void frmClientSummary::showRows() {
    m_model->removeRows(0, m_model->rowCount());
    m_table->setSortingEnabled(false);
    const std::string folder = m_folder->text().toStdString() + "/";
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const summary::Row& row = m_rows[i];
        QList<QStandardItem*> items;
        // The file as named in the folder chosen (the export keeps the whole path).
        std::string file = row.file;
        if (file.rfind(folder, 0) == 0) file.erase(0, folder.size());
        items << TextItem(file) << TextItem(row.name) << TextItem(row.line2)
              << TextItem(row.yearEnd) << TextItem(row.Methods());
        items.front()->setData(static_cast<qulonglong>(i), kRowRole);
        for (const summary::Cell& cell : summary::FigureCells(row)) {
            if (cell.kind == summary::Cell::Whole)
                items << NumberItem(Grouped(cell.whole, cell.dollars),
                                    static_cast<double>(cell.whole));
            else if (cell.kind == summary::Cell::Empty)
                items << NumberItem(QString(), -1e300);
            else
                items << NumberItem(Utf8(cell.text), QString::fromUtf8(cell.text).toDouble());
        }
        items << TextItem(row.failure);
        if (!row.Ok())
            for (QStandardItem* item : items) item->setToolTip(Utf8(row.failure));
        m_model->appendRow(items);
    }
    // The summary's own order (largest excess first) until a heading is clicked.
    m_proxy->sort(-1);
    m_table->horizontalHeader()->setSortIndicator(-1, Qt::DescendingOrder);
    m_table->setSortingEnabled(true);
    m_table->resizeColumnsToContents();
    for (int c = 0; c < m_model->columnCount(); ++c)
        m_table->setColumnWidth(c, qMin(m_table->columnWidth(c), 240));
    if (m_proxy->rowCount() > 0) m_table->selectRow(0);
    m_status->setText(statusText());
}

void frmClientSummary::setReading(bool on) {
    m_progress->setVisible(on);
    m_cancel->setVisible(on);
    m_choose->setEnabled(!on);
    m_recursive->setEnabled(!on);
    m_open_button->setEnabled(!on);
    m_export->setEnabled(!on);
    m_status->setText(statusText());
}

QString frmClientSummary::statusText() const {
    if (reading())
        return QStringLiteral("Reading %1 of %2 data files...")
            .arg(m_reading ? m_reading->done.load() : 0)
            .arg(m_total);
    std::size_t failed = 0;
    for (const summary::Row& row : m_rows) failed += row.Ok() ? 0 : 1;
    QString text = QStringLiteral("%1 data files").arg(m_rows.size());
    if (m_cancelled)
        text =
            QStringLiteral("Cancelled: %1 of %2 data files read").arg(m_rows.size()).arg(m_total);
    if (failed > 0) text += QStringLiteral(", %1 could not be read").arg(failed);
    if (m_proxy->rowCount() != m_model->rowCount())
        text += QStringLiteral(", %1 shown").arg(m_proxy->rowCount());
    return text;
}

void frmClientSummary::openCurrent() {
    const QModelIndex current = m_table->currentIndex();
    if (!current.isValid() || reading()) return;
    const QModelIndex first = m_proxy->mapToSource(current.siblingAtColumn(0));
    const auto i = m_model->item(first.row(), 0)->data(kRowRole).toULongLong();
    if (i < m_rows.size()) m_open(m_rows[i].file);
}

void frmClientSummary::exportRows() {
    if (reading()) return;
    FileDialogSpec spec;
    spec.title = "Export Client Summary";
    spec.initialFolder = m_folder->text().toStdString();
    spec.initialName = "Client Summary.csv";
    spec.defaultExtension = "csv";
    spec.filter = "CSV Files(*.csv)|*.csv|Excel Workbooks(*.xlsx)|*.xlsx||";
    std::string path = m_dialogs.saveFileName(this, spec).toStdString();
    if (path.empty()) return;
    if (!summary::IsSummaryFileName(path)) path += ".csv";
    std::vector<summary::Row> shown;
    for (int r = 0; r < m_proxy->rowCount(); ++r) {
        const QModelIndex source = m_proxy->mapToSource(m_proxy->index(r, 0));
        shown.push_back(m_rows[m_model->item(source.row(), 0)->data(kRowRole).toULongLong()]);
    }
    try {
        summary::WriteSummaryFile(shown, path);
    } catch (const activation::ComError& e) {
        m_dialogs.message(this,
                          QStringLiteral("The client summary could not be written (error %1):\n%2")
                              .arg(e.Number())
                              .arg(Utf8(e.Description())),
                          kOkOnly | kCritical, QString::fromUtf8(kTitle));
    }
}

bool frmClientSummary::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openCurrent();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmClientSummary::closeEvent(QCloseEvent* event) {
    cancel();
    if (m_reader.joinable()) m_reader.join();
    event->accept();
}

}  // namespace caldren::clientsummary
