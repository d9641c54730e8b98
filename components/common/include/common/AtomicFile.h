// AtomicFile: a file replaced as one step. The new bytes go to a temporary file beside the
// target (".<name>.<random>~", the name cut to 200 bytes so the temporary name stays within
// the file system's limit), which is flushed to disk and renamed over the target; then the
// folder is flushed. An interrupted write leaves the old file whole; at worst a stray
// temporary file remains beside it (RemoveStrayTemporaryFiles). Both functions return 0 or
// the errno value of the step that failed, and remove their temporary file on failure.
#pragma once

#include <string>
#include <string_view>

#include <sys/stat.h>

namespace common {

// Writes `bytes` as the new content of `target` (no link is followed: the caller passes the
// file it means). The new file gets `mode` (less the umask) or, with `keep`, the old file's
// permissions and, where allowed, its owner. EEXIST: no free temporary name was found.
int WriteFileAtomically(const std::string& target, std::string_view bytes,
                        const struct stat* keep = nullptr, mode_t mode = 0666);

// Moves a finished temporary file (written by someone else, e.g. a printer) over `target`:
// flushes it, renames it and flushes the folder.
int MoveIntoPlace(const std::string& temporary, const std::string& target);

// Removes the temporary files that interrupted writes of `target` left beside it (regular
// files named ".<name>.<8 hex digits>~", links never followed). A writer holds an flock on
// its temporary file until it is renamed or removed, so only the files of writers that
// died are removed: safe to call at any time, by any command.
void RemoveStrayTemporaryFiles(const std::string& target);

}  // namespace common
