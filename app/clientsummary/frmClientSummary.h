// frmClientSummary: View, Client Summary... The firm's client list at once: a folder is
// chosen (with its subfolders when asked), its data files are read in the background
// (summary/Summary.h: only read, never saved or locked) while a progress bar runs and Cancel
// stops the reading, and the rows show in a table, largest excess first. A click on a
// heading sorts by that column; the filter box keeps the rows that hold its text in any
// column. Enter or a double-click opens that client's file in the main window (which asks
// the usual unsaved-work question first); Export... writes the rows shown, in the order
// shown, as CSV or as an Excel workbook.
#pragma once

#include <summary/Summary.h>

#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;
class QTimer;

namespace caldren::dialogs {
class Dialogs;
}

namespace caldren::clientsummary {

class frmClientSummary : public QWidget {
public:
    // `open` opens a client's data file in the main window.
    frmClientSummary(dialogs::Dialogs& dialogs, std::function<void(const std::string&)> open,
                     QWidget* parent = nullptr);
    ~frmClientSummary() override;

    // Chooses a folder (the folder dialog) and reads it; false when the dialog was cancelled.
    bool chooseFolder();
    // Reads the folder's data files in the background; the table fills when done.
    void readFolder(const QString& folder);
    bool reading() const;
    void cancel();
    // Opens the client of the current row.
    void openCurrent();
    // Asks for a file name (.csv or .xlsx) and writes the rows shown.
    void exportRows();

    QTableView* table() const { return m_table; }
    QLineEdit* filterBox() const { return m_filter; }
    QProgressBar* progressBar() const { return m_progress; }
    QString statusText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void poll();
    void finish();
    void showRows();
    void setReading(bool on);

    dialogs::Dialogs& m_dialogs;
    std::function<void(const std::string&)> m_open;
    QLabel* m_folder;
    QCheckBox* m_recursive;
    QLineEdit* m_filter;
    QTableView* m_table;
    QStandardItemModel* m_model;
    QSortFilterProxyModel* m_proxy;
    QProgressBar* m_progress;
    QPushButton *m_choose, *m_cancel, *m_open_button, *m_export;
    QLabel* m_status;
    QTimer* m_timer;

    std::vector<summary::Row> m_rows;
    std::unique_ptr<summary::Progress> m_reading;
    std::vector<summary::Row> m_result;  // written by the reader, taken when it ends
    std::size_t m_total = 0;
    std::thread m_reader;
    std::atomic<bool> m_finished{false};
    bool m_cancelled = false;
};

}  // namespace caldren::clientsummary
