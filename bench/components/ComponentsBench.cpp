// Activation of the engine and the profile store, timed.
//
//   build/bin/bench_components
//
// CreateCaldrenFirstLoad forks a fresh child per iteration; the child times one
// CreateObject("Vesmora.Caldren") — dlopen of libvesmora.so, relocation, the class
// factory and the object — and reports the time, so every iteration pays the first load.

#include <activation/Activation.h>
#include <profilestore/ProfileStore.h>
#include <vesmora/Vesmora.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

void CreateCaldrenFirstLoad(benchmark::State& state) {
    for (auto _ : state) {
        int fds[2];
        if (::pipe(fds) != 0) {
            state.SkipWithError("pipe failed");
            return;
        }
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(fds[0]);
            const auto start = Clock::now();
            auto calc = activation::CreateObject<vesmora::_Caldren>("Vesmora.Caldren");
            const auto end = Clock::now();
            double seconds = std::chrono::duration<double>(end - start).count();
            if (!calc) seconds = -1;
            (void)!::write(fds[1], &seconds, sizeof seconds);
            ::_exit(0);
        }
        ::close(fds[1]);
        double seconds = -1;
        (void)!::read(fds[0], &seconds, sizeof seconds);
        ::close(fds[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (seconds < 0) {
            state.SkipWithError("creation failed in the child");
            return;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(CreateCaldrenFirstLoad)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(200);

void CreateCaldrenLoaded(benchmark::State& state) {
    (void)activation::CreateObject<vesmora::_Caldren>("Vesmora.Caldren");
    for (auto _ : state) {
        auto calc = activation::CreateObject<vesmora::_Caldren>("Vesmora.Caldren");
        benchmark::DoNotOptimize(calc.Get());
    }
}
BENCHMARK(CreateCaldrenLoaded)->Unit(benchmark::kMicrosecond);

std::string TempFile(const char* name) {
    const char* base = std::getenv("TMPDIR");
    return std::string(base && base[0] ? base : "/tmp") + "/" + name + "." +
           std::to_string(::getpid());
}

// One data file's worth of writes (32 entries, the count and twelve months) in one batch.
void ProfileStoreSaveBatch(benchmark::State& state) {
    const std::string file = TempFile("bench_profilestore.cld");
    const std::string section = "Caldren Formula Calculation";
    for (auto _ : state) {
        profilestore::ProfileStore store;
        store.SetFileName(file);
        store.BeginBatch();
        for (int k = 0; k < 33; ++k)
            store.WriteEntry(section, "Entry number " + std::to_string(k), "1,234,567");
        for (int m = 1; m <= 12; ++m)
            for (const char* suffix :
                 {" Date", " Inventory", " Receivables", " Sales", " Purchases"})
                store.WriteEntry(section, std::to_string(m) + suffix, "123,456");
        store.CommitBatch();
    }
    ::unlink(file.c_str());
}
BENCHMARK(ProfileStoreSaveBatch)->Unit(benchmark::kMicrosecond);

void ProfileStoreReadAll(benchmark::State& state) {
    const std::string file = TempFile("bench_profilestore_read.cld");
    const std::string section = "Caldren Formula Calculation";
    {
        profilestore::ProfileStore store;
        store.SetFileName(file);
        store.BeginBatch();
        for (int k = 0; k < 93; ++k)
            store.WriteEntry(section, "Entry number " + std::to_string(k), "1,234,567");
        store.CommitBatch();
    }
    for (auto _ : state) {
        profilestore::ProfileStore store;
        store.SetFileName(file);
        for (int k = 0; k < 93; ++k)
            benchmark::DoNotOptimize(
                store.ReadEntry(section, "Entry number " + std::to_string(k), ""));
    }
    ::unlink(file.c_str());
}
BENCHMARK(ProfileStoreReadAll)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
