// How a batch run ends when something fails.
//
// A batch run never shows a window and never waits. Where an interactive run would show a
// message or ask the error reporter a question, the batch path throws BatchFailure instead;
// the batch run catches it, prints the error on stderr, appends it to the error log and
// exits non-zero. It deliberately does not derive from activation::ComError, so the
// trapping procedures on the way (which catch ComError) let it pass.
#pragma once

#include <string>
#include <utility>

namespace caldren {

struct BatchFailure {
    BatchFailure() = default;
    BatchFailure(long number_, std::string description_, std::string location_,
                 std::string file_ = {}, std::string entry_ = {})
        : number(number_),
          description(std::move(description_)),
          location(std::move(location_)),
          file(std::move(file_)),
          entry(std::move(entry_)) {}

    long number = 0;
    std::string description;
    // Location text as the error reporter receives it: the trapping location, a carriage
    // return and the error's source chain (newest first, separated by carriage returns).
    std::string location;
    // The file concerned and, when the failure is one entry of a data file, its key.
    std::string file;
    std::string entry;
};

// The error's own text: its description, unless that is only the program's description or
// the generic one; then the platform's standard text for the number; else the innermost
// message of the source chain ("This item needs to be a number.").
std::string ErrorText(long number, const std::string& description, const std::string& location);

// The key of the data file's entry that the engine refused ("Net Sales", "Monthly Count",
// "3 Inventory"), as the error's source chain names it; empty when it names none.
std::string RefusedEntry(const std::string& location);

// Who has the data file open in the windows, when that is why the run failed, as the
// error's source chain names the holder ("ann on office-pc (process 4711) since 12/06/2026
// 20:15:03"); empty otherwise.
std::string HeldBy(const std::string& location);

// The text of the log line's description: the error's text, then the file and the entry
// concerned: Type mismatch (file "/srv/acme.cld", entry "Average Cycle").
std::string LogDescription(const BatchFailure& failure);

}  // namespace caldren
