#include "ReportFonts.h"

#include "app/dialogs/Dialogs.h"
#include "app/dialogs/ErrorDialogs.h"

#include <activation/Com.h>

#include <QFontDialog>
#include <QFontInfo>

#include <charconv>

namespace caldren::reportwindows {

const char* const kFontAdviceText =
    "We strongly recommend the use of either the COURIER NEW or the COURIER font. Other fonts "
    "might not align properly, or may cause an error 380.";

namespace {
constexpr long kInvalidPropertyValue = 380;
}

std::string SizeText(float size) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), size);
    return std::string(buffer, result.ptr);
}

std::string NewFontWarningText(const std::string& name, float size) {
    return std::string("This program requires the ") + name + " (" + SizeText(size) + " point) " +
           "font, which is not available on this system. Please install " +
           "this font. The program will use the default font for this " +
           "system. Report formatting may be affected. As an " +
           "alternative, the program will let you select a font.";
}

std::string OldFontWarningText(const std::string& name, float size) {
    return std::string("The ") + name + " (" + SizeText(size) +
           " point) font, could not be located. " + "The program will use the default font. " +
           "Report formatting may be affected.";
}

FontSpec ReportFont(const Preferences& preferences) {
    return FontSpec{preferences.fontName, preferences.fontSize, false};
}

void SetNewFont(RunState& state, dialogs::Dialogs& dialogs, const std::string& name, float size,
                bool bold, Reports::PrinterFontRecord& saved, QWidget* parent) {
    ReportPrinter& printer = ReportPrinter::Instance();
    saved.name = printer.FontName();
    saved.size = printer.FontSize();
    saved.bold = printer.FontBold();

    std::string wantName = name;
    float wantSize = size;
    bool wantBold = bold;
    bool usingSystemDefault = false;
    int step = 0;  // 0 name, 1 size, 2 bold, 3 done
    while (step < 3) {
        try {
            if (step == 0) {
                printer.SetFontName(wantName);
                step = 1;
            }
            if (step == 1) {
                printer.SetFontSize(wantSize);
                step = 2;
            }
            if (step == 2) {
                printer.SetFontBold(wantBold);
                step = 3;
            }
        } catch (const activation::ComError& e) {
            if (e.Number() != kInvalidPropertyValue || usingSystemDefault) {
                dialogs::ReportErrorAndQuit(state, dialogs, e.Number(), "SetNewFont()");
                return;
            }
            if (!state.preferences.hideWarning)
                state.preferences.hideWarning = dialogs::ShowErrorWarning(
                    dialogs, NewFontWarningText(wantName, wantSize), "SetNewFont()", false, parent);
            const std::string failedName = wantName;
            const float failedSize = wantSize;
            GetFonts(state, dialogs, parent);
            wantName = state.preferences.fontName;
            wantSize = state.preferences.fontSize;
            wantBold = bold;
            if (wantName == failedName && wantSize == failedSize) {
                // The dialog was cancelled: the system's default fixed-pitch font.
                const bool nameFailed = (step == 0);
                if (nameFailed)
                    wantName = SystemFixedFamily();
                else
                    wantSize = 10.0f;
                usingSystemDefault = true;
            }
        } catch (const std::exception&) {
            dialogs::ReportErrorAndQuit(state, dialogs, 5, "SetNewFont()");
            return;
        }
    }
}

void SetOldFont(RunState& state, dialogs::Dialogs& dialogs, const Reports::PrinterFontRecord& saved,
                QWidget* parent) {
    ReportPrinter& printer = ReportPrinter::Instance();
    try {
        printer.SetFontName(saved.name);
        printer.SetFontSize(saved.size);
        printer.SetFontBold(saved.bold);
    } catch (const activation::ComError& e) {
        if (e.Number() != kInvalidPropertyValue) {
            dialogs::ReportErrorAndQuit(state, dialogs, e.Number(), "SetOldFont()");
            return;
        }
        if (!state.preferences.hideWarning)
            state.preferences.hideWarning = dialogs::ShowErrorWarning(
                dialogs, OldFontWarningText(saved.name, saved.size), "SetOldFont()", false, parent);
    }
}

void GetFonts(RunState& state, dialogs::Dialogs& dialogs, QWidget* parent) {
    try {
        dialogs.message(parent, QString::fromUtf8(kFontAdviceText), kOkOnly | kExclamation,
                        QStringLiteral("WARNING!"));

        // The dialog starts at the font the system resolves for the report font's name.
        const QString resolved = ResolvedFamily(state.preferences.fontName);
        QFont initial(resolved);
        initial.setPointSizeF(state.preferences.fontSize > 0 ? state.preferences.fontSize : 10.0);
        initial.setBold(true);

        QFontDialog dialog(initial, parent);
        dialog.setObjectName(QStringLiteral("GetFonts"));
        dialog.setOption(QFontDialog::MonospacedFonts, true);
        dialog.setOption(QFontDialog::ScalableFonts, true);
        dialog.setOption(QFontDialog::NonScalableFonts, true);
        dialog.setCurrentFont(initial);
        if (dialogs.runModal(dialog) != QDialog::Accepted) return;  // nothing changes

        const QFont chosen = dialog.selectedFont();
        std::string family = chosen.family().toStdString();
        // The same family as the resolved one keeps the name the user knows.
        if (!family.empty() && chosen.family() == resolved) family = state.preferences.fontName;
        state.preferences.fontName = family.empty() ? std::string("Courier New") : family;
        const double points = chosen.pointSizeF();
        state.preferences.fontSize = points >= 5.0 ? static_cast<float>(points) : 10.0f;
    } catch (const activation::ComError& e) {
        dialogs::ReportErrorAndQuit(state, dialogs, e.Number(), "GetFonts");
    } catch (const std::exception&) {
        dialogs::ReportErrorAndQuit(state, dialogs, 5, "GetFonts");
    }
}

}  // namespace caldren::reportwindows
