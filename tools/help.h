#pragma once

#include <iosfwd>

#include "model/detectors.h"

namespace kelvora::cli {

// kelvora-calc --help, or kelvora-calc conception --help; in French.
void printHelp(std::ostream& out, const DetectorCatalogue& catalogue, bool design);

}  // namespace kelvora::cli
