// korventapsilum: checks a propeller design against cavitation by Keller's and Burrill's
// criteria. Reads KORVENTAPSILUM.TSK, reports on the console and in KORVENTAPSILUM.SON.
// Command-line arguments are ignored.
#include "check/run_sequence.h"

int main() {
    korv::prepareProcess();
    korv::runCavitationCheck();
}
