#include "Caldren.h"

#include "EngineErrors.h"
#include "Factories.h"
#include "Months.h"
#include "c_calcs.h"

#include <profilestore/ProfileStore.h>

#include <cstdint>

namespace vesmora {

namespace {

constexpr const char* kSection = "Caldren Formula Calculation";
constexpr const char* kUnwrittenDate = "12/31/1999";
constexpr const char* kMissingDate = "12/31/2002";
// The most months a data file may bring in (the engine refuses larger counts rather than
// reading thousands of entries).
constexpr std::int32_t kMaxFileMonths = 1000;

std::string FixedText(const std::string& value, std::size_t width, bool isName) {
    if (vk::CharCount(value) > kMaxTextInput) {
        if (isName) throw ComError(kErrTooLong, "Caldren", "Too many characters entered.");
        throw ComError(kErrTooLong, "10001", kGenericDescription);
    }
    return vk::PadTo(value, width);
}

}  // namespace

Caldren::Caldren() : m_colMonths(NewMonths()) {}
Caldren::~Caldren() = default;

// ---- inputs ---------------------------------------------------------------------------

void Caldren::SetAmountInput(vk::Amount Record::*field, const std::string& value) {
    if (!m_editing) return;
    m_rec.*field = InputAmount(value);
    m_isDirty = true;
}

void Caldren::SetDateInput(vk::DaySerial Record::*field, const std::string& value) {
    if (!m_editing) return;
    vk::DaySerial d = 0;
    if (!vk::ParseDate(value, d))
        throw ComError(kErrNotANumber, kNotANumberSource, kGenericDescription);
    m_rec.*field = d;
    m_isDirty = true;
}

void Caldren::SetFlagInput(bool Record::*field, bool value) {
    if (!m_editing) return;
    m_rec.*field = value;
    m_isDirty = true;
}

#define VESMORA_DEFINE_AMOUNT_INPUT(name)                                                        \
    void Caldren::put_##name(const std::string& value) { SetAmountInput(&Record::name, value); } \
    std::string Caldren::get_##name() const { return vk::FormatWhole(m_rec.name); }
VESMORA_AMOUNT_INPUTS(VESMORA_DEFINE_AMOUNT_INPUT)
#undef VESMORA_DEFINE_AMOUNT_INPUT

#define VESMORA_DEFINE_DATE_INPUT(name)                                                        \
    void Caldren::put_##name(const std::string& value) { SetDateInput(&Record::name, value); } \
    std::string Caldren::get_##name() const { return vk::FormatDate(m_rec.name); }
VESMORA_DATE_INPUTS(VESMORA_DEFINE_DATE_INPUT)
#undef VESMORA_DEFINE_DATE_INPUT

#define VESMORA_DEFINE_FLAG_INPUT(name)                                          \
    void Caldren::put_##name(bool value) { SetFlagInput(&Record::name, value); } \
    bool Caldren::get_##name() const { return m_rec.name; }
VESMORA_FLAG_INPUTS(VESMORA_DEFINE_FLAG_INPUT)
#undef VESMORA_DEFINE_FLAG_INPUT

void Caldren::put_sName(const std::string& value) {
    if (!m_editing) return;
    m_rec.sName = FixedText(value, kNameWidth, true);
    m_isDirty = true;
}
std::string Caldren::get_sName() const { return vk::RTrim(m_rec.sName); }

void Caldren::put_Line2(const std::string& value) {
    if (!m_editing) return;
    m_rec.Line2 = FixedText(value, kLine2Width, false);
    m_isDirty = true;
}
std::string Caldren::get_Line2() const { return vk::RTrim(m_rec.Line2); }

// The program passes its version tag padded beyond the field: up to 50 characters are
// accepted and the first 20 kept.
void Caldren::put_Version(const std::string& value) {
    if (!m_editing) return;
    m_rec.Version = FixedText(value, kVersionWidth, false);
    m_isDirty = true;
}
std::string Caldren::get_Version() const { return vk::RTrim(m_rec.Version); }

// ---- results --------------------------------------------------------------------------

#define VESMORA_DEFINE_AMOUNT_RESULT(name)                                          \
    std::string Caldren::get_##name() const { return vk::FormatWhole(m_rec.name); } \
    void Caldren::put_##name(const std::string& value) { m_rec.name = ToAmount(value); }
VESMORA_AMOUNT_RESULTS(VESMORA_DEFINE_AMOUNT_RESULT)
#undef VESMORA_DEFINE_AMOUNT_RESULT

#define VESMORA_DEFINE_RATIO5_RESULT(name)                                           \
    std::string Caldren::get_##name() const { return vk::FormatRatio5(m_rec.name); } \
    void Caldren::put_##name(const std::string& value) { m_rec.name = ToRatio(value); }
VESMORA_RATIO5_RESULTS(VESMORA_DEFINE_RATIO5_RESULT)
#undef VESMORA_DEFINE_RATIO5_RESULT

#define VESMORA_DEFINE_RATIO8_RESULT(name)                      \
    std::string Caldren::get_##name() const {                   \
        return vk::RatioText(vk::RoundHalfEven(m_rec.name, 8)); \
    }                                                           \
    void Caldren::put_##name(const std::string& value) { m_rec.name = ToRatio(value); }
