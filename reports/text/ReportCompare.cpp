// ReportCompare: the comparison of several years, one column per data file.
#include "ReportCompare.h"

#include "Layout.h"
#include "Reports.h"

#include <activation/Com.h>

#include <algorithm>
#include <filesystem>
#include <new>
#include <system_error>

namespace Reports {

using namespace layout;

const char* const kCompareCaption = "Comparison Report";
const char* const kCompareTitle = "Comparison Of Years";

namespace {

constexpr int kLabelWidth = 35;  // the label after the two leading blanks
constexpr int kFieldGap = 2;     // blanks between two value fields
constexpr std::size_t kPerBlock = 3;
constexpr std::size_t kNoteWidth = 76;

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
std::vector<std::string> Wrap(const std::string& text, std::size_t width) {
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

// A row: label and one cell per column.
using CellFn = std::string (*)(const vesmora::_Caldren&);

std::string Row(const std::string& label, const std::vector<std::string>& cells) {
    std::string s = "  " + PadRight(label, kLabelWidth);
    for (std::size_t k = 0; k < cells.size(); ++k) {
        if (k > 0) s += Blanks(kFieldGap);
        s += F(cells[k]);
    }
    // No blanks after the last value.
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return Line(s);
}

std::string RuleRow(std::size_t columns, char c) {
    std::string s = Blanks(2 + kLabelWidth);
    for (std::size_t k = 0; k < columns; ++k) {
        if (k > 0) s += Blanks(kFieldGap);
        s += Repeat(c, 12);
    }
    return Line(s);
}

struct Chunk {
    std::string text;
    int lines = 0;
};

int CountLines(const std::string& text) {
    int n = 0;
    for (std::size_t p = text.find("\r\n"); p != std::string::npos; p = text.find("\r\n", p + 2))
        ++n;
    return n;
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

// The table of one block of columns (at most three).
std::string Block(const std::vector<Column>& cols, bool anyPeak, bool anyAve) {
    std::string s;
    {
        // Names of up to 12 characters take one heading line; a longer one is broken over
        // two, after a blank, "-", "_" or "." where it can (a second part longer than 12
        // characters keeps its last 12, which tell the years apart).
        std::vector<std::string> upper, names, dates;
        bool twoLines = false;
        for (const Column& c : cols) {
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
                twoLines = true;
            }
            upper.push_back(first);
            names.push_back(name);
            std::string date;
            if (c.file->calc) {
                try {
                    date = FormatDate(c.file->calc->get_EOYCurrent());
                } catch (const activation::ComError&) {
                    if (c.file->Ok()) throw;
                }
            }
            dates.push_back(date);
        }
        if (twoLines) s += Row("", upper);
        s += Row("", names);
        s += Row("Year Ending", dates);
        s += RuleRow(cols.size(), '-');
    }

    // Rows of every file: failed columns show why in the first two.
    auto common = [&](const char* label, CellFn fn, const char* failedCell, bool withNote) {
        std::vector<std::string> cells;
        for (const Column& c : cols) {
            if (c.file->Ok())
                cells.push_back(fn(*c.file->calc));
            else if (withNote)
                cells.push_back("See Note " + std::to_string(c.note));
            else
                cells.push_back(failedCell);
        }
        s += Row(label, cells);
    };
    common(
        "Available Working Capital",
        [](const vesmora::_Caldren& c) { return FormatDollars(c.get_AvailableWC()); }, "Failed",
        false);
    common(
        "Cost Of Operations",
        [](const vesmora::_Caldren& c) { return FormatDollars(c.get_CostOfOperations()); }, "",
        true);

    auto method = [&](const MethodRows& m) {
        s += Line("");
        s += Line(std::string("  ") + m.title);
        const std::pair<const char*, CellFn> rows[] = {
            {m.daysLabel, m.days},
            {m.partLabel, m.part},
            {"Working Capital Needed", m.needed},
            {"Excess Before Other Needs", m.excessBefore},
            {"Excess Working Capital", m.excess},
        };
        bool first = true;
        for (const auto& [label, fn] : rows) {
            std::vector<std::string> cells;
            for (const Column& c : cols) {
                if (!c.file->Ok())
                    cells.emplace_back();
                else if (!m.chosen(*c.file->calc))
                    cells.push_back(first ? "Not chosen" : "");
                else
                    cells.push_back(fn(*c.file->calc));
            }
            s += Row(label, cells);
            first = false;
        }
    };
    if (anyPeak) method(kPeakRows);
    if (anyAve) method(kAveRows);
    s += RuleRow(cols.size(), '=');
    return s;
}

}  // namespace

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
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fileName, ec)) {
        f.failure = "Could not be loaded: the file does not exist";
        f.errorNumber = 53;
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
        f.failure = "Could not be calculated: " + CompareFailureText(e);
        f.errorNumber = e.Number();
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
    for (const auto& k : keyed) out.push_back(k.second);
    return out;
}

void BuildCompareReport(const std::vector<CompareFile>& files, ReportSink& sink) {
    if (files.size() < kCompareMinFiles || files.size() > kCompareMaxFiles)
        throw activation::ComError(5, "CompareReport.BuildCompareReport",
                                   "Choose from two to six data files to compare.");

    const std::vector<const CompareFile*> order = CompareOrder(files);
    std::vector<Column> cols;
    bool anyPeak = false, anyAve = false;
    int notes = 0;
    const vesmora::_Caldren* first = nullptr;
    for (const CompareFile* f : order) {
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
    const ReportHeadings& h = start.headings;
    sink.BeginReport(start);

    // The month collections are numbered from their own year ends, as every report does.
    for (const Column& c : cols)
        if (c.file->Ok())
            if (auto months = c.file->calc->get_colMonths())
                months->FillFiscalMonth(c.file->calc->get_EOYCurrent());

    std::vector<Chunk> chunks;
    for (std::size_t b = 0; b < cols.size(); b += kPerBlock) {
        std::vector<Column> block(
            cols.begin() + static_cast<std::ptrdiff_t>(b),
            cols.begin() + static_cast<std::ptrdiff_t>(std::min(cols.size(), b + kPerBlock)));
        Chunk ch;
        ch.text = (b > 0 ? Line("") : std::string()) + Block(block, anyPeak, anyAve);
        chunks.push_back(ch);
    }
    // Notes: why a file has no figures. One chunk per note, so that a note is never split
    // across printed pages.
    for (const Column& c : cols) {
        if (c.note == 0) continue;
        Chunk ch;
        if (c.note == 1) ch.text += Line("");
        const std::string head = "  Note " + std::to_string(c.note) + ": ";
        const std::vector<std::string> lines =
            Wrap(c.file->fileName + ": " + c.file->failure, kNoteWidth - head.size());
        for (std::size_t i = 0; i < lines.size() && i < 10; ++i)
            ch.text += Line((i == 0 ? head : Blanks(static_cast<int>(head.size()))) + lines[i]);
        chunks.push_back(ch);
    }

    // The report's last line has no line end, as in every report.
    std::string& last = chunks.back().text;
    if (last.size() >= 2 && last.compare(last.size() - 2, 2, kCrLf) == 0)
        last.resize(last.size() - 2);
    for (Chunk& ch : chunks) {
        ch.lines = CountLines(ch.text) + 1;
        if (&ch != &chunks.back()) ch.lines -= 1;  // every line but the last ends with CR LF
        ch.lines = std::clamp(ch.lines, 1, 40);
        sink.PrintOrDisplay(ch.text, ch.lines, h);
    }
    sink.EndReport();
}

}  // namespace Reports
