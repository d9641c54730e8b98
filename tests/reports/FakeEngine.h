// A stand-in for the engine in report tests: every property returns the text it was
// given, as the engine would hand it out after a calculation. Lets the layouts be checked
// against hand-computed figures without running the calculation.
#pragma once

#include <vesmora/Vesmora.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace fake {

// Reference counting that never frees: the fakes live on the test's stack.
template <class Base>
class Unowned : public Base {
public:
    void* QueryInterface(const std::string&) override { return nullptr; }
    std::uint32_t AddRef() override { return ++m_refs; }
    std::uint32_t Release() override { return --m_refs; }

private:
    std::uint32_t m_refs = 1;
};

class Monthly : public Unowned<vesmora::_Monthly> {
public:
    std::string date = "12/30/1899", inventory = "0", receivables = "0", sales = "0",
                purchases = "0";
    double invCycle = 0, recCycle = 0, opCycle = 0;

    void put_IsComputing(bool) override {}
    bool get_IsComputing() const override { return false; }
    void put_IsEditing(bool) override {}
    bool get_IsEditing() const override { return true; }
    double get_OperatingCycle() const override { return opCycle; }
    double get_ReceivableCycle() const override { return recCycle; }
    double get_InventoryCycle() const override { return invCycle; }
    void put_Purchases(const std::string& v) override { purchases = v; }
    std::string get_Purchases() const override { return purchases; }
    void put_Sales(const std::string& v) override { sales = v; }
    std::string get_Sales() const override { return sales; }
    void put_Receivables(const std::string& v) override { receivables = v; }
    std::string get_Receivables() const override { return receivables; }
    void put_Inventory(const std::string& v) override { inventory = v; }
    std::string get_Inventory() const override { return inventory; }
    void put_MonthDate(const std::string& v) override { date = v; }
    std::string get_MonthDate() const override { return date; }
};

class MonthsEnum : public vesmora::_MonthsEnum {
public:
    explicit MonthsEnum(std::vector<Monthly*> items) : m_items(std::move(items)) {}
    void* QueryInterface(const std::string&) override { return nullptr; }
    std::uint32_t AddRef() override { return ++m_refs; }
    std::uint32_t Release() override {
        if (--m_refs == 0) {
            delete this;
            return 0;
        }
        return m_refs;
    }
    vesmora::ComPtr<vesmora::_Monthly> Next() override {
        if (m_pos >= m_items.size()) return {};
        return vesmora::ComPtr<vesmora::_Monthly>::Share(m_items[m_pos++]);
    }

private:
    std::vector<Monthly*> m_items;
    size_t m_pos = 0;
    std::uint32_t m_refs = 1;
};

class Months : public Unowned<vesmora::_Months> {
public:
    std::vector<std::unique_ptr<Monthly>> items;
    int fillCalls = 0;
    std::string lastFYE;

    Monthly& AddMonth(std::string inventory, std::string receivables, std::string sales,
                      std::string purchases, double inv, double rec, double op) {
        auto m = std::make_unique<Monthly>();
        m->inventory = std::move(inventory);
        m->receivables = std::move(receivables);
        m->sales = std::move(sales);
        m->purchases = std::move(purchases);
        m->invCycle = inv;
        m->recCycle = rec;
        m->opCycle = op;
        items.push_back(std::move(m));
        return *items.back();
    }

    bool get_IsEditing() const override { return false; }
    // Fiscal months from the year end: the fifteenth of each month, the last in the month
    // of the year end.
    void FillFiscalMonth(const std::string& fye) override {
        ++fillCalls;
        lastFYE = fye;
        int m = 0, d = 0, y = 0;
        std::sscanf(fye.c_str(), "%d/%d/%d", &m, &d, &y);
        m += 1;
        if (m < 13) y -= 1; else m = 1;
        for (auto& month : items) {
            if (m == 13) {
                m = 1;
                ++y;
            }
            char buf[16];
            std::snprintf(buf, sizeof buf, "%02d/15/%04d", m, y);
            month->date = buf;
            ++m;
        }
    }
    vesmora::ComPtr<vesmora::_Monthly> Add(const std::string&, const std::string&,
                                           const std::string&, const std::string&,
                                           const std::string&, double, double, double,
                                           const std::string&) override {
        return {};
    }
    vesmora::ComPtr<vesmora::_Monthly> get_Item(const vesmora::IndexKey& k) const override {
        return vesmora::ComPtr<vesmora::_Monthly>::Share(items.at(std::get<long>(k) - 1).get());
    }
    long get_Count() const override { return static_cast<long>(items.size()); }
    void Remove(const vesmora::IndexKey&) override {}
    vesmora::ComPtr<vesmora::_MonthsEnum> get_NewEnum() const override {
        std::vector<Monthly*> v;
        for (auto& m : items) v.push_back(m.get());
        return vesmora::ComPtr<vesmora::_MonthsEnum>(new MonthsEnum(std::move(v)));
    }
};

