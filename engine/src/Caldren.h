// Caldren: one accumulated-earnings analysis behind the interface _Caldren.
//
// Inputs are validated and converted on the way in and formatted on the way out; every
// setter of the record takes effect only while an edit is open. The results have internal
// setters of the same name (not on the interface) that the calculation module c_calcs
// uses: they ignore the editing flag and leave IsDirty alone.
#pragma once

#include "ComObject.h"
#include "Record.h"

#include <vesmora/Vesmora.h>

namespace vesmora {

class Caldren final : public ComObject<_Caldren, Caldren> {
public:
    Caldren();
    ~Caldren() override;

#define VESMORA_DECLARE_TEXT_PROPERTY(name)             \
    void put_##name(const std::string& value) override; \
    std::string get_##name() const override;
    VESMORA_AMOUNT_INPUTS(VESMORA_DECLARE_TEXT_PROPERTY)
    VESMORA_DATE_INPUTS(VESMORA_DECLARE_TEXT_PROPERTY)
    VESMORA_DECLARE_TEXT_PROPERTY(sName)
    VESMORA_DECLARE_TEXT_PROPERTY(Line2)
    VESMORA_DECLARE_TEXT_PROPERTY(Version)
#undef VESMORA_DECLARE_TEXT_PROPERTY

#define VESMORA_DECLARE_FLAG_PROPERTY(name) \
    void put_##name(bool value) override;   \
    bool get_##name() const override;
    VESMORA_FLAG_INPUTS(VESMORA_DECLARE_FLAG_PROPERTY)
#undef VESMORA_DECLARE_FLAG_PROPERTY

    // Results: public getter, internal setter taking text.
#define VESMORA_DECLARE_RESULT(name)         \
    std::string get_##name() const override; \
    void put_##name(const std::string& value);
    VESMORA_AMOUNT_RESULTS(VESMORA_DECLARE_RESULT)
    VESMORA_RATIO5_RESULTS(VESMORA_DECLARE_RESULT)
    VESMORA_RATIO8_RESULTS(VESMORA_DECLARE_RESULT)
    VESMORA_DECLARE_RESULT(APBegAndEndAve)
    VESMORA_DECLARE_RESULT(NeededWCPeak)
    VESMORA_DECLARE_RESULT(GrossProfitPercent)
#undef VESMORA_DECLARE_RESULT

    void putref_colMonths(_Months* value) override;
    ComPtr<_Months> get_colMonths() const override;

    void BeginEdit() override;
    void CancelEdit() override;
    void ApplyEdit(const std::string& msFname) override;
    void Load(const std::string& msFname) override;
    void Delete() override;
    bool get_IsDeleted() const override { return m_isDeleted; }
    bool get_IsNew() const override { return m_isNew; }
    bool get_IsDirty() const override { return m_isDirty; }
    void Calculate() override;
    void Save(const std::string& msFname) override;
    void Fetch(const std::string& msFname) override;

    // Engine-internal views, for the engine's own tests.
    const Record& record() const { return m_rec; }
    const Record& snapshot() const { return m_snapshot; }
    bool isEditing() const { return m_editing; }

private:
    void SetAmountInput(vk::Amount Record::*field, const std::string& value);
    void SetDateInput(vk::DaySerial Record::*field, const std::string& value);
    void SetFlagInput(bool Record::*field, bool value);

    Record m_rec;
    Record m_snapshot;
    bool m_isNew = true;
    bool m_isDirty = false;
    bool m_isDeleted = false;
    bool m_editing = false;
    ComPtr<_Months> m_colMonths;
};

}  // namespace vesmora
