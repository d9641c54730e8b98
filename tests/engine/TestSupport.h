// Shared helpers of the engine tests: objects, scratch files and error checks.
#pragma once

#include "Caldren.h"
#include "EngineErrors.h"
#include "Factories.h"
#include "Months.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

namespace enginetest {

using namespace vesmora;

inline ComPtr<Caldren> NewRecord() { return ComPtr<Caldren>(static_cast<Caldren*>(NewCaldren())); }

// A private folder for one test, removed afterwards.
class ScratchDir {
public:
    ScratchDir() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/vesmora-XXXXXX";
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Runs f and returns the error it raised; fails the test when it raised none.
inline ComError CatchError(const std::function<void()>& f) {
    try {
        f();
    } catch (const ComError& e) {
        return e;
    }
    ADD_FAILURE() << "no error raised";
    return ComError(0, "");
}

constexpr char CR = '\r';

}  // namespace enginetest
