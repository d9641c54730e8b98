// The report font: switching the printer to it and back (SetNewFont, SetOldFont of module
// PRINT) and choosing it (GetFonts of module FontSupport, the Options, Fonts command).
//
// A font the printer cannot use (error 380: on this system, a family that does not resolve
// to a fixed-pitch font) leads SetNewFont to the warning window (unless the hide-warning
// flag is set; the window's "Don't show this message again" sets it for the rest of the
// run), then to the font dialog, then to a retry with the report font as it now stands.
// When the user cancels the dialog and that font still cannot be used, the printer takes
// the system's default fixed-pitch font, as the warning announces, instead of asking
// again and again.
#pragma once

#include "ReportPrinter.h"

#include <Reports.h>

#include <string>

class QWidget;

namespace caldren::dialogs {
class Dialogs;
}

namespace caldren::reportwindows {

// "This program requires the <name> (<size> point) font, which is not available ..."
std::string NewFontWarningText(const std::string& name, float size);
// "The <name> (<size> point) font, could not be located. ..."
std::string OldFontWarningText(const std::string& name, float size);
// GetFonts' warning.
extern const char* const kFontAdviceText;
// The size as the shortest decimal text of a single-precision number ("10", "10.5").
std::string SizeText(float size);

// SetNewFont(name, size, bold, record): the printer's font into `saved`, then the given
// font (with the 380 path above). Other errors: ReportErrorAndQuit "SetNewFont()".
void SetNewFont(RunState& state, dialogs::Dialogs& dialogs, const std::string& name, float size,
                bool bold, Reports::PrinterFontRecord& saved, QWidget* parent = nullptr);
// SetOldFont(record). 380: the warning (unless hidden); the rest of the record is not
// applied. Other errors: ReportErrorAndQuit "SetOldFont()".
void SetOldFont(RunState& state, dialogs::Dialogs& dialogs, const Reports::PrinterFontRecord& saved,
                QWidget* parent = nullptr);

// GetFonts: the warning ("WARNING!"), then the font dialog limited to fixed-pitch fonts,
// started at the report font (bold shown). OK: name (empty -> "Courier New") and size
// (below 5 -> 10) become the report font; Cancel changes nothing. Errors:
// ReportErrorAndQuit "GetFonts".
void GetFonts(RunState& state, dialogs::Dialogs& dialogs, QWidget* parent = nullptr);

// The report font of the preferences (bold: the program's flag, off).
FontSpec ReportFont(const Preferences& preferences);

}  // namespace caldren::reportwindows
