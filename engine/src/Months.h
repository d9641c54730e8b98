// Monthly (one month-end figure set) and Months (the ordered, optionally keyed collection
// of an analysis's months, which also dates them as consecutive fiscal months).
#pragma once

#include "ComObject.h"
#include "ValueKinds.h"

#include <vesmora/Vesmora.h>

#include <vector>

namespace vesmora {

class Monthly final : public ComObject<_Monthly, Monthly> {
public:
    // Interface under which QueryInterface hands out the object itself (engine-internal).
    static constexpr Guid kIID_Internal = "{5A0E8C31-7B64-4E4F-9D3A-0C1B2E6F7A81}";

    Monthly() = default;
    ~Monthly() override = default;

    void put_IsComputing(bool value) override { m_isComputing = value; }
    bool get_IsComputing() const override { return m_isComputing; }
    void put_IsEditing(bool value) override { m_isEditing = value; }
    bool get_IsEditing() const override { return m_isEditing; }
    double get_OperatingCycle() const override;
    double get_ReceivableCycle() const override;
    double get_InventoryCycle() const override;
    void put_Purchases(const std::string& value) override;
    std::string get_Purchases() const override;
    void put_Sales(const std::string& value) override;
    std::string get_Sales() const override;
    void put_Receivables(const std::string& value) override;
    std::string get_Receivables() const override;
    void put_Inventory(const std::string& value) override;
    std::string get_Inventory() const override;
    void put_MonthDate(const std::string& value) override;
    std::string get_MonthDate() const override;

    // Internal cycle setters: store the value as given; no condition, dirty flag untouched.
    void put_InventoryCycle(double value) { m_inventoryCycle = value; }
    void put_ReceivableCycle(double value) { m_receivableCycle = value; }
    void put_OperatingCycle(double value) { m_operatingCycle = value; }
    bool isDirty() const { return m_dirty; }

    void* QueryExtra(const std::string& iid);

    // The engine's own Monthly behind an interface pointer, or nullptr for a foreign one
    // (the same object is also handed out by QueryInterface under kIID_Internal).
    static Monthly* From(_Monthly* month);

private:
    void SetAmount(vk::Amount& field, const std::string& value, bool effective);

    vk::DaySerial m_monthDate = 0;
    vk::Amount m_inventory = 0;
    vk::Amount m_receivables = 0;
    vk::Amount m_sales = 0;
    vk::Amount m_purchases = 0;
    double m_inventoryCycle = 0;
    double m_receivableCycle = 0;
    double m_operatingCycle = 0;
    bool m_dirty = false;
    bool m_isEditing = false;
    bool m_isComputing = false;
};

class Months final : public ComObject<_Months, Months> {
public:
    Months() = default;
    ~Months() override = default;

    bool get_IsEditing() const override { return false; }
    void FillFiscalMonth(const std::string& vsFYE) override;
    ComPtr<_Monthly> Add(const std::string& MonthDate, const std::string& Inventory,
                         const std::string& Receivables, const std::string& Sales,
                         const std::string& Purchases, double InventoryCycle,
                         double ReceivableCycle, double OperatingCycle,
                         const std::string& sKey = std::string()) override;
    ComPtr<_Monthly> get_Item(const IndexKey& vntIndexKey) const override;
    long get_Count() const override { return static_cast<long>(m_items.size()); }
    void Remove(const IndexKey& vntIndexKey) override;
    ComPtr<_MonthsEnum> get_NewEnum() const override;

    // First fiscal month (the fifteenth) of the fiscal year ending at vsFYE.
    static vk::DaySerial GetFirstMonth(const std::string& vsFYE);

private:
    struct Item {
        ComPtr<_Monthly> month;
        std::string key;  // empty: no key
    };
    std::size_t IndexOf(const IndexKey& vntIndexKey) const;  // 0-based; raises 5 or 9

    std::vector<Item> m_items;
};

class MonthsEnum final : public ComObject<_MonthsEnum, MonthsEnum> {
public:
    explicit MonthsEnum(std::vector<ComPtr<_Monthly>> months) : m_months(std::move(months)) {}
    ~MonthsEnum() override = default;
    ComPtr<_Monthly> Next() override;

private:
    std::vector<ComPtr<_Monthly>> m_months;
    std::size_t m_next = 0;
};

}  // namespace vesmora
