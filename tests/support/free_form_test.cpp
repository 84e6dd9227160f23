#include "support/free_form.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "common/test_support.h"

namespace korv {
namespace {

// An unchanged item keeps this marker.
constexpr float kMarker = -777.0f;
constexpr std::int32_t kIntMarker = -777;

struct Outcome {
    std::string values;  // "0.25 0.18", with "-" for an unchanged item
    int error = 0;       // 0, or the error number that ended the run
    std::string rest;    // the bytes left in the file after the read
};

// Reads the items ('r' real, 'i' integer) from the bytes with one free-form read.
Outcome scan(const std::string& bytes, const std::string& kinds) {
    test::catchRunEnds();
    int fd = test::openBytes(bytes);
    TextInputFile file(fd, "DECK.TSK");
    std::vector<float> reals(kinds.size(), kMarker);
    std::vector<std::int32_t> ints(kinds.size(), kIntMarker);
    std::vector<FreeFormItem> items;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        items.push_back(kinds[i] == 'r' ? realItem(reals[i]) : integerItem(ints[i]));
    }
    Outcome out;
    try {
        readFreeFormValues(file, items);
        while (file.peekByte() >= 0) {
            out.rest += static_cast<char>(file.takeByte());
        }
    } catch (const test::RunEnded& ended) {
        EXPECT_EQ(ended.status, 1);
        EXPECT_TRUE(ended.error.has_value());
        if (ended.error) {
            out.error = ended.error->number;
            EXPECT_EQ(ended.error->label, ": READ(");
            EXPECT_EQ(ended.error->unitName, "DECK.TSK");
            EXPECT_EQ(ended.error->letter, 'F');
        }
    }
    ::close(fd);
    std::ostringstream s;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        if (i > 0)
            s << ' ';
        if (kinds[i] == 'r') {
            if (reals[i] == kMarker)
                s << '-';
            else
                s << reals[i];
        } else {
            if (ints[i] == kIntMarker)
                s << '-';
            else
                s << ints[i];
        }
    }
    out.values = s.str();
    return out;
}

struct Case {
    std::string bytes;
    std::string kinds;
    std::string values;
    int error;
    std::string rest;
};

// Runs each case; the bytes left after the read are compared where the read succeeds.
template <std::size_t N>
void expectOutcomes(const Case (&cases)[N], bool checkRest) {
    for (const auto& c : cases) {
        Outcome o = scan(c.bytes, c.kinds);
        EXPECT_EQ(o.values, c.values) << c.bytes;
        EXPECT_EQ(o.error, c.error) << c.bytes;
        if (checkRest) {
            EXPECT_EQ(o.rest, c.rest) << c.bytes;
        }
    }
}

TEST(ReadFreeFormValues, ExamplesForTwoReals) {
    const Case cases[] = {
        {"0.25 0.18\nNEXT\n", "rr", "0.25 0.18", 0, "NEXT\n"},
        {"0.25,0.18\nNEXT\n", "rr", "0.25 0.18", 0, "NEXT\n"},
        {"0.25 , 0.18\nNEXT\n", "rr", "0.25 0.18", 0, "NEXT\n"},
        {"0.25\t0.18\nNEXT\n", "rr", "0.25 0.18", 0, "NEXT\n"},
        {"0.25\n0.18\nNEXT\n", "rr", "0.25 0.18", 0, "NEXT\n"},
        {",0.18\nNEXT\n", "rr", "- 0.18", 0, "NEXT\n"},
        {"0.25,,\nNEXT\n", "rr", "0.25 -", 0, "NEXT\n"},
        {"0.25/\nNEXT\n", "rr", "0.25 -", 0, "NEXT\n"},
        {"0.25 / 0.18\nNEXT\n", "rr", "0.25 -", 0, "NEXT\n"},
        {"2*0.5\nNEXT\n", "rr", "0.5 0.5", 0, "NEXT\n"},
        {"2*\nNEXT\n", "rr", "- -", 0, "NEXT\n"},
        {"0.25 0.18 0.99 more text\nNEXT\n", "rr", "0.25 0.18", 0, "NEXT\n"},
    };
    expectOutcomes(cases, true);
}

