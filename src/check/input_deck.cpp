#include "check/input_deck.h"

#include <unistd.h>

#include <cstring>

#include "support/free_form.h"
#include "support/posix_io.h"
#include "support/run_time_error.h"

namespace korv {

void readTextLine(TextInputFile& file, char (&line)[80]) {
    std::memset(line, ' ', sizeof line);
    std::size_t used = 0;
    for (;;) {
        int c = file.takeByte();
        if (c == '\n') {
            return;
        }
        if (c == '\r') {
            break;
        }
        line[used++] = static_cast<char>(c);
        if (used == sizeof line) {
            break;  // the rest of the line, whatever its length, is skipped
        }
    }
    file.advanceRecord();
}

void readDeckContents(TextInputFile& file, DesignInputs& in) {
    char line[80];
    for (int i = 0; i < 10; ++i) {
        readTextLine(file, line);  // the heading
    }
    const FreeFormItem speed[] = {realItem(in.Vs)};
    const FreeFormItem power[] = {realItem(in.Pe)};
    const FreeFormItem fractions[] = {realItem(in.w), realItem(in.t)};
    const FreeFormItem propeller[] = {integerItem(in.Z), realItem(in.D), realItem(in.N)};
    const FreeFormItem immersion[] = {realItem(in.Ds)};
    const FreeFormItem pressures[] = {realItem(in.Pa), realItem(in.Pv)};
    const FreeFormItem water[] = {realItem(in.RHO), realItem(in.G)};
    const FreeFormItem keller[] = {realItem(in.k)};
    const std::span<const FreeFormItem> groups[] = {speed,     power,     fractions, propeller,
                                                    immersion, pressures, water,     keller};
    for (const auto& group : groups) {
        readTextLine(file, line);  // the label line
        readFreeFormValues(file, group);
    }
}

void readInputDeck(DesignInputs& inputs) {
    const std::string name = kDeckName;
    bool exists = nameExists(name);
    OpenedFile opened = openWithFallback(name, !exists);
    if (opened.fd < 0) {
        failIo(openErrorNumber(opened.error), kLabelOpen, name);
    }
    // Closed on every path: a failure while reading ends the process, which closes it too.
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{opened.fd};
    TextInputFile file(opened.fd, name);
    readDeckContents(file, inputs);
}

}  // namespace korv
