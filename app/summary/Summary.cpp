// Summary: the client list read on a pool of threads, one engine object per file.
#include "Summary.h"

#include <ReportCompare.h>
#include <Reports.h>
#include <activation/Activation.h>
#include <activation/Com.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

namespace caldren::summary {

namespace fs = std::filesystem;

namespace {

bool IsDataFileName(const fs::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".cld";
}

// The folder's data files, sorted by name; an error that stops the listing becomes a row.
template <class Iterator>
void ListFolder(const std::string& folder, std::vector<std::string>& files,
                std::vector<Row>& unreadable) {
    std::vector<std::string> found;
    std::error_code ec;
    Iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != Iterator(); it.increment(ec)) {
        std::error_code typeError;
        if (IsDataFileName(it->path()) && it->is_regular_file(typeError))
            found.push_back(it->path().string());
    }
    if (ec) {
        Row row;
        row.file = folder;
        row.failure = "Could not be read: the folder cannot be listed (" + ec.message() + ")";
        unreadable.push_back(std::move(row));
    }
    std::sort(found.begin(), found.end());
    files.insert(files.end(), found.begin(), found.end());
}

MethodFigures Figures(const std::string& days, const std::string& part, const std::string& needed,
                      const std::string& excessBefore, const std::string& excess) {
    MethodFigures m;
    m.days = days;
    m.part = Reports::FormatRatio(part);
    m.needed = Reports::ParseWholeUnits(needed);
    m.excessBefore = Reports::ParseWholeUnits(excessBefore);
    m.excess = Reports::ParseWholeUnits(excess);
    return m;
}

// "06/30/2026" -> "2026-06-30".
std::string IsoDate(const std::string& engineText) {
    const std::string d = Reports::FormatDate(engineText);
    return d.substr(6, 4) + "-" + d.substr(0, 2) + "-" + d.substr(3, 2);
}

void ReadFigures(vesmora::_Caldren& calc, Row& row) {
    Reports::FillMonthsFromYearEnd(calc);
    row.yearEnd = IsoDate(calc.get_EOYCurrent());
    row.available = Reports::ParseWholeUnits(calc.get_AvailableWC());
    row.costOfOperations = Reports::ParseWholeUnits(calc.get_CostOfOperations());
    if (calc.get_DoPeakCycle()) {
        const std::string ratio = calc.get_NetOperatingCycle();
        row.peak = Figures(Reports::RatioAsDays(ratio), ratio, calc.get_NeededWCPeak(),
                           calc.get_ExcessPreContingencyWCPeak(), calc.get_ExcessWCPeak());
    }
    if (calc.get_DoAveCycle())
        row.average = Figures(Reports::FormatDays(calc.get_OperatingCycleAdjDaysAve()),
                              calc.get_AdjOperatingCycleAve(), calc.get_NeededWCAve(),
                              calc.get_ExcessPreContingencyWCAve(), calc.get_ExcessWCAve());
}

Row Failed(const std::string& file, const std::string& reason, const std::string& name = {},
           const std::string& line2 = {}) {
    Row row;
    row.file = file;
    row.name = name;
    row.line2 = line2;
    row.failure = reason;
    return row;
}

}  // namespace

std::string Row::Methods() const {
    if (peak && average) return "Peak and Average";
    if (peak) return "Peak";
    if (average) return "Average";
    return {};
}

std::optional<long long> Row::LargestExcess() const {
    if (!Ok() || (!peak && !average)) return std::nullopt;
    if (peak && average) return std::max(peak->excess, average->excess);
    return peak ? peak->excess : average->excess;
}

std::vector<std::string> ListDataFiles(const std::vector<std::string>& names, bool recursive,
                                       std::vector<Row>& unreadable) {
    std::vector<std::string> files;
    for (const std::string& name : names) {
        std::error_code ec;
        if (!fs::is_directory(name, ec))
            files.push_back(name);
        else if (recursive)
            ListFolder<fs::recursive_directory_iterator>(name, files, unreadable);
        else
            ListFolder<fs::directory_iterator>(name, files, unreadable);
    }
    return files;
}

NewEngine EngineMaker() {
    auto found = std::make_shared<std::optional<activation::ClassObject>>();
    return [found] {
        if (!*found) found->emplace(vesmora::kProgID_Caldren);
        return (*found)->Create<vesmora::_Caldren>();
    };
}

Row ReadRow(const std::string& file, const NewEngine& newEngine) {
    Row row;
    row.file = file;
    try {
        vesmora::ComPtr<vesmora::_Caldren> calc;
        try {
            calc = newEngine();
        } catch (const activation::ComError& e) {
            row.failure = "Could not be loaded: " + Reports::CompareFailureText(e);
            return row;
        }
        Reports::CompareFile loaded = Reports::LoadCompareFile(std::move(calc), file);
        if (loaded.calc) {
            row.name = loaded.calc->get_sName();
            row.line2 = loaded.calc->get_Line2();
        }
        if (!loaded.Ok()) {
            row.failure = loaded.failure;
            return row;
        }
        try {
            ReadFigures(*loaded.calc, row);
        } catch (const activation::ComError& e) {
            row = Failed(file, "Could not be calculated: " + Reports::CompareFailureText(e),
                         row.name, row.line2);
        }
    } catch (const std::bad_alloc&) {
        row = Failed(file, "Could not be read: Out of memory (error 7)");
    } catch (const std::exception& e) {
        row = Failed(file, std::string("Could not be read: ") + e.what());
    }
    return row;
}

std::vector<Row> ReadRows(const std::vector<std::string>& files, const NewEngine& newEngine,
                          Progress& progress, unsigned threads) {
    std::vector<Row> rows(files.size());
    std::vector<char> read(files.size(), 0);
    std::atomic<std::size_t> next{0};
    std::mutex engineLock;
    const NewEngine lockedEngine = [&] {
        const std::lock_guard<std::mutex> guard(engineLock);
        return newEngine();
    };
    const auto work = [&] {
        for (std::size_t i = next++; i < files.size() && !progress.cancel; i = next++) {
            rows[i] = ReadRow(files[i], lockedEngine);
            read[i] = 1;
            ++progress.done;
        }
    };
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    threads = static_cast<unsigned>(std::min<std::size_t>(threads, files.size()));
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
    for (std::thread& t : pool) t.join();
    if (progress.cancel) {
        std::vector<Row> done;
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (read[i]) done.push_back(std::move(rows[i]));
        return done;
    }
    return rows;
}

void OrderRows(std::vector<Row>& rows) {
    // 0: an excess, 1: no method chosen, 2: failed.
    const auto group = [](const Row& r) { return r.LargestExcess() ? 0 : r.Ok() ? 1 : 2; };
    std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
        const int ga = group(a), gb = group(b);
        if (ga != gb) return ga < gb;
        return ga == 0 && *a.LargestExcess() > *b.LargestExcess();
    });
}

}  // namespace caldren::summary
