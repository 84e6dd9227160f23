#include "check/report_layout.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace korv {
namespace {

class Recorder : public RecordDestination {
  public:
    void writeRecord(std::string_view record) override { records.emplace_back(record); }
    std::vector<std::string> records;
};

const DesignInputs kDesignExample{15.5f, 3500.0f,   0.25f,   0.18f,   4,     3.5f, 150.0f,
                                  2.8f,  101325.0f, 2339.0f, 1025.0f, 9.81f, 0.2f};

TEST(HeadingBlock, RecordsOfTheDesignExample) {
    Recorder r;
    writeHeadingBlock(r, kDesignExample);
    const std::vector<std::string> expected = {
        "",
        "  KELLER ve BURRILL BAGINTILARINA GORE PERVANE KAVITASYON KONTROL PROGRAMI",
        "  Yazan:Korventapsilum project team <korventapsilum@example.org>",
        "",
        "  GIRILEN DEGERLER ******************************************",
        "  GEMI HIZI (knot) ..................................... Vs = 15.50",
        "  GEMI EFEKTIF GUCU (kW)................................ Pe =  3500.0",
        "  IZ ve EMME KATSAYILARI ............................. w, t =  .250, .180",
        "  PERV. KANAT SAYISI Z, CAPI D(m) ve DEVRI (RPM)....Z, D, N = 4,  3.500, 150.00",
        "  SAFT DERINLIGI (m) ................................... Ds =  2.80",
        "  ATMOSFER ve SU BUHAR BASINCLARI (Pa) ..............Pa, Pv =  101325., 2339.0",
        "  SU YOGUNLUGU (kg/m3) ve YERCEKIMI IVMESI (m/s2) .. RHO, G = 1025.0, 9.81000",
        "  KELLER BAGINTISI KATSAYISI ............................ k =  .200",
    };
    EXPECT_EQ(r.records, expected);
    const std::size_t widths[] = {0,  74, 8 + kAuthorCredit.size(), 0, 61, 67, 69, 73, 79, 67, 78,
                                  77, 67};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(r.records[i].size(), widths[i]) << "record " << i + 1;
    }
}

TEST(ResultsHeading, TwoEmptyRecordsAndTheTitle) {
    Recorder r;
    writeResultsHeading(r);
    const std::vector<std::string> expected = {
        "", "", "  HESAPLAR **************************************************"};
    EXPECT_EQ(r.records, expected);
    EXPECT_EQ(r.records[2].size(), 61u);
}

