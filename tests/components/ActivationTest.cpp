// Activation through the real engine library: registration, creation by ProgID and by
// class identifier, the fallback beside the program, and the errors.

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
using vesmora::_Monthly;
using vesmora::_Months;

namespace {

const std::string kLibrary = VESMORA_LIBRARY;

template <class F>
ComError ErrorOf(F&& body) {
    try {
        body();
    } catch (const ComError& e) {
        return e;
    }
    ADD_FAILURE() << "no error was raised";
    return ComError(0, "");
}

// The library's own entry points, looked up in the already loaded (or now loaded) library.
template <class Fn>
Fn EntryPoint(const char* name) {
    void* handle = ::dlopen(kLibrary.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) throw std::runtime_error(::dlerror());
    void* sym = ::dlsym(handle, name);
    if (!sym) throw std::runtime_error(std::string("no ") + name);
    return reinterpret_cast<Fn>(sym);
}
using VoidEntry = HResult (*)();
using GetClassObjectEntry = HResult (*)(const char*, const char*, void**);

class ActivationTest : public ::testing::Test {
protected:
    TempDir config;
    ScopedEnv xdg{"XDG_CONFIG_HOME", config.path()};
    std::string registryFile = config.path() + "/Orlenwick/components.reg";

    void SetUp() override { activation::SetFallbackLibrary("libvesmora.so"); }
    void TearDown() override { activation::SetFallbackLibrary("libvesmora.so"); }

