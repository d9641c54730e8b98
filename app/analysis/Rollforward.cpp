#include "Rollforward.h"

#include "Dates.h"
#include "Inputs.h"

#include <activation/Com.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace caldren::analysis {

using vesmora::IndexKey;

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
