#pragma once

// The steps of one design evaluation, shared by its source files.

#include <numbers>
#include <string>

#include "model/design/design.h"

namespace kelvora::design {

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kArcsecPerRadian = 648000 / kPi;
inline constexpr double kAngstromsPerMm = 1e7;

// What the grating equation and the instrument's layout give.
struct Optics {
    double alpha = 0, beta = 0;  // radians
    double lambda = 0;           // central wavelength, mm
    double mN = 0;               // order times lines per mm
    double p = 0;                // unbinned pixel, mm
    double seeingDisc = 0;       // FWHM of the star at the telescope focus, mm
    bool convergent = false;
    bool slit = false;  // a slit in a collimated geometry
};

// "" or the French reason the inputs cannot describe an instrument.
std::string checkInputs(const DesignInput& in);
// Solves the grating equation; "" or why there is no diffraction.
std::string solveGrating(const DesignInput& in, Optics& o);

// The wavelength (Å) on an unbinned pixel, 0 to nx from the sensor's first edge.
double wavelengthOnPixel(const DesignInput& in, const Optics& o, double pixel);

// Å per binned pixel for light leaving the grating at beta (radians).
double dispersionAt(const DesignInput& in, const Optics& o, double beta);
// The diffraction angle of another wavelength (Å), the grating fixed.
double betaAt(const Optics& o, double lambdaA);

// The aberration blur (mm along the dispersion) of the converging beam.
double convergentComa(const DesignInput& in, const Optics& o);

void fillGeometry(const DesignInput& in, const Optics& o, DesignResult& r);
void fillResolution(const DesignInput& in, const Optics& o, DesignResult& r);
void fillPhotometry(const DesignInput& in, const Optics& o, DesignResult& r);

// A number as the French texts show it: comma, `digits` significant digits.
std::string frenchNumber(double value, int digits);

}  // namespace kelvora::design
