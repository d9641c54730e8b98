// ShutDown: the end of an interactive run, and its exit screen (frmFinal).
//
//   ShutDown            Save As when asked, release the reporter, store the report font,
//                       release the engine, give the printer its start font back, show the
//                       exit screen with the time spent, end the process
//   BuildExitMessage    the exit screen for a number of seconds
#pragma once

#include <cstdint>
#include <string>

class QWidget;

namespace caldren {
struct RunState;
}
namespace caldren::dialogs {
class Dialogs;
}

namespace caldren::gui {

// The exit screen's text for `totalSeconds` (a negative count is taken as 0), CR LF line
// ends: "You have spent 12 minutes, and 34 seconds using Orlenwick's Caldren Formula
// Calculator. How long would your work have taken without it?" and the order lines.
std::string BuildExitMessageText(long totalSeconds);

// Seconds from `start` to `end`, both whole seconds since midnight. A run that passes
// midnight counts on into the next day (end earlier than start adds a day), so the time
// spent is never negative.
std::int32_t ElapsedSeconds(std::int32_t start, std::int32_t end);

// ShutDown in its order; errors inside are ignored and each step still runs. Ends the
// process through dialogs.endProgram.
void ShutDown(RunState& state, dialogs::Dialogs& dialogs, bool saveFirst);

// Fills and shows the exit screen modally.
void BuildExitMessage(dialogs::Dialogs& dialogs, long totalSeconds, QWidget* parent = nullptr);

}  // namespace caldren::gui
