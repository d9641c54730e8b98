// StopSignals: the signals that ask a command-line run to stop (SIGTERM, SIGINT, SIGHUP and
// SIGQUIT), noted rather than obeyed at once.
//
// A command that writes (the batch run, the comparison, next year's file) sets up a Watch
// before anything else. While it lives, each of the four signals only notes itself: the
// handler stores the signal's number and does nothing else. The run asks at its safe
// points (between its steps, and in every wait for a lock, PosixFile.h) and, once a signal
// is noted, ends through its error path: what it wrote is taken back, the data file stays
// as it was, the error is printed and logged (error 18, "The run was stopped by SIGTERM"),
// and the process exits with 128 + the signal's number (ExitCode). Around a write that must
// not be cut short (the append of the reports, the save of the data file) the run holds
// the signals (Hold); one that comes meanwhile is noted as the Hold ends. A signal that
// comes while the run saves its data file, when nothing is left to take back, lets the run
// finish: it has done all it was asked to.
//
// A signal that the caller has the program ignore (nohup's SIGHUP, SIGINT and SIGQUIT of a
// background job) stays ignored. Without a Watch (the windows, the tests) nothing is noted
// and ThrowIfNoted never throws.
// Standard library and POSIX only.
#pragma once

#include <csignal>
#include <string>

namespace caldren::StopSignals {

// Error number of a stopped run ("User interrupt occurred").
inline constexpr long kErrStopped = 18;

// The four signals only note themselves from construction to destruction, which puts the
// earlier handlers back and forgets what was noted. Nothing is noted at the start.
class Watch {
public:
    Watch();
    ~Watch();
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

private:
    struct sigaction m_old[4];
};

// The four signals are blocked from construction to destruction; one that came meanwhile
// is noted when they are let through again.
class Hold {
public:
    Hold();
    ~Hold();
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

private:
    sigset_t m_old;
};

// The first signal noted since the Watch began, or 0.
int Noted();

// Throws activation::ComError kErrStopped ("The run was stopped by SIGTERM", source
// "StopSignals") when a signal was noted.
void ThrowIfNoted();

// The exit code of a run that ended with `code`: 128 + the signal when one was noted and the
// run failed; `code` otherwise.
int ExitCode(int code);

// "SIGTERM", "SIGINT", "SIGHUP", "SIGQUIT" (else "signal <n>").
std::string Name(int signal);

}  // namespace caldren::StopSignals
