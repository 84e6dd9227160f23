#include "check/input_deck.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/test_support.h"

namespace korv {
namespace {

// The worked example deck, one string per line.
std::vector<std::string> workedLines() {
    return {
        "PROPELLER CAVITATION CHECK - INPUT DATA",
        "EXAMPLE SHIP, SINGLE SCREW",
        "",
        "TEN HEADING LINES, THEN A LABEL LINE BEFORE EACH GROUP OF VALUES",
        "VALUES ARE SEPARATED BY BLANKS OR COMMAS",
        "THE BLADE NUMBER IS A WHOLE NUMBER WITHOUT A POINT",
        "UNITS: KNOT, KW, M, RPM, PA, KG/M3, M/S2",
        "PREPARED FOR THE DESIGN REVIEW",
        "",
        "------------------------------------------------------------",
        "SHIP SPEED Vs (KNOT)",
        "15.0",
        "EFFECTIVE POWER Pe (KW)",
        "5000.",
        "WAKE FRACTION w, THRUST DEDUCTION FRACTION t",
        "0.25  0.18",
        "BLADE NUMBER Z, DIAMETER D (M), REVOLUTIONS N (RPM)",
        "4  5.0  120.",
        "SHAFT IMMERSION Ds (M)",
        "4.0",
        "ATMOSPHERIC PRESSURE Pa, VAPOUR PRESSURE Pv (PA)",
        "101325.  1700.",
        "WATER DENSITY RHO (KG/M3), GRAVITY G (M/S2)",
        "1025.  9.81",
        "KELLER CONSTANT k",
        "0.2",
    };
}

std::string join(const std::vector<std::string>& lines, const std::string& end = "\r\n",
                 bool lastEnd = true) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += lines[i];
        if (i + 1 < lines.size() || lastEnd)
            out += end;
    }
    return out;
}

// The worked deck with line n (1-based) replaced by the given lines.
std::string workedWith(std::size_t n, std::vector<std::string> replacement) {
    auto lines = workedLines();
    lines.erase(lines.begin() + static_cast<long>(n - 1));
    lines.insert(lines.begin() + static_cast<long>(n - 1), replacement.begin(), replacement.end());
    return join(lines);
}

struct Read {
    DesignInputs inputs;
    int error = 0;
};

Read readBytes(const std::string& bytes) {
    test::catchRunEnds();
    int fd = test::openBytes(bytes);
    TextInputFile file(fd, kDeckName);
    Read r;
    try {
        readDeckContents(file, r.inputs);
    } catch (const test::RunEnded& e) {
        r.error = e.error ? e.error->number : -1;
    }
    ::close(fd);
    return r;
}

std::uint32_t bits(float x) {
    return std::bit_cast<std::uint32_t>(x);
}

void expectWorkedValues(const DesignInputs& in, const std::string& what) {
    EXPECT_EQ(bits(in.Vs), bits(15.0f)) << what;
    EXPECT_EQ(bits(in.Pe), bits(5000.0f)) << what;
    EXPECT_EQ(bits(in.w), bits(0.25f)) << what;
    EXPECT_EQ(bits(in.t), bits(0.18f)) << what;
    EXPECT_EQ(static_cast<double>(in.t), 0.18000000715255737) << what;
    EXPECT_EQ(in.Z, 4) << what;
    EXPECT_EQ(bits(in.D), bits(5.0f)) << what;
    EXPECT_EQ(bits(in.N), bits(120.0f)) << what;
    EXPECT_EQ(bits(in.Ds), bits(4.0f)) << what;
    EXPECT_EQ(bits(in.Pa), bits(101325.0f)) << what;
    EXPECT_EQ(bits(in.Pv), bits(1700.0f)) << what;
    EXPECT_EQ(bits(in.RHO), bits(1025.0f)) << what;
    EXPECT_EQ(static_cast<double>(in.G), 9.8100004196166992) << what;
    EXPECT_EQ(static_cast<double>(in.k), 0.20000000298023224) << what;
}

TEST(ReadInputDeck, WorkedExampleAndLayoutsThatReadTheSameValues) {
    const std::string h200(200, 'H');
    const std::string bigHeading(1 << 20, 'x');
    const std::vector<std::pair<std::string, std::string>> decks = {
        {"worked example", join(workedLines())},
        {"bare line feeds", join(workedLines(), "\n")},
        {"no line feed after the last line", join(workedLines(), "\r\n", false)},
        {"commas", workedWith(18, {"4,5.0,120."})},
        {"tabs and leading blanks", workedWith(18, {" \t4\t5.0 \t 120."})},
        {"trailing words", workedWith(12, {"15.0 knots"})},
        {"trailing words on a pair", workedWith(16, {"0.25 0.18 fractions"})},
        {"comma before trailing text", workedWith(12, {"15.0,knots"})},
        {"blank lines before values", workedWith(12, {"", "   ", "15.0"})},
        {"values over two lines", workedWith(16, {"0.25", "0.18"})},
        {"reals without point or with exponent", workedWith(22, {"1.01325E5 17D2"})},
        {"reals with D exponent", workedWith(22, {"1.01325D5 1700"})},
        {"repeat count", workedWith(16, {"0.25 0.18"})},
        {"heading of 200 characters", workedWith(1, {h200})},
        {"heading of digits and commas", workedWith(2, {"1,2,3,4/5 '(x"})},
        {"empty label line", workedWith(13, {""})},
        {"a heading line of a megabyte", workedWith(3, {bigHeading})},
        {"byte 26 in a heading", workedWith(4, {std::string("A\x1a"
                                                            "B",
                                                            3)})},
        {"text after the deck", join(workedLines()) + "anything at all\r\n1 2 3\r\n"},
    };
    for (const auto& [name, bytes] : decks) {
        Read r = readBytes(bytes);
        EXPECT_EQ(r.error, 0) << name;
        expectWorkedValues(r.inputs, name);
    }
}

