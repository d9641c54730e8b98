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

// Letters and digits of a heading, lower case: "Month-End" -> "monthend", "A/R" -> "ar".
std::string Folded(std::string_view cell) {
    std::string out;
    for (char c : cell) {
        if (c >= 'A' && c <= 'Z')
            out += static_cast<char>(c - 'A' + 'a');
        else if ((c >= 'a' && c <= 'z') || IsDigit(c))
            out += c;
    }
    return out;
}

const char* HeadingName(Heading h) {
    switch (h) {
        case Heading::MonthEnd:
            return "Month End";
        case Heading::Receivables:
            return "Receivables";
        case Heading::Sales:
            return "Sales";
        case Heading::Inventory:
            return "Inventory";
        case Heading::Purchases:
            return "Purchases";
        case Heading::None:
            break;
    }
    return "";
}

// The grid column a named figure goes to as the grid is set, else -1.
int ColumnOf(Heading h, const GridShape& shape) {
    const auto shown = [&](int c) {
        return std::find(shape.columns.begin(), shape.columns.end(), c) != shape.columns.end();
    };
    int column = -1;
    switch (h) {
        case Heading::MonthEnd:
            column = kMonthDate;
            break;
        case Heading::Receivables:
            column = kReceivables;
            break;
        case Heading::Sales:
            column = shape.inventory ? -1 : kSalesOrInventory;
            break;
        case Heading::Inventory:
            column = shape.inventory ? kSalesOrInventory : -1;
            break;
        case Heading::Purchases:
            column = shape.inventory ? -1 : kPurchases;
            break;
        case Heading::None:
            break;
    }
    return column >= 0 && shown(column) ? column : -1;
}

const char* const kNameTheColumns =
    " Head the columns Month End (or Date), Receivables (or A/R), Sales, Inventory and "
    "Purchases, or copy the months without their heading row.";

// The grid column of each pasted column from the heading row; the refusal, else empty.
// `note` names the figures the grid does not take as it is set.
std::string MapHeadings(const std::vector<std::string>& headings,
                        const std::vector<std::vector<std::string>>& rows, const GridShape& shape,
                        std::vector<int>& columnOf, std::string& note) {
    std::vector<Heading> seen;
    std::vector<std::string> leftOut;
    for (std::size_t k = 0; k < headings.size(); ++k) {
        columnOf.push_back(-1);
        if (headings[k].empty()) {
            const bool figures = std::any_of(rows.begin(), rows.end(), [k](const auto& r) {
                return k < r.size() && !r[k].empty();
            });
            if (!figures) continue;
            return "Pasted column " + std::to_string(k + 1) + " has no heading." + kNameTheColumns;
        }
        const Heading h = MatchHeading(headings[k]);
        if (h == Heading::None)
            return "The heading \"" + headings[k] + "\" matches no column of the months." +
                   kNameTheColumns;
        if (std::find(seen.begin(), seen.end(), h) != seen.end())
            return "Two pasted columns are headed \"" + std::string(HeadingName(h)) +
                   "\". Copy the column once.";
        seen.push_back(h);
        columnOf.back() = ColumnOf(h, shape);
        if (columnOf.back() < 0) leftOut.push_back("\"" + headings[k] + "\"");
    }
    std::vector<Heading> needed{Heading::Receivables};
    if (shape.inventory) {
        needed.push_back(Heading::Inventory);
    } else {
        needed.push_back(Heading::Sales);
        if (ColumnOf(Heading::Purchases, shape) >= 0) needed.push_back(Heading::Purchases);
    }
    for (Heading h : needed)
        if (std::find(seen.begin(), seen.end(), h) == seen.end())
            return "The pasted months have no column headed \"" + std::string(HeadingName(h)) +
                   "\". Copy that column with the others, or copy the months without their "
                   "heading row.";
    if (!leftOut.empty()) {
        std::string names;
        for (std::size_t i = 0; i < leftOut.size(); ++i)
            names += (i == 0 ? "" : i + 1 == leftOut.size() ? " and " : ", ") + leftOut[i];
        note = "Not pasted: " + names +
               (shape.inventory
                    ? ". The months take month-end inventory; untick the end-of-month inventory "
                      "box to paste sales and purchases instead."
                    : ". The months take sales and purchases; tick the end-of-month inventory "
                      "box to paste month-end inventory instead.");
    }
    return {};
}

}  // namespace

