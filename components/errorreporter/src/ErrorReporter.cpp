#include <errorreporter/ErrorReporter.h>

#include <activation/Activation.h>
#include <common/FileKind.h>
#include <common/TextWidth.h>
#include <common/UserFolders.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <fcntl.h>
#include <sys/resource.h>
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

void MakeFolders(const std::string& folder) {
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = folder.find('/', pos + 1);
        const std::string partial = folder.substr(0, pos);
        if (!partial.empty()) ::mkdir(partial.c_str(), 0755);
    }
}

// Appends the whole line in one write; empty when all of it went to the file, else why
// not. The log has a fixed name, so a link in its place is not followed; a folder, pipe or
// device is never written nor waited for. A line that would pass the file-size limit is
// not begun, and a line cut short (a full disk) is taken back, so the log holds whole
// lines only.
std::string AppendLine(const std::string& file, const std::string& line) {
    struct stat st {};
    if (::lstat(file.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return std::string("it is ") + common::FileKind(st.st_mode);
    const int fd = ::open(
        file.c_str(),
        O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (fd < 0) return std::strerror(errno);
    std::string why;
    rlimit limit{};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        why = "it is not a regular file";
    } else if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
               static_cast<rlim_t>(st.st_size) + line.size() > limit.rlim_cur) {
        why = std::strerror(EFBIG);
    } else {
        ssize_t written;
        do {
            written = ::write(fd, line.data(), line.size());
        } while (written < 0 && errno == EINTR);
        if (written < 0) why = std::strerror(errno);
        if (written >= 0 && written < static_cast<ssize_t>(line.size())) {
            why = std::strerror(ENOSPC);
            if (written > 0 && ::fstat(fd, &st) == 0) (void)!::ftruncate(fd, st.st_size - written);
        }
    }
    ::close(fd);
    return why;
}

// Says on standard error what the log could not do; the program's own stderr lines stay.
void Tell(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
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

        const std::string first =
            LogPath.empty() ? activation::ProgramFolder() + "/" + kLogName : LogPath;
        const std::string whyFirst = AppendLine(first, bytes);
        if (whyFirst.empty()) {
            m_lastLogFile = first;
            return false;
        }
        const std::string folder = PerUserLogFolder();
        const std::string second = folder + "/" + kLogName;
        std::string whySecond = whyFirst;
        if (second != first) {
            MakeFolders(folder);
            whySecond = AppendLine(second, bytes);
        }
        const std::string cannot = "The error log " + first + " cannot be written: " + whyFirst;
        if (whySecond.empty()) {
            m_lastLogFile = second;
            Tell(cannot + ". The error was logged in " + second + ".\n");
            return false;
        }
        m_lastLogFile.clear();
        Tell(cannot + (second != first ? "; nor " + second + ": " + whySecond : std::string()) +
             ". The error:\n" + bytes);
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
