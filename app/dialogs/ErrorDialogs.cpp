#include "app/dialogs/ErrorDialogs.h"

#include "app/dialogs/Dialogs.h"
#include "app/dialogs/frmError.h"

#include "../core/FileOperations.h"
#include "../core/RunState.h"

#include <activation/Com.h>
#include <errorreporter/ErrorReporter.h>

#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <chrono>
#include <filesystem>

namespace caldren::dialogs {

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

bool ShowErrorWarning(Dialogs& dialogs, const std::string& message, const std::string& location,
                      bool hidden, QWidget* parent) {
    (void)location;  // the window shows the message alone
    if (hidden) return true;
    frmError window(parent);
    window.SetMessage(QString::fromUtf8(message));
    dialogs.runModal(window);
    return window.DontShowAgain();
}

void ReportErrorAndQuit(RunState& state, Dialogs& dialogs, long number,
                        const std::string& location) {
    const MsgAnswer answer =
        dialogs.message(nullptr, QString::fromUtf8(ErrorMessageText(number, location)),
                        kYesNo | kCritical, QStringLiteral("WARNING!"));
    if (answer == MsgAnswer::Yes) {
        try {
            FileOperations::SaveAs(state);
        } catch (...) {
            // Save As reports its own failures; the shutdown goes on.
        }
    }
    // The shutdown belongs to the windows above this room; the run's Ui reaches it.
    if (state.options.ui)
        state.options.ui->ShutDown(false);
    else
        dialogs.endProgram(0);
}

namespace {

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
    QtErrorPresenter(Dialogs& dialogs, std::string errorLogPath)
        : m_dialogs(dialogs), m_logPath(std::move(errorLogPath)) {}

    bool ShowAndAsk(long number, const std::string& description, const std::string& location,
                    const std::string& appDescription) override {
        try {
            Log(number, description, location, appDescription);
            const std::string text = errorreporter::ErrorReporter::FormatMessage(
                number, description, location, appDescription, true);
            return m_dialogs.message(nullptr, QString::fromUtf8(text), kYesNo | kCritical,
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
            m_dialogs.message(nullptr, QString::fromUtf8(text), kOkOnly | kCritical,
                              QString::fromUtf8(appDescription));
        } catch (...) {}
    }

private:
    void Log(long number, const std::string& description, const std::string& location,
             const std::string& appDescription) const {
        AppendLogLine(LogPath(), errorreporter::ErrorReporter::FormatLogLine(
                                     std::chrono::system_clock::now(), number, description,
                                     location, appDescription));
    }

    std::string LogPath() const {
        if (!m_logPath.empty()) return m_logPath;
        const std::string folder = errorreporter::ErrorReporter::PerUserLogFolder();
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
        return folder + "/" + kErrorLogName;
    }

    Dialogs& m_dialogs;
    std::string m_logPath;
};

}  // namespace

std::shared_ptr<errorreporter::ErrorPresenter> MakeErrorPresenter(Dialogs& dialogs,
                                                                  std::string errorLogPath) {
    return std::make_shared<QtErrorPresenter>(dialogs, std::move(errorLogPath));
}

void ReportError(Dialogs& dialogs, const std::string& errorLogPath, long number,
                 const std::string& description, const std::string& location) {
    errorreporter::ErrorReporter reporter(MakeErrorPresenter(dialogs, errorLogPath));
    reporter.ReportError(number, description, location, kDescription);
}

}  // namespace caldren::dialogs
