// Workbook: the libxlsxwriter calls the workpaper makes, behind a small C++ face.
//
// A Workbook writes one .xlsx file; its Sheets take texts, numbers, dates and formulas
// (each formula with the value the program computed as its cached result, so that a
// viewer that does not recalculate shows the program's figures). Every failure of the
// library is thrown as activation::ComError (number 5, the library's message as source).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace workpaper {

// The looks of a cell. Number styles follow the reports' patterns.
enum class Style {
    Text,
    Title,       // bold, larger
    Heading,     // bold
    Column,      // bold, centred, wrapped: a column heading
    Note,        // grey: where a figure comes from, how it is rounded
    Dollars,     // "$##,###,##0"
    Whole,       // "##,###,##0"
    Ratio,       // "##0.00000" (cycles, ratios, days)
    Percent,     // "##0.00%"
    Hundredths,  // 0.00: the gross profit percent
    Cents4,      // #,##0.0000: an amount to four decimals, as the program keeps it
    Precise,     // two to twelve decimals: a step before it is rounded
    Date,        // mm/dd/yyyy
    Month,       // mmm yyyy
    Flag,        // TRUE / FALSE
    kCount
};

class Sheet {
public:
    Sheet(lxw_worksheet* sheet, const std::string& name, lxw_format* const* formats);

    const std::string& Name() const { return m_name; }
    void Text(int row, int col, const std::string& text, Style style = Style::Text);
    void Number(int row, int col, double value, Style style);
    void Flag(int row, int col, bool value);
    // A date from the engine's "mm/dd/yyyy" text (as text when it is no date the sheet knows).
    void Date(int row, int col, const std::string& engineText, Style style = Style::Date);
    // `formula` without its "=": written as "=" + formula with `cached` as its result.
    void Formula(int row, int col, const std::string& formula, double cached, Style style);
    void Widths(const std::vector<double>& widths);
    void FreezeRows(int rows);
    void RowHeight(int row, double points);
    void Activate();

    // "B5" and "'Peak Operating Cycle'!$B$5" of a cell of this sheet.
    static std::string Cell(int row, int col);
    std::string Absolute(int row, int col) const;

private:
    lxw_worksheet* m_sheet;
    std::string m_name;
    lxw_format* const* m_formats;
};

class Workbook {
public:
    explicit Workbook(const std::string& path);
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    Sheet& AddSheet(const std::string& name);
    // A workbook-wide name for one cell (the engine property it stands for).
    void Name(const std::string& name, const Sheet& sheet, int row, int col);
    // The cell's name as a formula writes it ("COGS"), or its absolute reference.
    const std::string& Ref(const std::string& name) const;
    // Writes the file. The workbook is finished afterwards.
    void Close();

private:
    lxw_workbook* m_book;
    lxw_format* m_formats[static_cast<int>(Style::kCount)];
    std::vector<std::unique_ptr<Sheet>> m_sheets;
    std::map<std::string, std::string> m_names;
};

// Throws ComError 5 with the library's message when `error` is not zero.
void Check(int error, const char* what);

}  // namespace workpaper
