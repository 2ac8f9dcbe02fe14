#pragma once

#include <iosfwd>
#include <vector>

#include "model/design/design.h"
#include "model/design/lines.h"
#include "model/design/proposer.h"
#include "tools/calc_options.h"

namespace kelvora::cli {

// The design keys given, read as every face reads them, and the proposer's
// own (with `q`); the first refused key's message in `error`.
design::DesignInput applyKeys(const design::DesignInput& base, const CalcOptions& options,
                              const DetectorCatalogue& catalogue, design::ProposerRequest* q,
                              std::string& error);

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
