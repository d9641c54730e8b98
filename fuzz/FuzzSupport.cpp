#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include <sys/stat.h>
#include <unistd.h>

namespace fuzzsupport {

std::string ScratchFile(const std::string& name) {
    static const std::string folder = [] {
        struct stat st {};
        std::string base =
            ::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) ? "/dev/shm" : "/tmp";
        std::string path = base + "/caldren-fuzz." + std::to_string(::getpid());
        ::mkdir(path.c_str(), 0700);
        return path;
    }();
    return folder + "/" + name;
}

void WriteBytes(const std::string& path, const unsigned char* data, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) Finding("cannot write the scratch file " + path);
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Finding(const std::string& what) {
    std::fprintf(stderr, "FINDING: %s\n", what.c_str());
    std::abort();
}

}  // namespace fuzzsupport
