#include "support/text_input_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "common/test_support.h"

namespace korv {
namespace {

// Takes every byte until the end of the file (the final line feed of an unterminated last
// record included).
std::string drain(TextInputFile& file) {
    std::string out;
    while (file.peekByte() >= 0) {
        out += static_cast<char>(file.takeByte());
    }
    return out;
}

TEST(TextInputFile, FinalRecordWithoutLineFeedIsComplete) {
    int fd = test::openBytes("ab\ncd");
    TextInputFile file(fd, "X");
    EXPECT_EQ(drain(file), "ab\ncd\n");
    ::close(fd);
}

TEST(TextInputFile, ByteTwentySixAndCarriageReturnAreOrdinaryBytes) {
    const std::string bytes(
        "a\x1a"
        "b\rc\n",
        6);
    int fd = test::openBytes(bytes);
    TextInputFile file(fd, "X");
    EXPECT_EQ(drain(file), bytes);
    ::close(fd);
}

TEST(TextInputFile, AdvanceSkipsThroughTheLineFeed) {
    int fd = test::openBytes("first line\nsecond\nlast");
    TextInputFile file(fd, "X");
    EXPECT_EQ(file.takeByte(), 'f');
    file.advanceRecord();
    EXPECT_EQ(file.takeByte(), 's');
    file.advanceRecord();
    file.advanceRecord();  // past the unterminated last record: at the end
    EXPECT_EQ(file.peekByte(), -1);
    ::close(fd);
}

TEST(TextInputFile, EndOfFileAndFailedReadEndTheRun) {
    test::catchRunEnds();
    int fd = test::openBytes("");
    TextInputFile file(fd, "DECK");
    try {
        file.takeByte();
        FAIL() << "no end of file";
    } catch (const test::RunEnded& e) {
        ASSERT_TRUE(e.error);
        EXPECT_EQ(e.error->number, 6501);
        EXPECT_EQ(e.error->unitName, "DECK");
    }
    ::close(fd);
    // A descriptor open for writing only cannot be read.
    int wfd = ::open("/dev/null", O_WRONLY);
    TextInputFile unreadable(wfd, "DECK");
    try {
        unreadable.takeByte();
        FAIL() << "no read failure";
    } catch (const test::RunEnded& e) {
        ASSERT_TRUE(e.error);
        EXPECT_EQ(e.error->number, 6500);
    }
    ::close(wfd);
}

// Records far longer than the buffer are skipped whole, across many buffer refills.
TEST(TextInputFile, RecordsLongerThanTheBuffer) {
    std::string big(TextInputFile::kBufferSize * 3 + 17, 'x');
    int fd = test::openBytes(big + "\n" + big + "\r" + big + "\nZ\n");
    TextInputFile file(fd, "X");
    file.advanceRecord();
    EXPECT_EQ(file.takeByte(), 'x');
    file.advanceRecord();
    EXPECT_EQ(file.takeByte(), 'Z');
    ::close(fd);
}

}  // namespace
}  // namespace korv
