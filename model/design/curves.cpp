#include "model/design/curves.h"

#include <algorithm>
#include <cmath>

#include "model/design/design_internal.h"

namespace kelvora::design {

namespace {

// Every point of a curve reuses the design solved once: only its light changes.
double snrWith(DesignInput in, const DesignOutcome& solved, double exposure, double magnitude) {
    in.pose_s = exposure;
    in.mag_etoile = magnitude;
    const DesignOutcome o = relight(in, solved);
    return o.result ? o.result->snr : NAN;
}

}  // namespace

Curve snrAgainstExposure(const DesignInput& in, int points) {
    const DesignOutcome o = evaluate(in);
    if (!o.result) return {};
    double longest = in.pose_s;
    if (std::isfinite(o.result->pose_cible_s)) longest = std::max(longest, o.result->pose_cible_s);
    Curve c;
    for (int i = 1; i <= points; ++i) {
        const double t = 2 * longest * i / points;
        c.emplace_back(t, snrWith(in, o, t, in.mag_etoile));
    }
    return c;
}

Curve snrAgainstMagnitude(const DesignInput& in, int points) {
    const DesignOutcome o = evaluate(in);
    if (!o.result) return {};
    const double centre =
        std::isfinite(o.result->magnitude_limite) ? o.result->magnitude_limite : in.mag_etoile;
    Curve c;
    for (int i = 0; i <= points; ++i) {
        const double m = centre - 4 + 8.0 * i / points;
        c.emplace_back(m, snrWith(in, o, in.pose_s, m));
    }
    return c;
}

double wavelengthAtPixel(const DesignInput& in, double pixel) {
    const DesignOutcome o = evaluate(in);
    return o.result ? wavelengthAtPixel(in, o.grating, pixel) : NAN;
}

Curve spectrumAcrossSensor(const DesignInput& in, const DesignOutcome& outcome, int points) {
    if (!outcome.result) return {};
    Curve c;
    for (int i = 0; i <= points; ++i) {
        const double pixel = in.pixels * i / points;
        c.emplace_back(pixel, wavelengthAtPixel(in, outcome.grating, pixel));
    }
    return c;
}

}  // namespace kelvora::design
