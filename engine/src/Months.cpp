#include "Months.h"

#include "EngineErrors.h"

#include <cctype>

namespace vesmora {

// ---- Monthly --------------------------------------------------------------------------

namespace {

// A cycle as its getter returns it: formatted "##0.00000" and read back.
double Rounded5(double value) { return ToRatio(vk::FormatRatio5(value)); }

bool SameKey(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

double Monthly::get_OperatingCycle() const { return Rounded5(m_operatingCycle); }
double Monthly::get_ReceivableCycle() const { return Rounded5(m_receivableCycle); }
double Monthly::get_InventoryCycle() const { return Rounded5(m_inventoryCycle); }

void Monthly::SetAmount(vk::Amount& field, const std::string& value, bool effective) {
    if (!effective) return;
    field = InputAmount(value);
    m_dirty = true;
}

void Monthly::put_Purchases(const std::string& value) {
    SetAmount(m_purchases, value, m_isEditing);
}
void Monthly::put_Sales(const std::string& value) { SetAmount(m_sales, value, m_isEditing); }
void Monthly::put_Receivables(const std::string& value) {
    SetAmount(m_receivables, value, m_isEditing);
}
void Monthly::put_Inventory(const std::string& value) {
    SetAmount(m_inventory, value, m_isEditing || m_isComputing);
}
std::string Monthly::get_Purchases() const { return vk::FormatWhole(m_purchases); }
std::string Monthly::get_Sales() const { return vk::FormatWhole(m_sales); }
std::string Monthly::get_Receivables() const { return vk::FormatWhole(m_receivables); }
std::string Monthly::get_Inventory() const { return vk::FormatWhole(m_inventory); }

void Monthly::put_MonthDate(const std::string& value) {
    vk::DaySerial d = 0;
    if (!vk::ParseDate(value, d)) RaisePlatform(kErrTypeMismatch);
    m_monthDate = d;
    m_dirty = true;
}
std::string Monthly::get_MonthDate() const { return vk::FormatDate(m_monthDate); }

void* Monthly::QueryExtra(const std::string& iid) {
    if (activation::SameGuid(iid, kIID_Internal)) {
        AddRef();
        return this;
    }
    return nullptr;
}

Monthly* Monthly::From(_Monthly* month) { return dynamic_cast<Monthly*>(month); }

// ---- Months ---------------------------------------------------------------------------

ComPtr<_Monthly> Months::Add(const std::string& MonthDate, const std::string& Inventory,
                             const std::string& Receivables, const std::string& Sales,
                             const std::string& Purchases, double InventoryCycle,
                             double ReceivableCycle, double OperatingCycle,
                             const std::string& sKey) {
    ComPtr<Monthly> month(new Monthly());
    month->put_IsEditing(true);
    month->put_MonthDate(MonthDate);
    month->put_Inventory(Inventory);
    month->put_Receivables(Receivables);
    month->put_Sales(Sales);
    month->put_Purchases(Purchases);
    month->put_InventoryCycle(InventoryCycle);
    month->put_ReceivableCycle(ReceivableCycle);
    month->put_OperatingCycle(OperatingCycle);
    if (!sKey.empty()) {
        for (const Item& item : m_items)
            if (SameKey(item.key, sKey)) RaisePlatform(kErrDuplicateKey);
    }
    ComPtr<_Monthly> result(month.Detach());
    m_items.push_back(Item{result, sKey});
    return result;
}

std::size_t Months::IndexOf(const IndexKey& vntIndexKey) const {
    if (const long* position = std::get_if<long>(&vntIndexKey)) {
        if (*position < 1 || static_cast<unsigned long>(*position) > m_items.size())
            RaisePlatform(kErrSubscript);
        return static_cast<std::size_t>(*position - 1);
    }
    const std::string& key = std::get<std::string>(vntIndexKey);
    if (!key.empty()) {
        for (std::size_t i = 0; i < m_items.size(); ++i)
            if (SameKey(m_items[i].key, key)) return i;
    }
    RaisePlatform(kErrInvalidCall);
}

ComPtr<_Monthly> Months::get_Item(const IndexKey& vntIndexKey) const {
    return m_items[IndexOf(vntIndexKey)].month;
}

void Months::Remove(const IndexKey& vntIndexKey) {
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(IndexOf(vntIndexKey)));
}

ComPtr<_MonthsEnum> Months::get_NewEnum() const {
    std::vector<ComPtr<_Monthly>> months;
    months.reserve(m_items.size());
    for (const Item& item : m_items) months.push_back(item.month);
    return ComPtr<_MonthsEnum>(new MonthsEnum(std::move(months)));
}

vk::DaySerial Months::GetFirstMonth(const std::string& vsFYE) {
    return Trapped("Months.GetFirstMonth", [&] {
        vk::DaySerial fye = 0;
        if (!vk::ParseDate(vsFYE, fye)) RaisePlatform(kErrTypeMismatch);
        int y = 0, m = 0, d = 0;
        vk::CivilFromSerial(fye, y, m, d);
        m += 1;
        if (m < 13) {
            y -= 1;
        } else {
            m = 1;
        }
        vk::DaySerial first = 0;
        const std::string text = std::to_string(m) + "/15/" + std::to_string(y);
        if (!vk::ParseDate(text, first)) RaisePlatform(kErrTypeMismatch);
        return first;
    });
}

void Months::FillFiscalMonth(const std::string& vsFYE) {
    Trapped("Months.FiscalMonth", [&] {
        int y = 0, m = 0, d = 0;
        vk::CivilFromSerial(GetFirstMonth(vsFYE), y, m, d);
        for (Item& item : m_items) {
            if (m == 13) {
                m = 1;
                y += 1;
            }
            item.month->put_MonthDate(std::to_string(m) + "/15/" + std::to_string(y));
            m += 1;
        }
    });
}

ComPtr<_Monthly> MonthsEnum::Next() {
    if (m_next >= m_months.size()) return {};
    return m_months[m_next++];
}

}  // namespace vesmora