TEST(ReadInputDeck, LayoutsThatChangeWhatIsRead) {
    struct Case {
        std::string name;
        std::string bytes;
        int error;
        std::function<void(const DesignInputs&)> check;
    };
    auto nothing = [](const DesignInputs&) {};
    const Case cases[] = {
        {"t taken from the next label line", workedWith(16, {"0.25"}), 6103, nothing},
        {"Z written with a point", workedWith(18, {"4.0 5.0 120."}), 6101, nothing},
        {"Z written with an exponent", workedWith(18, {"4E0 5.0 120."}), 6101, nothing},
        {"slash keeps t at zero", workedWith(16, {"0.25 /"}), 0,
         [](const DesignInputs& in) {
             EXPECT_EQ(in.w, 0.25f);
             EXPECT_EQ(in.t, 0.0f);
             EXPECT_EQ(in.k, 0.2f);
         }},
        {"null value keeps w at zero", workedWith(16, {",0.18"}), 0,
         [](const DesignInputs& in) {
             EXPECT_EQ(in.w, 0.0f);
             EXPECT_EQ(in.t, 0.18f);
         }},
        {"repeat count fills both", workedWith(16, {"2*0.2"}), 0,
         [](const DesignInputs& in) {
             EXPECT_EQ(in.w, 0.2f);
             EXPECT_EQ(in.t, 0.2f);
         }},
        {"two groups on one line",
         [] {
             auto l = workedLines();
             l[19] = "4.0 101325. 1700.";
             l.erase(l.begin() + 20, l.begin() + 22);
             return join(l);
         }(),
         6501,
         [](const DesignInputs& in) {
             EXPECT_EQ(in.Ds, 4.0f);
             EXPECT_EQ(in.Pa, 1025.0f);  // read out of step from the density line
             EXPECT_EQ(in.RHO, 0.2f);
         }},
        {"blank line after a value line", workedWith(12, {"15.0", ""}), 6103, nothing},
        {"nine heading lines",
         [] {
             auto l = workedLines();
             l.erase(l.begin());
             return join(l);
         }(),
         6103, nothing},
        {"empty deck", "", 6501, nothing},
        {"nine lines", join(std::vector<std::string>(9, "HEADING")), 6501, nothing},
        {"last line empty", workedWith(26, {""}), 6501, nothing},
        {"deck ends before the last value",
         [] {
             auto l = workedLines();
             l.pop_back();
             return join(l);
         }(),
         6501, nothing},
    };
    for (const auto& c : cases) {
        Read r = readBytes(c.bytes);
        EXPECT_EQ(r.error, c.error) << c.name;
        c.check(r.inputs);
    }
}

// ---- Opening the deck in a directory ------------------------------------------------

class InDirectory : public ::testing::Test {
  protected:
    void SetUp() override {
        char buffer[4096];
        ASSERT_NE(::getcwd(buffer, sizeof buffer), nullptr);
        previous_ = buffer;
        ASSERT_EQ(::chdir(dir_.path().c_str()), 0);
        test::catchRunEnds();
    }
    void TearDown() override { ASSERT_EQ(::chdir(previous_.c_str()), 0); }

    Read readDeck() {
        Read r;
        try {
            readInputDeck(r.inputs);
        } catch (const test::RunEnded& e) {
            r.error = e.error ? e.error->number : -1;
            if (e.error) {
                label_ = std::string(e.error->label);
                unit_ = e.error->unitName;
            }
        }
        return r;
    }

    test::TempDir dir_;
    std::string previous_;
    std::string label_, unit_;
};

TEST_F(InDirectory, MissingDeckIsCreatedEmptyAndEndsWithEndOfFile) {
    Read r = readDeck();
    EXPECT_EQ(r.error, 6501);
    EXPECT_EQ(label_, ": READ(");
    EXPECT_EQ(unit_, "KORVENTAPSILUM.TSK");
    ASSERT_TRUE(test::fileExists(dir_.file("KORVENTAPSILUM.TSK")));
    EXPECT_EQ(test::readFile(dir_.file("KORVENTAPSILUM.TSK")), "");
}

TEST_F(InDirectory, ExistingDeckIsReadUnchanged) {
    std::string bytes = join(workedLines());
    test::writeFile(dir_.file("KORVENTAPSILUM.TSK"), bytes);
    ::chmod(dir_.file("KORVENTAPSILUM.TSK").c_str(), 0444);  // a read-only deck reads normally
    Read r = readDeck();
    EXPECT_EQ(r.error, 0);
    expectWorkedValues(r.inputs, "read-only deck");
    EXPECT_EQ(test::readFile(dir_.file("KORVENTAPSILUM.TSK")), bytes);
}

TEST_F(InDirectory, DeckThatIsADirectoryIsRefused) {
    ASSERT_EQ(::mkdir(dir_.file("KORVENTAPSILUM.TSK").c_str(), 0777), 0);
    Read r = readDeck();
    EXPECT_EQ(r.error, 6414);
    EXPECT_EQ(label_, ": OPEN(");
    EXPECT_EQ(unit_, "KORVENTAPSILUM.TSK");
}

TEST_F(InDirectory, DeckBehindADanglingLinkIsNotFound) {
    ASSERT_EQ(::symlink("missing/deck", dir_.file("KORVENTAPSILUM.TSK").c_str()), 0);
    Read r = readDeck();
    EXPECT_EQ(r.error, 6416);
}

}  // namespace
}  // namespace korv
