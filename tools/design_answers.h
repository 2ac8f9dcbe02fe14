#pragma once

#include <iosfwd>
#include <vector>

#include "model/design/design.h"
#include "model/design/lines.h"
#include "tools/calc_options.h"

namespace kelvora::cli {

// `proposer`: the candidates, best first, each with the keys that
// reproduce it and its results; none kept: the French reason on `err`,
// status 1. No resolution_cible: a usage error, status 2.
int printProposals(const design::DesignInput& base, const CalcOptions& options,
                   const DetectorCatalogue& catalogue, OutputFormat format, std::ostream& out,
                   std::ostream& err);

// `conception --raies`: the lines on the sensor, the pairs' verdicts and
// each lamp's count, one table.
int printLines(const design::DesignInput& base, const CalcOptions& options,
               const DetectorCatalogue& catalogue, const std::vector<design::Line>& lines,
               OutputFormat format, std::ostream& out, std::ostream& err);

// `conception --rapport F.pdf`: the design on one A4 page, as the window
// prints it, without a display; titled with the design file's name.
int writeReport(const design::DesignInput& base, const CalcOptions& options,
                const DetectorCatalogue& catalogue, const std::vector<design::Line>& lines,
                std::ostream& err);

}  // namespace kelvora::cli
