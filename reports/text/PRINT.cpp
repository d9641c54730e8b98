#include "PRINT.h"

#include <common/TextWidth.h>

#include <string>

namespace Reports::PRINT {

namespace {

constexpr int kHeadingLines = 13;  // the counter after a heading block
constexpr int kBottomReserve = 6;

}  // namespace

std::string PageModel::LineCountErrorText(int n) {
    return std::to_string(n) + " lines passed to PrnManager2()." + " Please use between 1 and " +
           "40";
}

void PageModel::NewLine() {
    ++m_line;
    m_column = 0;
}

void PageModel::NewPage() {
    m_device.EndPage();
    ++m_page;
    m_line = 0;
    m_column = 0;
}

// Print at a column (Tab): a position already past the column moves to the next line.
void PageModel::PrintAt(int column, std::string_view text) {
    if (m_column > column) NewLine();
    m_column = column;
    if (!text.empty()) m_device.DrawText(m_line, m_column, text);
    m_column += static_cast<int>(common::CharCount(text));
}

void PageModel::PrintChunk(std::string_view chunk) {
    size_t pos = 0;
    while (pos <= chunk.size()) {
        size_t end = chunk.find("\r\n", pos);
        std::string_view piece =
            chunk.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        if (!piece.empty()) {
            m_device.DrawText(m_line, m_column, piece);
            m_column += static_cast<int>(common::CharCount(piece));
        }
        if (end == std::string_view::npos) break;
        NewLine();
        pos = end + 2;
    }
}

void PageModel::PrintHeadings(std::string_view h1, std::string_view h2, std::string_view h3) {
    for (int i = 0; i < 6; ++i) NewLine();
    for (std::string_view h : {h1, h2, h3}) {
        // The first line at print column 10; lines after a CR LF from the left margin.
        size_t end = h.find("\r\n");
        PrintAt(9, h.substr(0, end));
        if (end != std::string_view::npos) {
            NewLine();
            PrintChunk(h.substr(end + 2));
        }
        NewLine();
    }
    NewLine();
}

void PageModel::PrnPgNo() {
    const int L = m_device.LinesPerPage();
    while (m_counter < L - kBottomReserve) {
        NewLine();
        ++m_counter;
    }
    // The printer's number form: a blank for the sign before the digits.
    PrintAt(2, "Page  " + std::to_string(m_page));
    NewLine();
    NewPage();
}

int PageModel::PrnManager2(int n, std::string_view h1, std::string_view h2, std::string_view h3) {
    switch (n) {
        case -300:
            PrnPgNo();
            PrintHeadings(h1, h2, h3);
            m_counter = kHeadingLines;
            return 1;
        case -200:
            PrnPgNo();
            m_counter = 0;
            return 1;
        case -100:
            if (m_counter != 0) {
                PrnPgNo();
                m_counter = 0;
            }
            m_device.EndDoc();
            m_page = 1;
            m_line = 0;
            m_column = 0;
            return 1;
        default:
            break;
    }
    if (n < 1 || n > 40) {
        m_device.ShowLineCountError(LineCountErrorText(n));
        return 2;
    }
    int result = 2;
    if (m_counter == 0) {
        PrintHeadings(h1, h2, h3);
        m_counter = kHeadingLines;
        result = 1;
    }
    const int L = m_device.LinesPerPage();
    // A page that holds nothing but its heading block is not left empty for a chunk too
    // long for any page: the chunk goes on it (it cannot fit better on the next one).
    if (m_counter + n >= L - kBottomReserve && m_counter != kHeadingLines) {
        PrnPgNo();
        PrintHeadings(h1, h2, h3);
        m_counter = kHeadingLines;
        result = 1;
    }
    m_counter += n;
    return result;
}

}  // namespace Reports::PRINT
