// Running the built program as a batch caller would: its own argv, a pinned environment
// with no display variables (a batch run needs no display), a working folder, and its
// exit status and output captured; optionally under a file-size limit, or with its output
// going to a pipe nobody reads, or stopped by a signal once it watches for it.
#pragma once

#include "../TestSupport.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace batchtest {

namespace fs = std::filesystem;

using testsupport::ReadFile;
using testsupport::WriteFile;

struct RunResult {
    int exitCode = -1;  // 128 + the signal when a signal ended it
    std::string out;
    std::string err;
};

struct RunOptions {
    std::vector<std::string> env;  // added to HOME, XDG folders, PATH and the C locale
    long fileSizeLimit = -1;       // RLIMIT_FSIZE in bytes, when not negative
    bool closedPipe = false;       // standard output and error: a pipe whose reader is gone
    int stopSignal = 0;            // sent as soon as the program catches it (its handler is set)
};

// True once the process `pid` has a handler for `signal` (SigCgt of /proc/<pid>/status).
inline bool Catches(pid_t pid, int signal) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("SigCgt:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
    return false;
}

// Runs `program` with `args` (each one argv element) in `workFolder`, HOME and the XDG
// folders under `home`; nothing else of this process's environment. Its output is kept in
// "stdout.txt" and "stderr.txt" of `workFolder`.
inline RunResult RunProgram(const fs::path& program, const std::vector<std::string>& args,
                            const fs::path& home, const fs::path& workFolder,
                            const RunOptions& options = {}) {
    const fs::path outFile = workFolder / "stdout.txt", errFile = workFolder / "stderr.txt";
    std::vector<std::string> argStore{program.string()};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<std::string> envStore{
        "HOME=" + home.string(), "XDG_CONFIG_HOME=" + (home / "config").string(),
        "XDG_DATA_HOME=" + (home / "data").string(), "PATH=/usr/bin:/bin", "LC_ALL=C"};
    envStore.insert(envStore.end(), options.env.begin(), options.env.end());
    std::vector<char*> argv, envp;
    for (auto& a : argStore) argv.push_back(a.data());
    for (auto& e : envStore) envp.push_back(e.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    int pipeFds[2] = {-1, -1};
    if (options.closedPipe && ::pipe(pipeFds) == 0) ::close(pipeFds[0]);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int o = options.closedPipe
                          ? pipeFds[1]
                          : ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int e = options.closedPipe
                          ? pipeFds[1]
                          : ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(o, 1);
        ::dup2(e, 2);
        ::dup2(::open("/dev/null", O_RDONLY), 0);
        if (options.fileSizeLimit >= 0) {
            const rlimit limit{static_cast<rlim_t>(options.fileSizeLimit),
                               static_cast<rlim_t>(options.fileSizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (::chdir(workFolder.c_str()) != 0) ::_exit(126);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    if (options.closedPipe) ::close(pipeFds[1]);
    int status = 0;
    if (options.stopSignal) {
        while (::waitpid(pid, &status, WNOHANG) == 0 && !Catches(pid, options.stopSignal))
            ::usleep(1000);
        ::kill(pid, options.stopSignal);
    }
    ::waitpid(pid, &status, 0);
    return RunResult{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
                     ReadFile(outFile), ReadFile(errFile)};
}

}  // namespace batchtest