VESMORA_RATIO8_RESULTS(VESMORA_DEFINE_RATIO8_RESULT)
#undef VESMORA_DEFINE_RATIO8_RESULT

std::string Caldren::get_APBegAndEndAve() const { return vk::FormatFixed5(m_rec.APBegAndEndAve); }
void Caldren::put_APBegAndEndAve(const std::string& value) {
    m_rec.APBegAndEndAve = ToAmount(value);
}

std::string Caldren::get_NeededWCPeak() const {
    return m_rec.NeededWCPeak ? vk::FormatWhole(*m_rec.NeededWCPeak) : std::string();
}
void Caldren::put_NeededWCPeak(const std::string& value) { m_rec.NeededWCPeak = ToAmount(value); }

std::string Caldren::get_GrossProfitPercent() const {
    return vk::RatioText(vk::RoundHalfEven(static_cast<double>(m_rec.GrossProfitPercent), 2));
}
void Caldren::put_GrossProfitPercent(const std::string& value) {
    const double d = ToRatio(value);
    if (!(d >= -3.4028234663852886e38 && d <= 3.4028234663852886e38)) RaisePlatform(kErrOverflow);
    m_rec.GrossProfitPercent = static_cast<float>(d);
}

// ---- months ---------------------------------------------------------------------------

void Caldren::putref_colMonths(_Months* value) { m_colMonths = ComPtr<_Months>::Share(value); }
ComPtr<_Months> Caldren::get_colMonths() const { return m_colMonths; }

// ---- edit state -----------------------------------------------------------------------

void Caldren::BeginEdit() {
    Trapped("Caldren.BeginEdit", [&] {
        m_snapshot = m_rec;
        m_editing = true;
    });
}

void Caldren::CancelEdit() {
    if (!m_editing) throw ComError(kErrNotSupported, "Vesmora.Caldren");
    m_editing = false;
    m_isDeleted = false;
    m_isDirty = false;
    m_rec = m_snapshot;
}

void Caldren::Delete() {
    if (!m_editing) throw ComError(kErrNotSupported, "Vesmora.Caldren");
    m_isDeleted = true;
}

void Caldren::ApplyEdit(const std::string& msFname) {
    Trapped("Caldren.ApplyEdit", [&] {
        if (m_isDeleted && !m_isNew) {
            m_isNew = true;
            m_isDeleted = false;
            m_isDirty = false;
            m_editing = false;
            return;
        }
        if (m_isDirty || m_isNew) {
            m_snapshot = m_rec;
            Save(msFname);
            m_isDirty = false;
            m_isNew = false;
        }
        m_isDirty = false;
        m_editing = false;
    });
}

void Caldren::Load(const std::string& msFname) {
    Trapped("Caldren.Load", [&] {
        Fetch(msFname);
        m_snapshot = m_rec;
        m_isNew = false;
    });
}

