// Helpers of the fuzz targets.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace fuzzsupport {

// Stops the run with a message: a broken invariant is a finding like a crash.
[[noreturn]] inline void Finding(const std::string& what) {
    std::fprintf(stderr, "FINDING: %s\n", what.c_str());
    std::abort();
}

// A file path in a private folder on a memory file system when there is one (/dev/shm),
// so that the flush of every save costs nothing; `name` tells files apart.
inline std::string ScratchFile(const std::string& name) {
    static const std::string folder = [] {
        struct stat st {};
        const bool shm = ::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode);
        std::string path = (shm ? "/dev/shm" : "/tmp") + std::string("/caldren-fuzz.") +
                           std::to_string(::getpid());
        ::mkdir(path.c_str(), 0700);
        return path;
    }();
    return folder + "/" + name;
}

// Writes the bytes to the path, replacing what was there.
inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) Finding("cannot write the scratch file " + path);
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace fuzzsupport
