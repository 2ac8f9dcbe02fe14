#pragma once

#include <iosfwd>

#include "model/calculation.h"
#include "tools/calc_options.h"

namespace kelvora::cli {

// The window's calculation for every combination of the values given, as
// a table: the varied inputs, the twelve results (numbers, or the window's
// texts with --textes) and the error. Nothing varied and the text format
// (the default then): the window's listing, the fault on `err`. Returns 1 if
// any run stopped on a fault.
int printWindowSweep(const RunInput& base, const CalcOptions& options,
                     const DetectorCatalogue& catalogue, OutputFormat format, std::ostream& out,
                     std::ostream& err);

}  // namespace kelvora::cli
