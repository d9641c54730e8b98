// The error reporter: the program hands it the errors its trapping procedures catch.
//
// It shows an error (and asks whether to save before the program ends) through an
// ErrorPresenter: the windows library supplies a dialog; without one, the errors go to
// standard error and every question is answered "no" (nothing waits for a user).
//
// With the batch flag set, ReportOrLog asks nothing and appends one line to the error log
// "CLD_err.log":
//   - in the log file given (an empty path means "CLD_err.log" in the running program's
//     folder), when that file can be appended to;
//   - else in the per-user folder $XDG_CONFIG_HOME/Orlenwick (~/.config when
//     XDG_CONFIG_HOME is unset), created when missing;
//   (a log that is a link, a pipe, a device or a folder is never written, nor a line that
//   would pass the file-size limit: the next place is taken);
//   - else, as a last resort, on standard error.
// Whenever the log given could not be written, standard error says so and why ("File too
// large", "No space left on device", "Permission denied", "it is a folder") and where the
// line went instead (or the line itself).
// Line format (UTF-8, CR LF at the end), fields joined by " | ":
//   12/06/2026 20:15:03 | Caldren Formula Calculator | Error 53 | File not found |
//   MainMod.RunSilent <- Caldren.Fetch <- ...
// The local date as mm/dd/yyyy and the time as hh:mm:ss, the program's description, the
// number, the description, and the location with its source chain: each carriage return
// of the chain (newest location first) is shown as " <- ", so a line always stays one
// line; other line breaks and control characters become blanks. Each field is cut at
// 4,000 bytes. The whole line goes to the file in one write() on a file opened for
// appending, so lines of concurrent or crashing writers never interleave.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace errorreporter {

// How errors reach the user. Implementations must not throw.
class ErrorPresenter {
public:
    virtual ~ErrorPresenter() = default;
    // Shows the error and asks whether to save the data before the program ends.
    // Returns true for "save first".
    virtual bool ShowAndAsk(long number, const std::string& description,
                            const std::string& location, const std::string& appDescription) = 0;
    // Shows the error; the program goes on afterwards.
    virtual void Show(long number, const std::string& description, const std::string& location,
                      const std::string& appDescription) = 0;
};

// The presenter for runs without windows: writes the message to standard error (or the
// stream function given) and answers every question "no".
class StderrPresenter : public ErrorPresenter {
public:
    using Writer = std::function<void(const std::string& text)>;
    StderrPresenter();
    explicit StderrPresenter(Writer writer);
    bool ShowAndAsk(long number, const std::string& description, const std::string& location,
                    const std::string& appDescription) override;
    void Show(long number, const std::string& description, const std::string& location,
              const std::string& appDescription) override;

private:
    Writer m_writer;
};

class ErrorReporter {
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    ErrorReporter();  // with a StderrPresenter
    explicit ErrorReporter(std::shared_ptr<ErrorPresenter> presenter);

    void SetPresenter(std::shared_ptr<ErrorPresenter> presenter);
    void SetClock(Clock clock);

    // Shows the error and asks; true when the user wants the data saved before the end.
    bool ReportAndAsk(long Number, const std::string& Description, const std::string& Location,
                      const std::string& AppDescription);
    // Shows the error.
    void ReportError(long Number, const std::string& Description, const std::string& Location,
                     const std::string& AppDescription);
    // Interactive: as ReportAndAsk. Batch: appends the error to the log, asks nothing and
    // returns false. Never throws.
    bool ReportOrLog(long Number, const std::string& Description, const std::string& Location,
                     bool IsBatch, const std::string& LogPath, const std::string& AppDescription);

    // The log file the last batch report went to (empty when it went to standard error),
    // and the line written (without its line end).
    const std::string& LastLogFile() const { return m_lastLogFile; }
    const std::string& LastLogLine() const { return m_lastLogLine; }

    // The log line for an error at a given time (without its line end).
    static std::string FormatLogLine(std::chrono::system_clock::time_point when, long number,
                                     const std::string& description, const std::string& location,
                                     const std::string& appDescription);
    // The message a presenter shows: "An error has occurred in the <app>." and the number,
    // description and location (carriage returns of the chain as line breaks), with the
    // save question when asking.
    static std::string FormatMessage(long number, const std::string& description,
                                     const std::string& location, const std::string& appDescription,
                                     bool asking);
    // The per-user log folder ($XDG_CONFIG_HOME/Orlenwick or ~/.config/Orlenwick, beside the
    // settings file).
    static std::string PerUserLogFolder();

private:
    std::shared_ptr<ErrorPresenter> m_presenter;
    Clock m_clock;
    std::string m_lastLogFile;
    std::string m_lastLogLine;
};

}  // namespace errorreporter
