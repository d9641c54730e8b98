// Inputs: every input of an analysis as one table (engine property, the input form's label,
// getter and setter, and what next year's analysis makes of it), and the copy of one
// analysis's inputs and months into another engine object.
#pragma once

#include <vesmora/Vesmora.h>

#include <string>
#include <vector>

namespace caldren::analysis {

// What "New Year from This Analysis" does with an input.
enum class NextYear {
    Keep,          // describes the company: name lines, methods and options, other needs
    OneYearLater,  // a date of the year: a month end stays a month end
    Zero,          // a figure of one year's books, typed again for the new year
    FromEnding,    // a beginning balance: this year's ending balance
};

struct TextInput {
    const char* property;  // engine property name ("InvBeg")
    const char* label;     // the input form's label ("Beginning Inventory")
    std::string (vesmora::_Caldren::*get)() const;
    void (vesmora::_Caldren::*put)(const std::string&);
    NextYear nextYear;
    std::string (vesmora::_Caldren::*ending)() const = nullptr;  // for FromEnding
};

struct FlagInput {
    const char* property;
    bool (vesmora::_Caldren::*get)() const;
    void (vesmora::_Caldren::*put)(bool);
};

// Texts, dates and amounts, in the order of the input form's pages.
const std::vector<TextInput>& TextInputs();
// The five flags (methods and options); each is kept for next year.
const std::vector<FlagInput>& FlagInputs();
// The entry of a text input by property name; nullptr when there is none.
const TextInput* FindTextInput(const std::string& property);

// Copies every input and every month (date and the four amounts) of `from` into `to`,
// whose edit must be open; `to`'s month collection is made as long as `from`'s. Results,
// the version and the edit flags of `from` are not read; `from` is not changed.
void CopyInputs(const vesmora::_Caldren& from, vesmora::_Caldren& to);

// An amount property's value in whole units ("1,234" -> 1234).
long long WholeUnits(const std::string& engineText);
// Whole units as the engine writes them ("1,234", "-5,000").
std::string AmountText(long long units);

}  // namespace caldren::analysis
