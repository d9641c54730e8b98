// The two files of a batch run, held so that runs side by side never spoil each other, and
// so that a run stopped at any moment leaves whole runs only.
//
// Run protocol of "/input <data> /output <report> /silent" (MainMod::RunSilent):
//   1. The report path is checked at once: a folder, pipe, device, a link to nothing, or a
//      file the program keeps beside its files (a data file's lock file, a report file's
//      append record, whatever name leads to it) is refused before anything is read,
//      written or waited for.
//   2. The data file is checked by name (a folder, pipe, device or a file larger than
//      1 MiB is refused, never opened) and locked for the whole run: an flock on its lock
//      file (DataFileLock.h, found through the file's resolved path), which is never
//      removed or replaced, so the lock holds whatever saves rename over the data file. The
//      wait is at most kLockWaitSeconds. While the lock file (or that of another name of
//      the file, a hard link) names a live holder (the windows have the file open) the run
//      lets go, waits, and fails after kWindowsWaitSeconds naming the holder; a stale
//      holder is cleared, and a lock file that holds no lock record is taken over and the
//      log says so. Holding the lock, the run removes the temporary files a killed save
//      left beside the file (common::RemoveStrayTemporaryFiles).
//   3. The analysis is loaded (once), calculated, and both reports are built in memory; the
//      analysis to save is a copy of it taken before the calculation (RouteOutput.h).
//   4. The reports are appended to the report file in one piece under its lock (flock,
//      exclusive, same bounded wait): first what a run that died in its append left is
//      cut off, then the append is recorded and flushed (AppendRecord.h), then the text is
//      written (stop signals held, StopSignals.h; a short write resumed) and flushed. A
//      failed write is cut back to the length measured under the lock.
//   5. The data file is saved (the profile store's atomic replace), stop signals held; then
//      the append record is emptied. If the save fails, the report file is cut back the
//      same way, still under its lock.
//   6. Both locks end with the process.
// A stop signal (StopSignals.h) noted before step 5 ends the run through its error path:
// the report file cut back, the data file as it was. A kill -9 or a power cut at any
// moment leaves at most the tail that the next run taking the report file's lock removes.
// Nothing is ever restored from an earlier copy: a failing run only takes back what it
// appended itself, while nobody else could append. A comparison ("/compare") only reads
// data files (a reader sees the old file or the new one, never a mixture) and appends
// under the report file's lock, recorded the same way.
//
// Failures are thrown as activation::ComError with the platform's file error numbers: 53
// file not found, 70 permission denied (also: locked too long by another run or held by
// the windows), 75 path/file access error (folder, pipe, device, too large, the report file
// is a data file of the run or a helper file), 76 path not found, 61 disk full, 57 device
// I/O error, 18 stopped by a signal; the source names the operation, the file and the
// reason. Standard library and POSIX only.
#pragma once

#include "AppendRecord.h"
#include "PosixFile.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>

namespace caldren::BatchFiles {

inline constexpr double kLockWaitSeconds = 30.0;
inline constexpr double kWindowsWaitSeconds = 5.0;
inline constexpr unsigned long long kMaxDataFileBytes = 1024ULL * 1024;

// Identity of a file (device and inode).
struct FileId {
    dev_t dev = 0;
    ino_t ino = 0;
    bool operator==(const FileId& o) const { return dev == o.dev && ino == o.ino; }
};

// Where a run's notes go (the error log): what it found wrong and set right on its way, as
// an error number, a text and the file concerned.
using Notes = std::function<void(long number, const std::string& text, const std::string& file)>;

// The data file of a batch run, locked from construction to destruction (step 2).
class DataFile {
public:
    explicit DataFile(const std::string& path, const Notes& notes = {},
                      double windowsWaitSeconds = kWindowsWaitSeconds);
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    FileId Id() const { return m_id; }

private:
    posix::UniqueFd m_lock;
    FileId m_id;
};

// The report file of a batch run or comparison (steps 1, 4 and 5).
class ReportFile {
public:
    // Checks the path at once (step 1).
    explicit ReportFile(std::string path, Notes notes = {});
    // An append neither committed nor taken back is taken back.
    ~ReportFile();
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;

    // Refuses a report path that names the file `id` (the data file `name` of the run).
    void RefuseSameAs(const FileId& id, const std::string& name) const;
    // Appends the text whole under the lock, which is then held until destruction, recorded
    // (AppendRecord) for the run of `dataFile` (empty for a comparison). A failure, or a
    // stop signal noted by the end of the write, takes back whatever reached the file and
    // throws.
    void Append(std::string_view text, const std::string& dataFile = {});
    // The run is complete (its data file saved): the appended text stays. Never throws.
    void Commit() noexcept;
    // Takes back the last Append that was not committed: the file is cut back to the length
    // it had then (a file the Append created is removed). Never throws.
    void TakeBack() noexcept;

private:
    std::string m_path;
    Notes m_notes;
    AppendRecord m_record;
    posix::UniqueFd m_fd;
    off_t m_before = -1;  // length measured under the lock before the append
    bool m_created = false;
};

// The temporary files a killed save of `dataFile` left beside it (".<name>.<8 hex>~"):
// removed, regular files only, those of live writers left alone.
void RemoveLeftTemporaryFiles(const std::string& dataFile);

}  // namespace caldren::BatchFiles
