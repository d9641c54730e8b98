#include "StopSignals.h"

#include <activation/Com.h>

#include <pthread.h>

namespace caldren::StopSignals {

namespace {

constexpr int kSignals[4] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT};

volatile std::sig_atomic_t g_noted = 0;

extern "C" void NoteSignal(int signal) {
    if (g_noted == 0) g_noted = signal;
}

sigset_t TheSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : kSignals) sigaddset(&set, s);
    return set;
}

}  // namespace

Watch::Watch() : m_old{} {
    g_noted = 0;
    struct sigaction note {};
    note.sa_handler = NoteSignal;
    note.sa_mask = TheSignals();
    note.sa_flags = SA_RESTART;
    for (int i = 0; i < 4; ++i) {
        // A signal the caller ignores (nohup, a background job's SIGINT) stays ignored.
        ::sigaction(kSignals[i], nullptr, &m_old[i]);
        if (m_old[i].sa_handler != SIG_IGN) ::sigaction(kSignals[i], &note, nullptr);
    }
}

Watch::~Watch() {
    for (int i = 0; i < 4; ++i) ::sigaction(kSignals[i], &m_old[i], nullptr);
    g_noted = 0;
}

Hold::Hold() : m_old{} {
    const sigset_t set = TheSignals();
    ::pthread_sigmask(SIG_BLOCK, &set, &m_old);
}

Hold::~Hold() { ::pthread_sigmask(SIG_SETMASK, &m_old, nullptr); }

int Noted() { return g_noted; }

void ThrowIfNoted() {
    if (const int signal = Noted())
        throw activation::ComError(kErrStopped, "StopSignals",
                                   "The run was stopped by " + Name(signal));
}

int ExitCode(int code) { return code != 0 && Noted() ? 128 + Noted() : code; }

std::string Name(int signal) {
    switch (signal) {
        case SIGTERM:
            return "SIGTERM";
        case SIGINT:
            return "SIGINT";
        case SIGHUP:
            return "SIGHUP";
        case SIGQUIT:
            return "SIGQUIT";
        default:
            return "signal " + std::to_string(signal);
    }
}

}  // namespace caldren::StopSignals
