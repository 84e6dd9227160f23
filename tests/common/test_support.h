// Helpers shared by the tests: run ends caught as exceptions, scratch directories, files,
// and running the real program as a child process.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "support/run_time_error.h"

namespace korv::test {

// Thrown by the run-end hook in place of ending the process.
struct RunEnded {
    int status;
    std::optional<RunTimeError> error;
};

// Installs a hook that throws RunEnded and clears any earlier intercepted end.
void catchRunEnds();

// A fresh scratch directory, removed with its contents at the end of the scope.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);

// A file opened for reading with the given contents (an unlinked temporary file).
int openBytes(const std::string& bytes);

struct ProgramResult {
    std::string out;
    std::string err;
    int status = -1;  // exit status, or -1 when ended by a signal
    int signal = 0;
};

struct RunOptions {
    std::string stdinBytes;
    bool stdinClosed = false;            // standard input closed
    bool stdoutClosed = false;           // standard output closed
    std::string stdoutPath;              // standard output opened on this file instead of a pipe
    std::optional<uid_t> runAs;          // drop to this user (when running as root)
    std::vector<std::string> arguments;  // command-line arguments, which the program ignores
};

// Runs the program under test in the directory, feeding standard input and
// collecting standard output and standard error byte for byte.
ProgramResult runProgram(const std::string& directory, const RunOptions& options = {});

// Starts the program in the directory with the given descriptors as its standard input,
// output and error, and returns its process id; the caller waits for it.
pid_t startProgram(const std::string& directory, int in, int out, int err);

std::string programPath();
std::string sourceDir();

}  // namespace korv::test