// Property texts by name; an unset amount reads "0". `failOn` makes one getter throw.
class Caldren : public Unowned<vesmora::_Caldren> {
public:
    std::map<std::string, std::string> v;
    bool ave = false, peak = false, salesAndPurch = true, useCurrent = false,
         useActual = false, isNew = false;
    Months months;
    std::string failOn;
    long failNumber = 0;
    int calculateCalls = 0;
    long calculateError = 0;

    Caldren() {
        v["EOYCurrent"] = "12/31/2002";
        v["EOYNxtYr"] = "12/31/2003";
        v["EOYMonths"] = "12/30/1899";
    }

    std::string Get(const char* name) const {
        if (failOn == name)
            throw activation::ComError(failNumber, "Caldren", "failing " + failOn);
        auto it = v.find(name);
        if (it != v.end()) return it->second;
        static const std::string kTexts[] = {"sName", "Line2", "Version", "NeededWCPeak"};
        for (const auto& t : kTexts)
            if (t == name) return {};
        return "0";
    }

#define FAKE_TEXT(N)                                                   \
    void put_##N(const std::string& x) override { v[#N] = x; }         \
    std::string get_##N() const override { return Get(#N); }
#define FAKE_GET(N) \
    std::string get_##N() const override { return Get(#N); }

    void put_UseCurrentAmounts(bool b) override { useCurrent = b; }
    bool get_UseCurrentAmounts() const override { return useCurrent; }
    FAKE_GET(GrossProfitPercent)
    void put_DoPeakUseSalesAndPurch(bool b) override { salesAndPurch = b; }
    bool get_DoPeakUseSalesAndPurch() const override { return salesAndPurch; }
    FAKE_TEXT(APEndRel2Inv)
    FAKE_GET(ExcessWCAve)
    FAKE_GET(ExcessWCPeak)
    FAKE_GET(ExcessPreContingencyWCAve)
    FAKE_GET(ExcessPreContingencyWCPeak)
    FAKE_GET(NeededWCAve)
    FAKE_GET(AdjOperatingCycleAve)
    FAKE_GET(OperatingCycleAdjDaysAve)
    FAKE_GET(APTurnDaysAve)
    FAKE_GET(APAve)
    FAKE_GET(APBegAndEndAve)
    FAKE_GET(OperatingCycleDaysAve)
    FAKE_GET(ARTurnDaysAve)
    FAKE_GET(ARAve)
    FAKE_GET(ARBegAndEndAve)
    FAKE_GET(InvTurnDaysAve)
    FAKE_GET(InvAve)
    FAKE_GET(CostOfOperations)
    FAKE_GET(InvBegAndEndAve)
    FAKE_GET(ExcessQuickAssetsPeak)
    FAKE_GET(NeededWCPeak)
    FAKE_GET(NetOperatingCycle)
    FAKE_GET(APTurnRatioPeak)
    FAKE_GET(AveAP4InvPeak)
    FAKE_GET(OperatingCyclePeak)
    FAKE_GET(AvailableWC)
    FAKE_TEXT(APBegRel2Inv)
    FAKE_TEXT(AREnd)
    FAKE_TEXT(ARBeg)
    void put_UseActualInventory(bool b) override { useActual = b; }
    bool get_UseActualInventory() const override { return useActual; }
    FAKE_TEXT(EOYMonths)
    FAKE_TEXT(OtherCostAdjNxtYr)
    FAKE_TEXT(DeprecNxtYr)
    FAKE_TEXT(IncTaxNxtYr)
    FAKE_TEXT(OperatingExpNxtYr)
    FAKE_TEXT(EOYNxtYr)
    FAKE_TEXT(COGSNxtYr)
    FAKE_TEXT(Contingencies)
    FAKE_TEXT(Reasonableneeds)
    FAKE_TEXT(NetSales)
    FAKE_TEXT(COGS)
    FAKE_TEXT(InvPurchases)
    FAKE_TEXT(InvEnd)
    FAKE_TEXT(InvBeg)
    FAKE_TEXT(OtherWorkCapAdj)
    FAKE_TEXT(CurLiab)
    FAKE_TEXT(NotesFromShareholders)
    FAKE_TEXT(Securities)
    FAKE_TEXT(CurAssets)
    FAKE_TEXT(EOYCurrent)
    void put_DoPeakCycle(bool b) override { peak = b; }
    bool get_DoPeakCycle() const override { return peak; }
    void put_DoAveCycle(bool b) override { ave = b; }
    bool get_DoAveCycle() const override { return ave; }
    void putref_colMonths(vesmora::_Months*) override {}
    vesmora::ComPtr<vesmora::_Months> get_colMonths() const override {
        return vesmora::ComPtr<vesmora::_Months>::Share(const_cast<Months*>(&months));
    }
    FAKE_TEXT(sName)
    FAKE_TEXT(Version)
    FAKE_TEXT(Line2)
    void BeginEdit() override {}
    void CancelEdit() override {}
    void ApplyEdit(const std::string&) override {}
    void Load(const std::string&) override {}
    void Delete() override {}
    bool get_IsDeleted() const override { return false; }
    bool get_IsNew() const override { return isNew; }
    bool get_IsDirty() const override { return false; }
    void Calculate() override {
        ++calculateCalls;
        if (calculateError != 0)
            throw activation::ComError(calculateError,
                                       "Caldren.Calculate\rNeed to calculate results based on "
                                       "complete information.",
                                       "Caldren Formula Calculator");
    }
    void Save(const std::string&) override {}
    void Fetch(const std::string&) override {}
#undef FAKE_TEXT
#undef FAKE_GET
};

