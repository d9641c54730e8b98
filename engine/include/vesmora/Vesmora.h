// Public interfaces of the Vesmora engine: one accumulated-earnings analysis (_Caldren),
// its month collection (_Months) and one month (_Monthly).
//
// The virtual members stand in the engine's slot order (a property's put before its get).
// Every value crosses as UTF-8 text except flags (bool), the three month cycles (double)
// and the month collection (an interface reference). Errors are thrown as
// activation::ComError (number, source, description).
//
// Objects are created through the activation layer by ProgID or class identifier:
//   auto calc = activation::CreateObject<_Caldren>("Vesmora.Caldren");
#pragma once

#include <activation/Com.h>

#include <string>
#include <variant>

namespace vesmora {

using activation::ComPtr;
using activation::Guid;

// Class identifiers and ProgIDs.
constexpr Guid kCLSID_Caldren = "{7571AC88-2EFC-42AC-A02E-16BA434B8697}";
constexpr Guid kCLSID_Monthly = "{20328E7E-F007-45C4-AF1C-3EB4A31FF840}";
constexpr Guid kCLSID_Months = "{BE3B526B-A7C3-4B1D-A15F-3CC795AAA675}";
constexpr Guid kLIBID_Vesmora = "{45DCF84E-4B00-4029-9680-13C8116153E2}";
constexpr const char* kProgID_Caldren = "Vesmora.Caldren";
constexpr const char* kProgID_Monthly = "Vesmora.Monthly";
constexpr const char* kProgID_Months = "Vesmora.Months";

// A position in the month collection (from 1) or a text key.
using IndexKey = std::variant<long, std::string>;

class _Monthly : public activation::IUnknownLike {
public:
    static constexpr Guid IID = "{384A78F6-E0B2-46B8-A1F1-693A5419C415}";

    virtual void put_IsComputing(bool value) = 0;
    virtual bool get_IsComputing() const = 0;
    virtual void put_IsEditing(bool value) = 0;
    virtual bool get_IsEditing() const = 0;
    virtual double get_OperatingCycle() const = 0;
    virtual double get_ReceivableCycle() const = 0;
    virtual double get_InventoryCycle() const = 0;
    virtual void put_Purchases(const std::string& value) = 0;
    virtual std::string get_Purchases() const = 0;
    virtual void put_Sales(const std::string& value) = 0;
    virtual std::string get_Sales() const = 0;
    virtual void put_Receivables(const std::string& value) = 0;
    virtual std::string get_Receivables() const = 0;
    virtual void put_Inventory(const std::string& value) = 0;
    virtual std::string get_Inventory() const = 0;
    virtual void put_MonthDate(const std::string& value) = 0;
    virtual std::string get_MonthDate() const = 0;
};

// Enumerator handed out by _Months::NewEnum: the months in collection order.
class _MonthsEnum : public activation::IUnknownLike {
public:
    static constexpr Guid IID = "{00020404-0000-0000-C000-000000000046}";
    // The next month (one reference), or an empty pointer after the last.
    virtual ComPtr<_Monthly> Next() = 0;
};

class _Months : public activation::IUnknownLike {
public:
    static constexpr Guid IID = "{6E53AC94-257E-4484-B762-8248029E9E1A}";

    virtual bool get_IsEditing() const = 0;
    virtual void FillFiscalMonth(const std::string& vsFYE) = 0;
    virtual ComPtr<_Monthly> Add(const std::string& MonthDate, const std::string& Inventory,
                                 const std::string& Receivables, const std::string& Sales,
                                 const std::string& Purchases, double InventoryCycle,
                                 double ReceivableCycle, double OperatingCycle,
                                 const std::string& sKey = std::string()) = 0;
    virtual ComPtr<_Monthly> get_Item(const IndexKey& vntIndexKey) const = 0;
    virtual long get_Count() const = 0;
    virtual void Remove(const IndexKey& vntIndexKey) = 0;
    virtual ComPtr<_MonthsEnum> get_NewEnum() const = 0;
};

class _Caldren : public activation::IUnknownLike {
public:
    static constexpr Guid IID = "{B9B2C7A9-DCB5-4907-A66F-C4D12EB8ED34}";

    // 1
    virtual void put_UseCurrentAmounts(bool value) = 0;
    virtual bool get_UseCurrentAmounts() const = 0;
    virtual std::string get_GrossProfitPercent() const = 0;
    virtual void put_DoPeakUseSalesAndPurch(bool value) = 0;
    virtual bool get_DoPeakUseSalesAndPurch() const = 0;
    virtual void put_APEndRel2Inv(const std::string& value) = 0;
    virtual std::string get_APEndRel2Inv() const = 0;

