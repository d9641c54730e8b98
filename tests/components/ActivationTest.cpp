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
using testsupport::TempDir;
using vesmora::_Caldren;

namespace {

const std::string kLibrary = VESMORA_LIBRARY;
const std::string kHeader =
    "# Orlenwick component registry: class identifier, ProgID, library (tab-separated)\n";

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
    std::string registryFile = config.path() + "/Orlenwick/components.reg";

    void SetUp() override {
        ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
        activation::SetFallbackLibrary("libvesmora.so");
    }
    void TearDown() override { activation::SetFallbackLibrary("libvesmora.so"); }
    static void Register() {
        ASSERT_EQ(EntryPoint<VoidEntry>("DllRegisterServer")(), activation::kOk);
    }
};

TEST_F(ActivationTest, RegistryFileLiesUnderXdgConfigHomeElseHome) {
    EXPECT_EQ(activation::RegistryFilePath(), registryFile);
    ::setenv("HOME", "/home/someone", 1);
    ::setenv("XDG_CONFIG_HOME", "relative/dir", 1);
    EXPECT_EQ(activation::RegistryFilePath(), "/home/someone/.config/Orlenwick/components.reg");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(activation::RegistryFilePath(), "/home/someone/.config/Orlenwick/components.reg");
    // A relative home is no home: never a registry in the working folder.
    ::setenv("HOME", ".", 1);
    EXPECT_EQ(activation::RegistryFilePath().rfind("./.config", 0), std::string::npos);
    EXPECT_EQ(activation::RegistryFilePath()[0], '/');
}

TEST_F(ActivationTest, RegisteringReplacesTheEnginesLinesAndKeepsOthers) {
    std::filesystem::create_directories(config.path() + "/Orlenwick");
    const std::string others =
        "# mine\n{11111111-2222-3333-4444-555555555555}\tOther.Thing\t/opt/other.so\ngarbage\n";
    testsupport::WriteFile(registryFile, others);
    Register();
    Register();  // again: replaces, never duplicates
    std::string engine;
    for (const char* entry : {"{7571AC88-2EFC-42AC-A02E-16BA434B8697}\tVesmora.Caldren\t",
                              "{BE3B526B-A7C3-4B1D-A15F-3CC795AAA675}\tVesmora.Months\t",
                              "{20328E7E-F007-45C4-AF1C-3EB4A31FF840}\tVesmora.Monthly\t"})
        engine += entry + RealPath(kLibrary) + "\n";
    EXPECT_EQ(ReadFile(registryFile), kHeader + others + engine);
    ASSERT_EQ(EntryPoint<VoidEntry>("DllUnregisterServer")(), activation::kOk);
    EXPECT_EQ(ReadFile(registryFile), kHeader + others);
}

struct CreateCase {
    std::vector<std::string> f;  // a row of tests/data/activation.cases
};

std::ostream& operator<<(std::ostream& os, const CreateCase& c) { return os << c.f[0]; }

class Create : public ActivationTest, public ::testing::WithParamInterface<CreateCase> {};

// name  registry file  fallback library  class name  error  a piece of its source
TEST_P(Create, FindsTheLibraryOrSaysWhy) {
    const std::vector<std::string>& c = GetParam().f;
    std::filesystem::create_directories(config.path() + "/Orlenwick");
    if (c[1] == "register")
        Register();
    else if (c[1] == "big")
        testsupport::WriteFile(registryFile, std::string(1024 * 1024 + 1, '#'));
    else if (c[1] == "fifo")
        ::mkfifo(registryFile.c_str(), 0644);
    else if (c[1] == "folder")
        std::filesystem::create_directory(registryFile);
    else if (!c[1].empty())
        testsupport::WriteFile(registryFile, testsupport::Unescape(c[1]));
    testsupport::WriteFile(config / "libbroken.so", "not an ELF file");
    if (!c[2].empty())
        activation::SetFallbackLibrary(c[2] == "none"     ? "/nonexistent/libnothing.so"
                                       : c[2] == "engine" ? kLibrary
                                                          : config / "libbroken.so");
    const long error = std::stol(c[4]);
    try {
        void* object = activation::CreateObjectRaw(c[3], _Caldren::IID);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(error, 0);
        static_cast<activation::IUnknownLike*>(static_cast<_Caldren*>(object))->Release();
    } catch (const ComError& e) {
        EXPECT_EQ(e.Number(), error) << e.Source();
        EXPECT_NE(e.Source().find(c[5]), std::string::npos) << e.Source();
        EXPECT_EQ(e.Description(), activation::StandardErrorText(error));
    }
}

std::vector<CreateCase> CreateCases() {
    std::vector<CreateCase> cases;
    for (auto& row : testsupport::Rows(CALDREN_TEST_DATA "/activation.cases"))
        cases.push_back({row});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Rows, Create, ::testing::ValuesIn(CreateCases()),
                         [](const auto& p) { return p.param.f[0]; });

TEST_F(ActivationTest, ClassFactoryIsReferenceCountedAndCreatesNewObjects) {
    auto getClassObject = EntryPoint<GetClassObjectEntry>("DllGetClassObject");
    const char* factoryIid = activation::kIID_IClassFactory;
    void *raw = nullptr, *one = nullptr, *two = nullptr;
    ASSERT_EQ(getClassObject(vesmora::kCLSID_Caldren, factoryIid, &raw), activation::kOk);
    activation::ComPtr<activation::IClassFactory> factory(
        static_cast<activation::IClassFactory*>(raw));
    EXPECT_EQ(factory->AddRef(), 2u);
    EXPECT_EQ(factory->Release(), 1u);
    ASSERT_EQ(
        factory->CreateInstance(_Caldren::IID, &one) + factory->CreateInstance(_Caldren::IID, &two),
        0);
    activation::ComPtr<_Caldren> a(static_cast<_Caldren*>(one)), b(static_cast<_Caldren*>(two));
    EXPECT_NE(a.Get(), b.Get());
    EXPECT_EQ(getClassObject("{00000000-1111-2222-3333-444444444444}", factoryIid, &raw),
              activation::kClassNotAvailable);
    EXPECT_EQ(
        getClassObject(vesmora::kCLSID_Caldren, "{12345678-0000-0000-0000-000000000000}", &raw),
        activation::kNoInterface);
    EXPECT_EQ(getClassObject(nullptr, factoryIid, &raw), activation::kInvalidArg);
    EXPECT_EQ(raw, nullptr);
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
    ASSERT_EQ(EntryPoint<GetClassObjectEntry>("DllGetClassObject")(
                  vesmora::kProgID_Monthly, activation::kIID_IClassFactory, &raw),
              activation::kOk);
    EXPECT_EQ(canUnload(), activation::kFalse);
    static_cast<activation::IClassFactory*>(raw)->Release();
    EXPECT_EQ(canUnload(), activation::kOk);
}

}  // namespace