// ---- calculation ----------------------------------------------------------------------

void Caldren::Calculate() {
    Trapped("Caldren.Calculate", [&] {
        if (m_isNew)
            throw ComError(kErrIncomplete,
                           "Need to calculate results based on complete information.",
                           kAppDescription);
        c_calcs::CalcCostofOps(*this);
        c_calcs::CalcAvailableWorkCap(*this);
        if (get_DoAveCycle()) c_calcs::NeededWCAve(*this);
        c_calcs::CalcOpCyclePeak(*this);
        if (get_DoPeakCycle()) {
            c_calcs::CalcNeededWCPeak(*this);
            std::string beforeNeeds;
            const vk::Amount excess =
                c_calcs::CalcCaldren(get_AvailableWC(), get_NeededWCPeak(), beforeNeeds,
                                     get_Reasonableneeds(), get_Contingencies());
            put_ExcessPreContingencyWCPeak(beforeNeeds);
            put_ExcessWCPeak(vk::PlainAmount(excess));
        }
        if (get_DoAveCycle()) {
            std::string beforeNeeds;
            const vk::Amount excess =
                c_calcs::CalcCaldren(get_AvailableWC(), get_NeededWCAve(), beforeNeeds,
                                     get_Reasonableneeds(), get_Contingencies());
            put_ExcessPreContingencyWCAve(beforeNeeds);
            put_ExcessWCAve(vk::PlainAmount(excess));
        }
    });
}

// ---- data file ------------------------------------------------------------------------

