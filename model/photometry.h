#pragma once

// The photometric constants of the window's signal-to-noise estimate; the
// design model uses the same ones.

namespace kelvora::photometry {

// Band of sky light (Å) reaching one pixel without a slit, and the most a
// slit's image can let through.
inline constexpr double kSkyBandLimit = 2500;
// Sky electrons per second per cm² of aperture per Å per square arc second
// at sky brightness 0.
inline constexpr double kSkyFlux = 28;
// Star electrons per second per cm² of aperture per Å at magnitude 0.
inline constexpr double kStarFlux = 100.8;
// Unbinned detector rows across the dispersion the spectrum is summed over.
inline constexpr double kRows = 7;
// Dark electrons per second per binned pixel.
inline constexpr double kDark = 0.3;
// A magnitude M scales a flux by 10^(M · -0.4).
inline constexpr double kMagnitudeFactor = -0.4;

}  // namespace kelvora::photometry
