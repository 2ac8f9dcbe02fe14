#pragma once

// The calibrations a design holds, combined: the ratio of observed over
// predicted that its predictions use at each wavelength, how well the
// calibrations agree there, and what every face says of them.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/design/design.h"
#include "model/design/plots.h"

namespace kelvora::design {

struct CombinedRatio {
    double value = 1;      // observed / predicted used at λ
    double scatter = 0;    // the S/N-weighted spread of the calibrations covering λ
    bool measured = true;  // false: λ lies outside every calibration, `value` is the median ratio
};

// The S/N²-weighted mean of the calibrations whose range holds λ; outside
// all of them, the median of that mean over every measured wavelength.
// Without a calibration: 1, measured.
CombinedRatio combinedRatio(const std::vector<MeasuredRatio>& list, double lambdaA);

// The median of one calibration's ratios.
double medianRatio(const MeasuredRatio& m);

// The lowest and highest wavelength any calibration measured (Å).
std::pair<double, double> measuredRange(const std::vector<MeasuredRatio>& list);

// « hors du domaine mesuré (5093–6851 Å) » when λ lies outside it, or "".
std::string outsideNote(const std::vector<MeasuredRatio>& list, double lambdaA);

// What differs between the instrument calibrated and the design's:
// « instrument changé depuis l'étalonnage : Capteur IMX533 → KAF-0400 », or "".
std::string instrumentDifference(const DesignInput& in);

// One calibration in a line: « 2026-11-30, HD 1 (spectre.fits), S/N 127, rapport médian 0,75 ».
std::string calibrationLine(const MeasuredRatio& m, std::string_view separator);

// What a face says under its results when the design holds calibrations:
// how many and when, the design's λ outside the measured range, another
// sensor or grating; "" without.
std::string calibrationNote(const DesignInput& in, std::string_view separator);

// The median ratio of each night's calibrations (their S/N-weighted mean)
// against the date in years: the instrument's efficiency drifting (dew,
// dust, a new coating).
PlotDescription calibrationHistory(const std::vector<MeasuredRatio>& list);

}  // namespace kelvora::design
