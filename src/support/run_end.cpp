#include <unistd.h>

#include "support/destinations.h"
#include "support/posix_io.h"
#include "support/run_time_error.h"

namespace korv {

namespace {
RunEndHook gHook = nullptr;
RunTimeError gPending;
bool gHasPending = false;
}  // namespace

void setRunEndHook(RunEndHook hook) {
    gHook = hook;
}
RunEndHook runEndHook() {
    return gHook;
}
const RunTimeError* pendingRunTimeError() {
    return gHasPending ? &gPending : nullptr;
}

std::string formatRunTimeError(const RunTimeError& error) {
    std::string out = "\r\nrun-time error ";
    out += error.letter;
    out += std::to_string(error.number);
    out += error.label;
    if (error.label != kLabelMath) {
        out += error.unitName;
        out += error.message.empty() ? ")\r\n" : ")\r\n- ";
    }
    out += error.message;
    out += "\r\n";
    return out;
}

std::string_view ioMessage(int number) {
    switch (number) {
        case errnum::kIntegerRange:
            return "integer value outside the range -2147483648 to 2147483647";
        case errnum::kIntegerForm:
            return "invalid integer value";
        case errnum::kRealDoubleRange:
            return "real value beyond the double-precision range";
        case errnum::kRealForm:
            return "invalid real value";
        case errnum::kRealSingleRange:
            return "real value beyond the single-precision range";
        case errnum::kSecondHash:
            return "second # in an integer value";
        case errnum::kBadBase:
            return "integer base outside 2 to 36";
        case errnum::kOpenOther:
            return "file cannot be opened";
        case errnum::kOpenInvalidName:
            return "invalid file name or open argument";
        case errnum::kOpenRefused:
            return "access to the file refused";
        case errnum::kOpenExists:
            return "file to be created already exists";
        case errnum::kOpenNotFound:
            return "file or directory not found";
        case errnum::kOpenTooMany:
            return "too many open files";
        case errnum::kWriteOther:
            return "write failed";
        case errnum::kWriteRefused:
            return "write not permitted";
        case errnum::kWriteFull:
            return "device full";
        case errnum::kReadFailed:
            return "read failed";
        case errnum::kEndOfFile:
            return "end of file";
        case errnum::kRepeatBelowOne:
            return "repeat count below 1";
        case errnum::kSecondRepeat:
            return "second repeat count for one value";
        case errnum::kConstantForNumber:
            return "character or complex constant for a numeric item";
        default:
            return "input or output failure";
    }
}

void reportWithoutEnding(const RunTimeError& error) {
    if (gHook != nullptr) {
        return;
    }
    std::string bytes = formatRunTimeError(error);
    (void)writeAll(STDERR_FILENO, bytes.data(), bytes.size());
}

void failRun(const RunTimeError& error) {
    // A second failure while the first is being reported (for example the console line end
    // failing inside finishRun) must not report again; finishRun guards against re-entry.
    if (!gHasPending) {
        gPending = error;
        gHasPending = true;
        if (gHook == nullptr) {
            std::string bytes = formatRunTimeError(error);
            (void)writeAll(STDERR_FILENO, bytes.data(), bytes.size());
        }
    }
    finishRun(1);
}

void failIo(int number, std::string_view label, std::string_view unitName) {
    RunTimeError error;
    error.letter = 'F';
    error.number = number;
    error.label = label;
    error.unitName = std::string(unitName);
    error.message = std::string(ioMessage(number));
    failRun(error);
}

void failMath(MathFault fault) {
    RunTimeError error;
    error.letter = 'M';
    error.label = kLabelMath;
    switch (fault) {
        case MathFault::invalid:
            error.number = errnum::kMathInvalid;
            error.message = "floating-point error: invalid";
            break;
        case MathFault::divideByZero:
            error.number = errnum::kMathDivideByZero;
            error.message = "floating-point error: divide by zero";
            break;
        case MathFault::overflow:
            error.number = errnum::kMathOverflow;
            error.message = "floating-point error: overflow";
            break;
    }
    failRun(error);
}

void resetRunEndForTesting() {
    gHasPending = false;
    resetFinishForTesting();
}

}  // namespace korv
