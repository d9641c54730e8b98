// The summary written as CSV (streamed) or as a workbook (by the library loaded on demand),
// each into a temporary file beside the target that then replaces it in one step.
#include "Summary.h"
#include "SummaryBook.h"

#include <activation/Activation.h>
#include <activation/Com.h>
#include <common/AtomicFile.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

namespace caldren::summary {

namespace {

constexpr const char* kLocation = "Summary.WriteSummaryFile";
constexpr long kErrCannotCreate = 429;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool EndsWith(const std::string& text, const char* end) {
    const std::size_t n = std::strlen(end);
    return text.size() > n && Lower(text.substr(text.size() - n)) == end;
}

[[noreturn]] void FileError(int err, const std::string& path) {
    throw activation::ComError(activation::FileErrorNumber(err), kLocation,
                               "\"" + path + "\": " + std::strerror(err));
}

// A temporary file beside the target, removed unless it was put in place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& target) : m_target(target) {
        const std::filesystem::path t(target);
        const std::filesystem::path folder = t.has_parent_path() ? t.parent_path() : ".";
        m_path = (folder / ("." + t.filename().string().substr(0, 200) + ".XXXXXX~")).string();
        const int fd = ::mkstemps(m_path.data(), 1);
        if (fd < 0) FileError(errno, target);
        // The file gets the permissions a new file gets (mkstemps makes it private).
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
        ::close(fd);
    }
    ~TemporaryFile() {
        if (!m_placed) ::unlink(m_path.c_str());
    }
    const std::string& Path() const { return m_path; }
    void PutInPlace() {
        if (const int err = common::MoveIntoPlace(m_path, m_target)) FileError(err, m_target);
        m_placed = true;
    }

private:
    std::string m_target, m_path;
    bool m_placed = false;
};

WriteBookFunction LoadBookLibrary() {
    const std::string library = activation::ProgramFolder() + "/" + kBookLibraryName;
    void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* entry = handle ? ::dlsym(handle, kBookEntrySymbol) : nullptr;
    if (!entry) {
        const char* why = ::dlerror();
        throw activation::ComError(
            kErrCannotCreate, kLocation,
            "the workbook library cannot be loaded: " + std::string(why ? why : library.c_str()));
    }
    return reinterpret_cast<WriteBookFunction>(entry);
}

// One CSV field: quoted when it must be; a text a spreadsheet would compute after "'".
void Field(std::ostream& out, const std::string& text, bool isText) {
    std::string value = text;
    if (isText && !value.empty() && std::strchr("=+-@", value.front())) value.insert(0, 1, '\'');
    if (value.find_first_of(",\"\r\n") == std::string::npos) {
        out << value;
        return;
    }
    out << '"';
    for (char c : value) {
        if (c == '"') out << '"';
        out << c;
    }
    out << '"';
}

}  // namespace

const std::vector<std::string>& ColumnHeadings() {
    static const std::vector<std::string> headings = {
        "File",
        "Client",
        "Second Line",
        "Year Ending",
        "Methods",
        "Available Working Capital",
        "Cost Of Operations",
        "Peak: Net Operating Cycle - Days",
        "Peak: Net Operating Cycle - Part Of Year",
        "Peak: Working Capital Needed",
        "Peak: Excess Before Other Needs",
        "Peak: Excess Working Capital",
        "Average: Adj. Operating Cycle - Days",
        "Average: Adj. Operating Cycle - Part Of Year",
        "Average: Working Capital Needed",
        "Average: Excess Before Other Needs",
        "Average: Excess Working Capital",
        "Failure",
    };
    return headings;
}

std::vector<Cell> FigureCells(const Row& row) {
    std::vector<Cell> cells;
    if (!row.Ok()) return std::vector<Cell>(12);
    const auto whole = [](long long v, bool dollars) { return Cell{Cell::Whole, v, dollars, {}}; };
    cells.push_back(whole(row.available, true));
    cells.push_back(whole(row.costOfOperations, true));
    for (const auto* m : {&row.peak, &row.average}) {
        if (!*m) {
            cells.resize(cells.size() + 5);
            continue;
        }
        cells.push_back({Cell::Days, 0, false, (*m)->days});
        cells.push_back({Cell::Part, 0, false, (*m)->part});
        cells.push_back(whole((*m)->needed, false));
        cells.push_back(whole((*m)->excessBefore, true));
        cells.push_back(whole((*m)->excess, true));
    }
    return cells;
}

void WriteCsv(const std::vector<Row>& rows, std::ostream& out) {
    const auto& headings = ColumnHeadings();
    for (std::size_t i = 0; i < headings.size(); ++i) {
        if (i > 0) out << ',';
        Field(out, headings[i], false);
    }
    out << "\r\n";
    for (const Row& row : rows) {
        for (const std::string* text : {&row.file, &row.name, &row.line2}) {
            Field(out, *text, true);
            out << ',';
        }
        out << row.yearEnd << ',' << row.Methods();
        for (const Cell& cell : FigureCells(row)) {
            out << ',';
            if (cell.kind == Cell::Whole)
                out << cell.whole;
            else
                out << cell.text;
        }
        out << ',';
        Field(out, row.failure, true);
        out << "\r\n";
    }
}

bool IsSummaryFileName(const std::string& path) {
    return EndsWith(path, ".csv") || EndsWith(path, ".xlsx");
}

void WriteSummaryFile(const std::vector<Row>& rows, const std::string& path) {
    if (!IsSummaryFileName(path))
        throw activation::ComError(5, kLocation,
                                   "\"" + path + "\": a summary is written as .csv or .xlsx");
    const bool book = EndsWith(path, ".xlsx");
    TemporaryFile temporary(path);
    if (book) {
        static const WriteBookFunction writeBook = LoadBookLibrary();
        writeBook(rows, temporary.Path());
    } else {
        std::ofstream out(temporary.Path(), std::ios::binary | std::ios::trunc);
        WriteCsv(rows, out);
        out.flush();
        if (!out) FileError(errno ? errno : EIO, path);
    }
    temporary.PutInPlace();
}

}  // namespace caldren::summary
