#pragma once

// The Sun as the source of a spectroheliograph: its disc on the slit and
// the sensor, the scan across it, the bandpass against the line's core and
// the exposure of one frame (docs/physics.md gives each formula's source).

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/design/design.h"

namespace kelvora::design {

// A line a spectroheliograph images, its core at disc centre from a solar
// atlas: the residual intensity (of the continuum) and the width at half depth.
struct SolarLine {
    const char* key;   // as keys and files write it
    const char* name;  // as people read it
    double lambdaA, residual, coreA;
};
std::span<const SolarLine> solarLines();
const SolarLine* findSolarLine(std::string_view key);

// Where the Sun stands on a date (AAAA-MM-JJ, noon UT): its apparent
// radius (″), declination (°) and distance (AU); none for a date that does not exist.
struct SunOnDate {
    double radiusArcsec, declinationDeg, distanceAu;
};
std::optional<SunOnDate> sunOn(std::string_view isoDate);

// The line's relative intensity at Δλ (Å) from its centre at disc centre:
// a Gaussian core of the atlas's depth and width at half depth.
double coreProfile(const SolarLine& line, double deltaA);

// The G2V template's photons (per unit V flux) read kBesideA on either side
// of λ: the continuum around a line, which the template's bins blur.
struct ContinuumBeside {
    double blue, red;
    double at(double lambdaA, double centreA) const;  // linear between them, 1 at the centre
};
inline constexpr double kBesideA = 20;
ContinuumBeside continuumBeside(const DesignInput& in, double lambdaA);

// Whether the slit isolates the line's core, in words; "" without a core.
const char* coreVerdict(const DesignResult& r);

// Fills the Sun's results of a design whose grating is solved.
void fillSun(const DesignInput& in, const SolvedGrating& o, DesignResult& r);

}  // namespace kelvora::design
