// Creating objects of a component library by ProgID or class identifier.
//
// The library that serves a class is found through the per-user registry file
// ($XDG_CONFIG_HOME or ~/.config, "Orlenwick/components.reg") written by the library's
// DllRegisterServer; when the class is not registered there, the library named by the
// caller's fallback (normally the engine beside the running program) is tried. A
// registered library is loaded only when it is named by an absolute path and lies (links
// resolved) in the program folder or in one of the user's own folders (common::OwnFolders);
// otherwise it is passed over as a missing one is, and the error names why. The library
// is loaded once with dlopen and asked for a class factory (DllGetClassObject).
#pragma once

#include <activation/Com.h>

#include <string>

namespace activation {

// Creates an object of the class named by a ProgID ("Vesmora.Caldren") or a class
// identifier ("{7571AC88-...}") and returns it under interface iid (one reference).
// Throws ComError 429 ("ActiveX component can't create object") when the class cannot be
// found or the library cannot be loaded, and 430 when the object lacks the interface.
void* CreateObjectRaw(const std::string& progIdOrClsid, const std::string& iid);

template <class T>
ComPtr<T> CreateObject(const std::string& progIdOrClsid) {
    return ComPtr<T>(static_cast<T*>(CreateObjectRaw(progIdOrClsid, T::IID)));
}

// A class found once: its library and class factory looked up as CreateObjectRaw looks them
// up (the registry file read, the library loaded), so that each object made afterwards costs
// no look-up. Construction throws as CreateObjectRaw does; so does Create.
class ClassObject {
public:
    explicit ClassObject(const std::string& progIdOrClsid);

    void* CreateRaw(const std::string& iid) const;
    template <class T>
    ComPtr<T> Create() const {
        return ComPtr<T>(static_cast<T*>(CreateRaw(T::IID)));
    }

private:
    std::string m_name;     // as given
    std::string m_library;  // the library that serves the class
    ComPtr<IClassFactory> m_factory;
};

// Library file to try when a class is not in the registry file (a path, or a bare file
// name looked up in the running program's folder). Default: "libvesmora.so".
void SetFallbackLibrary(const std::string& path);

// Folder of the running program (from /proc/self/exe), without a trailing "/".
std::string ProgramFolder();

// Path of the per-user registry file.
std::string RegistryFilePath();

}  // namespace activation
