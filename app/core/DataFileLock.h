// The lock file that says who has a data file open.
//
// While the windows have a data file open, they hold a small lock file beside it:
// "<folder>/.<name>.lock" (for "/srv/clients/acme.cld": "/srv/clients/.acme.cld.lock").
// It names the holder, so that a second program opening the file can say who has it:
//
//   CaldrenCalc lock file
//   User=ann
//   Host=office-pc
//   Pid=4711
//   Since=1796588103
//   Boot=<the host's boot identifier>
//   Start=<the process's start time, clock ticks after boot>
//
// (UTF-8, CR LF; Since is in seconds after 1970-01-01 UTC). The file is created with
// O_EXCL | O_NOFOLLOW, so it never replaces or follows anything that lies there already.
//
// A lock is stale when its process is gone: same host, and no process with that id (or a
// process with that id that started at another time or before another boot). A stale lock
// is taken over by the next Acquire: the file is rewritten in place while an flock on it
// keeps other takers out, and a taker re-checks afterwards that the name still names the
// file it rewrote. A lock held on another host is never stale: this host cannot tell.
//
// Who uses it:
//   the windows   Acquire on Open and after Save As (state Ours: go on; Held: offer to
//                 open the file read-only or not at all, naming the holder), Release when
//                 the file is closed (New, Open of another file, Save As to another name,
//                 shutdown). Query for what a read-only window shows.
//   a batch run   Query only: while the windows hold the file it waits a few seconds,
//                 then fails naming the holder (BatchFiles.h). A batch run does not take
//                 this lock; batch runs keep out of each other with an flock on the data
//                 file itself.
// Standard library and POSIX only.
#pragma once

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
    Free,   // no lock file
    Ours,   // held by this process
    Held,   // held by another live process (or a process on another host)
    Stale,  // its process is gone
};

struct Status {
    State state = State::Free;
    // Ours: this process. Held, Stale: whoever the lock file names (empty fields when the
    // file cannot be read as a lock file, e.g. while its writer is still writing it).
    Holder holder;
    // After Acquire: the stale holder whose lock was taken over.
    std::optional<Holder> tookOver;
};

// "/srv/clients/.acme.cld.lock" for "/srv/clients/acme.cld".
std::string LockFilePath(const std::string& dataFile);

// This process as a holder (user, host, pid, now, boot, start).
Holder Self();

// Takes the lock: state Ours (taken now, already ours, or stale and taken over, with
// tookOver set) or Held (another holder). Throws activation::ComError when the lock file
// cannot be created or read (70 permission denied, e.g. a read-only folder; 75 when a
// link, folder or other non-file lies in its place; 76 when the folder is missing).
Status Acquire(const std::string& dataFile);

// Removes the lock file when it names this process; anything else is left alone.
// Never throws.
void Release(const std::string& dataFile);

// What the lock file says, without changing anything. Never throws: a lock file that
// cannot be read counts as Held by an unknown holder.
Status Query(const std::string& dataFile);

// "ann on office-pc (process 4711) since 12/06/2026 20:15:03" (local time).
std::string Describe(const Holder& holder);

}  // namespace caldren::DataFileLock
