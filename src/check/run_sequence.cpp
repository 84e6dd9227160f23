#include "check/run_sequence.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include "check/input_deck.h"
#include "check/report_layout.h"
#include "check/sizing.h"
#include "support/arithmetic.h"
#include "support/destinations.h"

namespace korv {

void prepareProcess() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) < 0) {
            int opened = ::open("/dev/null", O_RDWR);
            if (opened >= 0 && opened != fd) {
                ::dup2(opened, fd);
                ::close(opened);
            }
        }
    }
    // A console that goes away (a closed pipe) becomes a write failure with a report, instead
    // of a silent death that would lose the report file's last block.
    ::signal(SIGPIPE, SIG_IGN);
    setUpArithmetic();
}

void runCavitationCheck() {
    static DesignInputs inputs;
    static CavitationResults results;
    static ConsoleDestination console;
    static ReportFile report;
    registerConsole(&console);

    readInputDeck(inputs);
    openReportFileInto(report, kReportFileName);
    registerReportFile(&report);

    RecordDestination* const destinations[] = {&console, &report};
    for (RecordDestination* destination : destinations) {
        writeHeadingBlock(*destination, inputs);
        writeResultsHeading(*destination);
        for (ResultLine line : kResultLines) {
            float value = computeResult(inputs, results, line);
            writeResultLine(*destination, line, value);
        }
    }
    console.writeRecord(" ");
    pauseForEnter(kClosingPrompt);
    stopRun();
}

}  // namespace korv
