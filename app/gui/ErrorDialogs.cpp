#include "ErrorDialogs.h"

#include "Desktop.h"
#include "MessageBox.h"
#include "frmError.h"

#include "../core/FileOperations.h"
#include "../core/RunState.h"

#include <activation/Com.h>
#include <errorreporter/ErrorReporter.h>
#include <profilestore/ProfileStore.h>

#include <QDialog>
#include <QUrl>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace caldren::gui {

const char* const kContactLines[] = {
    "Orlenwick Software Company",
    "1450 Harrow Mill Road, Suite 12",
    "Harrowmere, ST 00000",
    "Phone: (802) 555-0147",
    "FAX: (802) 555-0148",
    "Online Sales: https://www.orlenwick.example/order",
    "email: sales@orlenwick.example",
};
const int kContactLineCount = static_cast<int>(sizeof(kContactLines) / sizeof(kContactLines[0]));
const char* const kOrderPageUrl = "https://www.orlenwick.example/order";

namespace {

std::string SingleText(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
    return std::string(buffer, result.ptr);
}

void StoreFontPreferencesInSettingsFile(RunState& state) {
    if (state.preferences.settingsFilePath.empty()) return;
    profilestore::ProfileStore store;
    store.SetFileName(state.preferences.settingsFilePath);
    store.WriteEntry("User Preferences", "Font Name", state.preferences.fontName);
    store.WriteEntry("User Preferences", "Font Size", SingleText(state.preferences.fontSize));
}

DialogSeams MakeDefaultSeams() {
    DialogSeams seams;
    seams.runModal = [](QDialog& dialog) { return dialog.exec(); };
    seams.openExternal = [](const QString& urlOrPath) {
        const QUrl url = urlOrPath.contains(QStringLiteral("://")) ? QUrl(urlOrPath)
                                                                   : QUrl::fromLocalFile(urlOrPath);
        return Desktop::openUrl(url);
    };
    seams.saveAs = [](RunState& state) { FileOperations::SaveAs(state); };
    seams.storeFontPreferences = &StoreFontPreferencesInSettingsFile;
    seams.clock = &SecondsSinceMidnight;
    seams.endProgram = [](int code) {
        std::fflush(nullptr);
        std::_Exit(code);
    };
    return seams;
}

}  // namespace

DialogSeams& Seams() {
    static DialogSeams seams = MakeDefaultSeams();
    return seams;
}

std::int32_t SecondsSinceMidnight() {
    // Rounded to the nearest whole second, as the start and the end of a run both are: a
    // start rounded up and an end cut down would make a short run read as a whole day.
    const auto now = std::chrono::system_clock::now();
    const std::time_t whole = std::chrono::system_clock::to_time_t(now);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        now - std::chrono::system_clock::from_time_t(whole))
                        .count();
    std::tm local{};
    localtime_r(&whole, &local);
    const std::int32_t seconds =
        local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec + (ms >= 500 ? 1 : 0);
    return seconds % 86400;
}

std::string ErrorTypeText(long number) {
    std::string text = activation::StandardErrorText(number);
    if (text.empty()) text = "Application-defined or object-defined error";
    return text;
}

std::string ErrorMessageText(long number, const std::string& location) {
    std::string text = "An error has occurred in the ";
    text += kDescription;
    text += ".\n\n";
    text += "Error Number:   " + std::to_string(number) + "\n";
    text += "Error Type:        " + ErrorTypeText(number) + "\n";
    text += "Location:           " + location + "\n\n";
    text += "Do you want to save your data before the program shuts down?";
    return text;
}

bool ShowErrorWarning(const std::string& message, const std::string& location, bool hidden,
                      QWidget* parent) {
    (void)location;  // the window shows the message alone
    if (hidden) return true;
    frmError window(parent);
    window.SetMessage(QString::fromUtf8(message));
    Seams().runModal(window);
    return window.DontShowAgain();
}

void ReportErrorAndQuit(RunState& state, long number, const std::string& location) {
    const MsgAnswer answer =
        MessageBox::show(nullptr, QString::fromUtf8(ErrorMessageText(number, location)),
                         kYesNo | kCritical, QStringLiteral("WARNING!"));
    if (answer == MsgAnswer::Yes) {
        try {
            if (Seams().saveAs) Seams().saveAs(state);
        } catch (...) {
            // Save As reports its own failures; the shutdown goes on.
        }
    }
    ShutDown(state, false);
}

namespace {

std::string CurrentLogPath();

// Appends one line to the error log: a file, or a folder that gets "CLD_err.log".
void AppendLogLine(const std::string& logPath, const std::string& line) {
    if (logPath.empty()) return;
    std::string path = logPath;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        path += std::string("/") + kErrorLogName;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return;
    const std::string whole = line + "\r\n";
    const char* p = whole.data();
    size_t left = whole.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n <= 0) break;
        p += n;
        left -= static_cast<size_t>(n);
    }
    ::close(fd);
}

class QtErrorPresenter final : public errorreporter::ErrorPresenter {
public:
    QtErrorPresenter() = default;

    bool ShowAndAsk(long number, const std::string& description, const std::string& location,
                    const std::string& appDescription) override {
        try {
            Log(number, description, location, appDescription);
            const std::string text = errorreporter::ErrorReporter::FormatMessage(
                number, description, location, appDescription, true);
            return MessageBox::show(nullptr, QString::fromUtf8(text), kYesNo | kCritical,
                                    QString::fromUtf8(appDescription)) == MsgAnswer::Yes;
        } catch (...) {
            return false;
        }
    }

    void Show(long number, const std::string& description, const std::string& location,
              const std::string& appDescription) override {
        try {
            Log(number, description, location, appDescription);
            const std::string text = errorreporter::ErrorReporter::FormatMessage(
                number, description, location, appDescription, false);
            MessageBox::show(nullptr, QString::fromUtf8(text), kOkOnly | kCritical,
                             QString::fromUtf8(appDescription));
        } catch (...) {}
    }

private:
    void Log(long number, const std::string& description, const std::string& location,
             const std::string& appDescription) const {
        AppendLogLine(CurrentLogPath(), errorreporter::ErrorReporter::FormatLogLine(
                                            std::chrono::system_clock::now(), number, description,
                                            location, appDescription));
    }
};

}  // namespace

namespace {
const RunState* g_runState = nullptr;

std::string CurrentLogPath() {
    if (g_runState && !g_runState->program.errorLogPath.empty())
        return g_runState->program.errorLogPath;
    const std::string folder = errorreporter::ErrorReporter::PerUserLogFolder();
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder + "/" + kErrorLogName;
}
}  // namespace

void NoteRunState(RunState& state) { g_runState = &state; }

std::shared_ptr<errorreporter::ErrorPresenter> MakeQtErrorPresenter() {
    return std::make_shared<QtErrorPresenter>();
}

}  // namespace caldren::gui
