// Reference counting and QueryInterface shared by the engine's classes.
#pragma once

#include <activation/Com.h>

#include <atomic>
#include <cstdint>
#include <string>

namespace vesmora {

// Count of live engine objects (DllCanUnloadNow).
void ObjectCreated() noexcept;
void ObjectDestroyed() noexcept;

// Implements IUnknownLike for a class Derived exposing interface Iface. The new object
// holds one reference, owned by its creator. Derived may add interfaces by defining
// `void* QueryExtra(const std::string& iid)` (returning an AddRef'd pointer or nullptr).
template <class Iface, class Derived>
class ComObject : public Iface {
public:
    void* QueryInterface(const std::string& iid) override {
        if (activation::SameGuid(iid, Iface::IID) ||
            activation::SameGuid(iid, activation::kIID_IUnknown)) {
            AddRef();
            return static_cast<Iface*>(this);
        }
        return static_cast<Derived*>(this)->QueryExtra(iid);
    }
    std::uint32_t AddRef() override { return ++m_refs; }
    std::uint32_t Release() override {
        const std::uint32_t left = --m_refs;
        if (left == 0) delete static_cast<Derived*>(this);
        return left;
    }
    void* QueryExtra(const std::string&) { return nullptr; }

protected:
    ComObject() noexcept { ObjectCreated(); }
    ~ComObject() override { ObjectDestroyed(); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

private:
    std::uint32_t m_refs = 1;
};

}  // namespace vesmora
