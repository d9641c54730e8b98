// The engine as an in-process component server: the four exported entry points.
//
// DllGetClassObject hands out a class factory for Caldren, Months or Monthly. The class is
// named by its class identifier or, for a loader that found no registration, by its ProgID
// ("Vesmora.Caldren"). Each call makes a new, reference-counted factory; the library may
// be unloaded only when no engine object, no factory and no server lock is alive.
//
// DllRegisterServer records the three classes with this library's own path in the
// per-user registry file; DllUnregisterServer removes them.

#include <activation/Com.h>
#include <activation/Registry.h>

#include "Factories.h"

#include <atomic>
#include <climits>
#include <cstdlib>
#include <new>
#include <string>

#include <dlfcn.h>

#define VESMORA_EXPORT extern "C" __attribute__((visibility("default")))

namespace vesmora {
namespace {

using activation::HResult;
using activation::IClassFactory;
using activation::IUnknownLike;

std::atomic<long> g_liveFactories{0};

enum class ClassKind { Caldren, Months, Monthly };

struct ClassInfo {
    ClassKind kind;
    const char* clsid;
    const char* progId;
};

constexpr ClassInfo kClasses[] = {
    {ClassKind::Caldren, kCLSID_Caldren, kProgID_Caldren},
    {ClassKind::Months, kCLSID_Months, kProgID_Months},
    {ClassKind::Monthly, kCLSID_Monthly, kProgID_Monthly},
};

const ClassInfo* FindClass(const std::string& name) {
    for (const ClassInfo& c : kClasses)
        if (activation::SameGuid(name, c.clsid) || activation::SameGuid(name, c.progId)) return &c;
    return nullptr;
}

IUnknownLike* NewObject(ClassKind kind) {
    switch (kind) {
        case ClassKind::Caldren:
            return NewCaldren();
        case ClassKind::Months:
            return NewMonths();
        case ClassKind::Monthly:
            return NewMonthly();
    }
    return nullptr;
}

class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(ClassKind kind) : m_kind(kind) { ++g_liveFactories; }

    void* QueryInterface(const std::string& iid) override {
        if (activation::SameGuid(iid, activation::kIID_IUnknown) ||
            activation::SameGuid(iid, activation::kIID_IClassFactory)) {
            AddRef();
            return static_cast<IClassFactory*>(this);
        }
        return nullptr;
    }
    std::uint32_t AddRef() override { return ++m_refs; }
    std::uint32_t Release() override {
        const std::uint32_t left = --m_refs;
        if (left == 0) delete this;
        return left;
    }

    HResult CreateInstance(const std::string& iid, void** object) override {
        if (!object) return activation::kInvalidArg;
        *object = nullptr;
        try {
            IUnknownLike* created = NewObject(m_kind);
            if (!created) return activation::kFail;
            void* asked = created->QueryInterface(iid);
            created->Release();
            if (!asked) return activation::kNoInterface;
            *object = asked;
            return activation::kOk;
        } catch (const std::bad_alloc&) {
            return static_cast<HResult>(0x8007000E);  // out of memory
        } catch (...) {
            return activation::kFail;
        }
    }

private:
    ~ClassFactory() override { --g_liveFactories; }

    ClassKind m_kind;
    std::atomic<std::uint32_t> m_refs{1};
};

// This library's own file, as an absolute path.
std::string OwnPath() {
    Dl_info info{};
    if (!::dladdr(reinterpret_cast<void*>(&FindClass), &info) || !info.dli_fname) return {};
    if (char* real = ::realpath(info.dli_fname, nullptr)) {
        std::string path(real);
        std::free(real);
        return path;
    }
    return info.dli_fname;
}

}  // namespace
}  // namespace vesmora

VESMORA_EXPORT activation::HResult DllGetClassObject(const char* clsid, const char* iid,
                                                     void** ppv) {
    using namespace vesmora;
    if (!ppv) return activation::kInvalidArg;
    *ppv = nullptr;
    if (!clsid || !iid) return activation::kInvalidArg;
    try {
        const ClassInfo* info = FindClass(clsid);
        if (!info) return activation::kClassNotAvailable;
        auto* factory = new ClassFactory(info->kind);
        void* asked = factory->QueryInterface(iid);
        factory->Release();
        if (!asked) return activation::kNoInterface;
        *ppv = asked;
        return activation::kOk;
    } catch (...) {
        return activation::kFail;
    }
}

VESMORA_EXPORT activation::HResult DllCanUnloadNow() {
    using namespace vesmora;
    return LiveObjectCount() == 0 && ServerLockCount() == 0 && g_liveFactories.load() == 0
               ? activation::kOk
               : activation::kFalse;
}

VESMORA_EXPORT activation::HResult DllRegisterServer() {
    using namespace vesmora;
    try {
        const std::string path = OwnPath();
        if (path.empty()) return activation::kFail;
        std::vector<activation::registry::ClassEntry> entries;
        for (const ClassInfo& c : kClasses) entries.push_back({c.clsid, c.progId, path});
        return activation::registry::Register(entries) == 0 ? activation::kOk : activation::kFail;
    } catch (...) {
        return activation::kFail;
    }
}

VESMORA_EXPORT activation::HResult DllUnregisterServer() {
    using namespace vesmora;
    try {
        std::vector<std::string> names;
        for (const ClassInfo& c : kClasses) {
            names.emplace_back(c.clsid);
            names.emplace_back(c.progId);
        }
        return activation::registry::Unregister(names) == 0 ? activation::kOk : activation::kFail;
    } catch (...) {
        return activation::kFail;
    }
}
