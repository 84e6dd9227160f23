// The report's blocks: heading, results heading and the eleven result lines.
#pragma once

#include <span>

#include "check/design.h"
#include "support/field_editing.h"

namespace korv {

// The author credit after "Yazan:" in the heading block.
inline constexpr std::string_view kAuthorCredit =
    "Korventapsilum project team <korventapsilum@example.org>";

std::span<const LayoutItem> headingBlockLayout();
std::span<const LayoutItem> resultsHeadingLayout();
std::span<const LayoutItem> resultLineLayout(ResultLine line);

void writeHeadingBlock(RecordDestination& destination, const DesignInputs& inputs);
void writeResultsHeading(RecordDestination& destination);
void writeResultLine(RecordDestination& destination, ResultLine line, float value);

}  // namespace korv
