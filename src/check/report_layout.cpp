#include "check/report_layout.h"

#include <array>

namespace korv {

namespace {

// "Yazan:" and the credit are one literal, with no blank between them.
constexpr std::string_view kAuthorLine =
    "Yazan:Korventapsilum project team <korventapsilum@example.org>";
static_assert(kAuthorLine.substr(6) == kAuthorCredit);

// One record per line; "/" ends each record, the end of the block ends the last.
// clang-format off
constexpr LayoutItem kHeadingBlock[] = {
    kSlash,
    blanksX(2), literal("KELLER ve BURRILL BAGINTILARINA GORE PERVANE KAVITASYON KONTROL PROGRAMI"), kSlash,
    blanksX(2), literal(kAuthorLine), kSlash,
    kSlash,
    blanksX(2), literal("GIRILEN DEGERLER ******************************************"), kSlash,
    blanksX(2), literal("GEMI HIZI (knot) ..................................... Vs ="), fieldF(6, 2), kSlash,
    blanksX(2), literal("GEMI EFEKTIF GUCU (kW)................................ Pe ="), fieldF(8, 1), kSlash,
    blanksX(2), literal("IZ ve EMME KATSAYILARI ............................. w, t ="), blanksX(1), fieldF(5, 3),
        literal(","), fieldF(5, 3), kSlash,
    blanksX(2), literal("PERV. KANAT SAYISI Z, CAPI D(m) ve DEVRI (RPM)....Z, D, N ="), fieldI(2),
        literal(","), fieldF(7, 3), literal(","), fieldF(7, 2), kSlash,
    blanksX(2), literal("SAFT DERINLIGI (m) ................................... Ds ="), fieldF(6, 2), kSlash,
    blanksX(2), literal("ATMOSFER ve SU BUHAR BASINCLARI (Pa) ..............Pa, Pv ="), fieldF(9, 0),
        literal(","), fieldF(7, 1), kSlash,
    blanksX(2), literal("SU YOGUNLUGU (kg/m3) ve YERCEKIMI IVMESI (m/s2) .. RHO, G ="), fieldF(7, 1),
        literal(","), fieldF(8, 5), kSlash,
    blanksX(2), literal("KELLER BAGINTISI KATSAYISI ............................ k ="), fieldF(6, 3),
};
// clang-format on

constexpr LayoutItem kResultsHeading[] = {
    kSlash,
    kSlash,
    blanksX(2),
    literal("HESAPLAR **************************************************"),
};

constexpr LayoutItem kResultLineLayouts[][2] = {
    {literal("  GEMI DIRENCI (kN) ................. Rt = Pe / (Vs*0.5144) = "), fieldF(10, 3)},
    {literal("  PERVANE ITMESI (kN)..................... T = Rt / (1 - t) = "), fieldF(10, 3)},
    {literal("  KELLER BAGINTISINA GORE GEREKLI ACI. ALAN ORANI ....Ae/Ao = "), fieldF(10, 3)},
    {literal("  PERVANE ILERLEME HIZI (m/s)........ Va = Vs*(1-w)*0.5144) = "), fieldF(10, 3)},
    {literal("  PERVANE 0.7R KESITINDEKI SUYUN HIZI (m/s)............. Vr = "), fieldF(10, 3)},
    {literal("  PERVANE 0.7R KESITINDEKI KAVITASYON SAYISI .........Sigma = "), fieldF(9, 4)},
    {literal("  BURRIL TICARI UST SINIRA GORE ITME YUKL. KATSAYISI...TauC = "), fieldF(9, 4)},
    {literal("  BURRIL TICARI UST SINIRA GORE PERV. PROJ. ALANI (m2).. Ap = "), fieldF(9, 4)},
    {literal("  PERVANE DISK ALANI (m2) .............................. Ao = "), fieldF(9, 4)},
    {literal("  PERVANE DUZLENMIS ACINIM ALANI (m2) .................. Ae = "), fieldF(9, 4)},
    {literal("  PERVANENIN ALABILECEGI EN FAZLA PIC ORANI ........... P/D = "), fieldF(9, 4)},
};

}  // namespace

std::span<const LayoutItem> headingBlockLayout() {
    return kHeadingBlock;
}
std::span<const LayoutItem> resultsHeadingLayout() {
    return kResultsHeading;
}
std::span<const LayoutItem> resultLineLayout(ResultLine line) {
    return kResultLineLayouts[static_cast<std::size_t>(line)];
}

void writeHeadingBlock(RecordDestination& destination, const DesignInputs& in) {
    const FieldValue values[] = {
        realValue(in.Vs),  realValue(in.Pe), realValue(in.w),  realValue(in.t),  integerValue(in.Z),
        realValue(in.D),   realValue(in.N),  realValue(in.Ds), realValue(in.Pa), realValue(in.Pv),
        realValue(in.RHO), realValue(in.G),  realValue(in.k)};
    writeLayout(destination, kHeadingBlock, values);
}

void writeResultsHeading(RecordDestination& destination) {
    writeLayout(destination, kResultsHeading, {});
}

void writeResultLine(RecordDestination& destination, ResultLine line, float value) {
    const FieldValue values[] = {realValue(value)};
    writeLayout(destination, resultLineLayout(line), values);
}

}  // namespace korv
