#include "model/design/design.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/design/design_internal.h"

namespace kelvora::design {

void applyDetector(DesignInput& in, const DetectorModel& d) {
    in.detecteur = d.caption;
    in.pixel_um = d.p * 1000;
    in.pixels = d.nx;
    if (!std::isnan(d.readNoise)) in.bruit_e = d.readNoise;
    if (!std::isnan(d.dark)) in.obscurite_e_s = d.dark;
    if (!std::isnan(d.fullWell)) in.puits_e = d.fullWell;
    if (!std::isnan(d.qe)) in.qe = d.qe;
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
