// Fuzzes the deck reader and the calculation from arbitrary deck bytes: reads the deck, then
// computes and renders every result line. A run that ends (a deck error or an arithmetic
// fault) is caught through the run-end hook instead of ending the fuzzer.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "check/input_deck.h"
#include "check/report_layout.h"
#include "check/sizing.h"
#include "support/arithmetic.h"
#include "support/destinations.h"
#include "support/run_time_error.h"

namespace {

struct RunEnded {
    int status;
};

void throwingHook(int status, const korv::RunTimeError*) {
    korv::resetRunEndForTesting();
    throw RunEnded{status};
}

// Checks every record handed over: the report never holds more than 79 characters.
class CheckingDestination : public korv::RecordDestination {
  public:
    void writeRecord(std::string_view record) override {
        if (record.size() > 79)
            std::abort();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korv::setRunEndHook(&throwingHook);
    korv::resetRunEndForTesting();
    korv::setUpArithmetic();
    int fd = ::memfd_create("deck", MFD_CLOEXEC);
    if (fd < 0)
        return 0;
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    ::lseek(fd, 0, SEEK_SET);
    try {
        korv::TextInputFile file(fd, korv::kDeckName);
        korv::DesignInputs inputs;
        korv::readDeckContents(file, inputs);
        CheckingDestination destination;
        korv::writeHeadingBlock(destination, inputs);
        korv::CavitationResults results;
        for (korv::ResultLine line : korv::kResultLines) {
            float value = korv::computeResult(inputs, results, line);
            korv::writeResultLine(destination, line, value);
        }
    } catch (const RunEnded& ended) {
        if (ended.status != 1)
            std::abort();
    }
    ::close(fd);
    return 0;
}
