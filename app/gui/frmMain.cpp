#include "frmMain.h"

#include "ScreenFit.h"
#include "app/clientsummary/frmClientSummary.h"
#include "app/compare/CompareCommand.h"
#include "app/core/FileOperations.h"
#include "app/core/NewYearCommand.h"
#include "app/core/RunState.h"
#include "app/core/Settings.h"
#include "app/core/Ui.h"
#include "app/dialogs/Dialogs.h"
#include "app/dialogs/ProgramIcon.h"
#include "app/help/HelpSupport.h"
#include "app/input/IPSupport.h"
#include "app/reports/QtReportsHost.h"
#include "app/reports/ReportFonts.h"
#include "app/results/ResultsPanel.h"
#include "frmAbout.h"

#include <activation/Com.h>
#include <analysis/InputChanges.h>
#include <workpaper/Workpaper.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include <filesystem>

namespace caldren::gui {

namespace {

const char* const kSettingsOrganization = "Orlenwick";
const char* const kSettingsSection = "Settings";

QAction* addCommand(QMenu* menu, const char* name, const char* caption,
                    const QKeySequence& shortcut = QKeySequence()) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    // The standard keys, shown beside the entry.
    action->setShortcut(shortcut);
    return action;
}

QMenu* addMenu(QMenuBar* bar, const char* name, const char* caption) {
    QMenu* menu = bar->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name) + QStringLiteral("Action"));
    return menu;
}

// A value of the settings store: the text of a single-precision number.
float readTwips(QSettings& settings, const char* key, float defaultValue) {
    bool ok = false;
    const float value = settings.value(QString::fromLatin1(key)).toString().toFloat(&ok);
    return ok ? value : defaultValue;
}

}  // namespace

frmMain::frmMain(RunState& state, Ui& ui, dialogs::Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_ui(ui), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromUtf8(kTitle));
    setWindowIcon(dialogs::ProgramIcon());
    setAttribute(Qt::WA_QuitOnClose, true);
    buildMenus();
    buildToolStrip();

    statusBar()->setObjectName(QStringLiteral("sbStatusBar"));
    statusBar()->setSizeGripEnabled(true);
    m_statusPanel = new QLabel(this);
    m_statusPanel->setObjectName(QStringLiteral("sbPanel1"));
    m_statusPanel->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(m_statusPanel, 1);

    // The open analysis's results at a glance: they follow every accepted change.
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("picBackground"));
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    m_results = new results::ResultsPanel(m_state.document, m_state.program, m_dialogs, central);
    centralLayout->addWidget(m_results);
    setCentralWidget(central);

    loadPlacement();
}