namespace {

enum class EntryKind { Text, Flag, Date, Amount };

struct FileEntry {
    const char* key;
    EntryKind kind;
    std::string (Caldren::*get)() const;
    void (Caldren::*put)(const std::string&);
    bool (Caldren::*getFlag)() const;
    void (Caldren::*putFlag)(bool);
};

#define TEXT_ENTRY(key, name) \
    { key, EntryKind::Text, &Caldren::get_##name, &Caldren::put_##name, nullptr, nullptr }
#define DATE_ENTRY(key, name) \
    { key, EntryKind::Date, &Caldren::get_##name, &Caldren::put_##name, nullptr, nullptr }
#define AMOUNT_ENTRY(key, name) \
    { key, EntryKind::Amount, &Caldren::get_##name, &Caldren::put_##name, nullptr, nullptr }
#define FLAG_ENTRY(key, name) \
    { key, EntryKind::Flag, nullptr, nullptr, &Caldren::get_##name, &Caldren::put_##name }

// Entries 1 to 32 of the data file, in the order Save writes and Fetch reads them.
const FileEntry kEntries[] = {
    TEXT_ENTRY("Version", Version),
    TEXT_ENTRY("Name", sName),
    TEXT_ENTRY("Line 2", Line2),
    FLAG_ENTRY("Average Cycle", DoAveCycle),
    FLAG_ENTRY("Peak Cycle", DoPeakCycle),
    FLAG_ENTRY("Peak Cycle Using Sales and Purchases", DoPeakUseSalesAndPurch),
    FLAG_ENTRY("Current Amounts", UseCurrentAmounts),
    DATE_ENTRY("Current end-of-year", EOYCurrent),
    AMOUNT_ENTRY("Current Assets", CurAssets),
    AMOUNT_ENTRY("Securities", Securities),
    AMOUNT_ENTRY("Notes from shareholders", NotesFromShareholders),
    AMOUNT_ENTRY("Current Liabilities", CurLiab),
    AMOUNT_ENTRY("Other Adjustments to Available Working Capital", OtherWorkCapAdj),
    AMOUNT_ENTRY("Beginning Inventory", InvBeg),
    AMOUNT_ENTRY("Ending Inventory", InvEnd),
    AMOUNT_ENTRY("Inventory Purchases", InvPurchases),
    AMOUNT_ENTRY("Cost of Goods Sold", COGS),
    AMOUNT_ENTRY("Net Sales", NetSales),
    AMOUNT_ENTRY("Reasonable Needs", Reasonableneeds),
    AMOUNT_ENTRY("Contingencies", Contingencies),
    AMOUNT_ENTRY("Cost of Goods Sold - Next Year", COGSNxtYr),
    DATE_ENTRY("End of Year - Next Year", EOYNxtYr),
    AMOUNT_ENTRY("Operating Expense - Next Year", OperatingExpNxtYr),
    AMOUNT_ENTRY("Income Tax - Next Year", IncTaxNxtYr),
    AMOUNT_ENTRY("Depreciation - Next Year", DeprecNxtYr),
    AMOUNT_ENTRY("Other Adjustments to Cost of Operations - Next Year", OtherCostAdjNxtYr),
    DATE_ENTRY("End-of-Year Months", EOYMonths),
    FLAG_ENTRY("Actual Inventory", UseActualInventory),
    AMOUNT_ENTRY("Beginning Accounts Receivable", ARBeg),
    AMOUNT_ENTRY("Ending Accounts Receivable", AREnd),
    AMOUNT_ENTRY("Beginning Accounts Payable Related to Inventory", APBegRel2Inv),
    AMOUNT_ENTRY("Ending Accounts Payable Related to Inventory", APEndRel2Inv),
};

#undef TEXT_ENTRY
#undef DATE_ENTRY
#undef AMOUNT_ENTRY
#undef FLAG_ENTRY

constexpr const char* kMonthSuffixes[] = {" Date", " Inventory", " Receivables", " Sales",
                                          " Purchases"};

ComPtr<_Months> RequireMonths(const ComPtr<_Months>& months) {
    if (!months) RaisePlatform(kErrObjectNotSet);
    return months;
}

// A value no data file holds: tells an absent entry from an empty one.
constexpr const char* kAbsent = "\x01";

// The entry as it stands in the file, for an error message: "Net Sales=7,9x0,000", or
// "Average Cycle (missing)". Long values are cut.
std::string EntryText(const profilestore::ProfileStore& store, const std::string& key) {
    std::string value = store.ReadEntry(kSection, key, kAbsent);
    if (value == kAbsent) return "Entry \"" + key + "\" (missing)";
    if (vk::CharCount(value) > 60) value = std::string(vk::FirstChars(value, 57)) + "...";
    return "Entry \"" + key + "=" + value + "\"";
}

// Runs the reading of one entry; an error names the entry in its source chain.
template <class F>
void Refused(const profilestore::ProfileStore& store, const std::string& key, F&& read) {
    try {
        read();
    } catch (const ComError& e) {
        throw e.Rethrown(EntryText(store, key), e.Description());
    }
}

// "Monthly Count": a whole number from 0 to the most months a file may bring; anything else
// (a word, a sign, a fraction, a larger count) makes the file malformed.
long MonthCount(const profilestore::ProfileStore& store) {
    const std::string text = store.ReadEntry(kSection, "Monthly Count", "0");
    std::size_t i = 0, end = text.size();
    while (i < end && (text[i] == ' ' || text[i] == '\t')) ++i;
    while (end > i && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    long count = 0;
    bool whole = i < end;
    for (std::size_t k = i; whole && k < end; ++k) {
        whole = text[k] >= '0' && text[k] <= '9';
        if (count <= kMaxFileMonths) count = count * 10 + (text[k] - '0');
    }
    if (!whole || count > kMaxFileMonths) {
        throw ComError(whole ? kErrOverflow : kErrTypeMismatch,
                       EntryText(store, "Monthly Count") +
                           "\rThe count of months must be a whole number from 0 to 1,000.",
                       kGenericDescription);
    }
    return count;
}

}  // namespace

void Caldren::Save(const std::string& msFname) {
    Trapped("Caldren.Save", [&] {
        profilestore::ProfileStore store;
        store.SetFileName(msFname);
        store.BeginBatch();
        try {
            for (const FileEntry& e : kEntries) {
                std::string text;
                switch (e.kind) {
                    case EntryKind::Flag:
                        text = vk::BooleanText((this->*e.getFlag)());
                        break;
                    case EntryKind::Date: {
                        text = (this->*e.get)();
                        if (text == kUnwrittenDate) continue;
                        vk::DaySerial d = 0;
                        if (!vk::ParseDate(text, d)) RaisePlatform(kErrTypeMismatch);
                        text = vk::FormatDate(d);
                        break;
                    }
                    case EntryKind::Text:
                    case EntryKind::Amount:
                        text = (this->*e.get)();
                        break;
                }
                store.WriteEntry(kSection, e.key, text);
            }
            const ComPtr<_Months> months = RequireMonths(m_colMonths);
            store.WriteEntry(kSection, "Monthly Count", std::to_string(months->get_Count()));
            // The months are written whichever method is chosen: turning the peak method off
            // and on again must not lose twelve months of figures.
            const ComPtr<_MonthsEnum> it = months->get_NewEnum();
            long n = 0;
            while (ComPtr<_Monthly> month = it->Next()) {
                n += 1;
                const std::string prefix = std::to_string(n);
                store.WriteEntry(kSection, prefix + kMonthSuffixes[0], month->get_MonthDate());
                store.WriteEntry(kSection, prefix + kMonthSuffixes[1], month->get_Inventory());
                store.WriteEntry(kSection, prefix + kMonthSuffixes[2], month->get_Receivables());
                store.WriteEntry(kSection, prefix + kMonthSuffixes[3], month->get_Sales());
                store.WriteEntry(kSection, prefix + kMonthSuffixes[4], month->get_Purchases());
            }
            store.CommitBatch();
        } catch (...) {
            try {
                store.AbandonBatch();
            } catch (...) {}
            throw;
        }
    });
}

void Caldren::Fetch(const std::string& msFname) {
    Trapped("Caldren.Fetch", [&] {
        BeginEdit();
        if (msFname.empty())
            throw ComError(kErrNoFileName, "Need to specify a filename.", kGenericDescription);
        profilestore::ProfileStore store;
        store.SetFileName(msFname);
        store.BeginBatch();  // the file is read once, as it stands now; nothing is written
        put_Version(EngineVersionText());
        put_Version(store.ReadEntry(kSection, "Version", get_Version()));
        for (const FileEntry& e : kEntries) {
            if (e.put == &Caldren::put_Version) continue;
            const char* fallback = e.kind == EntryKind::Date ? kMissingDate : "";
            const std::string text = store.ReadEntry(kSection, e.key, fallback);
            Refused(store, e.key, [&] {
                if (e.kind == EntryKind::Flag) {
                    bool b = false;
                    if (!vk::ParseBoolean(text, b)) RaisePlatform(kErrTypeMismatch);
                    (this->*e.putFlag)(b);
                } else {
                    (this->*e.put)(text);
                }
            });
        }
        m_colMonths = ComPtr<_Months>(NewMonths());
        const long count = MonthCount(store);
        // With the peak method off the months are kept when the file has them; a file
        // written before they were saved that way has only the count.
        const bool required = get_DoPeakCycle();
        for (long n = 1; n <= count; ++n) {
            const std::string prefix = std::to_string(n);
            std::string texts[5];
            bool present = false;
            for (int k = 0; k < 5; ++k) {
                texts[k] = store.ReadEntry(kSection, prefix + kMonthSuffixes[k], kAbsent);
                if (texts[k] == kAbsent)
                    texts[k].clear();
                else
                    present = true;
            }
            if (!present && !required) break;
            try {
                m_colMonths->Add(texts[0], texts[1], texts[2], texts[3], texts[4], 0, 0, 0, "");
            } catch (const ComError& e) {
                // The month's first value that its setter refuses names the entry.
                int k = 0;
                vk::DaySerial day = 0;
                vk::Amount amount = 0;
                if (vk::ParseDate(texts[0], day))
                    for (k = 1; k < 4 && vk::ParseAmount(texts[k], amount) == vk::Conv::Ok; ++k) {}
                throw e.Rethrown(EntryText(store, prefix + kMonthSuffixes[k]), e.Description());
            }
        }
    });
}

}  // namespace vesmora
