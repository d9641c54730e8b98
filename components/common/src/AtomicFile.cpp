#include <common/AtomicFile.h>

#include <cerrno>
#include <cstdio>
#include <random>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
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

// True when `name` in the folder `dirFd` (links not followed) is the file open as `fd`.
bool StillNames(int dirFd, const char* name, int fd) {
    struct stat byName {
    }, byFd{};
    return ::fstatat(dirFd, name, &byName, AT_SYMLINK_NOFOLLOW) == 0 && ::fstat(fd, &byFd) == 0 &&
           byName.st_dev == byFd.st_dev && byName.st_ino == byFd.st_ino;
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
        // The file is ours while its flock is held: RemoveStrayTemporaryFiles leaves it alone.
        // Had it been taken for a dead writer's before the flock, its name is gone: another.
        if (fd >= 0) {
            while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {}
            if (!StillNames(AT_FDCWD, temp.c_str(), fd)) {
                ::close(fd);
                fd = -1;
            }
        }
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
    if (err == 0)
        err = Rename(temp, target);  // the flock held until the name is gone
    else
        ::unlink(temp.c_str());
    if (::close(fd) != 0 && err == 0) err = errno;
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
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (!IsTemporaryName(name, prefix)) continue;
        // A writer holds the flock of its temporary file until it is renamed or removed;
        // a file whose flock is free was left by a writer that died.
        const int fd = ::openat(dirFd, name.c_str(),
                                O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0) continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            StillNames(dirFd, name.c_str(), fd))
            ::unlinkat(dirFd, name.c_str(), 0);
        ::close(fd);
    }
    ::closedir(dir);
}

}  // namespace common
