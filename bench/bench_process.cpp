// The whole phaseshift run on the sample data, timed as a process, next to a program that
// only starts and exits: their ratio is how far the builder is from the process-start floor.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// A scratch directory holding the sample input, removed at exit; phaseshift writes its
// tables there.
struct ScratchDir {
    fs::path path;
    ScratchDir()
    {
        std::string pattern = (fs::temp_directory_path() / "twobody-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        path = pattern;
        for (const char* name : {"s11.dat", "p11.dat", "p13.dat"})
            fs::copy_file(fs::path(TWOBODY_DATA_DIR) / name, path / name);
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

void runProcess(benchmark::State& state, const char* program)
{
    static const ScratchDir dir;
    fs::current_path(dir.path);
    char* argv[] = {const_cast<char*>(program), nullptr};
    for (auto _ : state) {
        pid_t pid = 0;
        int status = 0;
        if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0 ||
            waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the program did not run to a clean exit");
            break;
        }
    }
}

void BM_ProcessFloor(benchmark::State& state) { runProcess(state, NOOP_BIN); }
BENCHMARK(BM_ProcessFloor)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_PhaseshiftProcess(benchmark::State& state) { runProcess(state, PHASESHIFT_BIN); }
BENCHMARK(BM_PhaseshiftProcess)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace
