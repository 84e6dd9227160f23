#include "support/destinations.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "support/posix_io.h"
#include "support/run_time_error.h"

extern char** environ;

namespace korv {

namespace {

ConsoleDestination* gConsole = nullptr;
ReportFile* gReport = nullptr;
bool gFinishing = false;

constexpr std::string_view kCrLf = "\r\n";

[[noreturn]] void failConsoleWrite(int err) {
    failIo(writeErrorNumber(err), kLabelWrite, kConsoleUnit);
}

}  // namespace

void registerConsole(ConsoleDestination* console) {
    gConsole = console;
}
void registerReportFile(ReportFile* report) {
    gReport = report;
}
void resetFinishForTesting() {
    gFinishing = false;
    gConsole = nullptr;
    gReport = nullptr;
}

// ---- Console ------------------------------------------------------------------------------

void ConsoleDestination::writeBytes(std::string_view bytes) {
    int err = writeAll(fd_, bytes.data(), bytes.size());
    if (err != 0) {
        failConsoleWrite(err);
    }
}

void ConsoleDestination::writeRecord(std::string_view record) {
    if (record.empty()) {
        record = " ";
    }
    std::string bytes;
    bytes.reserve(record.size() + 6);
    switch (record[0]) {
        case '0':
            bytes += lineOpen_ ? "\r\n\r\n" : "\r\n";
            break;
        case '1':
            bytes += "\r\n\f\r \r";
            break;
        case '+':
            bytes += "\r";
            break;
        default:
            if (lineOpen_) {
                bytes += kCrLf;
            }
            break;
    }
    bytes.append(record.substr(1));
    lineOpen_ = true;
    if (!bytes.empty()) {
        writeBytes(bytes);
    }
}

// ---- Report file ------------------------------------------------------------------------------

ReportFile::~ReportFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

ReportFile* openReportFileInto(ReportFile& file, const std::string& path) {
    bool exists = nameExists(path);
    OpenedFile opened = openWithFallback(path, !exists);
    if (opened.fd < 0) {
        failIo(openErrorNumber(opened.error), kLabelOpen, path);
    }
    file.path_ = path;
    file.fd_ = opened.fd;
    file.count_ = 0;
    file.mustEmpty_ = exists;
    return &file;
}

int ReportFile::emptyIfNeeded() {
    if (!mustEmpty_) {
        return 0;
    }
    mustEmpty_ = false;
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        return writeErrorNumber(errno);
    }
    // A device (the name may be a link to /dev/null) has nothing to empty, and an empty file
    // needs no emptying: its first block write shows whether it may be written.
    if (!S_ISREG(st.st_mode) || st.st_size == 0) {
        return 0;
    }
    if (::ftruncate(fd_, 0) != 0) {
        // A file opened for reading only cannot be cut: that is a refused write.
        return (errno == EINVAL || errno == EBADF) ? errnum::kWriteRefused
                                                   : writeErrorNumber(errno);
    }
    return 0;
}

int ReportFile::writeBlock() {
    if (count_ == 0) {
        return 0;
    }
    int err = writeAll(fd_, block_, count_);
    count_ = 0;  // a failed block is not tried again at the end of the run
    return err == 0 ? 0 : writeErrorNumber(err);
}

void ReportFile::writeRecord(std::string_view record) {
    int error = emptyIfNeeded();
    if (error != 0) {
        failIo(error, kLabelWrite, path_);
    }
    auto put = [&](char c) {
        if (count_ == kBlockSize) {
            int err = writeBlock();
            if (err != 0) {
                failIo(err, kLabelWrite, path_);
            }
        }
        block_[count_++] = c;
    };
    for (char c : record) {
        put(c);
    }
    put('\r');
    put('\n');
}

void ReportFile::writePending() {
    int error = emptyIfNeeded();
    if (error == 0) {
        error = writeBlock();
    }
    if (error != 0) {
        failIo(error, kLabelWrite, path_);
    }
}

int ReportFile::complete() {
    if (fd_ < 0) {
        return 0;
    }
    int error = writeBlock();
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && error == 0 && errno != EINTR) {
        error = writeErrorNumber(errno);
    }
    return error;
}

// ---- Closing prompt --------------------------------------------------------------------------

