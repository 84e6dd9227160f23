// The sizing calculation: Keller's minimum blade area and Burrill's upper limit.
#pragma once

#include "check/design.h"

namespace korv {

// Performs the steps of one result line, stores their results and returns the line's value.
// Called once per line in report order, right before the line is written.
float computeResult(const DesignInputs& inputs, CavitationResults& results, ResultLine line);

}  // namespace korv
