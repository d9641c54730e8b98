#include <errorreporter/ErrorReporter.h>

#include <activation/Activation.h>
#include <common/TextWidth.h>
#include <common/UserFolders.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace errorreporter {

namespace {

constexpr std::size_t kMaxField = 4000;
constexpr const char* kLogName = "CLD_err.log";

// One field of a log line: no line breaks, no control characters, bounded length (cut at
// a character boundary).
std::string Flatten(const std::string& text, bool chain) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r' && chain) {
            out += " <- ";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c < 0x20 || c == 0x7F) {
            out += ' ';
        } else {
            out += static_cast<char>(c);
        }
    }
    if (out.size() > kMaxField) {
        out.resize(common::CharBoundaryBefore(out, kMaxField));
        out += "...";
    }
    return out;
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void MakeFolders(const std::string& folder) {
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = folder.find('/', pos + 1);
        const std::string partial = folder.substr(0, pos);
        if (!partial.empty()) ::mkdir(partial.c_str(), 0755);
    }
}

// Appends the whole line in one write; true when all of it went to the file. The log has
// a fixed name, so a link in its place is not followed; a pipe or device is never waited
// for nor written.
bool AppendLine(const std::string& file, const std::string& line) {
    const int fd = ::open(
        file.c_str(),
        O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    ssize_t written;
    do {
        written = ::write(fd, line.data(), line.size());
    } while (written < 0 && errno == EINTR);
    const bool ok = written == static_cast<ssize_t>(line.size());
    ::close(fd);
    return ok;
}

}  // namespace

StderrPresenter::StderrPresenter()
    : m_writer([](const std::string& text) {
          // Through the C library's stderr: a program that includes <iostream> builds every
          // standard stream and the classic locale at each start.
          std::fwrite(text.data(), 1, text.size(), stderr);
          std::fflush(stderr);
      }) {}

StderrPresenter::StderrPresenter(Writer writer) : m_writer(std::move(writer)) {}

bool StderrPresenter::ShowAndAsk(long number, const std::string& description,
                                 const std::string& location, const std::string& appDescription) {
    Show(number, description, location, appDescription);
    return false;
}

void StderrPresenter::Show(long number, const std::string& description, const std::string& location,
                           const std::string& appDescription) {
    try {
        m_writer(
            ErrorReporter::FormatMessage(number, description, location, appDescription, false) +
            "\n");
    } catch (...) {}
}

ErrorReporter::ErrorReporter() : ErrorReporter(std::make_shared<StderrPresenter>()) {}

ErrorReporter::ErrorReporter(std::shared_ptr<ErrorPresenter> presenter)
    : m_presenter(std::move(presenter)), m_clock([] { return std::chrono::system_clock::now(); }) {
    if (!m_presenter) m_presenter = std::make_shared<StderrPresenter>();
}

void ErrorReporter::SetPresenter(std::shared_ptr<ErrorPresenter> presenter) {
    m_presenter = presenter ? std::move(presenter) : std::make_shared<StderrPresenter>();
}

void ErrorReporter::SetClock(Clock clock) {
    if (clock) m_clock = std::move(clock);
}

bool ErrorReporter::ReportAndAsk(long Number, const std::string& Description,
                                 const std::string& Location, const std::string& AppDescription) {
    return m_presenter->ShowAndAsk(Number, Description, Location, AppDescription);
}

void ErrorReporter::ReportError(long Number, const std::string& Description,
                                const std::string& Location, const std::string& AppDescription) {
    m_presenter->Show(Number, Description, Location, AppDescription);
}

bool ErrorReporter::ReportOrLog(long Number, const std::string& Description,
                                const std::string& Location, bool IsBatch,
                                const std::string& LogPath, const std::string& AppDescription) {
    if (!IsBatch) return ReportAndAsk(Number, Description, Location, AppDescription);
    try {
        const std::string line =
            FormatLogLine(m_clock(), Number, Description, Location, AppDescription);
        m_lastLogLine = line;
        const std::string bytes = line + "\r\n";

        std::string first;
        if (LogPath.empty())
            first = activation::ProgramFolder() + "/" + kLogName;
        else if (IsFolder(LogPath))
            first = LogPath + (LogPath.back() == '/' ? "" : "/") + kLogName;
        else
            first = LogPath;
        if (AppendLine(first, bytes)) {
            m_lastLogFile = first;
            return false;
        }
        const std::string folder = PerUserLogFolder();
        MakeFolders(folder);
        const std::string second = folder + "/" + kLogName;
        if (AppendLine(second, bytes)) {
            m_lastLogFile = second;
            return false;
        }
        m_lastLogFile.clear();
        std::fwrite(bytes.data(), 1, bytes.size(), stderr);
        std::fflush(stderr);
    } catch (...) {
        // Reporting an error never raises one.
    }
    return false;
}

std::string ErrorReporter::FormatLogLine(std::chrono::system_clock::time_point when, long number,
                                         const std::string& description,
                                         const std::string& location,
                                         const std::string& appDescription) {
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm tm{};
    ::localtime_r(&t, &tm);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%m/%d/%Y %H:%M:%S", &tm);
    return std::string(stamp) + " | " + Flatten(appDescription, false) + " | Error " +
           std::to_string(number) + " | " + Flatten(description, false) + " | " +
           Flatten(location, true);
}

std::string ErrorReporter::FormatMessage(long number, const std::string& description,
                                         const std::string& location,
                                         const std::string& appDescription, bool asking) {
    std::string chain;
    for (const char c : location) chain += c == '\r' ? '\n' : c;
    std::string text = "An error has occurred in the " + appDescription + ".\n\n" +
                       "Error Number: " + std::to_string(number) + "\n" +
                       "Description: " + description + "\n" + "Location: " + chain;
    if (asking) text += "\n\nDo you want to save your data before the program shuts down?";
    return text;
}

std::string ErrorReporter::PerUserLogFolder() { return common::MakerConfigFolder(); }

}  // namespace errorreporter
