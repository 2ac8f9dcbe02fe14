#pragma once

// The steps of one design evaluation, shared by its source files.

#include <numbers>
#include <optional>
#include <string>

#include "model/design/design.h"

namespace kelvora::design {

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kArcsecPerRadian = 648000 / kPi;
inline constexpr double kAngstromsPerMm = 1e7;
// Ozone absorbs below this (Å): through the atmosphere no shorter light arrives.
inline constexpr double kAtmosphereCutA = 3000;
// Silicon's band gap (1.12 eV): no detector here sees beyond this (Å); every
// QE falls linearly to zero from kSiliconFadeA.
inline constexpr double kSiliconEdgeA = 11000, kSiliconFadeA = 10000;

using Optics = SolvedGrating;

// Whether a key the mode hides holds a value outside its limits; the
// design with every such key at its default, which no answer then reads.
bool hiddenOutOfLimits(const DesignInput& in);
DesignInput withHiddenDefaults(const DesignInput& in);
// The first rule the inputs break, or none.
[[nodiscard]] std::optional<KeyError> checkInputs(const DesignInput& in);
// Solves the grating equation; or why there is no diffraction.
[[nodiscard]] std::optional<KeyError> solveGrating(const DesignInput& in, Optics& o);

// Å per binned pixel for light leaving the grating at beta (radians).
double dispersionAt(const DesignInput& in, const Optics& o, double beta);
// The diffraction angle of another wavelength (Å), the grating fixed.
double betaAt(const Optics& o, double lambdaA);

// Rows summed across the dispersion: this many times the star's FWHM.
inline constexpr double kExtractionFwhms = 2;
struct Extraction {
    double rows;      // binned rows summed
    double fraction;  // of the star's light they hold
};
double fwhmAcross(const DesignInput& in, const Optics& o);
Extraction extraction(const DesignInput& in, const Optics& o);

// The FWHM (mm along the dispersion) of the converging beam's aberration blur.
double convergentComa(const DesignInput& in, const Optics& o, double beta);

// Without a slit: the sky through the chain, per arcsec², on every pixel.
double slitlessSky(const DesignInput& in, const Optics& o);
// The sky's electrons per second in one binned pixel at the design's λ.
double skyPerPixel(const DesignInput& in, const Optics& o);

void fillGeometry(const DesignInput& in, const Optics& o, DesignResult& r);
void fillResolution(const DesignInput& in, const Optics& o, DesignResult& r);
void fillPhotometry(const DesignInput& in, const Optics& o, DesignResult& r);

}  // namespace kelvora::design
