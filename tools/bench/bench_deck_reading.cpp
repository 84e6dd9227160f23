// Reading a deck whose ten heading lines are 100 MiB each, against a plain 64 KiB read loop
// that counts line feeds in the same file. Peak memory of the reading is measured in a child
// process that does nothing else.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "check/input_deck.h"

namespace {

constexpr std::size_t kHeadingBytes = 100u << 20;

const std::string& deckPath() {
    static std::string path = [] {
        std::string p = "/tmp/korv-bench-big-deck.tsk";
        int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<char> chunk(1u << 20, 'H');
        for (int line = 0; line < 10; ++line) {
            for (std::size_t done = 0; done < kHeadingBytes; done += chunk.size()) {
                if (::write(fd, chunk.data(), chunk.size()) != static_cast<ssize_t>(chunk.size()))
                    std::abort();
            }
            if (::write(fd, "\n", 1) != 1)
                std::abort();
        }
        const char* rest =
            "Vs\n15.0\nPe\n5000.\nw t\n0.25 0.18\nZ D N\n4 5.0 120.\nDs\n4.0\nPa Pv\n101325. "
            "1700.\n"
            "RHO G\n1025. 9.81\nk\n0.2\n";
        if (::write(fd, rest, std::strlen(rest)) < 0)
            std::abort();
        ::close(fd);
        return p;
    }();
    return path;
}

std::int64_t fileBytes() {
    return static_cast<std::int64_t>(10 * (kHeadingBytes + 1) + 100);
}

void BM_ReadBigDeck(benchmark::State& state) {
    const std::string& path = deckPath();
    for (auto _ : state) {
        int fd = ::open(path.c_str(), O_RDONLY);
        korv::TextInputFile file(fd, "DECK");
        korv::DesignInputs inputs;
        korv::readDeckContents(file, inputs);
        benchmark::DoNotOptimize(inputs);
        ::close(fd);
    }
    state.SetBytesProcessed(state.iterations() * fileBytes());
    // Peak resident memory of the program itself on this deck: a whole run in a scratch
    // directory, measured by the kernel when it ends.
    std::string dir = "/tmp/korv-bench-big-run";
    std::filesystem::create_directories(dir);
    std::filesystem::remove(dir + "/KORVENTAPSILUM.TSK");
    std::filesystem::create_symlink(path, dir + "/KORVENTAPSILUM.TSK");
    pid_t pid = ::fork();
    if (pid == 0) {
        int in = ::open("/dev/null", O_RDONLY);
        int out = ::open("/dev/null", O_WRONLY);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(out, 2);  // standard input is empty: the run ends at the prompt with 6501
        if (::chdir(dir.c_str()) != 0)
            ::_exit(126);
        ::execl(KORV_PROGRAM_PATH, KORV_PROGRAM_PATH, nullptr);
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    // Standard input is empty, so the run ends at the closing prompt (6501) after the report.
    state.counters["program_peak_rss_KiB"] = static_cast<double>(usage.ru_maxrss);
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ReadBigDeck)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainReadLoop(benchmark::State& state) {
    const std::string& path = deckPath();
    std::vector<char> buffer(64 * 1024);
    for (auto _ : state) {
        int fd = ::open(path.c_str(), O_RDONLY);
        std::size_t lines = 0;
        ssize_t n;
        while ((n = ::read(fd, buffer.data(), buffer.size())) > 0) {
            for (ssize_t i = 0; i < n; ++i) lines += buffer[static_cast<std::size_t>(i)] == '\n';
        }
        benchmark::DoNotOptimize(lines);
        ::close(fd);
    }
    state.SetBytesProcessed(state.iterations() * fileBytes());
}
BENCHMARK(BM_PlainReadLoop)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