namespace {

// Reads the reply from a terminal: one read of at most 128 bytes. On this system a terminal
// delivers the typed line with a line feed (not CR LF), which is dropped. A longer typed line
// is cut to 126 characters and the rest of it is read and thrown away, so that nothing of it
// is left for the shell to run after the program ends.
std::string readTerminalReply() {
    char buffer[kReplyLimitPiped];
    ssize_t n;
    do {
        n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
        return {};
    }
    std::size_t size = static_cast<std::size_t>(n);
    bool lineComplete = buffer[size - 1] == '\n';
    if (lineComplete) {
        --size;
        if (size > 0 && buffer[size - 1] == '\r') {
            --size;
        }
    } else if (size == sizeof buffer) {
        char rest[256];
        for (;;) {
            ssize_t m = ::read(STDIN_FILENO, rest, sizeof rest);
            if (m < 0 && errno == EINTR) {
                continue;
            }
            if (m <= 0 || rest[m - 1] == '\n') {
                break;
            }
        }
    }
    if (size > kReplyLimitTerminal) {
        size = kReplyLimitTerminal;
    }
    return std::string(buffer, size);
}

// Reads the reply from a pipe or file, one byte at a time so that nothing after the line is
// taken from a shared input: up to the first CR or LF, keeping the first 128 bytes; after a
// CR the next byte is skipped unexamined. Standard input that is already at its end is 6501.
std::string readPipedReply() {
    std::string reply;
    bool any = false;
    for (;;) {
        char c;
        ssize_t n = ::read(STDIN_FILENO, &c, 1);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            failIo(errnum::kReadFailed, kLabelWrite, kConsoleUnit);
        }
        if (n == 0) {
            if (!any) {
                failIo(errnum::kEndOfFile, kLabelWrite, kConsoleUnit);
            }
            return reply;
        }
        any = true;
        if (c == '\n') {
            return reply;
        }
        if (c == '\r') {
            do {
                n = ::read(STDIN_FILENO, &c, 1);
            } while (n < 0 && errno == EINTR);
            return reply;
        }
        if (reply.size() < kReplyLimitPiped) {
            reply.push_back(c);
        }
    }
}

// Runs a reply as one command line through the system's command processor, /bin/sh -c (the
// natural equivalent here of the command processor named for the original platform), and
// waits for it. Its result is ignored.
void runCommand(const std::string& command) {
    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0) {
        return;
    }
    // The program ignores SIGPIPE for its own writes; the command gets the default back.
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
    pid_t pid;
    int rc =
        posix_spawn(&pid, "/bin/sh", nullptr, &attributes, const_cast<char* const*>(argv), environ);
    posix_spawnattr_destroy(&attributes);
    if (rc != 0) {
        return;
    }
    int status;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace

std::string readReply() {
    return ::isatty(STDIN_FILENO) ? readTerminalReply() : readPipedReply();
}

void pauseForEnter(std::string_view prompt) {
    // The report file is completed on disk before the user is asked anything, so that an
    // interrupt at the prompt cannot leave a report cut off at a block boundary.
    if (gReport != nullptr && gReport->isOpen()) {
        gReport->writePending();
    }
    std::string bytes;
    if (gConsole->lineOpen()) {
        bytes += kCrLf;
    }
    bytes += prompt;
    bytes += kCrLf;
    gConsole->writeBytes(bytes);

    std::string reply = readReply();
    while (!reply.empty() && (reply.back() == ' ' || reply.back() == '\t')) {
        reply.pop_back();
    }
    if (reply.size() >= 2) {
        runCommand(reply);
    }
}

void stopRun() {
    std::string bytes;
    if (gConsole->lineOpen()) {
        bytes += kCrLf;
    }
    bytes += "Stop - Program terminated.\r\n";
    gConsole->writeBytes(bytes);
    finishRun(0);
}

void finishRun(int status) {
    if (!gFinishing) {
        gFinishing = true;
        if (gReport != nullptr) {
            int error = gReport->complete();
            if (error != 0) {
                RunTimeError report;
                report.letter = 'F';
                report.number = error;
                report.label = kLabelClose;
                report.unitName = gReport->path();
                report.message = std::string(ioMessage(error));
                reportWithoutEnding(report);
                status = 1;  // a report that did not reach the disk is no success
            }
        }
        if (gConsole != nullptr && gConsole->lineOpen()) {
            (void)writeAll(gConsole->fd(), kCrLf.data(), kCrLf.size());
        }
    }
    if (RunEndHook hook = runEndHook()) {
        hook(status, pendingRunTimeError());
    }
    std::_Exit(status);
}

}  // namespace korv
