#pragma once

// Calibrating on the sky: an observed, extracted spectrum of a star of
// known magnitude and type against what the design predicts for it, the
// instrument's real efficiency measured at every wavelength from their
// ratio, and the observed S/N by DER_SNR. docs/physics.md gives each step.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/design/design.h"
#include "model/design/plots.h"

namespace kelvora::design {

struct ObservedSpectrum {
    std::vector<double> lambda_a;  // increasing, Å
    std::vector<double> flux;      // ADU (or e⁻ with gain 1) per sample
    double exptime_s = 0;          // 0: not in the file
    double gain_e_adu = 0;         // 0: not in the file
    double airmass = 0;            // 0: not in the file
    std::string object, date;      // as the file gives them
    std::size_t missing = 0;       // samples without a value (blank, NaN), left out
};

// The day the spectrum was taken (its DATE-OBS, « 2026-11-30 »), or
// `today` when the file does not say.
std::string observationDate(const ObservedSpectrum& s, const std::string& today);

// DER_SNR (Stoehr et al. 2008): the median signal over the noise
// 1.482602/√6 × median |2fᵢ − fᵢ₋₂ − fᵢ₊₂|; 0 for fewer than 5 samples.
double derSnr(std::span<const double> flux);

// Where stellar lines (Balmer, Ca II H & K, Na D) and telluric bands (O₂ A
// and B, H₂O near 7200 and 8200 Å) keep a wavelength out of the fit.
bool maskedForCalibration(double lambdaA);

struct CalibrationBin {
    double lambda_a;    // the bin's centre
    double observed;    // e⁻ s⁻¹ Å⁻¹: the ratio times the prediction
    double predicted;   // e⁻ s⁻¹ Å⁻¹ the design predicts in the extraction
    double ratio;       // observed / predicted, the clipped mean of the samples' ratios
    double snr;         // DER_SNR of the bin's samples
    double efficiency;  // measured: ratio × the assumed instrument's efficiency
    bool masked;
};

struct Calibration {
    std::vector<CalibrationBin> bins;
    MeasuredEfficiency efficiency;  // the unmasked bins' curve
    double snr = 0;                 // DER_SNR of the whole spectrum, per sample
    double predictedSnr = 0;        // the design's S/N per pixel at the spectrum's centre
    double exptime_s = 0, gain_e_adu = 1;
    std::string error;  // French; "" when calibrated
};

// `in` is the design of the observation (telescope, sensor, star's V and
// type); the file's exposure, gain and airmass, where it has them, take
// the place of `pose_s`×`poses`, 1 e⁻/ADU and `masse_air`. The measured
// curve is dated `date` and names the star and the file.
Calibration calibrate(const DesignInput& in, const ObservedSpectrum& s, const std::string& date,
                      const std::string& file);

// What every face shows of a calibration: the bins as a table (λ,
// observed, predicted, ratio, S/N, measured efficiency, whether masked) in
// the face's separator; the observed and predicted signals, and their
// ratio, as two plots; a one-line summary.
PlotTable calibrationTable(const Calibration& c, std::string_view separator);
std::array<PlotDescription, 2> calibrationPlots(const Calibration& c);
std::string calibrationSummary(const Calibration& c, std::string_view separator);

// A synthetic raw spectrum of the design's star, as the design predicts it
// in one exposure of `exptime_s` with the instrument's efficiency multiplied
// by `factor(λ)`; one sample per binned pixel, gain 1, Poisson and read
// noise from a seeded generator that gives the same samples on every build
// (seed 0: no noise, the expected electrons).
ObservedSpectrum syntheticSpectrum(const DesignInput& in, double (*factor)(double lambdaA),
                                   double exptime_s, std::uint32_t seed);

}  // namespace kelvora::design
