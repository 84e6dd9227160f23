// Whole runs of the real program in scratch directories: the bytes on standard output and
// standard error, the files left behind and the exit status.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/test_support.h"

namespace korv {
namespace {

std::string example(const std::string& name, const std::string& file) {
    return test::readFile(test::sourceDir() + "/examples/" + name + "/" + file);
}

// The worked deck with the value line n (1-based) replaced.
std::string workedDeckWith(std::size_t n, const std::string& line) {
    std::string deck = example("worked", "KORVENTAPSILUM.TSK");
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < deck.size()) {
        std::size_t end = deck.find("\r\n", start);
        if (end == std::string::npos)
            end = deck.size();
        lines.push_back(deck.substr(start, end - start));
        start = end + 2;
    }
    if (n > 0)
        lines[n - 1] = line;
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

// The console bytes of the worked deck's heading block and results heading, with record 6 to
// 13 replaced where a case changes a value: the report's first 16 records as the console shows
// them (carriage control: no first character, CR LF before every record but the first).
std::string workedHeadingOnConsole(const std::vector<std::pair<int, std::string>>& replaced = {}) {
    std::vector<std::string> records = {
        "",
        "  KELLER ve BURRILL BAGINTILARINA GORE PERVANE KAVITASYON KONTROL PROGRAMI",
        "  Yazan:Korventapsilum project team <korventapsilum@example.org>",
        "",
        "  GIRILEN DEGERLER ******************************************",
        "  GEMI HIZI (knot) ..................................... Vs = 15.00",
        "  GEMI EFEKTIF GUCU (kW)................................ Pe =  5000.0",
        "  IZ ve EMME KATSAYILARI ............................. w, t =  .250, .180",
        "  PERV. KANAT SAYISI Z, CAPI D(m) ve DEVRI (RPM)....Z, D, N = 4,  5.000, 120.00",
        "  SAFT DERINLIGI (m) ................................... Ds =  4.00",
        "  ATMOSFER ve SU BUHAR BASINCLARI (Pa) ..............Pa, Pv =  101325., 1700.0",
        "  SU YOGUNLUGU (kg/m3) ve YERCEKIMI IVMESI (m/s2) .. RHO, G = 1025.0, 9.81000",
        "  KELLER BAGINTISI KATSAYISI ............................ k =  .200",
        "",
        "",
        "  HESAPLAR **************************************************",
    };
    for (const auto& [number, text] : replaced)
        records[static_cast<std::size_t>(number - 1)] = text;
    std::string out;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i > 0)
            out += "\r\n";
        out += records[i].empty() ? "" : records[i].substr(1);
    }
    return out;
}

const std::string kRtLine =
    "\r\n GEMI DIRENCI (kN) ................. Rt = Pe / (Vs*0.5144) =    648.004";
const std::string kEnd =
    "\r\n\r\nBITIRMEK ICIN `ENTER`A BASIN\r\n\r\nStop - Program terminated.\r\n\r\n";

std::string mathReport(int number, const std::string& word) {
    return "\r\nrun-time error M" + std::to_string(number) +
           ": MATH\r\n- floating-point error: " + word + "\r\n";
}
std::string ioReport(int number, const std::string& label, const std::string& unit,
                     const std::string& message) {
    return "\r\nrun-time error F" + std::to_string(number) + ": " + label + "(" + unit + ")\r\n- " +
           message + "\r\n";
}

// ---- Complete runs --------------------------------------------------------------------------

