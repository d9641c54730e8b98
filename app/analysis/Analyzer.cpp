#include "Analyzer.h"

#include "Inputs.h"

#include <ReportCompare.h>
#include <activation/Activation.h>
#include <common/UserFolders.h>

#include <cstdlib>
#include <filesystem>
#include <new>
#include <system_error>

#include <stdlib.h>

namespace caldren::analysis {

namespace fs = std::filesystem;
using activation::ComError;

namespace {

// A private folder for the scratch copy's one save; removed with the object.
class PrivateFolder {
public:
    PrivateFolder() {
        // The user's runtime folder first: private, and in memory where the desktop has one,
        // so the save costs no disk flush.
        std::string pattern = common::TemporaryFolder() + "/caldren-results-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            throw ComError(75, "Analyzer.MakeScratch",
                           "A private temporary folder cannot be made in " +
                               pattern.substr(0, pattern.rfind('/')));
        m_path = pattern;
    }
    ~PrivateFolder() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    std::string File(const char* name) const { return (m_path / name).string(); }

private:
    fs::path m_path;
};

bool RaisedIn(const ComError& e, const char* location) {
    return e.Source().find(location) != std::string::npos;
}

}  // namespace

vesmora::ComPtr<vesmora::_Caldren> NewEngine() {
    return activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
}

Analyzer::Analyzer(EngineFactory newEngine) : m_newEngine(std::move(newEngine)) {}
Analyzer::~Analyzer() = default;

void Analyzer::MakeScratch() {
    vesmora::ComPtr<vesmora::_Caldren> scratch = m_newEngine();
    if (!scratch) throw ComError(429, "Analyzer.MakeScratch", activation::StandardErrorText(429));
    {
        const PrivateFolder folder;
        scratch->ApplyEdit(folder.File("scratch.cld"));  // no longer new: it can be calculated
    }
    scratch->BeginEdit();  // its setters take effect from now on
    m_scratch = std::move(scratch);
}

const Snapshot& Analyzer::Update(const vesmora::_Caldren& live) {
    m_snapshot = Snapshot{};
    try {
        if (!m_scratch) MakeScratch();
        vesmora::_Caldren& s = *m_scratch;
        CopyInputs(live, s);
        Outcome o;
        o.peak = live.get_DoPeakCycle();
        o.average = live.get_DoAveCycle();
        bool calculated = false;
        try {
            s.Calculate();
            calculated = true;
        } catch (const ComError& e) {
            const std::string why = "not calculated: " + Reports::CompareFailureText(e);
            if (RaisedIn(e, "c_calcs.CalcCostofOps")) o.costReason = why;
            if (!o.costReason.empty() || RaisedIn(e, "c_calcs.CalcAvailableWorkCap"))
                o.availableReason = why;
            o.peakReason = FailureReason(s, e, true);
            o.averageReason = FailureReason(s, e, false);
            const bool inPeak =
                RaisedIn(e, "c_calcs.CalcOpCyclePeak") || RaisedIn(e, "c_calcs.CalcNeededWCPeak");
            if (inPeak && o.peak && o.average && WholeUnits(s.get_NetSales()) != 0) {
                s.put_DoPeakCycle(false);
                try {
                    s.Calculate();
                    o.averageReason.clear();
                    calculated = true;
                } catch (const ComError&) {}
            }
        }
        m_snapshot.peakCalculated = calculated && o.peak && o.peakReason.empty();
        m_snapshot.results = ReadResults(s, o);
        m_snapshot.findings = CheckFigures(live, calculated ? &s : nullptr);
    } catch (const ComError& e) {
        m_snapshot = Snapshot{};
        m_snapshot.error = "The results cannot be shown: " + Reports::CompareFailureText(e);
    } catch (const std::bad_alloc&) {
        m_snapshot = Snapshot{};
        m_snapshot.error = "The results cannot be shown: Out of memory (error 7)";
    }
    return m_snapshot;
}

}  // namespace caldren::analysis
