#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kelvora {

// Every control a calculation run reads or writes. The seventeen inputs come
// first, in the order the load event writes their defaults; the twelve shown
// texts follow in the order a run writes them.
enum class Control {
    txtDiametre,
    txtFocale,
    txtSeeing,
    txtTraits,
    txtOrdre,
    txtCollimateur,
    txtChambre,
    txtDistance,
    txtWavelength,
    txtMagEtoile,
    txtMagCiel,
    txtTi,
    txtNexposure,
    txtSlitWide,
    txtBruit,
    txtBin1,
    txtBin2,
    txtAngle,
    txtDispersion,
    txtLambda1,
    txtLambda2,
    txtSeparation,
    txtResolution,
    lblLambda,
    txtDCollimateur,
    txtDGrating,
    txtDChambre,
    txtFD,
    txtSB,
};

inline constexpr std::size_t kInputCount = 17;
inline constexpr std::size_t kShownCount = 12;
inline constexpr std::size_t kControlCount = kInputCount + kShownCount;

constexpr std::size_t indexOf(Control c) {
    return static_cast<std::size_t>(c);
}
constexpr bool isInput(Control c) {
    return indexOf(c) < kInputCount;
}
constexpr Control inputAt(std::size_t i) {
    return static_cast<Control>(i);
}
constexpr Control shownAt(std::size_t i) {
    return static_cast<Control>(kInputCount + i);
}

// The control's name in the window, e.g. "txtDiametre".
std::string_view controlName(Control c);
// What the user calls it: the caption of its label without " :".
std::string_view controlLabel(Control c);
std::optional<Control> controlByName(std::string_view name);
std::optional<Control> inputByName(std::string_view name);

// The default instrument: one whole number per input field.
double defaultValue(Control input);
std::string defaultText(Control input);

// The texts of the seventeen input fields, indexed by indexOf(Control).
using InputTexts = std::array<std::string, kInputCount>;
InputTexts defaultInputTexts();

// The quantities of one calculation, in the formulas' units.
struct InstrumentParameters {
    double D = 0, F = 0, S = 0, N = 0, m = 0, Fcoll = 0, Fcam = 0, Lgo = 0;
    double lambda = 0, w = 0, mstar = 0, msky = 0, t = 0, n = 0, sigma = 0, bx = 0, by = 0;
};

enum class Detector { None, Kaf0400, Kaf1600, Kaf3200 };

// One row of the detector catalogue; None has p = nx = 0.
struct DetectorModel {
    std::string_view caption;
    double p;   // pixel size, mm
    double nx;  // pixels along the dispersion
};

const DetectorModel& detectorModel(Detector d);
std::optional<Detector> detectorByCaption(std::string_view caption);

inline constexpr double kPi = 3.141592654;

// Degrees to radians and back with the ten-digit pi; both throw
// ArithmeticFault on overflow.
double D2R(const double& degrees);
double R2D(double radians);

}  // namespace kelvora
