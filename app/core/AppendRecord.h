// AppendRecord: the record of an append in progress, so that the next run on a report file
// can take back what a run killed during its append (kill -9, a power cut) left behind.
//
// Beside a report file lies ".<name>.append" (beside its one name, PosixFile.h: links
// resolved, for "/srv/out/r.txt" "/srv/out/.r.txt.append"); it is created when first
// needed, never followed when a link lies in its place, and stays. Empty means no append is
// in progress. Every change to it is made under the report file's flock:
//
//   1. Before anything is appended, the run writes the record and flushes it (fdatasync):
//        CaldrenCalc append record
//        Device=<the report file's device>
//        Inode=<its inode>
//        Offset=<its length before the append>
//        Length=<the number of bytes to append>
//        Pid=<the run's process>
//        Data=<the run's data file, when it has one>
//      (UTF-8, LF.) A record that was not flushed whole was never followed by an append.
//   2. The run appends and flushes the report file.
//   3. Only once the run is complete (a batch run: after its data file's save; a
//      comparison: after its append) is the record emptied and flushed. A run that fails
//      cuts the report file back to Offset first, then empties the record.
//
// A run that takes the report file's flock and finds the record not empty (Recover) knows
// that the run which wrote it died before it was complete: the bytes from Offset on are a
// cut-off report, or whole reports of a run whose data file was never saved. They are cut
// off (ftruncate, flushed) before anything is appended, and the error log says so. A
// record of another file (the report file was replaced) or one that does not parse is
// only emptied; when the file has grown beyond Offset + Length (something wrote after the
// tail without this protocol) nothing is cut, since those bytes are not the dead run's,
// and the error log says so. A run killed after its data file's save but before step 3
// loses its reports though its file was saved (the save only wrote this program's
// version): its caller saw it killed and runs it again.
//
// Standard library and POSIX only.
#pragma once

#include "PosixFile.h"

#include <string>

#include <sys/types.h>

namespace caldren {

class AppendRecord {
public:
    // The record of the report file `reportPath`; not opened yet.
    explicit AppendRecord(std::string reportPath);

    // ".../.<name>.append" of a report file's one name (links resolved); empty when the
    // report file has names (hard links) in other folders.
    static std::string PathFor(const std::string& reportPath);

    // Opens the record, creating it (and flushing its folder) when missing. False when its
    // folder cannot be written (the run goes on without one). Throws activation::ComError
    // 75 when a link or anything but a regular file lies in its place, or when the report
    // file has names in other folders.
    bool Open();

    // What a run that died left in the report file open (and flocked) as `reportFd`: the
    // tail cut off as described above. Returns a note for the log (empty when the record
    // was empty or only emptied).
    std::string Recover(int reportFd);

    // Step 1 for an append of `length` bytes at `offset` of the report file `reportFd`.
    // Throws activation::ComError when it cannot be written and flushed.
    void Begin(int reportFd, off_t offset, std::size_t length, const std::string& dataFile);

    // Empties the record and flushes it (nothing when it is not open). Never throws.
    void Clear() noexcept;

    // Removes the record file (when the report file it belongs to was removed). Never throws.
    void Remove() noexcept;

    const std::string& Path() const { return m_path; }

private:
    std::string m_report;
    std::string m_path;
    posix::UniqueFd m_fd;
};

}  // namespace caldren
