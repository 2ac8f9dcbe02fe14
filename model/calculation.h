#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/detectors.h"
#include "model/fault.h"
#include "model/instrument.h"

namespace kelvora {

// What the window holds when "Calcul" is pressed.
struct RunInput {
    InputTexts texts = defaultInputTexts();
    DetectorModel detector = builtInDetectors()[0];  // DetectorModel{}: no button selected
    bool barlowSelected = true;                      // optBarlow; otherwise the slit model
    std::string decimalSeparator = ".";
};

// One text a run shows, in the field or label named by `control`.
struct ShownText {
    ShownText(Control c, std::string t) : control(c), text(std::move(t)) {}
    Control control;
    std::string text;
};

// The shown texts in the order they were written; if the run stopped,
// the texts written before the stop and the fault. values[i] is the number
// behind shown[i] (for the wavelength note, the central wavelength in Å);
// the results from shown.size() on were not reached.
struct RunOutput {
    std::vector<ShownText> shown;
    std::array<double, kShownCount> values{};
    std::optional<Fault> fault;

    bool reached(std::size_t result) const { return result < shown.size(); }
};

// The computed quantities, as far as the run got.
struct CalculationResults {
    double theta = 0, d = 0, lambda1 = 0, lambda2 = 0, separation = 0, resolution = 0;
    double Dc = 0, Do = 0, focalRatio = 0, signalToNoise = 0;
};

// One calculation run: reads each field at its step, shows each result as
// soon as it is computed, stops at the first arithmetic fault. Pure.
RunOutput runCalculation(const RunInput& input);

}  // namespace kelvora
