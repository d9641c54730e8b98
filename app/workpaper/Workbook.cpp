#include "Workbook.h"

#include <activation/Com.h>
#include <common/Calendar.h>

#include <xlsxwriter.h>

namespace workpaper {

namespace {

constexpr long kErrInvalidCall = 5;
// The first day whose serial a spreadsheet and the program count alike (03/01/1900).
constexpr common::DaySerial kFirstSharedSerial = 61;

struct Look {
    const char* numberFormat;
    bool bold;
    double size;
    bool centred;
    bool grey;
};

Look LookOf(Style style) {
    switch (style) {
        case Style::Title:
            return {nullptr, true, 14, false, false};
        case Style::Heading:
            return {nullptr, true, 0, false, false};
        case Style::Column:
            return {nullptr, true, 0, true, false};
        case Style::Note:
            return {nullptr, false, 0, false, true};
        case Style::Dollars:
            return {"$#,##0", false, 0, false, false};
        case Style::Whole:
            return {"#,##0", false, 0, false, false};
        case Style::Ratio:
            return {"0.00000", false, 0, false, false};
        case Style::Percent:
            return {"0.00%", false, 0, false, false};
        case Style::Hundredths:
            return {"0.00", false, 0, false, false};
        case Style::Cents4:
            return {"#,##0.0000", false, 0, false, false};
        case Style::Precise:
            return {"#,##0.00##########", false, 0, false, true};
        case Style::Date:
            return {"mm/dd/yyyy", false, 0, false, false};
        case Style::Month:
            return {"mmm yyyy", false, 0, false, false};
        case Style::Text:
        case Style::Flag:
        case Style::kCount:
            break;
    }
    return {nullptr, false, 0, false, false};
}

}  // namespace

void Check(int error, const char* what) {
    if (error == LXW_NO_ERROR) return;
    throw activation::ComError(
        kErrInvalidCall, std::string(what) + ": " + lxw_strerror(static_cast<lxw_error>(error)),
        activation::StandardErrorText(kErrInvalidCall));
}

// ---- Sheet ----------------------------------------------------------------------------

Sheet::Sheet(lxw_worksheet* sheet, const std::string& name, lxw_format* const* formats)
    : m_sheet(sheet), m_name(name), m_formats(formats) {}

void Sheet::Text(int row, int col, const std::string& text, Style style) {
    if (text.empty()) return;
    Check(
        worksheet_write_string(m_sheet, row, col, text.c_str(), m_formats[static_cast<int>(style)]),
        "worksheet_write_string");
}

void Sheet::Number(int row, int col, double value, Style style) {
    Check(worksheet_write_number(m_sheet, row, col, value, m_formats[static_cast<int>(style)]),
          "worksheet_write_number");
}

void Sheet::Flag(int row, int col, bool value) {
    Check(worksheet_write_boolean(m_sheet, row, col, value ? 1 : 0, nullptr),
          "worksheet_write_boolean");
}

void Sheet::Date(int row, int col, const std::string& engineText, Style style) {
    common::DaySerial serial = 0;
    if (common::ParseDate(engineText, serial) && serial >= kFirstSharedSerial)
        Number(row, col, serial, style);
    else
        Text(row, col, engineText);
}

void Sheet::Formula(int row, int col, const std::string& formula, double cached, Style style) {
    const std::string text = "=" + formula;
    Check(worksheet_write_formula_num(m_sheet, row, col, text.c_str(),
                                      m_formats[static_cast<int>(style)], cached),
          "worksheet_write_formula_num");
}

void Sheet::Widths(const std::vector<double>& widths) {
    for (std::size_t c = 0; c < widths.size(); ++c)
        Check(worksheet_set_column(m_sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                                   widths[c], nullptr),
              "worksheet_set_column");
}

void Sheet::FreezeRows(int rows) { worksheet_freeze_panes(m_sheet, rows, 0); }

void Sheet::RowHeight(int row, double points) {
    Check(worksheet_set_row(m_sheet, static_cast<lxw_row_t>(row), points, nullptr),
          "worksheet_set_row");
}

void Sheet::Activate() { worksheet_activate(m_sheet); }

std::string Sheet::Cell(int row, int col) {
    char buf[LXW_MAX_CELL_NAME_LENGTH];
    lxw_rowcol_to_cell(buf, row, static_cast<lxw_col_t>(col));
    return buf;
}

std::string Sheet::Absolute(int row, int col) const {
    char buf[LXW_MAX_CELL_NAME_LENGTH];
    lxw_rowcol_to_cell_abs(buf, row, static_cast<lxw_col_t>(col), 1, 1);
    return "'" + m_name + "'!" + buf;
}

// ---- Workbook -------------------------------------------------------------------------

Workbook::Workbook(const std::string& path) : m_book(workbook_new(path.c_str())), m_formats{} {
    if (!m_book) Check(LXW_ERROR_MEMORY_MALLOC_FAILED, "workbook_new");
    for (int s = 0; s < static_cast<int>(Style::kCount); ++s) {
        const Look look = LookOf(static_cast<Style>(s));
        lxw_format* f = workbook_add_format(m_book);
        if (look.numberFormat) format_set_num_format(f, look.numberFormat);
        if (look.bold) format_set_bold(f);
        if (look.size > 0) format_set_font_size(f, look.size);
        if (look.centred) {
            format_set_align(f, LXW_ALIGN_CENTER);
            format_set_text_wrap(f);
        }
        if (look.grey) format_set_font_color(f, 0x595959);
        m_formats[s] = f;
    }
}

Workbook::~Workbook() {
    // A workbook that was never closed leaves no file: the library writes it only on close,
    // so a failure on the way is cleaned up here without writing.
    if (m_book) lxw_workbook_free(m_book);
}

Sheet& Workbook::AddSheet(const std::string& name) {
    lxw_worksheet* ws = workbook_add_worksheet(m_book, name.c_str());
    if (!ws) Check(LXW_ERROR_PARAMETER_VALIDATION, "workbook_add_worksheet");
    worksheet_set_landscape(ws);
    worksheet_fit_to_pages(ws, 1, 0);
    m_sheets.push_back(std::make_unique<Sheet>(ws, name, m_formats));
    return *m_sheets.back();
}

void Workbook::Name(const std::string& name, const Sheet& sheet, int row, int col) {
    const std::string ref = "=" + sheet.Absolute(row, col);
    Check(workbook_define_name(m_book, name.c_str(), ref.c_str()), "workbook_define_name");
    m_names[name] = name;
}

const std::string& Workbook::Ref(const std::string& name) const {
    const auto it = m_names.find(name);
    if (it == m_names.end())
        throw activation::ComError(kErrInvalidCall, "workpaper: no cell named " + name,
                                   activation::StandardErrorText(kErrInvalidCall));
    return it->second;
}

void Workbook::Close() {
    lxw_workbook* book = m_book;
    m_book = nullptr;
    Check(workbook_close(book), "workbook_close");
}

}  // namespace workpaper
