#pragma once

// The step of a spectrum's wavelength solution at each sample, Å per
// sample: the derivative of a polynomial fitted to λ against the sample's
// index, so that wavelengths written to a few decimals do not make the step
// jump between two values. Where no low-order polynomial follows the
// wavelengths (a gap, orders joined), the local differences.

#include <vector>

namespace kelvora::design {

struct WavelengthSteps {
    std::vector<double> step;
    bool fitted = false;  // from the polynomial; false: local differences
};

WavelengthSteps wavelengthSteps(const std::vector<double>& lambda);

}  // namespace kelvora::design
