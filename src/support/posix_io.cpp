#include "support/posix_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "support/run_time_error.h"

namespace korv {

int writeAll(int fd, const void* data, std::size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = ::write(fd, p, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (n == 0) {
            return EIO;  // a write that makes no progress would loop for ever
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

namespace {

int openOnce(const std::string& path, int flags) {
    for (;;) {
        int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EINTR) {
            return fd;
        }
    }
}

}  // namespace

OpenedFile openWithFallback(const std::string& path, bool create) {
    OpenedFile result;
    const int modes[] = {O_RDWR, O_RDONLY, O_WRONLY};
    for (int mode : modes) {
        int flags = mode | (create ? (O_CREAT | O_EXCL) : 0);
        int fd = openOnce(path, flags);
        if (fd < 0) {
            result.error = errno;
            continue;
        }
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
            // Neither file of the run can be a directory; reading one would only fail later.
            ::close(fd);
            result.error = EISDIR;
            continue;
        }
        result.fd = fd;
        result.accessMode = mode;
        result.error = 0;
        return result;
    }
    return result;
}

bool nameExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

int openErrorNumber(int err) {
    switch (err) {
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS:
        case ETXTBSY:
        case EBUSY:
        case EWOULDBLOCK:
            return errnum::kOpenRefused;
        case EEXIST:
            return errnum::kOpenExists;
        case ENOENT:
        case ENOTDIR:
            return errnum::kOpenNotFound;
        case EMFILE:
        case ENFILE:
            return errnum::kOpenTooMany;
        case ENAMETOOLONG:
        case EINVAL:
        case ELOOP:
            return errnum::kOpenInvalidName;
        default:
            return errnum::kOpenOther;
    }
}

int writeErrorNumber(int err) {
    switch (err) {
        case EACCES:
        case EPERM:
        case EBADF:  // a file opened for reading only
        case EROFS:
            return errnum::kWriteRefused;
        case ENOSPC:
        case EDQUOT:
            return errnum::kWriteFull;
        default:
            return errnum::kWriteOther;
    }
}

}  // namespace korv
