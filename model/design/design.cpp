#include "model/design/design.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/design/design_internal.h"

namespace kelvora::design {

// Every sensor value is set, from the row or the default: nothing of the
// sensor chosen before may carry over into this one's results.
void applyDetector(DesignInput& in, const DetectorModel& d) {
    const DesignInput defaults;
    auto orDefault = [](double v, double fallback) { return std::isnan(v) ? fallback : v; };
    in.detecteur = d.caption;
    in.pixel_um = d.p * 1000;
    in.pixels = d.nx;
    in.bruit_e = orDefault(d.readNoise, defaults.bruit_e);
    in.obscurite_e_s = orDefault(d.dark, defaults.obscurite_e_s);
    in.puits_e = orDefault(d.fullWell, defaults.puits_e);
    in.qe = orDefault(d.qe, defaults.qe);
    in.qe_courbe = d.qeCurve;
}

const char* samplingVerdict(Sampling s) {
    switch (s) {
        case Sampling::Under:
            return "sous-échantillonné";
        case Sampling::Over:
            return "sur-échantillonné";
        case Sampling::Good:
            break;
    }
    return "bien échantillonné";
}

namespace {

constexpr const char* kGeometryNames[] = {"normale", "incidence", "littrow", "deviation",
                                          "convergent"};

}  // namespace

const char* geometryName(Geometry g) {
    return kGeometryNames[static_cast<int>(g)];
}

std::optional<Geometry> geometryByName(std::string_view name) {
    for (int i = 0; i < 5; ++i)
        if (name == kGeometryNames[i]) return static_cast<Geometry>(i);
    return std::nullopt;
}

DesignOutcome evaluate(const DesignInput& in) {
    DesignOutcome out;
    out.error = checkInputs(in);
    if (!out.error.empty()) return out;
    Optics optics;
    out.error = solveGrating(in, optics);
    if (!out.error.empty()) return out;
    DesignResult r;
    fillGeometry(in, optics, r);
    fillResolution(in, optics, r);
    fillPhotometry(in, optics, r);
    out.result = r;
    return out;
}

}  // namespace kelvora::design