Heading MatchHeading(std::string_view cell) {
    static const std::pair<const char*, Heading> kNames[] = {
        {"monthend", Heading::MonthEnd},
        {"monthends", Heading::MonthEnd},
        {"month", Heading::MonthEnd},
        {"months", Heading::MonthEnd},
        {"date", Heading::MonthEnd},
        {"dates", Heading::MonthEnd},
        {"receivable", Heading::Receivables},
        {"receivables", Heading::Receivables},
        {"ar", Heading::Receivables},
        {"accountsreceivable", Heading::Receivables},
        {"accountreceivable", Heading::Receivables},
        {"sale", Heading::Sales},
        {"sales", Heading::Sales},
        {"inventory", Heading::Inventory},
        {"inventories", Heading::Inventory},
        {"purchase", Heading::Purchases},
        {"purchases", Heading::Purchases},
    };
    const std::string folded = Folded(cell);
    for (const auto& [name, heading] : kNames)
        if (folded == name) return heading;
    return Heading::None;
}

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
    std::vector<std::string> headings;
    if (!rows.empty()) {
        const auto& first = rows.front();
        const bool someText = std::any_of(first.begin(), first.end(),
                                          [](const std::string& c) { return !c.empty(); });
        const bool noFigure = std::none_of(first.begin(), first.end(), [](const std::string& c) {
            return !c.empty() && (NormalizeAmount(c) || LooksLikeDate(c));
        });
        if (someText && noFigure) {
            headings = first;
            rows.erase(rows.begin());
            plan.headingSkipped = true;
        }
    }
    if (startRow < 0 || startRow >= shape.rows) return plan;

    // The grid column of each pasted column (-1: not pasted).
    std::vector<int> columnOf;
    if (plan.headingSkipped) {
        plan.error = MapHeadings(headings, rows, shape, columnOf, plan.note);
        if (!plan.error.empty()) return plan;
    } else {
        const auto startAt = std::find(shape.columns.begin(), shape.columns.end(), startColumn);
        if (startAt == shape.columns.end()) return plan;
        for (auto at = startAt; at != shape.columns.end(); ++at) columnOf.push_back(*at);
    }

    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int row = startRow + static_cast<int>(r);
        // An empty row sets nothing; it only keeps the rows after it in line.
        if (std::all_of(rows[r].begin(), rows[r].end(),
                        [](const std::string& c) { return c.empty(); }))
            continue;
        std::vector<Cell> cells;
        for (std::size_t k = 0; k < rows[r].size(); ++k) {
            const int column = k < columnOf.size() ? columnOf[k] : -1;
            if (row >= shape.rows || column < 0) {
                // A named figure the grid does not take now is in the note, not dropped.
                const bool leftOut = plan.headingSkipped && row < shape.rows;
                if (!rows[r][k].empty() && !leftOut) ++plan.cellsOutside;
                continue;
            }
            const std::string& text = rows[r][k];
            if (column == kMonthDate) {
                // Only the first month's date is stored; the form derives the others.
                if (row == 0 && !text.empty()) cells.push_back({row, column, text});
                continue;
            }
            const auto amount = NormalizeAmount(text);
            cells.push_back({row, column, amount ? *amount : text});
        }
        // Left to right as the grid shows them.
        std::stable_sort(cells.begin(), cells.end(),
                         [](const Cell& a, const Cell& b) { return a.column < b.column; });
        plan.cells.insert(plan.cells.end(), cells.begin(), cells.end());
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