// The worked example of the average method, as the engine reads it out after Calculate:
// inventory 100,000 / 120,000 on COGS 600,000; receivables 80,000 / 100,000 on net sales
// 900,000; payables 50,000 / 70,000 on purchases 620,000; next year COGS 650,000,
// expenses 200,000, tax 30,000, depreciation 40,000; current assets 500,000, current
// liabilities 250,000; other needs 20,000, contingencies 10,000.
inline void LoadAverageExample(Caldren& c) {
    c.ave = true;
    c.v["sName"] = "Acme Castings, Inc.";
    c.v["Line2"] = "Accumulated Earnings Analysis";
    c.v["InvBeg"] = "100,000";
    c.v["InvEnd"] = "120,000";
    c.v["COGS"] = "600,000";
    c.v["ARBeg"] = "80,000";
    c.v["AREnd"] = "100,000";
    c.v["NetSales"] = "900,000";
    c.v["APBegRel2Inv"] = "50,000";
    c.v["APEndRel2Inv"] = "70,000";
    c.v["InvPurchases"] = "620,000";
    c.v["COGSNxtYr"] = "650,000";
    c.v["OperatingExpNxtYr"] = "200,000";
    c.v["IncTaxNxtYr"] = "30,000";
    c.v["DeprecNxtYr"] = "40,000";
    c.v["CurAssets"] = "500,000";
    c.v["CurLiab"] = "250,000";
    c.v["Reasonableneeds"] = "20,000";
    c.v["Contingencies"] = "10,000";
    // Results.
    c.v["CostOfOperations"] = "840,000";
    c.v["AvailableWC"] = "250,000";
    c.v["InvBegAndEndAve"] = "220,000";
    c.v["InvAve"] = "110,000";
    c.v["InvTurnDaysAve"] = "66.91666667";
    c.v["ARBegAndEndAve"] = "180,000";
    c.v["ARAve"] = "90,000";
    c.v["ARTurnDaysAve"] = "36.50000";
    c.v["APBegAndEndAve"] = "120000.00000";
    c.v["APAve"] = "60,000";
    c.v["APTurnDaysAve"] = "35.32258";
    c.v["OperatingCycleDaysAve"] = "103.41666667";
    c.v["OperatingCycleAdjDaysAve"] = "68.09408602";
    c.v["AdjOperatingCycleAve"] = "0.18660";
    c.v["NeededWCAve"] = "156,744";
    c.v["ExcessPreContingencyWCAve"] = "93,256";
    c.v["ExcessWCAve"] = "63,256";
    c.v["GrossProfitPercent"] = "33.33";
    c.v["OperatingCyclePeak"] = "0.00000";
}

// The worked example of the peak method on top of it: three months estimated from sales
// and purchases (inventories 100,000, 105,000, 115,000), peak 0.35833.
inline void LoadPeakExample(Caldren& c) {
    LoadAverageExample(c);
    c.peak = true;
    c.salesAndPurch = true;
    // Dated as a loaded analysis with the year end 12/31/2002 has them.
    c.months.AddMonth("100,000", "120,000", "75,000", "50,000", 0.16667, 0.13333, 0.3).date =
        "01/15/2002";
    c.months.AddMonth("105,000", "100,000", "60,000", "45,000", 0.175, 0.11111, 0.28611).date =
        "02/15/2002";
    c.months.AddMonth("115,000", "150,000", "90,000", "70,000", 0.19167, 0.16667, 0.35833).date =
        "03/15/2002";
    c.v["OperatingCyclePeak"] = "0.35833";
    c.v["AveAP4InvPeak"] = "60,000";
    c.v["APTurnRatioPeak"] = "0.09677";
    c.v["NetOperatingCycle"] = "0.26156";
    c.v["NeededWCPeak"] = "219,707";
    c.v["ExcessPreContingencyWCPeak"] = "30,293";
    c.v["ExcessWCPeak"] = "293";
}

}  // namespace fake
