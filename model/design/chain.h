#pragma once

// The photometric chain, factor by factor, at one wavelength (Å).
// docs/physics.md gives each formula and its source.

#include "model/design/design.h"

namespace kelvora::design::chain {

// Photons s⁻¹ cm⁻² Å⁻¹ of a V = 0 star at 5500 Å.
double zeroPointPhotons();
// Photons s⁻¹ cm⁻² Å⁻¹ of the source at magnitude 0 in its band: the
// type's template or a black body of `temperature_k`, scaled through the
// band (passbands.h), or flat at the V zero point.
double sourcePhotons(const DesignInput& in, double lambdaA);
// The moonlit sky's V brightness (mag/arcsec²); +∞ without a moon or air.
double moonSkyMagnitude(const DesignInput& in);
// The dark sky's V brightness, mag/arcsec²: the Bortle class's typical sky
// when one is given, else `mag_ciel`.
double darkSkyMagnitude(const DesignInput& in);
// Photons s⁻¹ cm⁻² Å⁻¹ arcsec⁻² of the sky: its V brightness with the dark
// sky's colour, plus the moonlit sky.
double skyPhotons(const DesignInput& in, double lambdaA);
// Collecting area, cm², the central obstruction removed.
double area(const DesignInput& in);
// Extinction, magnitudes per airmass: Rayleigh at the site's altitude plus aerosols.
double extinction(const DesignInput& in, double lambdaA);
double atmosphere(const DesignInput& in, double lambdaA);
// `miroirs` bare-aluminium reflections.
double telescope(const DesignInput& in, double lambdaA);
// Scalar blaze model at the real angles (radians); flat without a blaze wavelength.
double grating(const DesignInput& in, double alpha, double beta, double lambdaA);
// The share of the light left in the zero order (β = −α): `efficacite_ordre0`,
// or the same scalar blaze model at m = 0; none without a blaze.
double zeroOrder(const DesignInput& in, double alpha, double lambdaA);
// Silicon's response beyond 1 µm: 1, falling to 0 at 1.1 µm.
double siliconEdge(double lambdaA);
// The sensor's curve scaled to `qe`, or `qe` itself, times silicon's edge.
double quantumEfficiency(const DesignInput& in, double lambdaA);

// Linear interpolation in a table, clamped to its ends.
double interpolate(const Curve& table, double x);

}  // namespace kelvora::design::chain