    static void Register() { ASSERT_EQ(EntryPoint<VoidEntry>("DllRegisterServer")(), activation::kOk); }
    static void Unregister() {
        ASSERT_EQ(EntryPoint<VoidEntry>("DllUnregisterServer")(), activation::kOk);
    }
    // A library path that is never the engine, so only the registry can lead to it.
    static void NoFallback() { activation::SetFallbackLibrary("/nonexistent/libnothing.so"); }
};

std::string RealPath(const std::string& p) {
    char* r = ::realpath(p.c_str(), nullptr);
    std::string out = r ? r : p;
    std::free(r);
    return out;
}

TEST_F(ActivationTest, RegistryFileLiesUnderXdgConfigHome) {
    EXPECT_EQ(activation::RegistryFilePath(), registryFile);
    ScopedEnv noXdg("XDG_CONFIG_HOME", std::nullopt);
    ScopedEnv home("HOME", std::string("/home/someone"));
    EXPECT_EQ(activation::RegistryFilePath(), "/home/someone/.config/Orlenwick/components.reg");
    ScopedEnv relative("XDG_CONFIG_HOME", std::string("relative/dir"));
    EXPECT_EQ(activation::RegistryFilePath(), "/home/someone/.config/Orlenwick/components.reg");
}

TEST_F(ActivationTest, RegisterServerWritesTheThreeClassesWithTheLibraryPath) {
    Register();
    const std::string lib = RealPath(kLibrary);
    EXPECT_EQ(ReadFile(registryFile),
              "# Orlenwick component registry: class identifier, ProgID, library (tab-separated)\n"
              "{7571AC88-2EFC-42AC-A02E-16BA434B8697}\tVesmora.Caldren\t" + lib + "\n"
              "{BE3B526B-A7C3-4B1D-A15F-3CC795AAA675}\tVesmora.Months\t" + lib + "\n"
              "{20328E7E-F007-45C4-AF1C-3EB4A31FF840}\tVesmora.Monthly\t" + lib + "\n");
    Register();  // registering again replaces, never duplicates
    const std::string again = ReadFile(registryFile);
    EXPECT_EQ(std::count(again.begin(), again.end(), '\n'), 4);
}

TEST_F(ActivationTest, UnregisterRemovesOnlyTheEnginesClasses) {
    std::filesystem::create_directories(config.path() + "/Orlenwick");
    testsupport::WriteFile(registryFile, "# mine\n{11111111-2222-3333-4444-555555555555}\tOther.Thing\t/opt/other.so\n");
    Register();
    Unregister();
    EXPECT_EQ(ReadFile(registryFile),
              "# Orlenwick component registry: class identifier, ProgID, library (tab-separated)\n"
              "# mine\n{11111111-2222-3333-4444-555555555555}\tOther.Thing\t/opt/other.so\n");
}

TEST_F(ActivationTest, CreateByProgIdThroughTheRegistry) {
    Register();
    NoFallback();
    auto calc = CreateObject<_Caldren>("Vesmora.Caldren");
    ASSERT_TRUE(calc);
    calc->BeginEdit();
    calc->put_sName("Acme Tools, Inc.");
    EXPECT_EQ(calc->get_sName(), "Acme Tools, Inc.");
    auto months = CreateObject<_Months>("vesmora.months");  // ProgIDs match without case
    ASSERT_TRUE(months);
    EXPECT_EQ(months->get_Count(), 0);
    auto monthly = CreateObject<_Monthly>("Vesmora.Monthly");
    ASSERT_TRUE(monthly);
}

TEST_F(ActivationTest, CreateByClassIdentifierThroughTheRegistry) {
    Register();
    NoFallback();
    auto calc = CreateObject<_Caldren>(vesmora::kCLSID_Caldren);
    ASSERT_TRUE(calc);
    auto lower = CreateObject<_Caldren>("{7571ac88-2efc-42ac-a02e-16ba434b8697}");
    ASSERT_TRUE(lower);
    EXPECT_NE(calc.Get(), lower.Get());  // a new object each time
    auto months = CreateObject<_Months>(vesmora::kCLSID_Months);
    EXPECT_TRUE(months);
}

TEST_F(ActivationTest, UnregisteredClassIsCreatedFromTheLibraryBesideTheProgram) {
    // The test program is built into the program folder, beside the engine library.
    ASSERT_EQ(RealPath(activation::ProgramFolder() + "/libvesmora.so"), RealPath(kLibrary));
    EXPECT_FALSE(std::filesystem::exists(registryFile));
    auto byName = CreateObject<_Caldren>("Vesmora.Caldren");
    EXPECT_TRUE(byName);
    auto byId = CreateObject<_Monthly>(vesmora::kCLSID_Monthly);
    EXPECT_TRUE(byId);
}

TEST_F(ActivationTest, FallbackLibraryMayBeAFullPath) {
    activation::SetFallbackLibrary(kLibrary);
    EXPECT_TRUE(CreateObject<_Caldren>("Vesmora.Caldren"));
}

TEST_F(ActivationTest, RegisteredLibraryThatIsGoneFallsBackBesideTheProgram) {
    std::filesystem::create_directories(config.path() + "/Orlenwick");
    testsupport::WriteFile(registryFile, std::string(vesmora::kCLSID_Caldren) +
                                             "\tVesmora.Caldren\t/gone/libvesmora.so\n");
    EXPECT_TRUE(CreateObject<_Caldren>("Vesmora.Caldren"));
}

TEST_F(ActivationTest, UnknownProgIdIsError429) {
    Register();
    const ComError e = ErrorOf([] { (void)CreateObject<_Caldren>("Vesmora.Nothing"); });
    EXPECT_EQ(e.Number(), 429);
    EXPECT_EQ(e.Description(), "ActiveX component can't create object");
    EXPECT_EQ(e.Source().rfind("Activation.CreateObject(\"Vesmora.Nothing\"): ", 0), 0u) << e.Source();
}

TEST_F(ActivationTest, UnknownClassIdentifierIsError429) {
    const ComError e =
        ErrorOf([] { (void)CreateObject<_Caldren>("{00000000-1111-2222-3333-444444444444}"); });
    EXPECT_EQ(e.Number(), 429);
}

TEST_F(ActivationTest, MissingLibraryIsError429NamingTheLibrary) {
    NoFallback();
    const ComError e = ErrorOf([] { (void)CreateObject<_Caldren>("Vesmora.Caldren"); });
    EXPECT_EQ(e.Number(), 429);
    EXPECT_NE(e.Source().find("cannot load /nonexistent/libnothing.so"), std::string::npos) << e.Source();
}

TEST_F(ActivationTest, LibraryWithoutClassFactoryIsError429) {
    TempDir dir;
    const std::string notALibrary = dir / "libbroken.so";
    testsupport::WriteFile(notALibrary, "not an ELF file");
    activation::SetFallbackLibrary(notALibrary);
    const ComError e = ErrorOf([] { (void)CreateObject<_Caldren>("Vesmora.Caldren"); });
    EXPECT_EQ(e.Number(), 429);
    EXPECT_NE(e.Source().find(notALibrary), std::string::npos) << e.Source();
}

TEST_F(ActivationTest, ObjectWithoutTheAskedInterfaceIsError430) {
    Register();
    // A Monthly asked for as a Caldren.
    const ComError e = ErrorOf([] { (void)activation::CreateObjectRaw("Vesmora.Monthly", _Caldren::IID); });
    EXPECT_EQ(e.Number(), 430);
    EXPECT_EQ(e.Description(),
              "Class does not support Automation or does not support expected interface");
}

TEST_F(ActivationTest, EmptyNameIsError429) {
    EXPECT_EQ(ErrorOf([] { (void)CreateObject<_Caldren>(""); }).Number(), 429);
}

TEST_F(ActivationTest, GarbageRegistryLinesAreIgnored) {
    std::filesystem::create_directories(config.path() + "/Orlenwick");
    testsupport::WriteFile(registryFile, "garbage\n\t\t\n\x01\x02\x03\nVesmora.Caldren\n\n#\n");
    EXPECT_TRUE(CreateObject<_Caldren>("Vesmora.Caldren"));  // through the fallback
    Register();
    auto text = ReadFile(registryFile);
    EXPECT_NE(text.find("garbage\n"), std::string::npos);  // others' lines are kept
    EXPECT_NE(text.find("\tVesmora.Caldren\t"), std::string::npos);
}

TEST_F(ActivationTest, ClassFactoryIsReferenceCountedAndCreatesObjects) {
    auto getClassObject = EntryPoint<GetClassObjectEntry>("DllGetClassObject");
    void* raw = nullptr;
    ASSERT_EQ(getClassObject(vesmora::kCLSID_Caldren, activation::kIID_IClassFactory, &raw), activation::kOk);
    activation::ComPtr<activation::IClassFactory> factory(static_cast<activation::IClassFactory*>(raw));
    EXPECT_EQ(factory->AddRef(), 2u);
    EXPECT_EQ(factory->Release(), 1u);
    void* obj = nullptr;
    ASSERT_EQ(factory->CreateInstance(_Caldren::IID, &obj), activation::kOk);
    activation::ComPtr<_Caldren> calc(static_cast<_Caldren*>(obj));
    EXPECT_TRUE(calc);
    EXPECT_EQ(factory->CreateInstance("{12345678-0000-0000-0000-000000000000}", &obj), activation::kNoInterface);
    EXPECT_EQ(obj, nullptr);

    EXPECT_EQ(getClassObject("{00000000-1111-2222-3333-444444444444}", activation::kIID_IClassFactory, &raw),
              activation::kClassNotAvailable);
    EXPECT_EQ(raw, nullptr);
    EXPECT_EQ(getClassObject(vesmora::kCLSID_Caldren, "{12345678-0000-0000-0000-000000000000}", &raw),
              activation::kNoInterface);
    EXPECT_EQ(getClassObject(nullptr, activation::kIID_IClassFactory, &raw), activation::kInvalidArg);
    EXPECT_EQ(getClassObject(vesmora::kCLSID_Caldren, activation::kIID_IClassFactory, nullptr),
              activation::kInvalidArg);
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
    auto getClassObject = EntryPoint<GetClassObjectEntry>("DllGetClassObject");
    ASSERT_EQ(getClassObject(vesmora::kProgID_Monthly, activation::kIID_IClassFactory, &raw), activation::kOk);
    EXPECT_EQ(canUnload(), activation::kFalse);
    static_cast<activation::IClassFactory*>(raw)->Release();
    EXPECT_EQ(canUnload(), activation::kOk);
}

}  // namespace
