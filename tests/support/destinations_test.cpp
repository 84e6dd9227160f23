#include "support/destinations.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "common/test_support.h"
#include "support/field_editing.h"

namespace korv {
namespace {

std::string readAll(int fd) {
    std::string out;
    ::lseek(fd, 0, SEEK_SET);
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
        out.append(buffer, static_cast<std::size_t>(n));
    return out;
}

// ---- Console ------------------------------------------------------------------------------

TEST(ConsoleDestination, CarriageControlBytes) {
    struct Case {
        std::vector<std::string> records;
        std::string bytes;
    };
    const Case cases[] = {
        // The first record of a run, empty, writes nothing but opens the line.
        {{"", "  TITLE"}, "\r\n TITLE"},
        {{" A", " B"}, "A\r\nB"},
        {{" A", "", " B"}, "A\r\n\r\nB"},
        {{"0A", "0B"}, "\r\nA\r\n\r\nB"},
        {{"1A", " B"}, "\r\n\f\r \rA\r\nB"},
        {{" A", "+B"}, "A\rB"},
        {{"XA"}, "A"},  // any other character acts as a blank
    };
    for (const auto& c : cases) {
        int fd = test::openBytes("");
        ConsoleDestination console(fd);
        for (const auto& r : c.records) console.writeRecord(r);
        EXPECT_EQ(readAll(fd), c.bytes);
        EXPECT_TRUE(console.lineOpen());
        ::close(fd);
    }
}

// One write per record: what reaches a pipe arrives record by record, prefix and text
// together.
TEST(ConsoleDestination, OneWritePerRecord) {
    int p[2];
    ASSERT_EQ(::pipe(p), 0);
    ConsoleDestination console(p[1]);
    console.writeRecord(" A");
    console.writeRecord("  BB");
    char buffer[64];
    ssize_t n = ::read(p[0], buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(n)), "A\r\n BB");
    ::close(p[0]);
    ::close(p[1]);
}

// ---- Report file ----------------------------------------------------------------------------

class ReportFileTest : public ::testing::Test {
  protected:
    void SetUp() override { test::catchRunEnds(); }
    std::string path() const { return dir_.file("KORVENTAPSILUM.SON"); }
    int failureOf(const std::function<void()>& f) {
        try {
            f();
        } catch (const test::RunEnded& e) {
            return e.error ? e.error->number : -1;
        }
        return 0;
    }
    test::TempDir dir_;
};

TEST_F(ReportFileTest, RecordsWithCrLfThroughTheBlock) {
    ReportFile file;
    openReportFileInto(file, path());
    EXPECT_EQ(test::readFile(path()), "");  // the opening writes nothing
    std::string expected;
    const std::string record(98, 'r');  // 100 bytes with CR LF
    for (int i = 0; i < 11; ++i) {
        file.writeRecord(record);
        expected += record + "\r\n";
    }
    file.writeRecord("");
    expected += "\r\n";
    // Only whole blocks have reached the file so far.
    EXPECT_EQ(test::readFile(path()), expected.substr(0, 1024));
    file.writePending();
    EXPECT_EQ(test::readFile(path()), expected);
    file.writeRecord(" LAST");
    expected += " LAST\r\n";
    EXPECT_EQ(file.complete(), 0);
    EXPECT_EQ(test::readFile(path()), expected);
}

TEST_F(ReportFileTest, ExistingFileIsKeptUntilTheFirstRecordThenReplaced) {
    test::writeFile(path(), std::string(5000, 'o'));
    ReportFile file;
    openReportFileInto(file, path());
    EXPECT_EQ(test::readFile(path()), std::string(5000, 'o'));
    file.writeRecord(" NEW");
    EXPECT_EQ(test::readFile(path()), "");
    EXPECT_EQ(file.complete(), 0);
    EXPECT_EQ(test::readFile(path()), " NEW\r\n");
}

TEST_F(ReportFileTest, OpeningFailures) {
    ASSERT_EQ(::mkdir(path().c_str(), 0777), 0);
    ReportFile file;
    EXPECT_EQ(failureOf([&] { openReportFileInto(file, path()); }), 6414);
    EXPECT_EQ(failureOf([&] { openReportFileInto(file, dir_.file("missing/KORVENTAPSILUM.SON")); }),
              6416);
    EXPECT_EQ(failureOf([&] { openReportFileInto(file, dir_.file(std::string(300, 'n'))); }), 6412);
}

TEST_F(ReportFileTest, FullDeviceIs6422) {
    ASSERT_EQ(::symlink("/dev/full", path().c_str()), 0);
    ReportFile file;
    openReportFileInto(file, path());
    EXPECT_EQ(failureOf([&] {
                  for (int i = 0; i < 100; ++i) file.writeRecord(std::string(50, 'x'));
              }),
              6422);
}

TEST_F(ReportFileTest, NullDeviceNeedsNoEmptying) {
    ASSERT_EQ(::symlink("/dev/null", path().c_str()), 0);
    ReportFile file;
    openReportFileInto(file, path());
    EXPECT_EQ(failureOf([&] {
                  for (int i = 0; i < 100; ++i) file.writeRecord(std::string(50, 'x'));
                  file.writePending();
              }),
              0);
    EXPECT_EQ(file.complete(), 0);
}

// A file that may only be read: the read-write open is refused, the read-only one succeeds,
// and the first write is refused. Root may write anything, so the child drops to an ordinary
// user first.
TEST_F(ReportFileTest, ReadOnlyFileIsRefusedAtItsFirstWrite) {
    for (std::string contents : {"old report\r\n", ""}) {
        test::writeFile(path(), contents);
        ASSERT_EQ(::chmod(path().c_str(), 0444), 0);
        pid_t pid = ::fork();
        if (pid == 0) {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(90);
            int number = 0;
            ReportFile file;
            number = failureOf([&] {
                openReportFileInto(file, path());
                file.writeRecord(" A");
                file.writePending();
            });
            ::_exit(number == 6421 ? 0 : 1);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "contents '" << contents << "'";
        EXPECT_EQ(test::readFile(path()), contents);
        ::unlink(path().c_str());
    }
}

// ---- The reply at the closing prompt ---------------------------------------------------------

// Runs readReply with the bytes as standard input; returns the reply and what is left of the
// input afterwards, or the error number that ended the run.
struct ReplyOutcome {
    std::string reply;
    std::string rest;
    int error = 0;
};

ReplyOutcome replyFrom(const std::string& bytes) {
    test::catchRunEnds();
    int saved = ::dup(0);
    int fd = test::openBytes(bytes);
    ::dup2(fd, 0);
    ReplyOutcome out;
    try {
        out.reply = readReply();
        char buffer[4096];
        ssize_t n;
        while ((n = ::read(0, buffer, sizeof buffer)) > 0)
            out.rest.append(buffer, static_cast<std::size_t>(n));
    } catch (const test::RunEnded& e) {
        out.error = e.error ? e.error->number : -1;
        EXPECT_EQ(e.error->label, ": WRITE(");
        EXPECT_EQ(e.error->unitName, "CON");
    }
    ::dup2(saved, 0);
    ::close(saved);
    ::close(fd);
    return out;
}

TEST(ReadReply, PipedInputByteRules) {
    struct Case {
        std::string bytes, reply, rest;
        int error;
    };
    const std::string long200(200, 'L');
    const Case cases[] = {
        {"\n", "", "", 0},
        {"x\n", "x", "", 0},
        {"echo hi  \nnext\n", "echo hi  ", "next\n", 0},
        {"ab\r\nnext\n", "ab", "next\n", 0},
        {"ab\rcd\n", "ab", "d\n", 0},  // the byte after a CR is skipped unexamined
        {"no line end", "no line end", "", 0},
        {long200 + "\nnext\n", long200.substr(0, 128), "next\n", 0},
        {"", "", "", 6501},
    };
    for (const auto& c : cases) {
        ReplyOutcome o = replyFrom(c.bytes);
        EXPECT_EQ(o.reply, c.reply) << c.bytes;
        EXPECT_EQ(o.rest, c.rest) << c.bytes;
        EXPECT_EQ(o.error, c.error) << c.bytes;
    }
}

// At a terminal the line comes in one read: it is cut to 126 characters and the rest of a
// longer line is read and thrown away, leaving the next typed line for whoever reads next.
TEST(ReadReply, TerminalCutsTo126AndDiscardsTheRestOfTheLine) {
    int master, slave;
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    termios mode{};
    ::tcgetattr(slave, &mode);
    mode.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(slave, TCSANOW, &mode);
    int saved = ::dup(0);
    ::dup2(slave, 0);
    auto type = [&](const std::string& s) {
        ASSERT_EQ(::write(master, s.data(), s.size()), static_cast<ssize_t>(s.size()));
    };

    type("short reply\n");
    EXPECT_EQ(readReply(), "short reply");

    const std::string line(300, 'T');
    type(line + "\n");
    type("NEXT\n");
    EXPECT_EQ(readReply(), line.substr(0, 126));
    char buffer[64];
    ssize_t n = ::read(0, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(n > 0 ? n : 0)), "NEXT\n");

    type(std::string(127, 'U') + "\n");  // 127 characters: the read holds the whole line
    EXPECT_EQ(readReply(), std::string(126, 'U'));

    ::dup2(saved, 0);
    ::close(saved);
    ::close(slave);
    ::close(master);
}

// ---- The end of a run, in a child process ---------------------------------------------------

struct ChildResult {
    std::string out;
    int status;
};

// Runs the body in a child whose standard output goes to a file and whose standard input
// holds the given bytes.
ChildResult inChild(const std::string& input, const std::function<void()>& body) {
    int out = test::openBytes("");
    int in = test::openBytes(input);
    pid_t pid = ::fork();
    if (pid == 0) {
        setRunEndHook(nullptr);
        ::dup2(out, 1);
        ::dup2(in, 0);
        body();
        ::_exit(99);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ChildResult r{readAll(out), WIFEXITED(status) ? WEXITSTATUS(status) : -1};
    ::close(out);
    ::close(in);
    return r;
}

TEST(EndOfRun, PromptAndStopBytes) {
    ChildResult r = inChild("\n", [] {
        static ConsoleDestination console;
        registerConsole(&console);
        console.writeRecord("  LAST LINE");
        console.writeRecord(" ");
        pauseForEnter("BITIRMEK ICIN `ENTER`A BASIN");
        stopRun();
    });
    EXPECT_EQ(
        r.out,
        " LAST LINE\r\n\r\nBITIRMEK ICIN `ENTER`A BASIN\r\n\r\nStop - Program terminated.\r\n\r\n");
    EXPECT_EQ(r.status, 0);
}

TEST(EndOfRun, AReplyOfTwoCharactersRunsACommand) {
    test::TempDir dir;
    const std::string marker = dir.file("ran");
    struct Case {
        std::string reply;
        bool runs;
    };
    const Case cases[] = {{"touch " + marker + " \t\n", true}, {"x\n", false}, {" \t \n", false}};
    for (const auto& c : cases) {
        ::unlink(marker.c_str());
        ChildResult r = inChild(c.reply, [] {
            static ConsoleDestination console;
            registerConsole(&console);
            pauseForEnter("P");
            stopRun();
        });
        EXPECT_EQ(test::fileExists(marker), c.runs) << c.reply;
        EXPECT_EQ(r.out, "P\r\nStop - Program terminated.\r\n");
        EXPECT_EQ(r.status, 0);
    }
}

TEST(EndOfRun, EmptyInputAtThePromptIs6501) {
    ChildResult r = inChild("", [] {
        static ConsoleDestination console;
        registerConsole(&console);
        console.writeRecord(" A");
        pauseForEnter("P");
        stopRun();
    });
    EXPECT_EQ(r.out, "A\r\nP\r\n\r\n");
    EXPECT_EQ(r.status, 1);
}

TEST(EndOfRun, ReportFileCompletedBeforeThePromptAndAtTheEnd) {
    test::TempDir dir;
    const std::string path = dir.file("R.SON");
    const std::string marker = dir.file("size");
    ChildResult r = inChild("stat -c %s " + path + " > " + marker + "\n", [&] {
        static ConsoleDestination console;
        static ReportFile report;
        registerConsole(&console);
        openReportFileInto(report, path);
        registerReportFile(&report);
        for (int i = 0; i < 30; ++i) report.writeRecord(std::string(48, 'x'));
        pauseForEnter("P");
        report.writeRecord(" AFTER");
        stopRun();
    });
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(test::readFile(marker), "1500\n");  // all 30 records while the prompt waited
    EXPECT_EQ(test::readFile(path).size(), 1508u);
}

// A failure while the report file is completed at the end: reported with the closing label,
// and the run does not end with success.
TEST(EndOfRun, FailureWhileCompletingTheReportFile) {
    test::TempDir dir;
    const std::string path = dir.file("R.SON");
    ASSERT_EQ(::symlink("/dev/full", path.c_str()), 0);
    int err = test::openBytes("");
    pid_t pid = ::fork();
    if (pid == 0) {
        setRunEndHook(nullptr);
        int out = ::open("/dev/null", O_WRONLY);
        ::dup2(out, 1);
        ::dup2(err, 2);
        static ConsoleDestination console;
        static ReportFile report;
        registerConsole(&console);
        openReportFileInto(report, path);
        registerReportFile(&report);
        report.writeRecord(" A");
        finishRun(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_EQ(readAll(err), "\r\nrun-time error F6422: CLOSE(" + path + ")\r\n- device full\r\n");
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    ::close(err);
}

}  // namespace
}  // namespace korv
