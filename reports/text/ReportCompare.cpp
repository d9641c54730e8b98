// ReportCompare: the comparison of several years, one column per data file.
#include "ReportCompare.h"

#include "FigureChange.h"
#include "ReportWriter.h"

#include <activation/Com.h>
#include <common/FileKind.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>
#include <optional>
#include <system_error>

#include <sys/stat.h>

namespace Reports {

const char* const kCompareCaption = "Comparison Report";
const char* const kCompareTitle = "Comparison Of Years";

namespace {

constexpr int kLabelWidth = 35;  // the label after the two leading blanks
constexpr int kFieldGap = 2;     // blanks between two value fields
constexpr std::size_t kFilesPerBlock = 3;
constexpr std::size_t kNoteWidth = 76;
constexpr const char* kChangeTitle = "Change From The Previous Year";

// Year end as yyyymmdd for ordering; -1 when unknown.
long YearEndKey(const CompareFile& f) {
    if (!f.calc) return -1;
    try {
        const std::string d = FormatDate(f.calc->get_EOYCurrent());  // "mm/dd/yyyy"
        return std::stol(d.substr(6, 4)) * 10000 + std::stol(d.substr(0, 2)) * 100 +
               std::stol(d.substr(3, 2));
    } catch (...) {
        return -1;
    }
}

// The file's name without its folder, for a column heading.
std::string ShortName(const std::string& fileName) {
    std::string base = std::filesystem::path(fileName).filename().string();
    if (base.empty()) base = fileName;
    const auto dot = base.rfind('.');
    if (dot != std::string::npos && dot > 0) {
        std::string ext = base.substr(dot);
        std::transform(ext.begin(), ext.end(), ext.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (ext == ".cld") base.erase(dot);
    }
    return base;
}

// Words of `text` on lines of at most `width` characters (a longer word stands alone).
std::vector<std::string> WrapWords(const std::string& text, std::size_t width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\r' || text[i] == '\n')) ++i;
        std::size_t j = i;
        while (j < text.size() && text[j] != ' ' && text[j] != '\r' && text[j] != '\n') ++j;
        if (j == i) break;
        // A short group in parentheses, such as "(error 11)", stays on one line.
        if (text[i] == '(') {
            const std::size_t close = text.find(')', i);
            if (close != std::string::npos && close - i < 16 &&
                text.find_first_of("\r\n", i) > close)
                j = std::max(j, close + 1);
        }
        while (j < text.size() && text[j] != ' ' && text[j] != '\r' && text[j] != '\n') ++j;
        const std::string word = text.substr(i, j - i);
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        i = j;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// One column of the table: the file, its calculated values, or why there are none.
struct Column {
    const CompareFile* file = nullptr;
    int note = 0;  // note number of a failed file
};

// The text of one cell, from a calculated file.
using CellReader = std::string (*)(const vesmora::_Caldren&);

// A row: label and one cell per column.
std::string TableRow(const std::string& label, const std::vector<std::string>& cells) {
    std::string s = "  " + PadRight(label, kLabelWidth);
    for (std::size_t k = 0; k < cells.size(); ++k) {
        if (k > 0) s += Blanks(kFieldGap);
        s += ValueField(cells[k]);
    }
    // No blanks after the last value.
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return Line(s);
}

std::string ColumnRules(std::size_t columns, char c) {
    std::string s = Blanks(2 + kLabelWidth);
    for (std::size_t k = 0; k < columns; ++k) {
        if (k > 0) s += Blanks(kFieldGap);
        s += Repeat(c, 12);
    }
    return Line(s);
}

// The method sections: which rows, from which properties.
struct MethodRows {
    const char* title;
    bool (*chosen)(const vesmora::_Caldren&);
    const char* daysLabel;
    std::string (*days)(const vesmora::_Caldren&);
    const char* partLabel;
    std::string (*part)(const vesmora::_Caldren&);
    std::string (*needed)(const vesmora::_Caldren&);
    std::string (*excessBefore)(const vesmora::_Caldren&);
    std::string (*excess)(const vesmora::_Caldren&);
};

const MethodRows kPeakRows{
    "Caldren Formula - Using Peak Amounts",
    [](const vesmora::_Caldren& c) { return c.get_DoPeakCycle(); },
    "Net Operating Cycle - Days",
    [](const vesmora::_Caldren& c) { return RatioAsDays(c.get_NetOperatingCycle()); },
    "Net Operating Cycle - Part Of Year",
    [](const vesmora::_Caldren& c) { return FormatRatio(c.get_NetOperatingCycle()); },
    [](const vesmora::_Caldren& c) { return FormatAmount(c.get_NeededWCPeak()); },
    [](const vesmora::_Caldren& c) { return FormatDollars(c.get_ExcessPreContingencyWCPeak()); },
    [](const vesmora::_Caldren& c) { return FormatDollars(c.get_ExcessWCPeak()); },
};

const MethodRows kAveRows{
    "Caldren Formula Modified By Empire Steel Castings",
    [](const vesmora::_Caldren& c) { return c.get_DoAveCycle(); },
    "Adj. Operating Cycle - Days",
    [](const vesmora::_Caldren& c) { return FormatDays(c.get_OperatingCycleAdjDaysAve()); },
    "Adj. Operating Cycle - Part Of Year",
    [](const vesmora::_Caldren& c) { return FormatRatio(c.get_AdjOperatingCycleAve()); },
    [](const vesmora::_Caldren& c) { return FormatAmount(c.get_NeededWCAve()); },
    [](const vesmora::_Caldren& c) { return FormatDollars(c.get_ExcessPreContingencyWCAve()); },
    [](const vesmora::_Caldren& c) { return FormatDollars(c.get_ExcessWCAve()); },
};

// A method's rows in report order: label and cell.
std::array<std::pair<const char*, CellReader>, 5> MethodCells(const MethodRows& m) {
    return {{{m.daysLabel, m.days},
             {m.partLabel, m.part},
             {"Working Capital Needed", m.needed},
             {"Excess Before Other Needs", m.excessBefore},
             {"Excess Working Capital", m.excess}}};
}

// A column's name as its heading shows it: names of up to 12 characters take one line
// (first part empty); a longer one is broken over two, after a blank, "-", "_" or "."
// where it can, and a second part longer than 12 characters keeps its last 12, which tell
// the years apart.
std::pair<std::string, std::string> HeadingName(const Column& c) {
    std::string name = ShortName(c.file->fileName);
    std::string first;
    if (name.size() > 12) {
        std::size_t cut = 12;
        const std::size_t sep = name.find_last_of(" -_.", 11);
        if (sep != std::string::npos && sep > 0) cut = sep + 1;
        first = name.substr(0, cut);
        name = name.substr(cut);
        while (!first.empty() && first.back() == ' ') first.pop_back();
        while (!name.empty() && name.front() == ' ') name.erase(0, 1);
        if (name.size() > 12) name = name.substr(name.size() - 12);
    }
    return {first, name};
}

// A column's year end, "mm/dd/yyyy"; empty for a file not loaded, or one that failed with a
// year end that is no date.
std::string YearEndText(const Column& c) {
    if (!c.file->calc) return {};
    try {
        return FormatDate(c.file->calc->get_EOYCurrent());
    } catch (const activation::ComError&) {
        if (c.file->Ok()) throw;
    }
    return {};
}

// The column headings of a block: each file's name (HeadingName, on one or two lines), its
// year end, and the rule under them.
std::string ColumnHeadings(const std::vector<Column>& cols) {
    std::vector<std::string> upper, names, dates;
    bool twoLines = false;
    for (const Column& c : cols) {
        const auto [first, name] = HeadingName(c);
        twoLines = twoLines || !first.empty();
        upper.push_back(first);
        names.push_back(name);
        dates.push_back(YearEndText(c));
    }
    std::string s;
    if (twoLines) s += TableRow("", upper);
    s += TableRow("", names);
    s += TableRow("Year Ending", dates);
    s += ColumnRules(cols.size(), '-');
    return s;
}

// A row of every file: a failed column shows `failedCell`, or its note when `withNote`.
std::string CommonRow(const std::vector<Column>& cols, const char* label, CellReader cell,
                      const char* failedCell, bool withNote) {
    std::vector<std::string> cells;
    for (const Column& c : cols) {
        if (c.file->Ok())
            cells.push_back(cell(*c.file->calc));
        else if (withNote)
            cells.push_back("See Note " + std::to_string(c.note));
        else
            cells.push_back(failedCell);
    }
    return TableRow(label, cells);
}

// The rows of one method: its title, then days, part of a year, needed, excess before and
// after other needs. A failed column is empty; a file that did not choose the method shows
// "Not chosen" in the first row.
std::string MethodSection(const std::vector<Column>& cols, const MethodRows& m) {
    std::string s;
    s += Line("");
    s += Line(std::string("  ") + m.title);
    bool first = true;
    for (const auto& [label, cell] : MethodCells(m)) {
        std::vector<std::string> cells;
        for (const Column& c : cols) {
            if (!c.file->Ok())
                cells.emplace_back();
            else if (!m.chosen(*c.file->calc))
                cells.push_back(first ? "Not chosen" : "");
            else
                cells.push_back(cell(*c.file->calc));
        }
        s += TableRow(label, cells);
        first = false;
    }
    return s;
}

std::string AvailableCell(const vesmora::_Caldren& c) { return FormatDollars(c.get_AvailableWC()); }
std::string CostCell(const vesmora::_Caldren& c) { return FormatDollars(c.get_CostOfOperations()); }

// The table of one block of columns (at most three).
std::string BlockTable(const std::vector<Column>& cols, bool anyPeak, bool anyAve) {
    std::string s = ColumnHeadings(cols);
    // The first two rows of a failed column say why it has no figures.
    s += CommonRow(cols, "Available Working Capital", AvailableCell, "Failed", false);
    s += CommonRow(cols, "Cost Of Operations", CostCell, "", true);
    if (anyPeak) s += MethodSection(cols, kPeakRows);
    if (anyAve) s += MethodSection(cols, kAveRows);
    s += ColumnRules(cols.size(), '=');
    return s;
}

// The figure a column shows in a row: none for a failed file or a method it did not choose.
std::optional<std::string> FigureOf(const Column& c, const MethodRows* m, CellReader cell) {
    if (!c.file->Ok() || (m && !m->chosen(*c.file->calc))) return std::nullopt;
    return cell(*c.file->calc);
}

// The change rows of one figure for the columns [first, last) of all columns: the amount
// and, under it, the percent, each from the column before (the block before's last for a
// block's first). Empty when no column of the block has a change.
std::string ChangeRows(const std::vector<Column>& all, std::size_t first, std::size_t last,
                       const char* label, const MethodRows* m, CellReader cell) {
    std::vector<std::string> amounts, percents;
    bool any = false;
    for (std::size_t k = first; k < last; ++k) {
        FigureChangeText change;
        if (k > 0) {
            const std::optional<std::string> before = FigureOf(all[k - 1], m, cell);
            const std::optional<std::string> after = FigureOf(all[k], m, cell);
            if (before && after) change = FigureChange(*before, *after);
        }
        any = any || !change.amount.empty();
        amounts.push_back(change.amount);
        percents.push_back(change.percent);
    }
    return any ? TableRow(label, amounts) + TableRow("", percents) : std::string();
}

// The changes of one block (a chunk of its own, under the block's figures): each figure's
// change from the year before in amount and percent, a method only where one of the
// block's files has a change in it. Empty when the block has no change at all.
std::string ChangeTable(const std::vector<Column>& all, std::size_t first, std::size_t last,
                        bool anyPeak, bool anyAve) {
    std::string rows =
        ChangeRows(all, first, last, "Available Working Capital", nullptr, AvailableCell) +
        ChangeRows(all, first, last, "Cost Of Operations", nullptr, CostCell);
    if (rows.empty()) return {};
    for (const MethodRows* m : {anyPeak ? &kPeakRows : nullptr, anyAve ? &kAveRows : nullptr}) {
        if (!m) continue;
        std::string section;
        for (const auto& [label, cell] : MethodCells(*m))
            section += ChangeRows(all, first, last, label, m, cell);
        if (!section.empty()) rows += Line("") + Line(std::string("  ") + m->title) + section;
    }
    // Each column is headed by the year end it is the change to.
    std::vector<std::string> dates;
    dates.reserve(last - first);
    for (std::size_t k = first; k < last; ++k) dates.push_back(YearEndText(all[k]));
    return Line("") + TableRow(kChangeTitle, dates) + ColumnRules(dates.size(), '-') + rows +
           ColumnRules(dates.size(), '=');
}

// The note of a failed column: why the file has no figures, on lines of at most 76
// characters (at most ten).
std::string FailureNote(const Column& c) {
    std::string s;
    if (c.note == 1) s += Line("");
    const std::string head = "  Note " + std::to_string(c.note) + ": ";
    const std::vector<std::string> lines =
        WrapWords(c.file->fileName + ": " + c.file->failure, kNoteWidth - head.size());
    for (std::size_t i = 0; i < lines.size() && i < 10; ++i)
        s += Line((i == 0 ? head : Blanks(static_cast<int>(head.size()))) + lines[i]);
    return s;
}

}  // namespace

std::string ZeroBaseReason(const vesmora::_Caldren& calc) {
    try {
        if (ParseWholeUnits(calc.get_NetSales()) == 0) return "Net Sales is zero";
        const auto months = calc.get_colMonths();
        if (calc.get_DoPeakCycle() && ParseWholeUnits(calc.get_COGS()) == 0 && months &&
            months->get_Count() > 0)
            return "Cost of Goods Sold is zero with the peak method";
    } catch (const activation::ComError&) {
        // An input that reads as no number explains nothing here.
    }
    return {};
}

std::string RatioAsDays(const std::string& ratioText) {
    const std::string r = FormatRatio(ratioText);  // sign, digits, '.', five digits
    if (r.empty()) return {};
    bool negative = r.front() == '-';
    long long scaled = 0;  // hundred-thousandths
    for (char c : r)
        if (c >= '0' && c <= '9') scaled = scaled * 10 + (c - '0');
    scaled *= 365;
    std::string digits = std::to_string(scaled);
    if (digits.size() < 6) digits.insert(0, 6 - digits.size(), '0');
    std::string text = (negative ? "-" : "") + digits.substr(0, digits.size() - 5) + "." +
                       digits.substr(digits.size() - 5);
    return FormatDays(text);
}

std::string CompareFailureText(const activation::ComError& error) {
    std::string reason = activation::StandardErrorText(error.Number());
    if (reason.empty()) {
        const std::string& src = error.Source();
        const auto cr = src.find_last_of('\r');
        std::string inner = cr == std::string::npos ? src : src.substr(cr + 1);
        // A location reads "Module.Procedure"; a message has blanks in it.
        if (inner.find(' ') != std::string::npos) reason = inner;
    }
    if (reason.empty()) reason = error.Description();
    while (!reason.empty() && (reason.back() == '.' || reason.back() == ' ')) reason.pop_back();
    if (reason.empty()) reason = "Unknown error";
    return reason + " (error " + std::to_string(error.Number()) + ")";
}

CompareFile LoadCompareFile(vesmora::ComPtr<vesmora::_Caldren> calc, const std::string& fileName) {
    CompareFile f;
    f.fileName = fileName;
    struct stat st {};
    if (::stat(fileName.c_str(), &st) != 0) {
        const bool missing = errno == ENOENT || errno == ENOTDIR;
        f.failure = std::string("Could not be loaded: ") +
                    (missing ? "the file does not exist" : std::strerror(errno));
        f.errorNumber = missing ? 53 : activation::FileErrorNumber(errno);
        return f;
    }
    if (!S_ISREG(st.st_mode)) {
        f.failure = std::string("Could not be loaded: it is ") + common::FileKind(st.st_mode);
        f.errorNumber = 75;
        return f;
    }
    if (!calc) {
        f.failure = "Could not be loaded: the engine could not be created";
        f.errorNumber = 429;
        return f;
    }
    try {
        calc->Load(fileName);
    } catch (const activation::ComError& e) {
        f.failure = "Could not be loaded: " + CompareFailureText(e);
        f.errorNumber = e.Number();
        f.source = e.Source();
        return f;
    } catch (const std::bad_alloc&) {
        f.failure = "Could not be loaded: Out of memory (error 7)";
        f.errorNumber = 7;
        return f;
    }
    f.calc = std::move(calc);
    try {
        f.calc->Calculate();
    } catch (const activation::ComError& e) {
        // A zero base fails on overflow or division by zero: the input says it better.
        const std::string zero =
            e.Number() == 6 || e.Number() == 11 ? ZeroBaseReason(*f.calc) : std::string();
        f.failure = "Could not be calculated: " + (zero.empty() ? CompareFailureText(e) : zero);
        f.errorNumber = e.Number();
        f.source = e.Source();
    } catch (const std::bad_alloc&) {
        f.failure = "Could not be calculated: Out of memory (error 7)";
        f.errorNumber = 7;
    }
    return f;
}

std::vector<const CompareFile*> CompareOrder(const std::vector<CompareFile>& files) {
    std::vector<std::pair<long, const CompareFile*>> keyed;
    for (const CompareFile& f : files) {
        long key = YearEndKey(f);
        keyed.emplace_back(key < 0 ? 99999999L + 1 : key, &f);
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<const CompareFile*> out;
    out.reserve(keyed.size());
    for (const auto& k : keyed) out.push_back(k.second);
    return out;
}

void FillCompareMonths(const std::vector<CompareFile>& files) {
    for (const CompareFile* f : CompareOrder(files))
        if (f->Ok()) FillMonthsFromYearEnd(*f->calc);
}

void BuildCompareReport(const std::vector<CompareFile>& files, ReportSink& sink) {
    if (files.size() < kCompareMinFiles || files.size() > kCompareMaxFiles)
        throw activation::ComError(5, "CompareReport.BuildCompareReport",
                                   "Choose from two to six data files to compare.");

    std::vector<Column> cols;
    bool anyPeak = false, anyAve = false;
    int notes = 0;
    const vesmora::_Caldren* first = nullptr;
    for (const CompareFile* f : CompareOrder(files)) {
        Column c;
        c.file = f;
        if (f->Ok()) {
            if (!first) first = f->calc.Get();
            anyPeak = anyPeak || f->calc->get_DoPeakCycle();
            anyAve = anyAve || f->calc->get_DoAveCycle();
        } else {
            c.note = ++notes;
        }
        cols.push_back(c);
    }

    ReportStart start;
    start.kind = ReportKind::Compare;
    start.caption = kCompareCaption;
    if (first) {
        start.headings.h1 = first->get_sName();
        start.headings.h2 = first->get_Line2();
    }
    start.headings.h3 = kCompareTitle;
    ReportWriter report(sink, start);

    // One chunk per block of files, then one per note, so that a note is never split across
    // printed pages.
    std::vector<std::string> chunks;
    for (std::size_t b = 0; b < cols.size(); b += kFilesPerBlock) {
        const std::size_t end = std::min(cols.size(), b + kFilesPerBlock);
        const std::vector<Column> block(cols.begin() + static_cast<std::ptrdiff_t>(b),
                                        cols.begin() + static_cast<std::ptrdiff_t>(end));
        chunks.push_back((b > 0 ? Line("") : std::string()) + BlockTable(block, anyPeak, anyAve));
        std::string changes = ChangeTable(cols, b, end, anyPeak, anyAve);
        if (!changes.empty()) chunks.push_back(std::move(changes));
    }
    for (const Column& c : cols)
        if (c.note != 0) chunks.push_back(FailureNote(c));

    // The report's last line has no line end, as in every report, and is counted all the
    // same; a chunk counts from 1 to 40 lines.
    std::string& last = chunks.back();
    if (last.size() >= 2 && last.compare(last.size() - 2, 2, kCrLf) == 0)
        last.resize(last.size() - 2);
    for (const std::string& chunk : chunks) {
        const int lines = LineEnds(chunk) + (&chunk == &chunks.back() ? 1 : 0);
        report.Send(chunk, std::clamp(lines, 1, 40) - LineEnds(chunk));
    }
    report.End();
}

}  // namespace Reports
