// Object model shared by the engine and the programs that load it: reference-counted
// interfaces, the error object that crosses the boundary, and an owning smart pointer.
//
// Every interface derives from IUnknownLike. An interface pointer handed out by a
// function (QueryInterface, a class factory, a property that returns an object) carries
// one reference that the receiver owns; ComPtr adopts it and releases it when done.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

namespace activation {

// Result codes of the exported entry points (HRESULT-like: negative is failure).
using HResult = std::int32_t;
constexpr HResult kOk = 0;
constexpr HResult kFalse = 1;
constexpr HResult kClassNotAvailable = -2147221231;  // 0x80040111
constexpr HResult kNoInterface = -2147467262;        // 0x80004002
constexpr HResult kFail = -2147467259;               // 0x80004005
constexpr HResult kInvalidArg = -2147024809;         // 0x80070057

// Identifier of an interface or a class: the canonical registry text
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", compared without regard to case.
using Guid = const char*;
bool SameGuid(const std::string& a, const std::string& b);

constexpr Guid kIID_IUnknown = "{00000000-0000-0000-C000-000000000046}";
constexpr Guid kIID_IClassFactory = "{00000001-0000-0000-C000-000000000046}";

class IUnknownLike {
public:
    // Returns the object under the asked interface with one more reference, or nullptr.
    virtual void* QueryInterface(const std::string& iid) = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;

protected:
    virtual ~IUnknownLike() = default;
};

class IClassFactory : public IUnknownLike {
public:
    static constexpr Guid IID = kIID_IClassFactory;
    // Creates a new object and returns it under the asked interface (one reference).
    virtual HResult CreateInstance(const std::string& iid, void** object) = 0;
};

// The error object: number, source and description, as raised by the engine and by
// every trapping procedure of the program. The source of a re-raised error is the
// trapping location, a carriage return (character 13) and the previous source.
class ComError : public std::exception {
public:
    ComError(long number, std::string source, std::string description = {});

    long Number() const noexcept { return m_number; }
    const std::string& Source() const noexcept { return m_source; }
    const std::string& Description() const noexcept { return m_description; }
    const char* what() const noexcept override { return m_description.c_str(); }

    // The same number, "location" + CR + the previous source, and the given description.
    ComError Rethrown(const std::string& location, const std::string& description) const;

private:
    long m_number;
    std::string m_source;
    std::string m_description;
};

// The platform's standard text for an error number (6 "Overflow", 11 "Division by zero",
// 13 "Type mismatch", 445 "Object doesn't support this action", ...). Used as the
// description of an error raised without one of its own. Empty when the number is unknown.
std::string StandardErrorText(long number);

// The platform's file error for an errno value: 76 path not found (ENOENT, ENOTDIR),
// 70 permission denied (EACCES, EPERM, EROFS, ETXTBSY), 61 disk full (ENOSPC, EDQUOT,
// EFBIG), 57 device I/O error (EIO), 52 bad file name (ENAMETOOLONG), else 75 path/file
// access error.
long FileErrorNumber(int err);

// Owning pointer to an interface. Adopts the reference it is given (no AddRef); copies
// AddRef, destruction and Reset Release.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    explicit ComPtr(T* adopt) noexcept : m_p(adopt) {}
    ComPtr(const ComPtr& o) noexcept : m_p(o.m_p) {
        if (m_p) m_p->AddRef();
    }
    ComPtr(ComPtr&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    ~ComPtr() { Reset(); }
    ComPtr& operator=(ComPtr o) noexcept {
        std::swap(m_p, o.m_p);
        return *this;
    }

    // Takes a new reference to a pointer the caller keeps owning.
    static ComPtr Share(T* p) noexcept {
        if (p) p->AddRef();
        return ComPtr(p);
    }

    void Reset() noexcept {
        if (T* p = std::exchange(m_p, nullptr)) p->Release();
    }
    T* Detach() noexcept { return std::exchange(m_p, nullptr); }
    T* Get() const noexcept { return m_p; }
    T* operator->() const noexcept { return m_p; }
    T& operator*() const noexcept { return *m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }

    // The same object under interface U (empty when it does not support U).
    template <class U>
    ComPtr<U> As() const {
        return m_p ? ComPtr<U>(static_cast<U*>(m_p->QueryInterface(U::IID))) : ComPtr<U>();
    }

private:
    T* m_p = nullptr;
};

}  // namespace activation
