#pragma once

// Calibrating on the sky: an observed, extracted spectrum of a star of
// known magnitude and type against what the design predicts for it, the
// instrument's real efficiency measured at every wavelength from their
// ratio, and the observed S/N by DER_SNR. docs/physics.md gives each step.

#include <cmath>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/design/design.h"
#include "model/design/plots.h"

namespace kelvora::design {

// One limit for every face: the largest spectrum file read, and the fewest
// samples a calibration works with (five bins of ten).
inline constexpr std::size_t kMaxSpectrumBytes = 32u << 20;
inline constexpr std::size_t kMinSpectrumSamples = 50;
// The largest gain a camera gives in e⁻/ADU: a GAIN above is a setting.
inline constexpr double kLargestGain = 20;

struct ObservedSpectrum {
    std::vector<double> lambda_a;  // increasing, Å
    std::vector<double> flux;      // ADU (or e⁻ with gain 1) per sample
    // As the header says; 0 (NaN for the altitude) where it says nothing.
    double exptime_s = 0;
    double egain = 0;  // EGAIN: always e⁻/ADU
    double gain = 0;   // GAIN: e⁻/ADU, or a camera's setting (120 in 0.1 dB)
    double airmass = 0;
    double altitude_deg = NAN;  // the target's altitude (CENTALT, OBJCTALT)
    double bin_x = 0, bin_y = 0;
    std::string unit;          // BUNIT, or the flux column's unit
    std::string object, date;  // as the file gives them (DATE-OBS)
    double mjd = NAN;          // MJD-OBS
    std::size_t missing = 0;   // samples without a value (blank, NaN), left out
    std::string columns;       // the table's columns read (« wave et flux »), said in the notes
    std::string hdu;  // the HDU read, where the file holds several (« HDU 2 « SPECTRUM » »)
    // EXPOSURE where the header also gives an EXPTIME that differs from it.
    double exposure_other_s = 0;
    // Keys the header gives a value no observation can have, as written
    // (« EXPTIME = -60 »): named, never taken for absent.
    std::vector<std::string> impossible;
};

// What the user says of the observation, over what the header says: 0 for
// « as the file says ». The design's own `gain_e_adu` comes after the
// file's EGAIN.
struct CalibrationOverrides {
    double gain_e_adu = 0, pose_s = 0, masse_air = 0;
};

// The median of the values (the mean of the middle two for an even count);
// NaN for none.
double median(std::vector<double> v);

// DER_SNR (Stoehr et al. 2008): the median signal over the noise
// 1.482602/√6 × median |2fᵢ − fᵢ₋₂ − fᵢ₊₂|; 0 for fewer than 5 samples or
// without signal (median ≤ 0).
double derSnr(std::span<const double> flux);
// The noise's correlation between neighbours, which resampling leaves,
// from the second differences at strides 1, 2 and 3 (correlation assumed
// to vanish beyond 2 samples): the lag-1 correlation, and the S/N per
// sample with the noise the correlation hides (the median signal over the
// square root of the autocovariances' sum). 0 and 0 as DER_SNR says none.
struct CorrelatedNoise {
    double rho1 = 0, snr = 0;
};
CorrelatedNoise correlatedNoise(std::span<const double> flux);
// Above this lag-1 correlation the noise is resampled (white noise: ±0.03).
inline constexpr double kCorrelated = 0.1;

// Kasten & Young (1989): the airmass at an apparent altitude (degrees).
double airmassAtAltitude(double altitudeDeg);

// Where stellar lines (Balmer, Ca II H & K, Na D) and telluric bands (O₂ A
// and B, H₂O near 7200 and 8200 Å) keep a wavelength out of the fit.
bool maskedForCalibration(double lambdaA);

struct CalibrationBin {
    double lambda_a;           // the bin's centre
    double observed;           // e⁻ s⁻¹ Å⁻¹: the ratio times the prediction
    double predicted;          // e⁻ s⁻¹ Å⁻¹ the design predicts in the extraction
    double ratio;              // observed / predicted, the clipped mean of the samples' ratios
    double snr;                // DER_SNR of the bin's samples; 0 without signal
    double efficiency;         // measured: ratio × the assumed instrument's efficiency
    bool masked;               // lines, bands, too few samples
    bool outOfBounds = false;  // an efficiency outside (0, 1]: never stored
};

struct Calibration {
    std::vector<CalibrationBin> bins;
    MeasuredRatio ratio;      // the stored bins' observed / predicted
    double derSnr = 0;        // DER_SNR per sample: the median of the bins'
    double snr = 0;           // the same, or corrected for correlated noise
    double predictedSnr = 0;  // the design's S/N per pixel at the spectrum's centre
    double exptime_s = 0, gain_e_adu = 1, airmass = 0;
    std::vector<std::string> notes;  // French: what was assumed, ignored or left out
    std::string error;               // French; "" when calibrated
};

// `in` is the design of the observation (telescope, sensor, star's V and
// type). The exposure, gain and airmass are the user's where said, else
// the file's (EGAIN before a GAIN that can be e⁻/ADU; the airmass from
// the altitude), else `pose_s`×`poses`, 1 e⁻/ADU and `masse_air`, each
// with a note. Only raw counts calibrate: a flux-calibrated or normalised
// spectrum, or an efficiency implausible for any instrument, is refused
// with the likely causes. The ratio is dated `date` and names the star
// and the file.
Calibration calibrate(const DesignInput& in, const ObservedSpectrum& s, const std::string& date,
                      const std::string& file, const CalibrationOverrides& user = {});

// What every face shows of a calibration: the bins as a table (λ,
// observed, predicted, ratio, S/N, measured efficiency, whether masked) in
// the face's separator; the observed and predicted signals, and their
// ratio, as two plots; a summary with the notes.
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