void frmMain::buildMenus() {
    QMenuBar* bar = menuBar();

    QMenu* file = addMenu(bar, "mnuFile", "&File");
    connect(addCommand(file, "mnuFileNew", "&New", Qt::CTRL | Qt::Key_N), &QAction::triggered, this,
            [this] { mnuFileNewClick(); });
    connect(addCommand(file, "mnuFileOpen", "&Open...", Qt::CTRL | Qt::Key_O), &QAction::triggered,
            this, [this] { mnuFileOpenClick(); });
    file->addSeparator()->setObjectName(QStringLiteral("mnuFileSep1"));
    connect(addCommand(file, "mnuFileSave", "&Save", Qt::CTRL | Qt::Key_S), &QAction::triggered,
            this, [this] { mnuFileSaveClick(); });
    connect(addCommand(file, "mnuFileSaveAs", "Save &As..."), &QAction::triggered, this,
            [this] { mnuFileSaveAsClick(); });
    // Next year's analysis from the open one; "Y" is its access key.
    connect(addCommand(file, "mnuFileNewYear", "New &Year from This Analysis..."),
            &QAction::triggered, this, [this] { mnuFileNewYearClick(); });
    connect(addCommand(file, "mnuFileExportWorkpaper", "Export &Workpaper..."), &QAction::triggered,
            this, [this] { mnuFileExportWorkpaperClick(); });
    file->addSeparator()->setObjectName(QStringLiteral("mnuFileSep2"));
    connect(addCommand(file, "mnuFilePrintPreview", "Print Pre&view"), &QAction::triggered, this,
            [this] { mnuFilePrintPreviewClick(); });
    connect(addCommand(file, "mnuFilePrint", "&Print...", Qt::CTRL | Qt::Key_P),
            &QAction::triggered, this, [this] { mnuFilePrintClick(); });
    file->addSeparator()->setObjectName(QStringLiteral("mnuFileSep3"));
    for (int n = 1; n <= 5; ++n) {
        QAction* entry = file->addAction(QString());
        entry->setObjectName(QStringLiteral("mnuFileMRU"));
        entry->setProperty("Index", n);
        entry->setVisible(false);
        connect(entry, &QAction::triggered, this, [this, n] { mnuFileMRUClick(n); });
        m_mru[static_cast<std::size_t>(n - 1)] = entry;
    }
    m_mruSeparator = file->addSeparator();
    m_mruSeparator->setObjectName(QStringLiteral("mnuFileMRUSep"));
    m_mruSeparator->setVisible(false);
    connect(addCommand(file, "mnuFileExit", "E&xit", Qt::CTRL | Qt::Key_Q), &QAction::triggered,
            this, [this] { close(); });

    // "&Inputs" is a command of the menu bar itself.
    QAction* inputs = bar->addAction(QStringLiteral("&Inputs"));
    inputs->setObjectName(QStringLiteral("mnuInputs"));
    connect(inputs, &QAction::triggered, this, [this] { mnuInputsClick(); });

    QMenu* view = addMenu(bar, "mnuView", "&View");
    connect(addCommand(view, "mnuViewReports", "&Reports..."), &QAction::triggered, this,
            [this] { mnuViewReportsClick(); });
    connect(addCommand(view, "mnuViewCompare", "&Compare Years..."), &QAction::triggered, this,
            [this] { mnuViewCompareClick(); });
    connect(addCommand(view, "mnuViewClientSummary", "Client &Summary..."), &QAction::triggered,
            this, [this] { mnuViewClientSummaryClick(); });

    QMenu* options = addMenu(bar, "mnuOptions", "&Options");
    connect(addCommand(options, "mnuOptionsFonts", "&Fonts..."), &QAction::triggered, this,
            [this] { mnuOptionsFontsClick(); });
    options->addSeparator()->setObjectName(QStringLiteral("mnuOptionsSep1"));
    // The report options: ticked when on; the settings are read at start (GetIni), so the
    // ticks follow them each time the menu opens.
    m_reportHeadings = addCommand(options, "mnuOptionsReportHeadings", "Report File &Headings");
    m_reportHeadings->setCheckable(true);
    m_reportHeadings->setStatusTip(QStringLiteral(
        "A batch run's report file says whose reports it holds: data file, client, title, "
        "year end, date and time of the run"));
    connect(m_reportHeadings, &QAction::triggered, this,
            [this](bool checked) { mnuOptionsReportHeadingsClick(checked); });
    m_correctedWording =
        addCommand(options, "mnuOptionsCorrectedWording", "&Corrected Report Wording");
    m_correctedWording->setCheckable(true);
    m_correctedWording->setStatusTip(QStringLiteral(
        "Every report with its misspellings and mislabels corrected (listed in the guide)"));
    connect(m_correctedWording, &QAction::triggered, this,
            [this](bool checked) { mnuOptionsCorrectedWordingClick(checked); });
    connect(options, &QMenu::aboutToShow, this, [this] {
        m_reportHeadings->setChecked(m_state.preferences.reportFileHeadings);
        m_correctedWording->setChecked(m_state.preferences.correctedWording);
    });

    QMenu* help = addMenu(bar, "mnuHelp", "&Help");
    connect(addCommand(help, "mnuHelpContents", "&Contents", Qt::Key_F1), &QAction::triggered, this,
            [this] { mnuHelpContentsClick(); });
    connect(addCommand(help, "mnuHelpSearchForHelpOn", "&Search For Help On..."),
            &QAction::triggered, this, [this] { mnuHelpSearchForHelpOnClick(); });
    help->addSeparator()->setObjectName(QStringLiteral("mnuHelpSep1"));
    connect(addCommand(help, "mnuHelpAbout", "&About "), &QAction::triggered, this,
            [this] { mnuHelpAboutClick(); });
}

