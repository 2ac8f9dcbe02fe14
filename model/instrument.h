#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kelvora {

// Every control a calculation run reads or writes. The seventeen inputs come
// first, in the order the load event writes their defaults; the twelve shown
// texts follow in the order a run writes them. One list makes both the enum
// and the names, so they cannot drift apart.
#define KELVORA_INPUT_CONTROLS(X)                                                               \
    X(txtDiametre)                                                                              \
    X(txtFocale)                                                                                \
    X(txtSeeing)                                                                                \
    X(txtTraits)                                                                                \
    X(txtOrdre) X(txtCollimateur) X(txtChambre) X(txtDistance) X(txtWavelength) X(txtMagEtoile) \
        X(txtMagCiel) X(txtTi) X(txtNexposure) X(txtSlitWide) X(txtBruit) X(txtBin1) X(txtBin2)
#define KELVORA_SHOWN_CONTROLS(X)                                                    \
    X(txtAngle)                                                                      \
    X(txtDispersion)                                                                 \
    X(txtLambda1)                                                                    \
    X(txtLambda2)                                                                    \
    X(txtSeparation) X(txtResolution) X(lblLambda) X(txtDCollimateur) X(txtDGrating) \
        X(txtDChambre) X(txtFD) X(txtSB)

#define KELVORA_ENUM_ENTRY(name) name,
enum class Control {
    KELVORA_INPUT_CONTROLS(KELVORA_ENUM_ENTRY) KELVORA_SHOWN_CONTROLS(KELVORA_ENUM_ENTRY)
};
#undef KELVORA_ENUM_ENTRY

#define KELVORA_COUNT_ENTRY(name) +1
inline constexpr std::size_t kInputCount = 0 KELVORA_INPUT_CONTROLS(KELVORA_COUNT_ENTRY);
inline constexpr std::size_t kShownCount = 0 KELVORA_SHOWN_CONTROLS(KELVORA_COUNT_ENTRY);
#undef KELVORA_COUNT_ENTRY
static_assert(kInputCount == 17 && kShownCount == 12);
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

#define KELVORA_NAME_ENTRY(name) #name,
inline constexpr std::string_view kControlNames[] = {
    KELVORA_INPUT_CONTROLS(KELVORA_NAME_ENTRY) KELVORA_SHOWN_CONTROLS(KELVORA_NAME_ENTRY)};
#undef KELVORA_NAME_ENTRY

// The control's name in the window, e.g. "txtDiametre".
constexpr std::string_view controlName(Control c) {
    return kControlNames[indexOf(c)];
}
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

inline constexpr double kPi = 3.141592654;

// Degrees to radians and back with the ten-digit pi; both throw
// ArithmeticFault on overflow.
double D2R(const double& degrees);
double R2D(double radians);

}  // namespace kelvora
