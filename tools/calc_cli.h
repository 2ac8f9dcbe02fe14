#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "model/detectors.h"

namespace kelvora::cli {

// Runs kelvora-calc on its arguments (without the program name).
// `regionalSeparator` is the decimal separator of the user's settings,
// used unless --decimal-separator is given. Returns the exit status.
int runCalc(const std::vector<std::string>& args, const std::string& regionalSeparator,
            const DetectorCatalogue& catalogue, std::ostream& out, std::ostream& err);

}  // namespace kelvora::cli
