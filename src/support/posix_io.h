// Thin, checked wrappers over the POSIX calls the run needs.
#pragma once

#include <cstddef>
#include <string>

namespace korv {

// Writes all bytes, continuing short writes and retrying interrupted ones.
// Returns 0, or the errno of the failure.
int writeAll(int fd, const void* data, std::size_t size);

// Opens a file the way both files of the run are opened: read and write, then read only,
// then write only, never truncating, without any sharing restriction. With create the file
// must not exist and is created with ordinary read and write permission. A directory counts
// as a refused open. Returns the descriptor and its access mode, or -1 with the errno of the
// last attempt.
struct OpenedFile {
    int fd = -1;
    int accessMode = 0;  // O_RDWR, O_RDONLY or O_WRONLY
    int error = 0;
};
OpenedFile openWithFallback(const std::string& path, bool create);

// Whether a directory entry of that name exists (a dangling link counts).
bool nameExists(const std::string& path);

// Error numbers of the run-time report for a failed open or write.
int openErrorNumber(int err);
int writeErrorNumber(int err);

}  // namespace korv
