#include "support/text_input_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "support/run_time_error.h"

namespace korv {

TextInputFile::TextInputFile(int fd, std::string unitName)
    : fd_(fd), unitName_(std::move(unitName)), buffer_(new unsigned char[kBufferSize]) {}

bool TextInputFile::fill() {
    if (atEnd_) {
        return false;
    }
    for (;;) {
        ssize_t n = ::read(fd_, buffer_.get(), kBufferSize);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            failIo(errnum::kReadFailed, kLabelRead, unitName_);
        }
        pos_ = 0;
        len_ = static_cast<std::size_t>(n);
        if (n == 0) {
            atEnd_ = true;
            return false;
        }
        return true;
    }
}

int TextInputFile::takeByte() {
    if (pos_ == len_ && !fill()) {
        if (!atRecordStart_) {
            atRecordStart_ = true;
            return '\n';
        }
        failIo(errnum::kEndOfFile, kLabelRead, unitName_);
    }
    int c = buffer_[pos_++];
    atRecordStart_ = c == '\n';
    return c;
}

int TextInputFile::peekByte() {
    if (pos_ == len_ && !fill()) {
        return atRecordStart_ ? -1 : '\n';
    }
    return buffer_[pos_];
}

void TextInputFile::advanceRecord() {
    for (;;) {
        if (pos_ == len_ && !fill()) {
            atRecordStart_ = true;
            return;
        }
        const void* hit = std::memchr(buffer_.get() + pos_, '\n', len_ - pos_);
        if (hit != nullptr) {
            pos_ =
                static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - buffer_.get()) +
                1;
            atRecordStart_ = true;
            return;
        }
        pos_ = len_;
        atRecordStart_ = false;
    }
}

}  // namespace korv
