#include "model/design/camera.h"

#include <algorithm>
#include <cmath>

#include "model/design/keytable.h"
#include "model/mathfn.h"

namespace kelvora::design {

namespace {

// A setting is 0.1 dB of voltage gain: e⁻/ADU falls by 10^(−g/200).
constexpr double kStepsPerDecade = 200;

// Linear between the last point at or below g and the next beyond it, so
// that two points at one setting make a step; held at the ends.
double readNoiseAt(const Curve& curve, double g) {
    auto next = std::upper_bound(curve.begin(), curve.end(), g,
                                 [](double x, const auto& p) { return x < p.first; });
    if (next == curve.begin()) return curve.front().second;
    if (next == curve.end()) return curve.back().second;
    const auto& [x0, y0] = *(next - 1);
    const auto& [x1, y1] = *next;
    return y0 + (y1 - y0) * (g - x0) / (x1 - x0);
}

// The converter's top (ADU) where its depth is known, else none.
double converterTop(const DesignInput& in) {
    return in.bits_adc > 0 ? fn::pow(2, in.bits_adc) - 1 : NAN;
}

// The user's gain; else, with a published curve, the lowest setting spans
// the well with the converter, and each step above divides it.
double electronsPerAdu(const DesignInput& in) {
    if (in.gain_e_adu > 0) return in.gain_e_adu;
    if (in.bruit_courbe.empty() || in.bits_adc <= 0) return NAN;
    return in.puits_e / fn::pow(2, in.bits_adc) * fn::pow(10, -in.gain_reglage / kStepsPerDecade);
}

}  // namespace

CameraAsRun cameraAsRun(const DesignInput& in) {
    CameraAsRun c{};
    c.readNoise = !in.bruit_courbe.empty() && in.gain_reglage > 0
                      ? readNoiseAt(in.bruit_courbe, in.gain_reglage)
                      : in.bruit_e;
    c.eAdu = electronsPerAdu(in);
    const double top = converterTop(in) * c.eAdu;
    c.saturation = std::isnan(top) ? in.puits_e : std::min(in.puits_e, top);
    c.dark = in.obscurite_e_s;
    if (in.doublement_obscurite_c > 0)
        c.dark *= fn::pow(
            2, (in.temperature_capteur_c - in.temperature_reference_c) / in.doublement_obscurite_c);
    return c;
}

std::optional<KeyError> checkCamera(const DesignInput& in) {
    if (in.gain_reglage <= 0 || !in.bruit_courbe.empty()) return std::nullopt;
    const KeyRow& row = *findKey("gain_reglage");
    return KeyError{KeyError::Cause::OutOfRange,
                    row.key,
                    {},
                    in.gain_reglage,
                    0,
                    "0 : pas de courbe de gain publiée pour le capteur " + in.detecteur +
                        " ; donnez gain_e_adu, bruit_e et puits_e de votre réglage"};
}

}  // namespace kelvora::design
