#pragma once

#include <iosfwd>

#include "io/designfile.h"
#include "model/design/design.h"
#include "tools/calc_options.h"

namespace kelvora::cli {

// `etalonner SPECTRE [design.kelvora] [CLE=VALEUR…]`: the spectrum against
// the design's prediction in bins (λ, observed, predicted, ratio, S/N,
// measured efficiency); --enregistrer writes the design with the measured
// efficiency. A spectrum or a design that cannot be read: status 2;
// nothing to calibrate: status 1.
int printCalibration(const design::DesignInput& base, const CalcOptions& options,
                     const DetectorCatalogue& catalogue, std::ostream& out, std::ostream& err);

// `etalonnages design.kelvora`: the design's calibrations, one row each
// (numero, date, star, file, S/N, median ratio, range, what differs from
// the design's instrument); --retirer N --enregistrer F.kelvora writes the
// design without the N-th.
int listCalibrations(const io::DesignFile& file, const CalcOptions& options, std::ostream& out,
                     std::ostream& err);

}  // namespace kelvora::cli
