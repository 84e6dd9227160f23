// The run-time error report: the one way a failure ends a run.
#pragma once

#include <string>
#include <string_view>

namespace korv {

// Statement labels of the report: which kind of operation failed.
inline constexpr std::string_view kLabelOpen = ": OPEN(";
inline constexpr std::string_view kLabelRead = ": READ(";
inline constexpr std::string_view kLabelWrite = ": WRITE(";
inline constexpr std::string_view kLabelClose = ": CLOSE(";
inline constexpr std::string_view kLabelMath = ": MATH\r\n- ";

// Unit name of the console in reports.
inline constexpr std::string_view kConsoleUnit = "CON";

// Error numbers of input and output failures.
namespace errnum {
inline constexpr int kIntegerRange = 6100;
inline constexpr int kIntegerForm = 6101;
inline constexpr int kRealDoubleRange = 6102;
inline constexpr int kRealForm = 6103;
inline constexpr int kRealSingleRange = 6104;
inline constexpr int kSecondHash = 6302;
inline constexpr int kBadBase = 6303;
inline constexpr int kOpenOther = 6410;  // our choice: an open that fails for another cause
inline constexpr int kOpenInvalidName = 6412;
inline constexpr int kOpenRefused = 6414;
inline constexpr int kOpenExists = 6415;
inline constexpr int kOpenNotFound = 6416;
inline constexpr int kOpenTooMany = 6417;
inline constexpr int kWriteOther = 6420;  // our choice: a write that fails for another cause
inline constexpr int kWriteRefused = 6421;
inline constexpr int kWriteFull = 6422;
inline constexpr int kReadFailed = 6500;
inline constexpr int kEndOfFile = 6501;
inline constexpr int kRepeatBelowOne = 6502;
inline constexpr int kSecondRepeat = 6503;
inline constexpr int kConstantForNumber = 6504;
// Arithmetic faults (letter M).
inline constexpr int kMathInvalid = 6101;
inline constexpr int kMathDivideByZero = 6103;
inline constexpr int kMathOverflow = 6104;
}  // namespace errnum

struct RunTimeError {
    char letter = 'F';
    int number = 0;
    std::string_view label;
    std::string unitName;
    std::string message;
};

// The exact bytes of the report on standard error.
std::string formatRunTimeError(const RunTimeError& error);

// The message line of an input or output failure.
std::string_view ioMessage(int number);

// Writes the report to standard error and ends the run with status 1.
[[noreturn]] void failRun(const RunTimeError& error);

// An input or output failure with the standard message of its number.
[[noreturn]] void failIo(int number, std::string_view label, std::string_view unitName);

enum class MathFault { invalid, divideByZero, overflow };
[[noreturn]] void failMath(MathFault fault);

// Writes a report without ending the run (a failure while the run is already ending).
void reportWithoutEnding(const RunTimeError& error);

// Testing seam: when a hook is set, the end of a run calls it instead of ending the process,
// and failRun hands it the error instead of writing standard error. The hook must not return
// (it throws). Fuzzers and unit tests use it; the program never sets it.
using RunEndHook = void (*)(int status, const RunTimeError* error);
void setRunEndHook(RunEndHook hook);
RunEndHook runEndHook();

// The error that failRun is ending the run with, if any (for the hook).
const RunTimeError* pendingRunTimeError();

// Testing seam: forgets a run end that a hook intercepted, so that one test process can go
// through several.
void resetRunEndForTesting();

}  // namespace korv
