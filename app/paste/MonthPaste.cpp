// MonthPaste: spreadsheet text to grid cells.
#include "MonthPaste.h"

#include <common/AmountText.h>

#include <algorithm>

namespace MonthPaste {

const char* const kNotTabular =
    "The clipboard does not hold rows of figures. Copy the cells of the months from the "
    "spreadsheet (one row per month) and paste again.";

namespace {

constexpr std::size_t kMaxText = std::size_t{64} * 1024;
constexpr std::size_t kMaxCell = 64;

std::string_view Trim(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    // A non-breaking space (UTF-8 C2 A0) as spreadsheets pad some cells.
    while (s.size() >= 2 && s[0] == '\xC2' && s[1] == '\xA0') s.remove_prefix(2);
    while (s.size() >= 2 && s[s.size() - 2] == '\xC2' && s.back() == '\xA0') s.remove_suffix(2);
    return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "1/31/2002", "01/31/2002": one or two digits, slash, one or two, slash, two or four.
bool LooksLikeDate(std::string_view s) {
    int part = 0;
    std::size_t len = 0;
    for (char c : s) {
        if (IsDigit(c)) {
            ++len;
        } else if (c == '/' && len > 0 && len <= 2 && part < 2) {
            ++part;
            len = 0;
        } else {
            return false;
        }
    }
    return part == 2 && (len == 2 || len == 4);
}

}  // namespace

bool IsBlock(std::string_view clipboard) {
    std::string_view s = clipboard;
    // A final line break alone does not make a block.
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.remove_suffix(1);
    return s.find_first_of("\t\r\n") != std::string_view::npos;
}

std::optional<std::string> NormalizeAmount(std::string_view cell) {
    return common::AmountText::Normalize(Trim(cell));
}

std::vector<std::vector<std::string>> SplitRows(std::string_view text) {
    std::vector<std::vector<std::string>> rows;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t e = text.find_first_of("\r\n", i);
        std::string_view line =
            text.substr(i, e == std::string_view::npos ? std::string_view::npos : e - i);
        std::vector<std::string> cells;
        std::size_t c = 0;
        while (true) {
            std::size_t t = line.find('\t', c);
            cells.emplace_back(
                Trim(line.substr(c, t == std::string_view::npos ? std::string_view::npos : t - c)));
            if (t == std::string_view::npos) break;
            c = t + 1;
        }
        rows.push_back(std::move(cells));
        if (e == std::string_view::npos) break;
        i = e + 1;
        if (text[e] == '\r' && i < text.size() && text[i] == '\n') ++i;  // CR LF
    }
    return rows;
}

Plan PlanPaste(std::string_view clipboard, int startRow, int startColumn, const GridShape& shape) {
    Plan plan;
    auto notTabular = [&] {
        plan.cells.clear();
        plan.error = kNotTabular;
        return plan;
    };
    if (clipboard.size() > kMaxText || clipboard.find('\0') != std::string_view::npos)
        return notTabular();

    std::vector<std::vector<std::string>> rows = SplitRows(clipboard);
    // Blank lines (a sheet's empty rows) carry nothing; an empty row in the middle keeps its
    // place so that the months stay in line.
    while (!rows.empty() && std::all_of(rows.back().begin(), rows.back().end(),
                                        [](const std::string& c) { return c.empty(); }))
        rows.pop_back();

    bool anyFigure = false;
    for (const auto& r : rows)
        for (const auto& c : r) {
            if (c.size() > kMaxCell) return notTabular();
            if (!c.empty() && (NormalizeAmount(c) || LooksLikeDate(c))) anyFigure = true;
        }
    if (!anyFigure) return notTabular();

    // A heading row: something in it, and no number or date.
    if (!rows.empty()) {
        const auto& first = rows.front();
        const bool someText = std::any_of(first.begin(), first.end(),
                                          [](const std::string& c) { return !c.empty(); });
        const bool noFigure = std::none_of(first.begin(), first.end(), [](const std::string& c) {
            return !c.empty() && (NormalizeAmount(c) || LooksLikeDate(c));
        });
        if (someText && noFigure) {
            rows.erase(rows.begin());
            plan.headingSkipped = true;
        }
    }

    const auto startAt = std::find(shape.columns.begin(), shape.columns.end(), startColumn);
    if (startAt == shape.columns.end() || startRow < 0 || startRow >= shape.rows) {
        return plan;
    }
    const std::size_t firstCol = static_cast<std::size_t>(startAt - shape.columns.begin());

    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int row = startRow + static_cast<int>(r);
        // An empty row sets nothing; it only keeps the rows after it in line.
        if (std::all_of(rows[r].begin(), rows[r].end(),
                        [](const std::string& c) { return c.empty(); }))
            continue;
        for (std::size_t k = 0; k < rows[r].size(); ++k) {
            const std::size_t colIndex = firstCol + k;
            if (row >= shape.rows || colIndex >= shape.columns.size()) {
                if (!rows[r][k].empty()) ++plan.cellsOutside;
                continue;
            }
            const int column = shape.columns[colIndex];
            const std::string& text = rows[r][k];
            if (column == kMonthDate) {
                // Only the first month's date is stored; the form derives the others.
                if (row == 0 && !text.empty()) plan.cells.push_back({row, column, text});
                continue;
            }
            const auto amount = NormalizeAmount(text);
            plan.cells.push_back({row, column, amount ? *amount : text});
        }
    }
    return plan;
}

Outcome ApplyPaste(const Plan& plan, const std::function<void(const Cell&)>& set) {
    Outcome out;
    for (const Cell& c : plan.cells) {
        try {
            set(c);
        } catch (const activation::ComError& e) {
            out.failedCell = c;
            out.error = e;
            return out;
        }
        ++out.applied;
    }
    return out;
}

}  // namespace MonthPaste
