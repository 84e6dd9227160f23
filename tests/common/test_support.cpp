#include "common/test_support.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "support/destinations.h"

namespace korv::test {

namespace {
void throwingHook(int status, const RunTimeError* error) {
    RunEnded ended{status, std::nullopt};
    if (error != nullptr) {
        ended.error = *error;
    }
    resetRunEndForTesting();
    throw ended;
}
}  // namespace

void catchRunEnds() {
    resetRunEndForTesting();
    setRunEndHook(&throwingHook);
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "korv-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
    ::chmod(path_.c_str(), 0777);  // a test may run the program as an unprivileged user
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::all, ec);
    std::filesystem::remove_all(path_, ec);
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!f) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) {
        throw std::runtime_error("cannot read " + path);
    }
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

int openBytes(const std::string& bytes) {
    char name[] = "/tmp/korv-bytes-XXXXXX";
    int fd = ::mkstemp(name);
    if (fd < 0) {
        throw std::runtime_error("mkstemp failed");
    }
    ::unlink(name);
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            throw std::runtime_error("write failed");
        }
        done += static_cast<std::size_t>(n);
    }
    ::lseek(fd, 0, SEEK_SET);
    return fd;
}

// The program and the source tree as the build placed them; the environment may point
// elsewhere (to test another build of the program).
std::string programPath() {
    const char* p = std::getenv("KORV_PROGRAM");
    return p != nullptr ? p : KORV_PROGRAM_PATH;
}

std::string sourceDir() {
    const char* p = std::getenv("KORV_SOURCE_DIR");
    return p != nullptr ? p : KORV_SOURCE_PATH;
}

pid_t startProgram(const std::string& directory, int in, int out, int err) {
    std::string program = programPath();
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        if (::chdir(directory.c_str()) != 0) {
            ::_exit(126);
        }
        ::execl(program.c_str(), program.c_str(), nullptr);
        ::_exit(127);
    }
    return pid;
}

ProgramResult runProgram(const std::string& directory, const RunOptions& options) {
    ::signal(SIGPIPE, SIG_IGN);  // a child that stops reading must not end the test
    int inPipe[2], outPipe[2], errPipe[2];
    if (::pipe2(inPipe, O_CLOEXEC) != 0 || ::pipe2(outPipe, O_CLOEXEC) != 0 ||
        ::pipe2(errPipe, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    std::string program = programPath();
    pid_t pid = ::fork();
    if (pid == 0) {
        if (options.stdinClosed) {
            ::close(0);
        } else {
            ::dup2(inPipe[0], 0);
        }
        if (options.stdoutClosed) {
            ::close(1);
        } else if (!options.stdoutPath.empty()) {
            int fd = ::open(options.stdoutPath.c_str(), O_WRONLY);
            if (fd < 0)
                ::_exit(124);
            ::dup2(fd, 1);
            ::close(fd);
        } else {
            ::dup2(outPipe[1], 1);
        }
        ::dup2(errPipe[1], 2);
        if (::chdir(directory.c_str()) != 0) {
            ::_exit(126);
        }
        if (options.runAs) {
            if (::setgid(*options.runAs) != 0 || ::setuid(*options.runAs) != 0) {
                ::_exit(125);
            }
        }
        std::vector<char*> argv;
        argv.push_back(program.data());
        std::vector<std::string> args = options.arguments;
        for (auto& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(inPipe[0]);
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    // Feed standard input and drain both outputs together, so no pipe fills up.
    std::size_t fed = 0;
    bool inOpen = true;
    if (options.stdinBytes.empty()) {
        ::close(inPipe[1]);
        inOpen = false;
    }
    ProgramResult result;
    bool outOpen = true, errOpen = true;
    while (outOpen || errOpen) {
        pollfd fds[3];
        int n = 0;
        int outIndex = -1, errIndex = -1, inIndex = -1;
        if (outOpen) {
            fds[n] = {outPipe[0], POLLIN, 0};
            outIndex = n++;
        }
        if (errOpen) {
            fds[n] = {errPipe[0], POLLIN, 0};
            errIndex = n++;
        }
        if (inOpen) {
            fds[n] = {inPipe[1], POLLOUT, 0};
            inIndex = n++;
        }
        if (::poll(fds, static_cast<nfds_t>(n), 30000) <= 0) {
            ::kill(pid, SIGKILL);
            break;
        }
        char buffer[4096];
        auto drain = [&](int index, int fd, std::string& into, bool& open) {
            if (index >= 0 && fds[index].revents != 0) {
                ssize_t got = ::read(fd, buffer, sizeof buffer);
                if (got <= 0) {
                    open = false;
                } else {
                    into.append(buffer, static_cast<std::size_t>(got));
                }
            }
        };
        drain(outIndex, outPipe[0], result.out, outOpen);
        drain(errIndex, errPipe[0], result.err, errOpen);
        if (inIndex >= 0 && fds[inIndex].revents != 0) {
            ssize_t put = ::write(inPipe[1], options.stdinBytes.data() + fed,
                                  options.stdinBytes.size() - fed);
            if (put > 0) {
                fed += static_cast<std::size_t>(put);
            }
            if (put <= 0 || fed == options.stdinBytes.size()) {
                ::close(inPipe[1]);
                inOpen = false;
            }
        }
    }
    if (inOpen) {
        ::close(inPipe[1]);
    }
    ::close(outPipe[0]);
    ::close(errPipe[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) {
        result.status = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
    return result;
}

}  // namespace korv::test
