#include "Rollforward.h"

#include "Dates.h"
#include "Inputs.h"

#include <activation/Com.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

namespace caldren::analysis {

using vesmora::IndexKey;

namespace {

constexpr const char* kMonthNames[] = {"January",   "February", "March",    "April",
                                       "May",       "June",     "July",     "August",
                                       "September", "October",  "November", "December"};

// The forms in which a second line writes a date.
std::vector<std::string> DateForms(const Date& d) {
    return {std::string(kMonthNames[d.month - 1]) + " " + std::to_string(d.day) + ", " +
                std::to_string(d.year),
            common::DateText(d), common::ShortDateText(d)};
}

bool DigitAt(const std::string& s, std::size_t i) {
    return i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]));
}

}  // namespace

std::string NextYearLine2(const std::string& line2, const std::string& oldYearEnd,
                          const std::string& newYearEnd) {
    const Date from = ParseDate(oldYearEnd), to = ParseDate(newYearEnd);
    if (to.year > 9999 || from.month < 1 || from.month > 12 || to.month < 1 || to.month > 12)
        return line2;
    const std::vector<std::string> oldForms = DateForms(from), newForms = DateForms(to);
    // A tax year that ends on December 31 begins in the same year; any other in the one before.
    const int firstYear = from.month == 12 && from.day == 31 ? from.year : from.year - 1;
    std::string out;
    std::size_t i = 0;
    while (i < line2.size()) {
        bool date = false;
        for (std::size_t k = 0; k < oldForms.size() && !date && !(i > 0 && DigitAt(line2, i - 1));
             ++k) {
            const std::string& form = oldForms[k];
            date = line2.compare(i, form.size(), form) == 0 && !DigitAt(line2, i + form.size());
            if (date) {
                out += newForms[k];
                i += form.size();
            }
        }
        if (date) continue;
        if (!DigitAt(line2, i)) {
            out += line2[i++];
            continue;
        }
        std::size_t j = i;
        while (DigitAt(line2, j)) ++j;
        std::string number = line2.substr(i, j - i);
        if (number.size() == 4) {
            const int year = std::stoi(number);
            if (year == from.year || year == firstYear)
                number = std::to_string(year + to.year - from.year);
        }
        out += number;
        i = j;
    }
    return out;
}

void RollForward(const vesmora::_Caldren& from, vesmora::_Caldren& next) {
    next.BeginEdit();
    CopyInputs(from, next);
    for (const TextInput& input : TextInputs()) {
        switch (input.nextYear) {
            case NextYear::Keep:
                break;
            case NextYear::OneYearLater:
                (next.*input.put)(OneYearLater((from.*input.get)()));
                break;
            case NextYear::Zero:
                (next.*input.put)("0");
                break;
            case NextYear::FromEnding:
                (next.*input.put)((from.*input.ending)());
                break;
        }
    }
    auto months = next.get_colMonths();
    const long count = months ? months->get_Count() : 0;
    for (long i = 1; i <= count; ++i) {
        auto m = months->get_Item(IndexKey{i});
        m->put_MonthDate(OneYearLater(m->get_MonthDate()));
        for (auto put : {&vesmora::_Monthly::put_Inventory, &vesmora::_Monthly::put_Receivables,
                         &vesmora::_Monthly::put_Sales, &vesmora::_Monthly::put_Purchases})
            ((*m).*put)("0");
    }
    next.put_Line2(NextYearLine2(from.get_Line2(), from.get_EOYCurrent(), next.get_EOYCurrent()));
}

vesmora::ComPtr<vesmora::_Caldren> RollForward(const vesmora::_Caldren& from,
                                               const EngineFactory& newEngine) {
    vesmora::ComPtr<vesmora::_Caldren> next = newEngine();
    if (!next)
        throw activation::ComError(429, "Rollforward.RollForward",
                                   activation::StandardErrorText(429));
    RollForward(from, *next);
    return next;
}

std::string NextYearFileName(const std::string& currentFile, const std::string& oldYearEnd,
                             const std::string& newYearEnd) {
    namespace fs = std::filesystem;
    const fs::path current(currentFile);
    std::string stem = current.filename().string();
    std::string extension = ".cld";
    if (stem.size() > 4) {
        std::string tail = stem.substr(stem.size() - 4);
        std::string lower = tail;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (lower == ".cld") {
            extension = tail;
            stem.erase(stem.size() - 4);
        }
    }
    const std::string oldYear = std::to_string(ParseDate(oldYearEnd).year);
    const std::string newYear = std::to_string(ParseDate(newYearEnd).year);
    if (stem.size() >= oldYear.size() &&
        stem.compare(stem.size() - oldYear.size(), oldYear.size(), oldYear) == 0)
        stem.erase(stem.size() - oldYear.size());
    stem += newYear;
    const fs::path folder = current.parent_path();
    auto nameWith = [&](const std::string& suffix) {
        const std::string file = stem + suffix + extension;
        return folder.empty() ? file : (folder / file).string();
    };
    std::string name = nameWith("");
    std::error_code ec;
    for (int n = 2; fs::exists(name, ec) && n < 1000; ++n)
        name = nameWith(" (" + std::to_string(n) + ")");
    return name;
}

}  // namespace caldren::analysis