TEST(WholeRun, ExampleDecksReproduceTheirReportAndConsole) {
    for (std::string name : {"worked", "design"}) {
        test::TempDir dir;
        test::writeFile(dir.file("KORVENTAPSILUM.TSK"), example(name, "KORVENTAPSILUM.TSK"));
        test::ProgramResult r =
            test::runProgram(dir.path(), {.stdinBytes = "\n", .arguments = {"ignored", "-x"}});
        EXPECT_EQ(r.status, 0) << name;
        EXPECT_EQ(r.err, "") << name;
        EXPECT_EQ(r.out, example(name, "console.out")) << name;
        std::string report = test::readFile(dir.file("KORVENTAPSILUM.SON"));
        EXPECT_EQ(report, example(name, "KORVENTAPSILUM.SON")) << name;
        // 27 records, each with CR LF.
        std::size_t lines = 0;
        for (std::size_t p = 0; (p = report.find("\r\n", p)) != std::string::npos; p += 2) ++lines;
        EXPECT_EQ(lines, 27u);
        EXPECT_EQ(report.substr(report.size() - 2), "\r\n");
        // Both passes show the same numbers: the console shows each record without its first
        // character, CR LF between records.
        std::string console;
        std::size_t start = 0, index = 0;
        for (std::size_t end; (end = report.find("\r\n", start)) != std::string::npos;
             start = end + 2, ++index) {
            std::string record = report.substr(start, end - start);
            if (index > 0)
                console += "\r\n";
            if (!record.empty())
                console += record.substr(1);
        }
        EXPECT_EQ(r.out, console + kEnd) << name;
    }
}

TEST(WholeRun, ExistingLongerReportIsReplacedAndASecondRunLeavesOnlyItsOwn) {
    test::TempDir dir;
    test::writeFile(dir.file("KORVENTAPSILUM.TSK"), example("worked", "KORVENTAPSILUM.TSK"));
    test::writeFile(dir.file("KORVENTAPSILUM.SON"), std::string(10000, '#'));
    for (int run = 0; run < 2; ++run) {
        test::ProgramResult r = test::runProgram(dir.path(), {.stdinBytes = "\n"});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(test::readFile(dir.file("KORVENTAPSILUM.SON")),
                  example("worked", "KORVENTAPSILUM.SON"));
    }
}

TEST(WholeRun, AReplyRunsACommandAndTheStopFollows) {
    test::TempDir dir;
    test::writeFile(dir.file("KORVENTAPSILUM.TSK"), example("worked", "KORVENTAPSILUM.TSK"));
    test::ProgramResult r =
        test::runProgram(dir.path(), {.stdinBytes = "echo FROM-COMMAND; echo CMD-ERR >&2\n"});
    EXPECT_EQ(r.status, 0);
    std::string console = example("worked", "console.out");
    std::string beforeStop = console.substr(
        0, console.size() - std::string("\r\nStop - Program terminated.\r\n\r\n").size());
    EXPECT_EQ(r.out, beforeStop + "FROM-COMMAND\n\r\nStop - Program terminated.\r\n\r\n");
    EXPECT_EQ(r.err, "CMD-ERR\n");
}

