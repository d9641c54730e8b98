// Analyzer: results and checks of an analysis without touching it.
//
// The analysis being edited is never calculated: calculating would write its next-year
// inputs back (setting the dirty flag while an edit is open) and re-estimate its month-end
// inventories. Instead the Analyzer keeps an engine object of its own, a scratch copy, and
// on each Update copies the inputs and months of the analysis into it, calculates the copy
// and reads the results and checks from it. The copy is made calculable once, when it is
// created: an engine refuses to calculate a record that was never saved or loaded, so the
// new copy is saved once into a private temporary folder (created with mkdtemp in
// XDG_RUNTIME_DIR, else TMPDIR, else /tmp; removed at once). The user's data file is never
// read or written.
//
// When the calculation fails, the figures that it had computed before the failure are
// shown and the others give "—" with the reason. When only the peak method fails (cost of
// goods sold of zero, say) and the average method is chosen too, the copy is calculated
// once more with the peak method off, so that the average method's figures still show.
#pragma once

#include "Checks.h"
#include "Results.h"
#include "Rollforward.h"

#include <vesmora/Vesmora.h>

#include <optional>
#include <string>
#include <vector>

namespace caldren::analysis {

struct Snapshot {
    Results results;
    std::vector<Finding> findings;
    bool peakCalculated = false;  // the scratch copy holds the peak method's month cycles
    std::string error;            // set when the copy could not be made or filled; then
                                  // results and findings are empty
};

class Analyzer {
public:
    // The factory creates the scratch engine object (normally by ProgID).
    explicit Analyzer(EngineFactory newEngine);
    ~Analyzer();
    Analyzer(const Analyzer&) = delete;
    Analyzer& operator=(const Analyzer&) = delete;

    // Copies `live` into the scratch object, calculates it, reads results and checks.
    // `live` is only read. Never throws for a calculation error (it is part of the results).
    const Snapshot& Update(const vesmora::_Caldren& live);
    const Snapshot& Current() const { return m_snapshot; }

    // The scratch object after the last Update (for the monthly-cycle chart, which numbers
    // its months first); nullptr before the first successful Update.
    vesmora::_Caldren* Scratch() { return m_scratch.Get(); }

private:
    void MakeScratch();

    EngineFactory m_newEngine;
    vesmora::ComPtr<vesmora::_Caldren> m_scratch;
    Snapshot m_snapshot;
};

// The default factory: a Caldren object by ProgID through the activation layer.
vesmora::ComPtr<vesmora::_Caldren> NewEngine();

}  // namespace caldren::analysis
