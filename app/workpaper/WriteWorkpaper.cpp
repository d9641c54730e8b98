// The entry point of libcaldrenworkpaper.so: the workbook laid out in a temporary file,
// then put in place of the target in one step.
#include "Sheets.h"
#include "WorkpaperEntry.h"

#include <activation/Com.h>
#include <common/AtomicFile.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>

#include <unistd.h>

namespace {

constexpr const char* kLocation = "Workpaper.WriteWorkpaper";
constexpr const char* kDescription = "Caldren Formula Calculator";

// A file of our own in the temporary folder, removed when done.
class TemporaryFile {
public:
    TemporaryFile() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "workpaper-XXXXXX").string();
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0) FileError(errno, pattern);
        ::close(fd);
        m_path = pattern;
    }
    ~TemporaryFile() { ::unlink(m_path.c_str()); }
    const std::string& Path() const { return m_path; }

    [[noreturn]] static void FileError(int err, const std::string& path) {
        throw activation::ComError(activation::FileErrorNumber(err),
                                   "\"" + path + "\": " + std::strerror(err), kDescription);
    }

private:
    std::string m_path;
};

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in && !in.eof()) TemporaryFile::FileError(EIO, path);
    return bytes;
}

}  // namespace

extern "C" void CaldrenWriteWorkpaper(vesmora::_Caldren& calc, const std::string& path) {
    using namespace workpaper;
    try {
        const Figures f = ReadFigures(calc);
        const TemporaryFile temporary;
        Workbook book(temporary.Path());
        WriteInputs(book, f);
        const MonthsLayout months = WriteMonths(book, f);
        if (f.doPeak) WritePeak(book, f, months);
        if (f.doAve) WriteAverage(book, f);
        WriteSummary(book, f);
        book.Close();
        if (const int err = common::WriteFileAtomically(path, Bytes(temporary.Path())))
            TemporaryFile::FileError(err, path);
    } catch (const activation::ComError& e) {
        throw e.Rethrown(kLocation, kDescription);
    } catch (const std::bad_alloc&) {
        throw activation::ComError(7, activation::StandardErrorText(7))
            .Rethrown(kLocation, kDescription);
    } catch (const std::exception& e) {
        throw activation::ComError(5, e.what()).Rethrown(kLocation, kDescription);
    }
}
