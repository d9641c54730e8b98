#include <common/UserFolders.h>

#include <cstdlib>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace common {

namespace {

std::string WithoutTrailingSlash(std::string s) {
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

// The variable's value when it is set to an absolute path; relative paths count as unset.
const char* Env(const char* name) {
    const char* v = std::getenv(name);
    return v && v[0] == '/' ? v : nullptr;
}

// The home folder when it is known: $HOME, else the password database's entry.
const char* KnownHome() {
    if (const char* h = Env("HOME")) return h;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/')
        return pw->pw_dir;
    return nullptr;
}

// An XDG base folder: the variable, else home + fallback.
std::string XdgFolder(const char* name, const char* fallback) {
    if (const char* v = Env(name)) return WithoutTrailingSlash(v);
    return HomeFolder() + fallback;
}

bool IsFolder(const char* path) {
    struct stat st {};
    return ::stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string HomeFolder() {
    const char* home = KnownHome();
    return home ? WithoutTrailingSlash(home) : "/tmp";
}

std::string ConfigHome() { return XdgFolder("XDG_CONFIG_HOME", "/.config"); }

std::string MakerConfigFolder() { return ConfigHome() + "/" + kMakerFolder; }

std::string MakerDataFolder() {
    const std::string base = Env("APPDATA") ? WithoutTrailingSlash(Env("APPDATA"))
                                            : XdgFolder("XDG_DATA_HOME", "/.local/share");
    return base + "/" + kMakerFolder + "/CLD";
}

std::string TemporaryFolder() {
    for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR"})
        if (const char* v = Env(name); v && IsFolder(v)) return WithoutTrailingSlash(v);
    return "/tmp";
}

std::vector<std::string> OwnFolders() {
    std::vector<std::string> folders;
    if (const char* home = KnownHome()) folders.push_back(WithoutTrailingSlash(home));
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"})
        if (const char* v = Env(name)) folders.push_back(WithoutTrailingSlash(v));
    return folders;
}

}  // namespace common
