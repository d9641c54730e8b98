#include "PosixFile.h"

#include <algorithm>
#include <cstdlib>

#include <dirent.h>
#include <fcntl.h>

namespace caldren::posix {

namespace {

std::string RealPath(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    std::string out = real ? real : "";
    std::free(real);
    return out;
}

}  // namespace

int NamesInFolder(const std::string& name, std::vector<std::string>& names) {
    names.assign(1, name);
    struct stat st {};
    if (::stat(name.c_str(), &st) != 0 || st.st_nlink < 2 || !S_ISREG(st.st_mode)) return 0;
    const std::size_t slash = name.rfind('/');
    const std::string folder = slash == 0 ? "/" : name.substr(0, slash);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    names.clear();
    while (const dirent* entry = ::readdir(dir)) {
        struct stat other {};
        if (entry->d_ino == st.st_ino &&
            ::fstatat(::dirfd(dir), entry->d_name, &other, AT_SYMLINK_NOFOLLOW) == 0 &&
            other.st_dev == st.st_dev && other.st_ino == st.st_ino)
            names.push_back(name.substr(0, slash + 1) + entry->d_name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    if (names.empty()) names.push_back(name);
    return names.size() < st.st_nlink ? EMLINK : 0;
}

std::string Resolved(const std::string& path) {
    std::string name = RealPath(path);
    if (!name.empty()) return name;
    // A file still to be made (or a link to nothing): its folder resolved.
    const std::size_t slash = path.rfind('/');
    const std::string folder = RealPath(slash == std::string::npos ? "."
                                        : slash == 0               ? "/"
                                                                   : path.substr(0, slash));
    const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder.empty() ? path : (folder == "/" ? "" : folder) + "/" + file;
}

int OneName(const std::string& path, std::string& name) {
    name = Resolved(path);
    std::vector<std::string> names;
    const int err = NamesInFolder(name, names);
    if (err == 0) name = names.front();
    return err;
}

}  // namespace caldren::posix
