// A sequential text file read as raw bytes divided into records at line feeds.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace korv {

class TextInputFile {
  public:
    // Reads from an open descriptor (not owned); unitName names the file in error reports.
    TextInputFile(int fd, std::string unitName);

    // The next byte of the file. A final record without a line feed is complete all the same:
    // the file gives a line feed for it. Ends the run with 6501 at the end of the file and with
    // 6500 when reading fails.
    int takeByte();

    // The byte takeByte would give, or -1 at the end of the file; never ends the run except
    // for a failed read.
    int peekByte();

    // Skips every byte through the next line feed (or to the end of the file).
    void advanceRecord();

    const std::string& unitName() const { return unitName_; }

    static constexpr std::size_t kBufferSize = 128 * 1024;

  private:
    bool fill();  // false at the end of the file

    int fd_;
    std::string unitName_;
    std::unique_ptr<unsigned char[]> buffer_;
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    bool atEnd_ = false;
    bool atRecordStart_ = true;
};

}  // namespace korv
