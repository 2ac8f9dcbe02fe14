#pragma once

#include <iosfwd>

#include "model/detectors.h"

namespace kelvora::cli {

// kelvora-calc --help, kelvora-calc conception --help, kelvora-calc
// proposer --help or, with `calibrate`, kelvora-calc etalonner --help; in French.
// kelvora-calc etalonner --help.
void printHelp(std::ostream& out, const DetectorCatalogue& catalogue, bool design, bool propose,
               bool calibrate = false);

}  // namespace kelvora::cli
