// frmMain: the program's frame. Title, the menus File, Inputs, View, Options and Help, the
// tool strip (keys "New", "Open", "Save", "Input", "Preview", "Print", "Help"), the
// one-panel status line, the recent-files block of the File menu, and the window's
// placement kept in the per-user settings store (QSettings, application "Orlen Caldren
// Formula Calculator", section "Settings", MainLeft/MainTop/MainWidth/MainHeight in twips,
// 15 twips a pixel). Closing it by any means is the Exit command.
//
// The commands have the standard keys (Ctrl+N, Ctrl+O, Ctrl+S, Ctrl+P, Ctrl+Q, F1 for the
// manual), shown in the menus.
//
// The commands call the report windows, the comparison, the report font and the manual
// directly; every dialog they show goes through the run's dialogs::Dialogs.
#pragma once

#include <QMainWindow>
#include <QString>

#include <array>

class QAction;
class QLabel;
class QToolBar;

namespace caldren::results {
class ResultsPanel;
}

namespace caldren {
struct RunState;
class Ui;
}  // namespace caldren
namespace caldren::dialogs {
class Dialogs;
}

namespace caldren::gui {

class frmMain : public QMainWindow {
public:
    // Loads the window: builds it and places it from the settings store (not shown).
    frmMain(RunState& state, Ui& ui, dialogs::Dialogs& dialogs, QWidget* parent = nullptr);

    void setStatusText(const QString& text);
    // Title: the current file's name, "*" while there is unsaved work, the program's
    // title ("acme.cld* - Orlen Caldren Formula Calculator"); the title alone when no file.
    void updateTitle();
    QString statusText() const;
    void setRecentEntry(int n, const QString& caption, bool visible);
    void setRecentSeparatorVisible(bool visible);

    // The tool strip's dispatch by key; any other key does nothing.
    void toolClick(const QString& key);

    // Commands.
    void mnuFileNewClick();
    void mnuFileOpenClick();
    void mnuFileSaveClick();
    void mnuFileSaveAsClick();
    void mnuFileNewYearClick();
    void mnuFileExportWorkpaperClick();
    void mnuFilePrintPreviewClick();
    void mnuFilePrintClick();
    void mnuFileMRUClick(int n);
    void mnuInputsClick();
    void mnuViewReportsClick();
    void mnuViewCompareClick();
    // The Client Summary window (one at a time), its folder chosen first; null when cancelled.
    QWidget* mnuViewClientSummaryClick();
    void mnuOptionsFontsClick();
    // The report options, settings of "User Preferences" stored at once.
    void mnuOptionsReportHeadingsClick(bool checked);
    void mnuOptionsCorrectedWordingClick(bool checked);
    void storeReportOptions();
    void mnuHelpContentsClick();
    void mnuHelpSearchForHelpOnClick();
    void mnuHelpAboutClick();

    // Placement in the settings store, in twips.
    static constexpr int kTwipsPerPixel = 15;
    void loadPlacement();
    void savePlacement() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolStrip();

    RunState& m_state;
    Ui& m_ui;
    dialogs::Dialogs& m_dialogs;
    QLabel* m_statusPanel = nullptr;
    results::ResultsPanel* m_results = nullptr;
    std::array<QAction*, 5> m_mru{};
    QAction* m_mruSeparator = nullptr;
    QAction* m_reportHeadings = nullptr;
    QAction* m_correctedWording = nullptr;
    bool m_closing = false;
};

}  // namespace caldren::gui
