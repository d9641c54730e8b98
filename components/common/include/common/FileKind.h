// FileKind: what a path names, in the words the program's messages use ("it is a pipe").
#pragma once

#include <sys/stat.h>

namespace common {

// "a folder", "a pipe", "a device", "a socket" or "a link" for what is not a regular file;
// "not a regular file" for anything else that is not one; empty for a regular file.
inline const char* FileKind(mode_t mode) {
    if (S_ISREG(mode)) return "";
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a pipe";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISLNK(mode)) return "a link";
    return "not a regular file";
}

}  // namespace common
