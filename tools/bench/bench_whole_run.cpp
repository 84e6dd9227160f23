// A whole run of the example deck, from process start to exit, against a process that does
// nothing.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

extern char** environ;

namespace {

void runOnce(const char* program, const char* directory) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/tmp/korv-bench-enter", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, directory);
    char* argv[] = {const_cast<char*>(program), nullptr};
    pid_t pid;
    if (posix_spawn(&pid, program, &actions, nullptr, argv, environ) != 0)
        std::abort();
    int status;
    ::waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::abort();
}

const char* scratch() {
    static std::string dir = [] {
        std::string d = "/tmp/korv-bench-run";
        std::filesystem::create_directories(d);
        std::filesystem::copy_file(
            std::string(KORV_SOURCE_PATH) + "/examples/worked/KORVENTAPSILUM.TSK",
            d + "/KORVENTAPSILUM.TSK", std::filesystem::copy_options::overwrite_existing);
        int fd = ::open("/tmp/korv-bench-enter", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (::write(fd, "\n", 1) != 1)
            std::abort();
        ::close(fd);
        return d;
    }();
    return dir.c_str();
}

void BM_WholeRunOfTheExample(benchmark::State& state) {
    const char* dir = scratch();
    for (auto _ : state) runOnce(KORV_PROGRAM_PATH, dir);
}
BENCHMARK(BM_WholeRunOfTheExample)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_ProcessThatDoesNothing(benchmark::State& state) {
    const char* dir = scratch();
    for (auto _ : state) runOnce("/bin/true", dir);
}
BENCHMARK(BM_ProcessThatDoesNothing)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
