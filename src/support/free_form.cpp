#include "support/free_form.h"

#include <string>

#include "support/run_time_error.h"
#include "support/value_conversion.h"

namespace korv {

namespace {

enum class Separator { comma, blank, slash };

[[noreturn]] void failRead(TextInputFile& file, int number) {
    failIo(number, kLabelRead, file.unitName());
}

// Takes one byte inside a constant: an end of record is no part of its content.
int takeInside(TextInputFile& file, bool& recordEnd) {
    int c = file.takeByte();
    recordEnd = c == '\r' || c == '\n';
    if (c == '\r') {
        file.advanceRecord();
    }
    return c;
}

// Scans a character constant after its opening quote, to its closing quote; a doubled quote
// stands for one quote. Returns whether it held any character.
bool scanCharacterConstant(TextInputFile& file, int quote) {
    bool content = false;
    for (;;) {
        bool recordEnd = false;
        int c = takeInside(file, recordEnd);
        if (recordEnd) {
            continue;
        }
        if (c == quote) {
            if (file.peekByte() != quote) {
                return content;
            }
            file.takeByte();
        }
        content = true;
    }
}

// Scans a complex constant after its opening parenthesis, to its closing one. Returns whether
// anything but blanks stood between them.
bool scanComplexConstant(TextInputFile& file) {
    bool content = false;
    for (;;) {
        bool recordEnd = false;
        int c = takeInside(file, recordEnd);
        if (recordEnd || c == ' ' || c == '\t') {
            continue;
        }
        if (c == ')') {
            return content;
        }
        content = true;
    }
}

void store(TextInputFile& file, const FreeFormItem& item, const std::string& text) {
    int error =
        item.real != nullptr ? convertReal(text, *item.real) : convertInteger(text, *item.integer);
    if (error != 0) {
        failRead(file, error);
    }
}

}  // namespace

void readFreeFormValues(TextInputFile& file, std::span<const FreeFormItem> items) {
    Separator last = Separator::comma;
    bool recordAdvanced = false;
    std::int64_t repeatsLeft = 0;  // further items that take the current value
    bool repeatedNull = false;
    std::string text;
    std::string repeatedText;

    for (const FreeFormItem& item : items) {
        if (repeatsLeft > 0) {
            --repeatsLeft;
            if (!repeatedNull) {
                store(file, item, repeatedText);
            }
            continue;
        }
        if (last == Separator::slash) {
            break;
        }

        text.clear();
        recordAdvanced = false;
        bool repeatGiven = false;
        bool constantSeen = false;  // a character or complex constant (an empty one is null)
        std::int32_t repeatCount = 0;
        Separator separator = Separator::blank;
        for (;;) {
            int c = file.takeByte();
            bool started = !text.empty() || repeatGiven || constantSeen;
            if (c == '\r' || c == '\n') {
                if (c == '\r') {
                    file.advanceRecord();  // a carriage return hides the rest of its record
                }
                if (started) {
                    recordAdvanced = true;
                    separator = Separator::blank;
                    break;
                }
                continue;
            }
            if (c == ' ' || c == '\t') {
                if (!started) {
                    continue;
                }
                separator = Separator::blank;
                break;
            }
            if (c == ',') {
                if (!started && last == Separator::blank) {
                    last = Separator::comma;  // a blank and a comma make one separator
                    continue;
                }
                separator = Separator::comma;
                break;
            }
            if (c == '/') {
                separator = Separator::slash;
                break;
            }
            if (c == '*') {
                if (repeatGiven) {
                    failRead(file, errnum::kSecondRepeat);
                }
                if (text.empty()) {
                    failRead(file, errnum::kRepeatBelowOne);
                }
                int error = convertInteger(text, repeatCount);
                if (error != 0) {
                    failRead(file, error);
                }
                if (repeatCount < 1) {
                    failRead(file, errnum::kRepeatBelowOne);
                }
                repeatGiven = true;
                text.clear();
                continue;
            }
            if (text.empty() && !constantSeen && (c == '\'' || c == '"' || c == '(')) {
                bool content =
                    c == '(' ? scanComplexConstant(file) : scanCharacterConstant(file, c);
                if (content) {
                    failRead(file, errnum::kConstantForNumber);
                }
                constantSeen = true;
                continue;
            }
            text.push_back(static_cast<char>(c));
        }

        last = separator;
        bool isNull = text.empty();
        if (!isNull) {
            if (constantSeen) {
                // Text run on directly after an empty constant is no number of either kind.
                failRead(file, item.real != nullptr ? errnum::kRealForm : errnum::kIntegerForm);
            }
            store(file, item, text);
        }
        if (repeatGiven) {
            repeatsLeft = repeatCount - 1;
            repeatedNull = isNull;
            repeatedText = text;
        }
    }
    // A repeat count still pending is dropped; whatever follows the last value on its record
    // is discarded, unless the value's own end of record already moved the file on.
    if (!recordAdvanced) {
        file.advanceRecord();
    }
}

}  // namespace korv
