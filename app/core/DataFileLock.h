// The lock file of a data file: who has it open, and the lock batch runs hold.
//
// Beside every data file that has been opened or run lies a small lock file,
// "<folder>/.<name>.lock" (for "/srv/clients/acme.cld": "/srv/clients/.acme.cld.lock"),
// found through the file itself: beside its resolved path, so that a symbolic link to the
// file (or to its folder) leads to the same lock file. A hard link is another name of the
// same file, with a lock file of its own (a save renames a new file over one name and so
// parts them): whoever takes a data file reads the lock files of its other names in its
// folder too, and one naming a live holder holds the file; a batch run refuses a data file
// with names in other folders, whose lock files it cannot find.
// The lock file is created when first needed (O_NOFOLLOW: a link in its place is never
// followed) and never removed, so an flock on it means the same file to everybody,
// whatever saves rename over the data file meanwhile. Every change to it is made while
// holding that flock.
//
// Its content says who has the data file open in the windows; empty means nobody:
//
//   CaldrenCalc lock file
//   User=ann
//   Host=office-pc
//   Pid=4711
//   Since=1796588103
//   Boot=<the host's boot identifier>
//   Start=<the process's start time, clock ticks after boot>
//
// (UTF-8, CR LF; Since in seconds after 1970-01-01 UTC.) A holder is stale when its process
// is gone: same host, and no process with that id, or one that started at another time or
// before another boot. A stale holder is taken over by the next Acquire. A holder on another
// host is never stale: this host cannot tell. Only the first 4 KiB of a lock file are read;
// a lock file that holds anything but a lock record (more than 4 KiB, or text that does not
// parse) names no holder: it is stale at once, and the batch run that takes it over logs so.
//
// Who uses it:
//   the windows   Acquire on Open and after Save As (Ours: go on; Held: offer to open the
//                 file read-only or not at all, naming the holder), Release when the file
//                 is closed (New, Open of another file, Save As to another name, shutdown),
//                 Query for what a read-only window shows. The flock is held only for the
//                 moment of the change.
//   a batch run   holds the flock for its whole run (BatchFiles.h), so batch runs on one
//                 file take turns; while the content names a live holder it lets go,
//                 waits, and fails after a few seconds naming the holder.
// Standard library and POSIX only.
#pragma once

#include "PosixFile.h"

#include <cstdint>
#include <optional>
#include <string>

namespace caldren::DataFileLock {

struct Holder {
    std::string user;
    std::string host;
    long pid = 0;
    std::int64_t since = 0;  // seconds after 1970-01-01 UTC
    std::string boot;        // boot identifier of the host (empty when unknown)
    std::string start;       // start time of the process (empty when unknown)
};

enum class State {
    Free,   // nobody has the file open
    Ours,   // this process has it open
    Held,   // another live process has it open (or one on another host, or the lock file
            // is busy or unreadable)
    Stale,  // the process that had it open is gone
};

struct Status {
    State state = State::Free;
    // Ours, Held, Stale: whoever the lock file names (empty fields when unknown).
    Holder holder;
    // After Acquire: the stale holder that was taken over.
    std::optional<Holder> tookOver;
    // Stale because the lock file held something that is no lock record.
    bool garbage = false;
};

// "/srv/clients/.acme.cld.lock" for "/srv/clients/acme.cld" (links resolved).
std::string LockFilePath(const std::string& dataFile);

// What the lock files of the data file's other names (hard links in its folder) say: Held,
// naming the holder, when one of them names a live holder; Free otherwise. `elsewhere` is
// set when the file has names in other folders too.
Status OtherNames(const std::string& dataFile, bool& elsewhere);

// This process as a holder (user, host, pid, now, boot, start).
Holder Self();

// Takes the data file for this process: Ours (taken now, already ours, or taken over from
// a stale holder, with tookOver set) or Held (by another holder; also when the lock file
// stays busy for `waitSeconds`, as while batch runs work on the file). Throws
// activation::ComError when the lock file cannot be created or written (70 permission
// denied, e.g. a read-only folder; 75 when a link, folder or other non-file lies in its
// place; 76 when the folder is missing).
Status Acquire(const std::string& dataFile, double waitSeconds = 5.0);

// Gives the data file back when the lock file names this process. Never throws.
void Release(const std::string& dataFile);

// What the lock file says, without changing anything. Never throws: a lock file that
// cannot be read counts as Held by an unknown holder.
Status Query(const std::string& dataFile);

// "ann on office-pc (process 4711) since 12/06/2026 20:15:03" (local time).
std::string Describe(const Holder& holder);

// ---- for the batch run's lock (BatchFiles.h) ---------------------------------------------

// Opens the lock file, creating it when missing; read-only when this user may not write
// it. An empty descriptor with errno when it can neither be opened nor created (a read-only
// folder), with ELOOP when a link lies in its place, or with EINVAL when a folder or other
// non-file does.
posix::UniqueFd Open(const std::string& dataFile);

// What the lock file open as `fd` says (its first 4 KiB read from its start).
Status Read(int fd);

// Empties the lock file open as `fd` (a stale holder's entry). Needs the flock.
void Clear(int fd);

}  // namespace caldren::DataFileLock
