#include <common/AtomicFile.h>

#include <cerrno>
#include <cstdio>
#include <random>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace common {

namespace {

// ".<name>." of a target: the start of its temporary files' names.
std::string TemporaryPrefix(const std::string& target) {
    const auto slash = target.rfind('/');
    return "." + (slash == std::string::npos ? target : target.substr(slash + 1)).substr(0, 200) +
           ".";
}

bool IsTemporaryName(const std::string& name, const std::string& prefix) {
    if (name.size() != prefix.size() + 9 || name.compare(0, prefix.size(), prefix) != 0 ||
        name.back() != '~')
        return false;
    for (std::size_t i = prefix.size(); i < prefix.size() + 8; ++i) {
        const char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".")
                                      : (slash == 0 ? "/" : path.substr(0, slash));
}

void FlushFolder(const std::string& path) {
    if (int dirFd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        dirFd >= 0) {
        (void)::fsync(dirFd);
        ::close(dirFd);
    }
}

int WriteAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        done += static_cast<std::size_t>(w);
    }
    return 0;
}

// The flushed temporary file renamed over the target, then the folder flushed.
int Rename(const std::string& temporary, const std::string& target) {
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(temporary.c_str());
        return err;
    }
    FlushFolder(target);
    return 0;
}

}  // namespace

int WriteFileAtomically(const std::string& target, std::string_view bytes, const struct stat* keep,
                        mode_t mode) {
    const auto slash = target.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::random_device rd;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        char suffix[20];
        std::snprintf(suffix, sizeof suffix, "%08x~", static_cast<unsigned>(rd()));
        temp = folder + TemporaryPrefix(target) + suffix;
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd < 0 && errno != EEXIST) return errno;
    }
    if (fd < 0) return EEXIST;

    int err = 0;
    if (keep) {
        // The replaced file's permissions and, where allowed, its owner.
        if (::fchmod(fd, keep->st_mode & 07777) != 0) err = errno;
        if (err == 0 && (keep->st_uid != ::geteuid() || keep->st_gid != ::getegid()))
            (void)!::fchown(fd, keep->st_uid, keep->st_gid);
    }
    if (err == 0) err = WriteAll(fd, bytes);
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err == 0) return Rename(temp, target);
    ::unlink(temp.c_str());
    return err;
}

int MoveIntoPlace(const std::string& temporary, const std::string& target) {
    int err = 0;
    if (int fd = ::open(temporary.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW); fd < 0) {
        err = errno;
    } else {
        if (::fsync(fd) != 0) err = errno;
        ::close(fd);
    }
    if (err == 0) return Rename(temporary, target);
    ::unlink(temporary.c_str());
    return err;
}

void RemoveStrayTemporaryFiles(const std::string& target) {
    const std::string prefix = TemporaryPrefix(target);
    DIR* dir = ::opendir(FolderOf(target).c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        struct stat st {};
        if (IsTemporaryName(name, prefix) &&
            ::fstatat(::dirfd(dir), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode))
            ::unlinkat(::dirfd(dir), name.c_str(), 0);
    }
    ::closedir(dir);
}

}  // namespace common