TEST(ReadFreeFormValues, RecordsSeparatorsAndRepeats) {
    const Case cases[] = {
        // Empty and blank records before the first value are skipped.
        {"\n   \n\t\n15.0\nNEXT\n", "r", "15", 0, "NEXT\n"},
        // A value ending one record and the next starting the following one: the read after
        // them starts at the record after the second value.
        {"1\n2 3\nNEXT\n", "rr", "1 2", 0, "NEXT\n"},
        // Comma ending a record, comma starting the next: a null between them.
        {"1,\n,2\nNEXT\n", "rrr", "1 - 2", 0, "NEXT\n"},
        // A value ending a record and a comma starting the next make one separator.
        {"1\n,2\nNEXT\n", "rr", "1 2", 0, "NEXT\n"},
        // 1* before a blank, a comma or the end of record is one null, like 2* is two.
        {"1* 5\nNEXT\n", "rr", "- 5", 0, "NEXT\n"},
        {"1*,5\nNEXT\n", "rr", "- 5", 0, "NEXT\n"},
        {"1*\n5\nNEXT\n", "rr", "- 5", 0, "NEXT\n"},
        // 2* last on its record for a list that ends with those nulls: the next record is not
        // skipped.
        {"7 2*\nNEXT\n", "rrr", "7 - -", 0, "NEXT\n"},
        // A repeat count pending at the end of the list is dropped.
        {"2*0.5 9\nNEXT\n", "r", "0.5", 0, "NEXT\n"},
        // A repeat count shared by an integer and reals converts for each item's type.
        {"3*4\nNEXT\n", "irr", "4 4 4", 0, "NEXT\n"},
        {"3*4.0\nNEXT\n", "irr", "- - -", 6101, ""},
        // A carriage return hides the rest of its record.
        {"0.25\r0.18\n0.5\nNEXT\n", "rr", "0.25 0.5", 0, "NEXT\n"},
        {"0.25 0.18\r junk\nNEXT\r\n", "rr", "0.25 0.18", 0, "NEXT\r\n"},
        // Text after the last value, separated by a blank: discarded with its record.
        {"15.0 knots\nNEXT\n", "r", "15", 0, "NEXT\n"},
        {"15.0,knots\nNEXT\n", "r", "15", 0, "NEXT\n"},
        // A final value followed directly by the end of the file.
        {"15.0", "r", "15", 0, ""},
        {"1 2", "rr", "1 2", 0, ""},
        // Empty constants are nulls; constants may run over records.
        {"'' 5\nNEXT\n", "rr", "- 5", 0, "NEXT\n"},
        {"\"\",5\nNEXT\n", "rr", "- 5", 0, "NEXT\n"},
        {"( ) 5\nNEXT\n", "rr", "- 5", 0, "NEXT\n"},
        {"(\n) 5\nNEXT\n", "rr", "- 5", 0, "NEXT\n"},
        {"'\n' 5\nNEXT\n", "rr", "- 5", 0, "NEXT\n"},
        // Slashes inside a value: the value ends, and so does the list.
        {"0.25/0.18\nNEXT\n", "rr", "0.25 -", 0, "NEXT\n"},
        {"/\nNEXT\n", "rr", "- -", 0, "NEXT\n"},
        {"2*/\nNEXT\n", "rrr", "- - -", 0, "NEXT\n"},
        // Integers: both forms and the laxities.
        {"4 +4 -4\nNEXT\n", "iii", "4 4 -4", 0, "NEXT\n"},
        {"16#1F -2147483648\nNEXT\n", "ii", "31 -2147483648", 0, "NEXT\n"},
        {"+ -\nNEXT\n", "ii", "0 0", 0, "NEXT\n"},
        {std::string("4\x1a"
                     "5 6\nNEXT\n"),
         "ii", "4 6", 0, "NEXT\n"},
        // Reals: the forms of the exponent.
        {"15 1.5D3 1.5+3 1E-50\nNEXT\n", "rrrr", "15 1500 1500 0", 0, "NEXT\n"},
    };
    expectOutcomes(cases, true);
}

TEST(ReadFreeFormValues, EveryErrorNumber) {
    const Case cases[] = {
        {"", "r", "-", 6501, ""},
        {"\n\n", "r", "-", 6501, ""},
        {"0.25\n", "rr", "0.25 -", 6501, ""},
        {"0.25", "rr", "0.25 -", 6501, ""},
        {"'abc", "r", "-", 6501, ""},
        {"(1.0,", "r", "-", 6501, ""},
        {"2147483648\n", "i", "-", 6100, ""},
        {"4.0\n", "i", "-", 6101, ""},
        {"4E0\n", "i", "-", 6101, ""},
        {"1E400\n", "r", "-", 6102, ""},
        {"1.5Q3\n", "r", "-", 6103, ""},
        {"abc\n", "r", "-", 6103, ""},
        {".\n", "r", "-", 6103, ""},
        {"15.0knots\n", "r", "-", 6103, ""},
        {"1E39\n", "r", "-", 6104, ""},
        {"16#1#2\n", "i", "-", 6302, ""},
        {"40#1\n", "i", "-", 6303, ""},
        {"0*5\n", "r", "-", 6502, ""},
        {"-1*5\n", "r", "-", 6502, ""},
        {"*5\n", "r", "-", 6502, ""},
        {"2*3*4\n", "rr", "- -", 6503, ""},
        {"'abc'\n", "r", "-", 6504, ""},
        {"'it''s'\n", "r", "-", 6504, ""},
        {"''''\n", "r", "-", 6504, ""},
        {"(1.0,2.0)\n", "r", "-", 6504, ""},
        {"'ab\ncd'\n", "r", "-", 6504, ""},
        // Items filled before the fault keep their values.
        {"1 x\n", "rr", "1 -", 6103, ""},
        // Text run on after an empty constant is no number.
        {"''5\n", "r", "-", 6103, ""},
    };
    expectOutcomes(cases, false);
}

// A value text far beyond 259 characters is converted whole.
TEST(ReadFreeFormValues, VeryLongValueText) {
    std::string zeros(100000, '0');
    Outcome o = scan("0." + zeros + "25E100000 " + zeros + "7\nNEXT\n", "ri");
    EXPECT_EQ(o.values, "0.25 7");
    EXPECT_EQ(o.error, 0);
    EXPECT_EQ(o.rest, "NEXT\n");
}

}  // namespace
}  // namespace korv
