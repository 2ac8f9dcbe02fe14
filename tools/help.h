#pragma once

#include <iosfwd>

#include "model/detectors.h"

namespace kelvora::cli {

// kelvora-calc --help, kelvora-calc conception --help or kelvora-calc
// proposer --help; in French.
void printHelp(std::ostream& out, const DetectorCatalogue& catalogue, bool design, bool propose);

}  // namespace kelvora::cli
