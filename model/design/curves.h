#pragma once

// The data of the design window's plots, from the design model itself.

#include <utility>
#include <vector>

#include "model/design/design.h"

namespace kelvora::design {

// S/N against the total exposure (s), from near 0 to twice the larger of
// the given and the solved exposure.
Curve snrAgainstExposure(const DesignInput& in, int points = 100);
// S/N against the star's magnitude, 4 magnitudes either side of the star
// (or of the limiting magnitude).
Curve snrAgainstMagnitude(const DesignInput& in, int points = 100);
// Wavelength (Å) against the unbinned pixel along the dispersion.
Curve spectrumAcrossSensor(const DesignInput& in, const DesignOutcome& outcome, int points = 100);

// The wavelength (Å) that falls on an unbinned pixel (0 to nx, the
// sensor's first edge to its last); NaN if the instrument is impossible.
double wavelengthAtPixel(const DesignInput& in, double pixel);

}  // namespace kelvora::design
