#pragma once

#include <iosfwd>

#include "model/design/design.h"
#include "tools/calc_options.h"

namespace kelvora::cli {

// The design model for every combination of the KEY=VALUE values given:
// the varied inputs, the results and the error. Nothing varied and the text
// format (the default then): the results, an impossible instrument's error
// on `err`. Returns 1 if any instrument is impossible.
int printDesignSweep(const design::DesignInput& base, const CalcOptions& options,
                     const DetectorCatalogue& catalogue, OutputFormat format, std::ostream& out,
                     std::ostream& err);

// The photometric chain at wavelengths spread over the range, one row each
// (CSV unless the format says otherwise). Returns 1 if the instrument is impossible.
int printDesignSpectrum(const design::DesignInput& base, const CalcOptions& options,
                        const DetectorCatalogue& catalogue, OutputFormat format, std::ostream& out,
                        std::ostream& err);

}  // namespace kelvora::cli
