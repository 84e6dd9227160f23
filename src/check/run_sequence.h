// One run of the program, from the deck to the stop.
#pragma once

namespace korv {

inline constexpr const char* kReportFileName = "KORVENTAPSILUM.SON";
inline constexpr const char* kClosingPrompt = "BITIRMEK ICIN `ENTER`A BASIN";

// Reads the deck, writes the report to the console and then to the report file, shows the
// closing prompt and stops. Never returns: the run ends through the stop or a failure.
[[noreturn]] void runCavitationCheck();

// Guards the standard descriptors and signals before the run: a closed standard descriptor
// is taken by /dev/null so that no file of the run is opened in its place.
void prepareProcess();

}  // namespace korv
