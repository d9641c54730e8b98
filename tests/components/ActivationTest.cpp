// Activation through the real engine library: the registry file's exact bytes, creation by
// ProgID and by class identifier through the registry or the library beside the program,
// the errors, and the library's own entry points.

#include <activation/Activation.h>
#include <activation/Registry.h>
#include <vesmora/Vesmora.h>

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

using activation::ComError;
using activation::CreateObject;
using activation::HResult;
using testsupport::ReadFile;
using testsupport::ScopedEnv;
using testsupport::TempDir;
using vesmora::_Caldren;

namespace {

const std::string kLibrary = VESMORA_LIBRARY;
const std::string kHeader = "# Orlenwick component registry: class identifier, ProgID, library (tab-separated)\n";

// The library's own entry points, looked up in the already loaded (or now loaded) library.
template <class Fn>
Fn EntryPoint(const char* name) {
    void* handle = ::dlopen(kLibrary.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* sym = handle ? ::dlsym(handle, name) : nullptr;
    if (!sym) throw std::runtime_error(std::string("no ") + name);
    return reinterpret_cast<Fn>(sym);
}
using VoidEntry = HResult (*)();
using GetClassObjectEntry = HResult (*)(const char*, const char*, void**);

std::string RealPath(const std::string& p) {
    char* r = ::realpath(p.c_str(), nullptr);
    std::string out = r ? r : p;
    std::free(r);
    return out;
}

class ActivationTest : public ::testing::Test {
protected:
    TempDir config;
    ScopedEnv xdg{"XDG_CONFIG_HOME", config.path()};
    std::string registryFile = config.path() + "/Orlenwick/components.reg";

    void SetUp() override { activation::SetFallbackLibrary("libvesmora.so"); }
    void TearDown() override { activation::SetFallbackLibrary("libvesmora.so"); }
    static void Register() { ASSERT_EQ(EntryPoint<VoidEntry>("DllRegisterServer")(), activation::kOk); }
};

TEST_F(ActivationTest, RegistryFileLiesUnderXdgConfigHomeElseHome) {
    EXPECT_EQ(activation::RegistryFilePath(), registryFile);
    ScopedEnv home("HOME", std::string("/home/someone"));
    for (const std::optional<std::string>& xdg : {std::optional<std::string>(), std::optional<std::string>("rel/dir")}) {
        ScopedEnv noXdg("XDG_CONFIG_HOME", xdg);
        EXPECT_EQ(activation::RegistryFilePath(), "/home/someone/.config/Orlenwick/components.reg");
    }
}

TEST_F(ActivationTest, RegisteringReplacesTheEnginesLinesAndKeepsOthers) {
    std::filesystem::create_directories(config.path() + "/Orlenwick");
    const std::string others = "# mine\n{11111111-2222-3333-4444-555555555555}\tOther.Thing\t/opt/other.so\ngarbage\n";
    testsupport::WriteFile(registryFile, others);
    Register();
    Register();  // again: replaces, never duplicates
    const std::string lib = RealPath(kLibrary);
    EXPECT_EQ(ReadFile(registryFile), kHeader + others +
                                          "{7571AC88-2EFC-42AC-A02E-16BA434B8697}\tVesmora.Caldren\t" + lib + "\n"
                                          "{BE3B526B-A7C3-4B1D-A15F-3CC795AAA675}\tVesmora.Months\t" + lib + "\n"
                                          "{20328E7E-F007-45C4-AF1C-3EB4A31FF840}\tVesmora.Monthly\t" + lib + "\n");
    ASSERT_EQ(EntryPoint<VoidEntry>("DllUnregisterServer")(), activation::kOk);
    EXPECT_EQ(ReadFile(registryFile), kHeader + others);
}

struct CreateCase {
    const char* name;
    std::string registry;  // "register": the engine registers itself; "big", "fifo", "folder"
    std::string fallback;  // the fallback library ("" keeps the one beside the program)
    std::string progId;
    std::string iid;
    long error;            // 0: an object is created
    std::string source;    // a piece of the error's source
};

std::ostream& operator<<(std::ostream& os, const CreateCase& c) { return os << c.name; }

class Create : public ActivationTest, public ::testing::WithParamInterface<CreateCase> {};

TEST_P(Create, FindsTheLibraryOrSaysWhy) {
    const CreateCase& c = GetParam();
    std::filesystem::create_directories(config.path() + "/Orlenwick");
    if (c.registry == "register") Register();
    else if (c.registry == "big") testsupport::WriteFile(registryFile, std::string(1024 * 1024 + 1, '#'));
    else if (c.registry == "fifo") ::mkfifo(registryFile.c_str(), 0644);
    else if (c.registry == "folder") std::filesystem::create_directory(registryFile);
    else if (!c.registry.empty()) testsupport::WriteFile(registryFile, c.registry);
    if (c.fallback == "notelf") testsupport::WriteFile(config / "libbroken.so", "not an ELF file");
    if (!c.fallback.empty()) activation::SetFallbackLibrary(c.fallback == "notelf" ? config / "libbroken.so" : c.fallback);
    try {
        void* object = activation::CreateObjectRaw(c.progId, c.iid);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(c.error, 0);
        static_cast<activation::IUnknownLike*>(static_cast<_Caldren*>(object))->Release();
    } catch (const ComError& e) {
        EXPECT_EQ(e.Number(), c.error) << e.Source();
        EXPECT_NE(e.Source().find(c.source), std::string::npos) << e.Source();
        EXPECT_EQ(e.Description(), activation::StandardErrorText(c.error));
    }
}

const std::string kNone = "/nonexistent/libnothing.so";
const std::string kCaldren = _Caldren::IID;

INSTANTIATE_TEST_SUITE_P(
    Rows, Create,
    ::testing::Values(
        CreateCase{"ProgIdThroughTheRegistry", "register", kNone, "Vesmora.Caldren", kCaldren, 0, ""},
        CreateCase{"ProgIdAnyCase", "register", kNone, "vesmora.caldren", kCaldren, 0, ""},
        CreateCase{"ClassIdAnyCase", "register", kNone, "{7571ac88-2efc-42ac-a02e-16ba434b8697}", kCaldren, 0, ""},
        CreateCase{"UnregisteredFromBesideTheProgram", "", "", "Vesmora.Caldren", kCaldren, 0, ""},
        CreateCase{"FallbackAsAFullPath", "", kLibrary, vesmora::kCLSID_Caldren, kCaldren, 0, ""},
        CreateCase{"RegisteredLibraryGone", std::string(vesmora::kCLSID_Caldren) + "\tVesmora.Caldren\t/gone/lib.so\n",
                   "", "Vesmora.Caldren", kCaldren, 0, ""},
        CreateCase{"GarbageLinesIgnored", "garbage\n\t\t\n\x01\x02\x03\nVesmora.Caldren\n\n#\n", "", "Vesmora.Caldren",
                   kCaldren, 0, ""},
        CreateCase{"UnknownProgId", "register", "", "Vesmora.Nothing", kCaldren, 429,
                   "Activation.CreateObject(\"Vesmora.Nothing\"): "},
        CreateCase{"UnknownClassId", "", "", "{00000000-1111-2222-3333-444444444444}", kCaldren, 429, ""},
        CreateCase{"MissingLibrary", "", kNone, "Vesmora.Caldren", kCaldren, 429, "cannot load " + kNone},
        CreateCase{"NotALibrary", "", "notelf", "Vesmora.Caldren", kCaldren, 429, "libbroken.so"},
        CreateCase{"NoSuchInterface", "register", "", "Vesmora.Monthly", kCaldren, 430, ""},
        CreateCase{"EmptyName", "", "", "", kCaldren, 429, "no class name given"},
        CreateCase{"RegistryTooLarge", "big", "", "Vesmora.Caldren", kCaldren, 429, "is larger than 1 MiB"},
        CreateCase{"RegistryIsAPipe", "fifo", "", "Vesmora.Caldren", kCaldren, 429, "it is not a regular file"},
        CreateCase{"RegistryIsAFolder", "folder", "", "Vesmora.Caldren", kCaldren, 429, "it is not a regular file"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(ActivationTest, ClassFactoryIsReferenceCountedAndCreatesNewObjects) {
    auto getClassObject = EntryPoint<GetClassObjectEntry>("DllGetClassObject");
    const char* noIid = "{12345678-0000-0000-0000-000000000000}";
    void* raw = nullptr;
    ASSERT_EQ(getClassObject(vesmora::kCLSID_Caldren, activation::kIID_IClassFactory, &raw), activation::kOk);
    activation::ComPtr<activation::IClassFactory> factory(static_cast<activation::IClassFactory*>(raw));
    EXPECT_EQ(factory->AddRef(), 2u);
    EXPECT_EQ(factory->Release(), 1u);
    void* one = nullptr;
    void* two = nullptr;
    ASSERT_EQ(factory->CreateInstance(_Caldren::IID, &one), activation::kOk);
    ASSERT_EQ(factory->CreateInstance(_Caldren::IID, &two), activation::kOk);
    activation::ComPtr<_Caldren> a(static_cast<_Caldren*>(one)), b(static_cast<_Caldren*>(two));
    EXPECT_NE(a.Get(), b.Get());
    EXPECT_EQ(factory->CreateInstance(noIid, &one), activation::kNoInterface);
    EXPECT_EQ(one, nullptr);
    EXPECT_EQ(getClassObject("{00000000-1111-2222-3333-444444444444}", activation::kIID_IClassFactory, &raw),
              activation::kClassNotAvailable);
    EXPECT_EQ(raw, nullptr);
    EXPECT_EQ(getClassObject(vesmora::kCLSID_Caldren, noIid, &raw), activation::kNoInterface);
    EXPECT_EQ(getClassObject(nullptr, activation::kIID_IClassFactory, &raw), activation::kInvalidArg);
    EXPECT_EQ(getClassObject(vesmora::kCLSID_Caldren, activation::kIID_IClassFactory, nullptr), activation::kInvalidArg);
}

TEST_F(ActivationTest, CanUnloadOnlyWhenNoObjectOrFactoryIsAlive) {
    auto canUnload = EntryPoint<VoidEntry>("DllCanUnloadNow");
    ASSERT_EQ(canUnload(), activation::kOk) << "an engine object leaked from an earlier test";
    {
        auto calc = CreateObject<_Caldren>("Vesmora.Caldren");
        EXPECT_EQ(canUnload(), activation::kFalse);
    }
    EXPECT_EQ(canUnload(), activation::kOk);
    void* raw = nullptr;
    ASSERT_EQ(EntryPoint<GetClassObjectEntry>("DllGetClassObject")(vesmora::kProgID_Monthly,
                                                                     activation::kIID_IClassFactory, &raw),
              activation::kOk);
    EXPECT_EQ(canUnload(), activation::kFalse);
    static_cast<activation::IClassFactory*>(raw)->Release();
    EXPECT_EQ(canUnload(), activation::kOk);
}

}  // namespace
