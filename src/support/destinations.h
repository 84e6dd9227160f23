// The console and report-file destinations, the closing prompt and the end of a run.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "support/record_destination.h"

namespace korv {

// Standard output with carriage control by the first character of each record. Each record's
// prefix and text reach standard output in one write when the record ends.
class ConsoleDestination : public RecordDestination {
  public:
    explicit ConsoleDestination(int fd = 1) : fd_(fd) {}
    void writeRecord(std::string_view record) override;
    bool lineOpen() const { return lineOpen_; }
    // Writes bytes to the console as they stand; a failure ends the run.
    void writeBytes(std::string_view bytes);
    int fd() const { return fd_; }

  private:
    int fd_;
    bool lineOpen_ = false;
};

// The report file: every record whole with CR LF, through a block of 1024 bytes.
class ReportFile : public RecordDestination {
  public:
    static constexpr std::size_t kBlockSize = 1024;

    ReportFile() = default;
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;
    ~ReportFile() override;

    void writeRecord(std::string_view record) override;

    // Writes the bytes waiting in the block now; a failure ends the run.
    void writePending();

    // Writes what is left in the block and closes the file. Returns 0, or the error number
    // of a failure (the file is closed either way).
    int complete();

    bool isOpen() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }

  private:
    friend ReportFile* openReportFileInto(ReportFile& file, const std::string& path);
    int writeBlock();  // 0 or an error number
    int emptyIfNeeded();

    std::string path_;
    int fd_ = -1;
    char block_[kBlockSize] = {};
    std::size_t count_ = 0;
    bool mustEmpty_ = false;
};

// Opens or creates the report file into the given object. An existing file is opened
// unchanged and emptied at its first record. Failure ends the run.
ReportFile* openReportFileInto(ReportFile& file, const std::string& path);

// Makes the destinations known to the end of the run.
void registerConsole(ConsoleDestination* console);
void registerReportFile(ReportFile* report);

// Shows the closing prompt, reads one reply line and runs a reply of two characters or more
// as a command. The report file is completed on disk before the prompt shows.
void pauseForEnter(std::string_view prompt);

// Reads the reply line from standard input, by the rules for a terminal or for other input,
// without removing trailing blanks. Part of pauseForEnter.
std::string readReply();

// Writes the stop message and ends the run with status 0.
[[noreturn]] void stopRun();

// Completes and closes the report file, ends the console line and ends the process.
[[noreturn]] void finishRun(int status);

// Testing seam: allows another finishRun in the same process after a hook intercepted one.
void resetFinishForTesting();

// Longest reply kept from standard input.
inline constexpr std::size_t kReplyLimitPiped = 128;
inline constexpr std::size_t kReplyLimitTerminal = 126;

}  // namespace korv