// Whole records for values at the edges of their fields.
TEST(ReportLines, WholeLineCases) {
    struct Case {
        const char* what;
        std::function<void(Recorder&)> write;
        std::size_t record;
        std::string text;
    };
    auto heading = [](DesignInputs in) { return [in](Recorder& r) { writeHeadingBlock(r, in); }; };
    auto with = [](auto change) {
        DesignInputs in = kDesignExample;
        change(in);
        return in;
    };
    auto result = [](ResultLine line, float v) {
        return [=](Recorder& r) { writeResultLine(r, line, v); };
    };
    const Case cases[] = {
        {"Z of 10 to 99", heading(with([](DesignInputs& d) { d.Z = 12; })), 8,
         "  PERV. KANAT SAYISI Z, CAPI D(m) ve DEVRI (RPM)....Z, D, N =12,  3.500, 150.00"},
        {"Z of 100 or more", heading(with([](DesignInputs& d) { d.Z = 100; })), 8,
         "  PERV. KANAT SAYISI Z, CAPI D(m) ve DEVRI (RPM)....Z, D, N =**,  3.500, 150.00"},
        {"Z of -10 or less", heading(with([](DesignInputs& d) { d.Z = -10; })), 8,
         "  PERV. KANAT SAYISI Z, CAPI D(m) ve DEVRI (RPM)....Z, D, N =**,  3.500, 150.00"},
        {"widest record, every field full", heading(with([](DesignInputs& d) {
             d.Z = -9;
             d.D = -99.999f;
             d.N = -999.99f;
         })),
         8, "  PERV. KANAT SAYISI Z, CAPI D(m) ve DEVRI (RPM)....Z, D, N =-9,-99.999,-999.99"},
        {"Pa too wide", heading(with([](DesignInputs& d) { d.Pa = 1.0e9f; })), 10,
         "  ATMOSFER ve SU BUHAR BASINCLARI (Pa) ..............Pa, Pv =*********, 2339.0"},
        {"w and t of zero and negative zero", heading(with([](DesignInputs& d) {
             d.w = 0.0f;
             d.t = -0.0f;
         })),
         7, "  IZ ve EMME KATSAYILARI ............................. w, t =  .000, .000"},
        {"Rt of the worked example", result(ResultLine::Rt, 254.321f), 0,
         "  GEMI DIRENCI (kN) ................. Rt = Pe / (Vs*0.5144) =    254.321"},
        {"Sigma below one", result(ResultLine::Sigma, 0.5873f), 0,
         "  PERVANE 0.7R KESITINDEKI KAVITASYON SAYISI .........Sigma =     .5873"},
        {"negative P/D", result(ResultLine::PD, -1.2345f), 0,
         "  PERVANENIN ALABILECEGI EN FAZLA PIC ORANI ........... P/D =   -1.2345"},
        {"negative P/D showing zeros", result(ResultLine::PD, -0.00004f), 0,
         "  PERVANENIN ALABILECEGI EN FAZLA PIC ORANI ........... P/D =     .0000"},
        {"F10.3 of a million", result(ResultLine::T, 1000000.0f), 0,
         "  PERVANE ITMESI (kN)..................... T = Rt / (1 - t) = **********"},
        {"F10.3 with seven digits", result(ResultLine::Rt, 12345.678f), 0,
         "  GEMI DIRENCI (kN) ................. Rt = Pe / (Vs*0.5144) =  12345.680"},
        {"F10.3 just below a million", result(ResultLine::Va, 999999.9f), 0,
         "  PERVANE ILERLEME HIZI (m/s)........ Va = Vs*(1-w)*0.5144) = 999999.900"},
        {"F9.4 too wide", result(ResultLine::Ap, 10000.0f), 0,
         "  BURRIL TICARI UST SINIRA GORE PERV. PROJ. ALANI (m2).. Ap = *********"},
        {"AeAo", result(ResultLine::AeAoKeller, 0.765f), 0,
         "  KELLER BAGINTISINA GORE GEREKLI ACI. ALAN ORANI ....Ae/Ao =       .765"},
        {"Vr", result(ResultLine::Vr, 22.74f), 0,
         "  PERVANE 0.7R KESITINDEKI SUYUN HIZI (m/s)............. Vr =     22.740"},
        {"TauC", result(ResultLine::TauC, 0.1895f), 0,
         "  BURRIL TICARI UST SINIRA GORE ITME YUKL. KATSAYISI...TauC =     .1895"},
        {"Ao", result(ResultLine::Ao, 19.635f), 0,
         "  PERVANE DISK ALANI (m2) .............................. Ao =   19.6350"},
        {"Ae", result(ResultLine::Ae, 15.0224f), 0,
         "  PERVANE DUZLENMIS ACINIM ALANI (m2) .................. Ae =   15.0224"},
    };
    for (const auto& c : cases) {
        Recorder r;
        c.write(r);
        ASSERT_GT(r.records.size(), c.record) << c.what;
        EXPECT_EQ(r.records[c.record], c.text) << c.what;
    }
}

TEST(ReportLines, EveryResultLineIsOneRecordOfItsWidth) {
    for (ResultLine line : kResultLines) {
        Recorder r;
        writeResultLine(r, line, 1.0f);
        ASSERT_EQ(r.records.size(), 1u);
        std::size_t index = static_cast<std::size_t>(line);
        EXPECT_EQ(r.records[0].size(), index < 5 ? 72u : 71u);
        EXPECT_EQ(r.records[0].substr(0, 2), "  ");
    }
}

}  // namespace
}  // namespace korv