void frmMain::buildToolStrip() {
    QToolBar* strip = addToolBar(QStringLiteral("Tools"));
    strip->setObjectName(QStringLiteral("tbToolBar"));
    strip->setMovable(false);
    strip->setIconSize(QSize(24, 24));
    QStyle* s = style();
    // Without a desktop session (no platform theme) the freedesktop names still find the
    // desktop's standard icons in the Adwaita theme where it is installed.
    if (!QIcon::hasThemeIcon(QStringLiteral("document-print"))) {
        const QString before = QIcon::themeName();
        const QStringList beforePaths = QIcon::themeSearchPaths();
        QStringList paths = beforePaths;
        for (const QString& dir :
             QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
            if (!paths.contains(dir + QStringLiteral("/icons")))
                paths << dir + QStringLiteral("/icons");
        QIcon::setThemeSearchPaths(paths);
        QIcon::setThemeName(QStringLiteral("Adwaita"));
        if (!QIcon::hasThemeIcon(QStringLiteral("document-print"))) {
            QIcon::setThemeName(before);
            QIcon::setThemeSearchPaths(beforePaths);
        }
    }
    struct Key {
        const char* key;
        const char* theme;
        QStyle::StandardPixmap fallback;
    };
    const Key keys[] = {
        {"New", "document-new", QStyle::SP_FileIcon},
        {"Open", "document-open", QStyle::SP_DialogOpenButton},
        {"Save", "document-save", QStyle::SP_DialogSaveButton},
        {"Input", "document-properties", QStyle::SP_FileDialogDetailedView},
        {"Preview", "document-print-preview", QStyle::SP_FileDialogContentsView},
        {"Print", "document-print", QStyle::SP_FileDialogInfoView},
        {"Help", "help-contents", QStyle::SP_DialogHelpButton},
    };
    for (const Key& k : keys) {
        const QString key = QString::fromLatin1(k.key);
        QAction* button = strip->addAction(
            QIcon::fromTheme(QString::fromLatin1(k.theme), s->standardIcon(k.fallback)), key);
        button->setObjectName(QStringLiteral("tb") + key);
        button->setData(key);
        button->setToolTip(key);
        connect(button, &QAction::triggered, this, [this, key] { toolClick(key); });
        // Groups: files, inputs, reports, help.
        if (key == QLatin1String("Save") || key == QLatin1String("Input") ||
            key == QLatin1String("Print"))
            strip->addSeparator();
    }
}

// ---- Status line and recent files -------------------------------------------------------

void frmMain::setStatusText(const QString& text) { m_statusPanel->setText(text); }

void frmMain::updateTitle() {
    const QString name =
        QFileInfo(QString::fromStdString(m_state.document.currentFileName)).fileName();
    setWindowTitle(name.isEmpty() ? QString::fromUtf8(kTitle)
                                  : name + QStringLiteral("[*] - ") + QString::fromUtf8(kTitle));
    setWindowModified(!m_state.document.IsSaved());
}
QString frmMain::statusText() const { return m_statusPanel->text(); }

void frmMain::setRecentEntry(int n, const QString& caption, bool visible) {
    if (n < 1 || n > 5) return;
    QAction* entry = m_mru[static_cast<std::size_t>(n - 1)];
    entry->setText(caption);
    entry->setVisible(visible);
}

void frmMain::setRecentSeparatorVisible(bool visible) { m_mruSeparator->setVisible(visible); }

// ---- Commands ----------------------------------------------------------------------------

void frmMain::toolClick(const QString& key) {
    if (key == QLatin1String("New"))
        mnuFileNewClick();
    else if (key == QLatin1String("Open"))
        mnuFileOpenClick();
    else if (key == QLatin1String("Save"))
        mnuFileSaveClick();
    else if (key == QLatin1String("Print"))
        mnuFilePrintClick();
    else if (key == QLatin1String("Preview"))
        mnuViewReportsClick();
    else if (key == QLatin1String("Input"))
        mnuInputsClick();
    else if (key == QLatin1String("Help"))
        mnuHelpContentsClick();
}

void frmMain::mnuFileNewClick() { FileOperations::NewFile(m_state); }

void frmMain::mnuFileOpenClick() {
    // The input form follows only a file that was loaded: after a cancelled dialog or a
    // missing file it would show the previous analysis under the new name.
    if (FileOperations::OpenFile(m_state, std::string()))
        input::IPSupport::InitIP(m_state, m_ui, m_dialogs, this);
}

void frmMain::mnuFileSaveClick() {
    FileOperations::Save(m_state, m_state.document.currentFileName);
}
void frmMain::mnuFileSaveAsClick() { FileOperations::SaveAs(m_state); }

void frmMain::mnuFileNewYearClick() {
    if (NewYearCommand::Run(m_state)) input::IPSupport::InitIP(m_state, m_ui, m_dialogs, this);
}
// The analysis as a workbook whose formulas compute it. As for the reports, the analysis is
// saved, calculated, and opened again, so the engine holds it as saved.
void frmMain::mnuFileExportWorkpaperClick() {
    const std::filesystem::path current(m_state.document.currentFileName);
    FileDialogSpec spec;
    spec.title = "Export Workpaper";
    spec.initialFolder = current.parent_path().string();
    spec.initialName = current.stem().string() + ".xlsx";
    spec.defaultExtension = "xlsx";
    spec.filter = "Excel Workbooks(*.xlsx)|*.xlsx||";
    std::string path = m_dialogs.saveFileName(this, spec).toStdString();
    if (path.empty()) return;
    if (path.size() < 5 ||
        QString::fromStdString(path.substr(path.size() - 5)).toLower() != QLatin1String(".xlsx"))
        path += ".xlsx";
    if (!FileOperations::Save(m_state, m_state.document.currentFileName)) return;
    try {
        m_state.document.engine->Calculate();
        workpaper::WriteWorkpaper(*m_state.document.engine, path);
        setStatusText(QStringLiteral("Workpaper written to ") + QString::fromStdString(path));
    } catch (const activation::ComError& e) {
        m_dialogs.message(this,
                          QStringLiteral("The workpaper could not be written (error %1):\n%2")
                              .arg(e.Number())
                              .arg(QString::fromStdString(e.Description())),
                          kOkOnly | kCritical, QStringLiteral("Export Workpaper"));
    }
    FileOperations::OpenFile(m_state, m_state.document.currentFileName);
}

void frmMain::mnuFilePrintPreviewClick() { mnuViewReportsClick(); }

void frmMain::mnuFilePrintClick() {
    reportwindows::RunReportCommand(m_state, m_dialogs, Reports::kPrint, this);
}

void frmMain::mnuFileMRUClick(int n) {
    if (n < 1 || n > 5) return;
    const std::string name = m_state.preferences.recentFiles[static_cast<std::size_t>(n - 1)];
    if (FileOperations::OpenFile(m_state, name))
        input::IPSupport::InitIP(m_state, m_ui, m_dialogs, this);
}

void frmMain::mnuInputsClick() { input::IPSupport::InitIP(m_state, m_ui, m_dialogs, this); }

void frmMain::mnuViewCompareClick() { compare::CompareYearsCommand(m_state, m_dialogs, this); }

QWidget* frmMain::mnuViewClientSummaryClick() {
    if (auto* open = findChild<clientsummary::frmClientSummary*>()) {
        open->raise();
        open->activateWindow();
        return open;
    }
    auto* window = new clientsummary::frmClientSummary(
        m_dialogs,
        [this](const std::string& file) {
            if (FileOperations::OpenFile(m_state, file)) {
                raise();
                activateWindow();
                input::IPSupport::InitIP(m_state, m_ui, m_dialogs, this);
            }
        },
        this);
    if (!window->chooseFolder()) {
        delete window;
        return nullptr;
    }
    window->show();
    return window;
}

void frmMain::mnuViewReportsClick() {
    reportwindows::RunReportCommand(m_state, m_dialogs, Reports::kView, this);
}

void frmMain::mnuOptionsFontsClick() { reportwindows::GetFonts(m_state, m_dialogs, this); }

void frmMain::mnuOptionsReportHeadingsClick(bool checked) {
    m_state.preferences.reportFileHeadings = checked;
    storeReportOptions();
}

void frmMain::mnuOptionsCorrectedWordingClick(bool checked) {
    m_state.preferences.correctedWording = checked;
    storeReportOptions();
}

// The option holds for this run whatever happens; a settings file that cannot be written
// is said at once, since the next run would not have it.
void frmMain::storeReportOptions() {
    if (m_state.preferences.settingsFilePath.empty()) return;
    try {
        Settings::WriteReportOptions(m_state.preferences);
    } catch (const std::exception& e) {
        m_dialogs.message(this,
                          QStringLiteral("The option holds until the program ends, but it could "
                                         "not be stored in ") +
                              QString::fromStdString(m_state.preferences.settingsFilePath) +
                              QStringLiteral(": ") + QString::fromUtf8(e.what()),
                          kOkOnly | kExclamation, QString::fromUtf8(kTitle));
    }
}

void frmMain::mnuHelpContentsClick() { help::HelpSupport::ShowHelp(m_state, m_dialogs, this); }

// The help window with its search box ready for the words to look for.
void frmMain::mnuHelpSearchForHelpOnClick() {
    help::HelpSupport::ShowHelp(m_state, m_dialogs, this, QString(), true);
}

void frmMain::mnuHelpAboutClick() {
    frmAbout about(m_state.program, m_dialogs, this);
    about.exec();
}

// ---- Placement and Exit ------------------------------------------------------------------

void frmMain::loadPlacement() {
    QSettings settings(QString::fromLatin1(kSettingsOrganization), QString::fromUtf8(kTitle));
    settings.beginGroup(QString::fromLatin1(kSettingsSection));
    const float left = readTwips(settings, "MainLeft", 1000.0f);
    const float top = readTwips(settings, "MainTop", 1000.0f);
    const float width = readTwips(settings, "MainWidth", -1.0f);
    const float height = readTwips(settings, "MainHeight", -1.0f);
    // At the first start as large as the results and the chart want; a saved size or place
    // that does not fit the screen it opens on is brought inside it.
    QSize size = sizeHint();
    if (width > 0 && height > 0)
        size = QSize(qMax(1, qRound(width / kTwipsPerPixel)),
                     qMax(1, qRound(height / kTwipsPerPixel)));
    gui::PlaceInside(this, QPoint(qRound(left / kTwipsPerPixel), qRound(top / kTwipsPerPixel)),
                     size);
}

void frmMain::savePlacement() const {
    QSettings settings(QString::fromLatin1(kSettingsOrganization), QString::fromUtf8(kTitle));
    settings.beginGroup(QString::fromLatin1(kSettingsSection));
    auto put = [&settings](const char* key, int pixels) {
        settings.setValue(QString::fromLatin1(key),
                          QString::number(static_cast<float>(pixels * kTwipsPerPixel)));
    };
    put("MainLeft", pos().x());
    put("MainTop", pos().y());
    put("MainWidth", width());
    put("MainHeight", height());
    settings.sync();
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (m_closing) {
        event->accept();
        return;
    }
    m_closing = true;
    // Every other window of the program first, the last opened first.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        QWidget* window = *it;
        if (window != this && window->isVisible()) window->close();
    }
    if (!isMinimized()) savePlacement();
    event->accept();
    m_ui.ShutDown(false);
}

}  // namespace caldren::gui