    // 2 Results
    virtual std::string get_ExcessWCAve() const = 0;
    virtual std::string get_ExcessWCPeak() const = 0;
    virtual std::string get_ExcessPreContingencyWCAve() const = 0;
    virtual std::string get_ExcessPreContingencyWCPeak() const = 0;
    virtual std::string get_NeededWCAve() const = 0;
    virtual std::string get_AdjOperatingCycleAve() const = 0;
    virtual std::string get_OperatingCycleAdjDaysAve() const = 0;
    virtual std::string get_APTurnDaysAve() const = 0;
    virtual std::string get_APAve() const = 0;
    virtual std::string get_APBegAndEndAve() const = 0;
    virtual std::string get_OperatingCycleDaysAve() const = 0;
    virtual std::string get_ARTurnDaysAve() const = 0;
    virtual std::string get_ARAve() const = 0;
    virtual std::string get_ARBegAndEndAve() const = 0;
    virtual std::string get_InvTurnDaysAve() const = 0;
    virtual std::string get_InvAve() const = 0;
    virtual std::string get_CostOfOperations() const = 0;
    virtual std::string get_InvBegAndEndAve() const = 0;
    virtual std::string get_ExcessQuickAssetsPeak() const = 0;
    virtual std::string get_NeededWCPeak() const = 0;
    virtual std::string get_NetOperatingCycle() const = 0;
    virtual std::string get_APTurnRatioPeak() const = 0;
    virtual std::string get_AveAP4InvPeak() const = 0;
    virtual std::string get_OperatingCyclePeak() const = 0;
    virtual std::string get_AvailableWC() const = 0;

    // 3 Inputs
    virtual void put_APBegRel2Inv(const std::string& value) = 0;
    virtual std::string get_APBegRel2Inv() const = 0;
    virtual void put_AREnd(const std::string& value) = 0;
    virtual std::string get_AREnd() const = 0;
    virtual void put_ARBeg(const std::string& value) = 0;
    virtual std::string get_ARBeg() const = 0;
    virtual void put_UseActualInventory(bool value) = 0;
    virtual bool get_UseActualInventory() const = 0;
    virtual void put_EOYMonths(const std::string& value) = 0;
    virtual std::string get_EOYMonths() const = 0;
    virtual void put_OtherCostAdjNxtYr(const std::string& value) = 0;
    virtual std::string get_OtherCostAdjNxtYr() const = 0;
    virtual void put_DeprecNxtYr(const std::string& value) = 0;
    virtual std::string get_DeprecNxtYr() const = 0;
    virtual void put_IncTaxNxtYr(const std::string& value) = 0;
    virtual std::string get_IncTaxNxtYr() const = 0;
    virtual void put_OperatingExpNxtYr(const std::string& value) = 0;
    virtual std::string get_OperatingExpNxtYr() const = 0;
    virtual void put_EOYNxtYr(const std::string& value) = 0;
    virtual std::string get_EOYNxtYr() const = 0;
    virtual void put_COGSNxtYr(const std::string& value) = 0;
    virtual std::string get_COGSNxtYr() const = 0;
    virtual void put_Contingencies(const std::string& value) = 0;
    virtual std::string get_Contingencies() const = 0;
    virtual void put_Reasonableneeds(const std::string& value) = 0;
    virtual std::string get_Reasonableneeds() const = 0;
    virtual void put_NetSales(const std::string& value) = 0;
    virtual std::string get_NetSales() const = 0;
    virtual void put_COGS(const std::string& value) = 0;
    virtual std::string get_COGS() const = 0;
    virtual void put_InvPurchases(const std::string& value) = 0;
    virtual std::string get_InvPurchases() const = 0;
    virtual void put_InvEnd(const std::string& value) = 0;
    virtual std::string get_InvEnd() const = 0;
    virtual void put_InvBeg(const std::string& value) = 0;
    virtual std::string get_InvBeg() const = 0;
    virtual void put_OtherWorkCapAdj(const std::string& value) = 0;
    virtual std::string get_OtherWorkCapAdj() const = 0;
    virtual void put_CurLiab(const std::string& value) = 0;
    virtual std::string get_CurLiab() const = 0;
    virtual void put_NotesFromShareholders(const std::string& value) = 0;
    virtual std::string get_NotesFromShareholders() const = 0;
    virtual void put_Securities(const std::string& value) = 0;
    virtual std::string get_Securities() const = 0;
    virtual void put_CurAssets(const std::string& value) = 0;
    virtual std::string get_CurAssets() const = 0;
    virtual void put_EOYCurrent(const std::string& value) = 0;
    virtual std::string get_EOYCurrent() const = 0;
    virtual void put_DoPeakCycle(bool value) = 0;
    virtual bool get_DoPeakCycle() const = 0;
    virtual void put_DoAveCycle(bool value) = 0;
    virtual bool get_DoAveCycle() const = 0;

    // 4
    virtual void putref_colMonths(_Months* value) = 0;  // takes its own reference
    virtual ComPtr<_Months> get_colMonths() const = 0;
    virtual void put_sName(const std::string& value) = 0;
    virtual std::string get_sName() const = 0;
    virtual void put_Version(const std::string& value) = 0;
    virtual std::string get_Version() const = 0;
    virtual void put_Line2(const std::string& value) = 0;
    virtual std::string get_Line2() const = 0;

    // 5 Methods and state
    virtual void BeginEdit() = 0;
    virtual void CancelEdit() = 0;
    virtual void ApplyEdit(const std::string& msFname) = 0;
    virtual void Load(const std::string& msFname) = 0;
    virtual void Delete() = 0;
    virtual bool get_IsDeleted() const = 0;
    virtual bool get_IsNew() const = 0;
    virtual bool get_IsDirty() const = 0;
    virtual void Calculate() = 0;
    virtual void Save(const std::string& msFname) = 0;
    virtual void Fetch(const std::string& msFname) = 0;
};

}  // namespace vesmora
