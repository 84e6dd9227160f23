// The input deck KORVENTAPSILUM.TSK.
#pragma once

#include <string>

#include "check/design.h"
#include "support/text_input_file.h"

namespace korv {

inline constexpr const char* kDeckName = "KORVENTAPSILUM.TSK";

// Opens the deck (creating it empty when it is missing), reads the ten heading lines and the
// eight label/value groups into inputs, and closes it. Every failure ends the run.
void readInputDeck(DesignInputs& inputs);

// Reads the deck's lines from an open file: the part of readInputDeck after the opening.
void readDeckContents(TextInputFile& file, DesignInputs& inputs);

// Reads one line into the 80-character text line and leaves the file at the next line.
void readTextLine(TextInputFile& file, char (&line)[80]);

}  // namespace korv