// While the closing prompt waits, the report file is already complete on disk.
TEST(WholeRun, ReportFileIsCompleteWhileThePromptWaits) {
    test::TempDir dir;
    test::writeFile(dir.file("KORVENTAPSILUM.TSK"), example("worked", "KORVENTAPSILUM.TSK"));
    int in[2], out[2];
    ASSERT_EQ(::pipe2(in, O_CLOEXEC), 0);
    ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
    pid_t pid = test::startProgram(dir.path(), in[0], out[1], 2);
    ::close(in[0]);
    ::close(out[1]);
    std::string shown;
    const std::string prompt = "BITIRMEK ICIN `ENTER`A BASIN\r\n";
    while (shown.find(prompt) == std::string::npos) {
        pollfd p{out[0], POLLIN, 0};
        ASSERT_GT(::poll(&p, 1, 20000), 0) << "no prompt";
        char buffer[4096];
        ssize_t n = ::read(out[0], buffer, sizeof buffer);
        ASSERT_GT(n, 0);
        shown.append(buffer, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(test::readFile(dir.file("KORVENTAPSILUM.SON")),
              example("worked", "KORVENTAPSILUM.SON"));
    ASSERT_EQ(::write(in[1], "\n", 1), 1);
    ::close(in[1]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(out[0]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// ---- Failures and the runs around them ------------------------------------------------------

struct FailureCase {
    std::string name;
    std::string deck;  // the deck's bytes; empty with noDeck
    bool noDeck = false;
    std::string stdinBytes = "\n";
    std::string out;  // standard output
    std::string err;  // standard error
    int status;
    std::optional<std::string> report;  // the report file after the run; nullopt: must not exist
    std::function<void(const test::TempDir&)> prepare = nullptr;
    std::optional<uid_t> runAs = std::nullopt;
};

void runCase(const FailureCase& c) {
    test::TempDir dir;
    if (!c.noDeck)
        test::writeFile(dir.file("KORVENTAPSILUM.TSK"), c.deck);
    if (c.prepare)
        c.prepare(dir);
    test::RunOptions options;
    options.stdinBytes = c.stdinBytes;
    options.runAs = c.runAs;
    test::ProgramResult r = test::runProgram(dir.path(), options);
    EXPECT_EQ(r.out, c.out) << c.name;
    EXPECT_EQ(r.err, c.err) << c.name;
    EXPECT_EQ(r.status, c.status) << c.name;
    if (c.report) {
        std::string path = dir.file("KORVENTAPSILUM.SON");
        ASSERT_TRUE(test::fileExists(path)) << c.name;
        struct stat st {};
        ::stat(path.c_str(), &st);
        if (S_ISREG(st.st_mode)) {
            EXPECT_EQ(test::readFile(path), *c.report) << c.name;
        }
    } else {
        EXPECT_FALSE(test::fileExists(dir.file("KORVENTAPSILUM.SON"))) << c.name;
    }
    // The deck is never lost or changed (a missing one is left empty).
    EXPECT_EQ(test::readFile(dir.file("KORVENTAPSILUM.TSK")), c.noDeck ? "" : c.deck) << c.name;
}

const std::string kVs0 = "  GEMI HIZI (knot) ..................................... Vs =   .00";
const std::string kPe0 = "  GEMI EFEKTIF GUCU (kW)................................ Pe =      .0";

TEST(FailingRuns, ArithmeticFaults) {
    const std::string worked = example("worked", "KORVENTAPSILUM.TSK");
    auto headingWithValues = [](std::vector<std::pair<int, std::string>> r) {
        return workedHeadingOnConsole(r);
    };
    const FailureCase cases[] = {
        {.name = "Vs = 0 with Pe nonzero",
         .deck = workedDeckWith(12, "0"),
         .out = headingWithValues({{6, kVs0}}) + "\r\n",
         .err = mathReport(6103, "divide by zero"),
         .status = 1,
         .report = ""},
        {.name = "Vs = 0 and Pe = 0",
         .deck =
             [] {
                 std::string d = workedDeckWith(12, "0");
                 return d.replace(d.find("\r\n5000.\r\n"), 9, "\r\n0\r\n");
             }(),
         .out = headingWithValues({{6, kVs0}, {7, kPe0}}) + "\r\n",
         .err = mathReport(6101, "invalid"),
         .status = 1,
         .report = ""},
        {.name = "t = 1 with Pe nonzero",
         .deck = workedDeckWith(16, "0.25 1"),
         .out =
             headingWithValues(
                 {{8,
                   "  IZ ve EMME KATSAYILARI ............................. w, t =  .250,1.000"}}) +
             kRtLine + "\r\n",
         .err = mathReport(6103, "divide by zero"),
         .status = 1,
         .report = ""},
        {.name = "t = 1 and Pe = 0",
         .deck =
             [] {
                 std::string d = workedDeckWith(16, "0.25 1");
                 return d.replace(d.find("\r\n5000.\r\n"), 9, "\r\n0\r\n");
             }(),
         .out =
             headingWithValues(
                 {{7, kPe0},
                  {8,
                   "  IZ ve EMME KATSAYILARI ............................. w, t =  .250,1.000"}}) +
             "\r\n GEMI DIRENCI (kN) ................. Rt = Pe / (Vs*0.5144) =       .000\r\n",
         .err = mathReport(6101, "invalid"),
         .status = 1,
         .report = ""},
        // KellerHead, an intermediate of the Ae/Ao line, overflows: that line is not begun.
        {.name = "overflow in an intermediate",
         .deck = workedDeckWith(20, "1E36"),
         .out = headingWithValues(
                    {{10, "  SAFT DERINLIGI (m) ................................... Ds =******"}}) +
                kRtLine +
                "\r\n PERVANE ITMESI (kN)..................... T = Rt / (1 - t) =    790.249\r\n",
         .err = mathReport(6104, "overflow"),
         .status = 1,
         .report = ""},
        // Rt itself overflows: its line is not begun either.
        {.name = "overflow in a printed result",
         .deck =
             [] {
                 std::string d = workedDeckWith(14, "3E38");
                 return d.replace(d.find("\r\n15.0\r\n"), 8, "\r\n.01\r\n");
             }(),
         .out =
             headingWithValues(
                 {{6, "  GEMI HIZI (knot) ..................................... Vs =   .01"},
                  {7, "  GEMI EFEKTIF GUCU (kW)................................ Pe =********"}}) +
             "\r\n",
         .err = mathReport(6104, "overflow"),
         .status = 1,
         .report = ""},
    };
    for (const auto& c : cases) runCase(c);
}

TEST(FailingRuns, ArithmeticFaultLeavesAnExistingReportUnchanged) {
    FailureCase c{.name = "existing report kept",
                  .deck = workedDeckWith(12, "0"),
                  .out = workedHeadingOnConsole({{6, kVs0}}) + "\r\n",
                  .err = mathReport(6103, "divide by zero"),
                  .status = 1,
                  .report = "an older report\r\n",
                  .prepare = [](const test::TempDir& d) {
                      test::writeFile(d.file("KORVENTAPSILUM.SON"), "an older report\r\n");
                  }};
    runCase(c);
}

TEST(FailingRuns, EdgesThatRunToTheEnd) {
    for (auto [line, text] :
         {std::pair<int, std::string>{22, "-500000. 1700."}, {16, "1.5 0.18"}}) {
        test::TempDir dir;
        std::string deck = workedDeckWith(static_cast<std::size_t>(line), text);
        test::writeFile(dir.file("KORVENTAPSILUM.TSK"), deck);
        test::ProgramResult r = test::runProgram(dir.path(), {.stdinBytes = "\n"});
        EXPECT_EQ(r.status, 0) << text;
        EXPECT_EQ(r.err, "") << text;
        EXPECT_EQ(r.out.substr(r.out.size() - kEnd.size()), kEnd) << text;
    }
}

const std::string kDeckEnd = "end of file";

TEST(FailingRuns, DeckFailures) {
    auto read = [](int number, const std::string& message) {
        return ioReport(number, "READ", "KORVENTAPSILUM.TSK", message);
    };
    const FailureCase cases[] = {
        {.name = "missing deck",
         .noDeck = true,
         .out = "",
         .err = read(6501, kDeckEnd),
         .status = 1},
        {.name = "empty deck", .deck = "", .out = "", .err = read(6501, kDeckEnd), .status = 1},
        {.name = "deck ends before the last value",
         .deck = workedDeckWith(26, ""),
         .out = "",
         .err = read(6501, kDeckEnd),
         .status = 1},
        {.name = "6100",
         .deck = workedDeckWith(18, "2147483648 5.0 120."),
         .out = "",
         .err = read(6100, "integer value outside the range -2147483648 to 2147483647"),
         .status = 1},
        {.name = "6101",
         .deck = workedDeckWith(18, "4.0 5.0 120."),
         .out = "",
         .err = read(6101, "invalid integer value"),
         .status = 1},
        {.name = "6102",
         .deck = workedDeckWith(12, "1E400"),
         .out = "",
         .err = read(6102, "real value beyond the double-precision range"),
         .status = 1},
        {.name = "6103",
         .deck = workedDeckWith(16, "0.25"),
         .out = "",
         .err = read(6103, "invalid real value"),
         .status = 1},
        {.name = "6104",
         .deck = workedDeckWith(12, "1E39"),
         .out = "",
         .err = read(6104, "real value beyond the single-precision range"),
         .status = 1},
        {.name = "6302",
         .deck = workedDeckWith(18, "16#4#4 5.0 120."),
         .out = "",
         .err = read(6302, "second # in an integer value"),
         .status = 1},
        {.name = "6303",
         .deck = workedDeckWith(18, "37#4 5.0 120."),
         .out = "",
         .err = read(6303, "integer base outside 2 to 36"),
         .status = 1},
        {.name = "6502",
         .deck = workedDeckWith(12, "0*15.0"),
         .out = "",
         .err = read(6502, "repeat count below 1"),
         .status = 1},
        {.name = "6503",
         .deck = workedDeckWith(12, "2*3*15.0"),
         .out = "",
         .err = read(6503, "second repeat count for one value"),
         .status = 1},
        {.name = "6504",
         .deck = workedDeckWith(12, "'fifteen'"),
         .out = "",
         .err = read(6504, "character or complex constant for a numeric item"),
         .status = 1},
        {.name = "deck is a directory",
         .noDeck = true,
         .out = "",
         .err = ioReport(6414, "OPEN", "KORVENTAPSILUM.TSK", "access to the file refused"),
         .status = 1,
         .prepare =
             [](const test::TempDir& d) { ::mkdir(d.file("KORVENTAPSILUM.TSK").c_str(), 0777); }},
    };
    for (const auto& c : cases) {
        if (c.name == "deck is a directory") {
            test::TempDir dir;
            c.prepare(dir);
            test::ProgramResult r = test::runProgram(dir.path(), {.stdinBytes = "\n"});
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(r.err, c.err);
            EXPECT_EQ(r.status, 1);
            EXPECT_FALSE(test::fileExists(dir.file("KORVENTAPSILUM.SON")));
            continue;
        }
        runCase(c);
    }
}

TEST(FailingRuns, ReportFileAndConsoleFailures) {
    const std::string worked = example("worked", "KORVENTAPSILUM.TSK");
    const std::string fullConsole = example("worked", "console.out");
    const std::string consolePass = fullConsole.substr(0, fullConsole.find(kEnd));
    const FailureCase cases[] = {
        {.name = "report file name is a directory",
         .deck = worked,
         .out = "",
         .err = ioReport(6414, "OPEN", "KORVENTAPSILUM.SON", "access to the file refused"),
         .status = 1,
         .report = "",
         .prepare =
             [](const test::TempDir& d) { ::mkdir(d.file("KORVENTAPSILUM.SON").c_str(), 0777); }},
        {.name = "report file on a full device",
         .deck = worked,
         .out = consolePass + "\r\n",
         .err = ioReport(6422, "WRITE", "KORVENTAPSILUM.SON", "device full"),
         .status = 1,
         .report = "",
         .prepare =
             [](const test::TempDir& d) {
                 ::symlink("/dev/full", d.file("KORVENTAPSILUM.SON").c_str());
             }},
        {.name = "report file linked to the null device",
         .deck = worked,
         .out = fullConsole,
         .err = "",
         .status = 0,
         .report = "",
         .prepare =
             [](const test::TempDir& d) {
                 ::symlink("/dev/null", d.file("KORVENTAPSILUM.SON").c_str());
             }},
        {.name = "empty standard input at the prompt",
         .deck = worked,
         .stdinBytes = "",
         .out = consolePass + "\r\n\r\nBITIRMEK ICIN `ENTER`A BASIN\r\n\r\n",
         .err = ioReport(6501, "WRITE", "CON", "end of file"),
         .status = 1,
         .report = example("worked", "KORVENTAPSILUM.SON")},
    };
    for (const auto& c : cases) runCase(c);
}

// A report file that may only be read: opened for reading, refused at its first write after
// the whole console pass; the old contents stay. Root may write anything, so as root the run
// drops to an ordinary user.
// A deck that may only be written: the read-write and read-only opens are refused, the
// write-only one succeeds, and the first read fails (6500). As root the run drops to an
// ordinary user so that the permissions apply.
TEST(FailingRuns, DeckThatMayOnlyBeWritten) {
    FailureCase c{.name = "write-only deck",
                  .deck = example("worked", "KORVENTAPSILUM.TSK"),
                  .out = "",
                  .err = ioReport(6500, "READ", "KORVENTAPSILUM.TSK", "read failed"),
                  .status = 1,
                  .report = std::nullopt,
                  .prepare = [](const test::TempDir& d) {
                      std::string deck = d.file("KORVENTAPSILUM.TSK");
                      if (::geteuid() == 0 && ::chown(deck.c_str(), 65534, 65534) != 0) {
                          ADD_FAILURE() << "chown failed";
                      }
                      ::chmod(deck.c_str(), 0200);
                  }};
    if (::geteuid() == 0) {
        c.runAs = 65534;
    }
    runCase(c);
}

TEST(FailingRuns, ReadOnlyReportFile) {
    const std::string fullConsole = example("worked", "console.out");
    FailureCase c{.name = "read-only report file",
                  .deck = example("worked", "KORVENTAPSILUM.TSK"),
                  .out = fullConsole.substr(0, fullConsole.find(kEnd)) + "\r\n",
                  .err = ioReport(6421, "WRITE", "KORVENTAPSILUM.SON", "write not permitted"),
                  .status = 1,
                  .report = "old contents\r\n",
                  .prepare = [](const test::TempDir& d) {
                      test::writeFile(d.file("KORVENTAPSILUM.SON"), "old contents\r\n");
                      ::chmod(d.file("KORVENTAPSILUM.SON").c_str(), 0444);
                      ::chmod(d.file("KORVENTAPSILUM.TSK").c_str(), 0444);
                  }};
    if (::geteuid() == 0)
        c.runAs = 65534;
    runCase(c);
}

// Standard streams that are closed or full: each run ends with a clear report or runs
// correctly, and the deck is never touched.
TEST(Robustness, ClosedAndFullStandardStreams) {
    const std::string deck = example("worked", "KORVENTAPSILUM.TSK");
    const std::string report = example("worked", "KORVENTAPSILUM.SON");
    struct Case {
        std::string name;
        test::RunOptions options;
        std::string err;
        int status;
        std::string reportAfter;
        std::string out;
    };
    const std::string console = example("worked", "console.out");
    const std::string toPrompt =
        console.substr(0, console.find("BITIRMEK")) + "BITIRMEK ICIN `ENTER`A BASIN\r\n\r\n";
    const Case cases[] = {
        {"standard output on a full device",
         {.stdinBytes = "\n", .stdoutPath = "/dev/full"},
         ioReport(6422, "WRITE", "CON", "device full"),
         1,
         ""},
        {"standard output closed", {.stdinBytes = "\n", .stdoutClosed = true}, "", 0, report},
        {"standard input closed",
         {.stdinClosed = true},
         ioReport(6501, "WRITE", "CON", "end of file"),
         1,
         report,
         toPrompt},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        test::writeFile(dir.file("KORVENTAPSILUM.TSK"), deck);
        test::ProgramResult r = test::runProgram(dir.path(), c.options);
        EXPECT_EQ(r.err, c.err) << c.name;
        EXPECT_EQ(r.status, c.status) << c.name;
        EXPECT_EQ(test::readFile(dir.file("KORVENTAPSILUM.SON")), c.reportAfter) << c.name;
        EXPECT_EQ(test::readFile(dir.file("KORVENTAPSILUM.TSK")), deck) << c.name;
        EXPECT_EQ(r.out, c.out) << c.name;
    }
}

// A console that goes away in mid-run (the reading end of its pipe closed) is reported, and
// the report file written so far is kept.
TEST(Robustness, ConsolePipeClosedByTheReader) {
    test::TempDir dir;
    test::writeFile(dir.file("KORVENTAPSILUM.TSK"), example("worked", "KORVENTAPSILUM.TSK"));
    int out[2], err[2];
    ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
    ASSERT_EQ(::pipe2(err, O_CLOEXEC), 0);
    // Nobody reads the console: the reading end is closed before the program starts, so its
    // first console write fails whatever the timing.
    ::close(out[0]);
    pid_t pid = test::startProgram(dir.path(), 0, out[1], err[1]);
    ::close(out[1]);
    ::close(err[1]);
    std::string errors;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(err[0], buffer, sizeof buffer)) > 0)
        errors.append(buffer, static_cast<std::size_t>(n));
    ::close(err[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(errors, ioReport(6420, "WRITE", "CON", "write failed"));
    EXPECT_TRUE(test::fileExists(dir.file("KORVENTAPSILUM.SON")));
}

}  // namespace
}  // namespace korv
