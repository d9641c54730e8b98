// How a batch run ends when something fails.
//
// A batch run never shows a window and never waits. Where an interactive run would show a
// message or ask the error reporter a question, the batch path throws BatchFailure instead;
// main() catches it, prints the error on stderr, appends it to the error log and exits
// non-zero. It deliberately does not derive from activation::ComError, so the trapping
// procedures on the way (which catch ComError) let it pass.
#pragma once

#include <string>

namespace caldren {

struct BatchFailure {
    long number = 0;
    std::string description;
    // Location text as the error reporter receives it: the trapping location, a carriage
    // return and the error's source chain (newest first, separated by carriage returns).
    std::string location;
};

}  // namespace caldren
