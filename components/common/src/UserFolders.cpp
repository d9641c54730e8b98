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

// The variable's value when it is set and not empty.
const char* Env(const char* name) {
    const char* v = std::getenv(name);
    return v && *v ? v : nullptr;
}

// An XDG base folder: the variable when it holds an absolute path, else home + fallback.
std::string XdgFolder(const char* name, const char* fallback) {
    if (const char* v = Env(name); v && v[0] == '/') return WithoutTrailingSlash(v);
    return HomeFolder() + fallback;
}

bool IsFolder(const char* path) {
    struct stat st {};
    return ::stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string HomeFolder() {
    if (const char* h = Env("HOME")) return WithoutTrailingSlash(h);
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && *pw->pw_dir)
        return WithoutTrailingSlash(pw->pw_dir);
    return "/tmp";
}

std::string ConfigHome() { return XdgFolder("XDG_CONFIG_HOME", "/.config"); }

std::string MakerConfigFolder() { return ConfigHome() + "/" + kMakerFolder; }

std::string MakerDataFolder() {
    const std::string base =
        Env("APPDATA") ? std::string(Env("APPDATA")) : XdgFolder("XDG_DATA_HOME", "/.local/share");
    return base + "/" + kMakerFolder + "/CLD";
}

std::string TemporaryFolder() {
    for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR"})
        if (const char* v = Env(name); v && IsFolder(v)) return v;
    return "/tmp";
}

}  // namespace common
