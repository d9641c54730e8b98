#include "SummaryCommand.h"

#include "BatchFailure.h"
#include "Console.h"
#include "ErrorPaths.h"
#include "MainMod.h"

#include <activation/Com.h>
#include <summary/Summary.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <unistd.h>

namespace caldren::SummaryCommand {

namespace {

// "[#########...........]  4200 / 10000" on one line of stderr, redrawn while reading.
class ProgressBar {
public:
    ProgressBar(const summary::Progress& progress, std::size_t total)
        : m_progress(progress), m_total(total) {
        if (::isatty(STDERR_FILENO) && total > 0) m_thread = std::thread([this] { Run(); });
    }
    ~ProgressBar() {
        if (!m_thread.joinable()) return;
        {
            const std::lock_guard<std::mutex> guard(m_lock);
            m_stop = true;
        }
        m_wake.notify_one();
        m_thread.join();
        Draw();
        Console::Err("\n");
    }

private:
    void Run() {
        std::unique_lock<std::mutex> lock(m_lock);
        while (!m_wake.wait_for(lock, std::chrono::milliseconds(100), [this] { return m_stop; }))
            Draw();
    }
    void Draw() const {
        constexpr std::size_t kWidth = 40;
        const std::size_t done = m_progress.done;
        const std::size_t filled = done * kWidth / m_total;
        Console::Err("\r[" + std::string(filled, '#') + std::string(kWidth - filled, '.') + "]  " +
                     std::to_string(done) + " / " + std::to_string(m_total));
    }

    const summary::Progress& m_progress;
    std::size_t m_total;
    std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_thread;
};

}  // namespace

int RunSummary(ProgramInfo& program, const std::vector<std::string>& names, bool recursive,
               const std::string& outputFile) {
    try {
        std::vector<summary::Row> unreadable;
        const std::vector<std::string> files = summary::ListDataFiles(names, recursive, unreadable);
        // The engine's class is found once; every file gets an object of its own.
        const summary::NewEngine newEngine = summary::EngineMaker();
        summary::Progress progress;
        std::vector<summary::Row> rows;
        {
            const ProgressBar bar(progress, files.size());
            rows = summary::ReadRows(files, newEngine, progress);
        }
        rows.insert(rows.end(), unreadable.begin(), unreadable.end());
        summary::OrderRows(rows);
        summary::WriteSummaryFile(rows, outputFile);
        std::size_t failed = 0;
        for (const summary::Row& row : rows) failed += row.Ok() ? 0 : 1;
        if (rows.empty()) Console::Err("CaldrenCalc: no data file was found for the summary.\n");
        if (failed == 0) return MainMod::kExitOk;
        Console::Err("CaldrenCalc: " + std::to_string(failed) + " of " +
                     std::to_string(rows.size()) + " data files could not be read; their rows in " +
                     outputFile + " say why.\n");
    } catch (const activation::ComError& e) {
        MainMod::ReportBatchFailure(program, {e.Number(),
                                              e.Description(),
                                              ErrorPaths::ReporterLocation("MainMod.RunSummary", e),
                                              outputFile,
                                              {}});
    } catch (const std::exception& e) {
        MainMod::ReportBatchFailure(program, {5, e.what(), "MainMod.RunSummary", outputFile, {}});
    }
    return MainMod::kExitFailure;
}

}  // namespace caldren::SummaryCommand
