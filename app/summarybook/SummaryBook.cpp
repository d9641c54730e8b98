// The entry point of libcaldrensummarybook.so: the client summary as a workbook, written
// with libxlsxwriter in its constant-memory mode (each row goes to disk as the next one
// begins), so a list of any length takes the same memory. Sheets: "Summary" (a heading
// row, frozen, with a filter; one row per file in the summary's order) and "Failures" (the
// files that could not be read and why).
#include <activation/Com.h>
#include <summary/SummaryBook.h>

#include <xlsxwriter.h>

#include <charconv>
#include <cstddef>
#include <string>
#include <vector>

namespace {

using caldren::summary::Cell;
using caldren::summary::Row;

void Check(lxw_error error, const char* what) {
    if (error != LXW_NO_ERROR)
        throw activation::ComError(5, "SummaryBook.CaldrenWriteSummaryBook",
                                   std::string(what) + ": " + lxw_strerror(error));
}

double Number(const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

struct Formats {
    lxw_format *heading, *dollars, *whole, *days, *part, *date;
};

Formats MakeFormats(lxw_workbook* book) {
    Formats f{};
    f.heading = workbook_add_format(book);
    format_set_bold(f.heading);
    format_set_text_wrap(f.heading);
    format_set_align(f.heading, LXW_ALIGN_VERTICAL_TOP);
    f.dollars = workbook_add_format(book);
    format_set_num_format(f.dollars, "$#,##0;-$#,##0");
    f.whole = workbook_add_format(book);
    format_set_num_format(f.whole, "#,##0");
    f.days = workbook_add_format(book);
    format_set_num_format(f.days, "0.0####");
    f.part = workbook_add_format(book);
    format_set_num_format(f.part, "0.00000");
    f.date = workbook_add_format(book);
    format_set_num_format(f.date, "mm/dd/yyyy");
    return f;
}

void Headings(lxw_worksheet* sheet, const std::vector<std::string>& headings, lxw_format* f) {
    for (std::size_t c = 0; c < headings.size(); ++c)
        Check(worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), headings[c].c_str(), f),
              "heading");
    Check(worksheet_set_row(sheet, 0, 45, nullptr), "heading row");
    worksheet_freeze_panes(sheet, 1, 0);
}

void Text(lxw_worksheet* sheet, lxw_row_t r, lxw_col_t c, const std::string& text) {
    if (!text.empty()) Check(worksheet_write_string(sheet, r, c, text.c_str(), nullptr), "text");
}

void SummarySheet(lxw_workbook* book, const Formats& f, const std::vector<Row>& rows) {
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Summary");
    if (!sheet) Check(LXW_ERROR_MEMORY_MALLOC_FAILED, "Summary sheet");
    const auto& headings = caldren::summary::ColumnHeadings();
    const lxw_col_t last = static_cast<lxw_col_t>(headings.size() - 1);
    // File, client, second line, year end, methods, twelve figures, failure.
    worksheet_set_column(sheet, 0, 0, 36, nullptr);
    worksheet_set_column(sheet, 1, 2, 30, nullptr);
    worksheet_set_column(sheet, 3, 3, 11, nullptr);
    worksheet_set_column(sheet, 4, 4, 16, nullptr);
    worksheet_set_column(sheet, 5, last - 1, 15, nullptr);
    worksheet_set_column(sheet, last, last, 60, nullptr);
    Headings(sheet, headings, f.heading);
    Check(worksheet_autofilter(sheet, 0, 0, static_cast<lxw_row_t>(rows.size()), last), "filter");
    lxw_row_t r = 1;
    for (const Row& row : rows) {
        Text(sheet, r, 0, row.file);
        Text(sheet, r, 1, row.name);
        Text(sheet, r, 2, row.line2);
        if (row.yearEnd.size() == 10) {
            lxw_datetime date{};
            date.year = static_cast<int>(Number(row.yearEnd.substr(0, 4)));
            date.month = static_cast<int>(Number(row.yearEnd.substr(5, 2)));
            date.day = static_cast<int>(Number(row.yearEnd.substr(8, 2)));
            Check(worksheet_write_datetime(sheet, r, 3, &date, f.date), "date");
        }
        Text(sheet, r, 4, row.Methods());
        lxw_col_t c = 5;
        for (const Cell& cell : caldren::summary::FigureCells(row)) {
            if (cell.kind == Cell::Whole)
                Check(worksheet_write_number(sheet, r, c, static_cast<double>(cell.whole),
                                             cell.dollars ? f.dollars : f.whole),
                      "number");
            else if (cell.kind != Cell::Empty)
                Check(worksheet_write_number(sheet, r, c, Number(cell.text),
                                             cell.kind == Cell::Days ? f.days : f.part),
                      "number");
            ++c;
        }
        Text(sheet, r, last, row.failure);
        ++r;
    }
    worksheet_activate(sheet);
}

void FailuresSheet(lxw_workbook* book, const Formats& f, const std::vector<Row>& rows) {
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Failures");
    if (!sheet) Check(LXW_ERROR_MEMORY_MALLOC_FAILED, "Failures sheet");
    worksheet_set_column(sheet, 0, 0, 50, nullptr);
    worksheet_set_column(sheet, 1, 1, 80, nullptr);
    Headings(sheet, {"File", "Reason"}, f.heading);
    lxw_row_t r = 1;
    for (const Row& row : rows) {
        if (row.Ok()) continue;
        Text(sheet, r, 0, row.file);
        Text(sheet, r, 1, row.failure);
        ++r;
    }
    Check(worksheet_autofilter(sheet, 0, 0, r - 1, 1), "filter");
}

}  // namespace

extern "C" void CaldrenWriteSummaryBook(const std::vector<Row>& rows, const std::string& path) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
    if (!book) Check(LXW_ERROR_MEMORY_MALLOC_FAILED, "workbook");
    try {
        const Formats f = MakeFormats(book);
        SummarySheet(book, f, rows);
        FailuresSheet(book, f, rows);
    } catch (...) {
        workbook_close(book);
        throw;
    }
    Check(workbook_close(book), "workbook");
}
