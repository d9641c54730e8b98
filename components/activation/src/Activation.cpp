// The loader: class name -> library -> class factory -> object.

#include <activation/Activation.h>
#include <activation/Registry.h>

#include <common/UserFolders.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

namespace activation {

namespace {

constexpr long kErrCannotCreate = 429;
constexpr long kErrNoInterface = 430;

using GetClassObjectFn = HResult (*)(const char* clsid, const char* iid, void** ppv);

std::mutex& Lock() {
    static std::mutex m;
    return m;
}

std::string& FallbackName() {
    static std::string name = "libvesmora.so";
    return name;
}

// Libraries loaded so far, by path. They stay loaded for the life of the process: objects
// handed out may outlive every reference the loader knows of.
std::map<std::string, void*>& Loaded() {
    static std::map<std::string, void*> libs;
    return libs;
}

[[noreturn]] void Fail(long number, const std::string& name, const std::string& why) {
    throw ComError(number, "Activation.CreateObject(\"" + name + "\"): " + why);
}

bool LooksLikeGuid(const std::string& s) {
    return s.size() == 38 && s.front() == '{' && s.back() == '}';
}

// The library's DllGetClassObject, loading the library on first use. On failure returns
// nullptr and sets `why`.
GetClassObjectFn EntryPoint(const std::string& path, std::string& why) {
    std::lock_guard<std::mutex> guard(Lock());
    void*& handle = Loaded()[path];
    if (!handle) {
        dlerror();
        handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* err = dlerror();
            why = "cannot load " + path + ": " + (err ? err : "unknown error");
            Loaded().erase(path);
            return nullptr;
        }
    }
    dlerror();
    void* sym = ::dlsym(handle, "DllGetClassObject");
    if (!sym) {
        const char* err = dlerror();
        why = path + " has no DllGetClassObject" + (err ? std::string(" (") + err + ")" : "");
        return nullptr;
    }
    return reinterpret_cast<GetClassObjectFn>(sym);
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::string RealPath(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    std::string out = real ? real : "";
    std::free(real);
    return out;
}

// Why a library the registry names may not be loaded; empty when it may. Only a library
// named by an absolute path that lies, links resolved, in the program folder or in one of
// the user's own folders is loaded: a registry file is only text, and code comes from
// nowhere else.
std::string RefusedLibrary(const std::string& library) {
    if (library.empty() || library[0] != '/') return "it is not named by an absolute path";
    const std::string real = RealPath(library);
    std::vector<std::string> allowed = common::OwnFolders();
    allowed.push_back(ProgramFolder());
    for (const std::string& folder : allowed) {
        const std::string base = RealPath(folder);
        if (!base.empty() && real.size() > base.size() && real.compare(0, base.size(), base) == 0 &&
            (base == "/" || real[base.size()] == '/'))
            return {};
    }
    return "it lies neither in the program folder nor in the user's own folders";
}

std::string FallbackPath() {
    std::string name;
    {
        std::lock_guard<std::mutex> guard(Lock());
        name = FallbackName();
    }
    if (name.empty() || name.find('/') != std::string::npos) return name;
    return ProgramFolder() + "/" + name;
}

std::string HResultText(HResult hr) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(hr));
    return buf;
}

}  // namespace

void* CreateObjectRaw(const std::string& progIdOrClsid, const std::string& iid) {
    return ClassObject(progIdOrClsid).CreateRaw(iid);
}

ClassObject::ClassObject(const std::string& progIdOrClsid) : m_name(progIdOrClsid) {
    const std::string& name = m_name;
    if (name.empty()) Fail(kErrCannotCreate, name, "no class name given");

    // Where the class lives: the registry, else the fallback library. Without a registry
    // entry the fallback is asked by the name given (its DllGetClassObject takes a class
    // identifier or a ProgID).
    std::string& library = m_library;
    std::string classId = name;
    std::string note;
    if (auto entry = registry::Find(name)) {
        if (entry->library.empty() || entry->library[0] != '/')
            note = "registered library " + entry->library +
                   " is refused: " + RefusedLibrary(entry->library) + "; ";
        else if (!FileExists(entry->library))
            note = "registered library " + entry->library + " is missing; ";
        else if (const std::string why = RefusedLibrary(entry->library); !why.empty())
            note = "registered library " + entry->library + " is refused: " + why + "; ";
        else {
            library = entry->library;
            classId = entry->clsid;
        }
    }
    if (library.empty()) {
        library = FallbackPath();
        if (library.empty())
            Fail(kErrCannotCreate, name,
                 note + "the class is not registered in " + RegistryFilePath());
    }

    std::string why;
    GetClassObjectFn getClassObject = EntryPoint(library, why);
    if (!getClassObject) Fail(kErrCannotCreate, name, note + why);

    void* factoryRaw = nullptr;
    HResult hr = getClassObject(classId.c_str(), kIID_IClassFactory, &factoryRaw);
    if (hr < 0 || !factoryRaw) {
        Fail(kErrCannotCreate, name,
             note + library + " does not serve the class" +
                 (LooksLikeGuid(name) ? std::string()
                                      : " (not registered in " + RegistryFilePath() + ")") +
                 " [" + HResultText(hr) + "]");
    }
    m_factory = ComPtr<IClassFactory>(static_cast<IClassFactory*>(factoryRaw));
}

void* ClassObject::CreateRaw(const std::string& iid) const {
    void* object = nullptr;
    const HResult hr = m_factory->CreateInstance(iid, &object);
    if (hr == kNoInterface) Fail(kErrNoInterface, m_name, "the object has no interface " + iid);
    if (hr < 0 || !object)
        Fail(kErrCannotCreate, m_name,
             "the class factory of " + m_library + " failed [" + HResultText(hr) + "]");
    return object;
}

void SetFallbackLibrary(const std::string& path) {
    std::lock_guard<std::mutex> guard(Lock());
    FallbackName() = path;
}

std::string ProgramFolder() {
    std::string buf(4096, '\0');
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0) return ".";
        if (static_cast<std::size_t>(n) < buf.size()) {
            buf.resize(static_cast<std::size_t>(n));
            break;
        }
        buf.resize(buf.size() * 2);
    }
    const auto slash = buf.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? std::string("/") : buf.substr(0, slash);
}

std::string RegistryFilePath() { return registry::RegistryPath(); }

}  // namespace activation
