#include "model/design/design.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/design/design_internal.h"
#include "model/floatconv.h"

namespace kelvora::design {

// The catalogue gives mm to well under a nanometre: 12 digits drop only
// the conversion's own error.
double pixelMicrometres(const DetectorModel& d) {
    return floatconv::readDecimal(floatconv::general(d.p * 1000, 12)).value;
}

DesignInput legacyDefaults() {
    DesignInput in;
    in.masse_air = 0;
    in.obstruction_pct = 0;
    in.miroirs = 0;
    in.transmission = 1;
    in.type_spectral = "aucun";
    in.qe = 1;
    in.qe_courbe.clear();
    in.bruit_e = defaultValue(Control::txtBruit);
    return in;
}

// Every sensor value is set, from the row or the default: nothing of the
// sensor chosen before may carry over into this one's results.
void applyDetector(DesignInput& in, const DetectorModel& d) {
    const DesignInput defaults = legacyDefaults();  // a row's missing figures: the window's
    in.detecteur = d.caption;
    in.pixel_um = pixelMicrometres(d);
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

struct GeometryWords {
    const char* name;     // as keys and files spell it
    const char* caption;  // as the lists show it
};
constexpr GeometryWords kGeometries[] = {
    {"normale", "normale"},
    {"incidence", "incidence donnée"},
    {"littrow", "Littrow"},
    {"deviation", "déviation fixe"},
    {"convergent", "faisceau convergent (sans fente)"},
};

}  // namespace

const char* geometryName(Geometry g) {
    return kGeometries[static_cast<int>(g)].name;
}

const char* geometryCaption(Geometry g) {
    return kGeometries[static_cast<int>(g)].caption;
}

std::optional<Geometry> geometryByName(std::string_view name) {
    for (int i = 0; i < kGeometryCount; ++i)
        if (name == kGeometries[i].name) return static_cast<Geometry>(i);
    return std::nullopt;
}

std::string geometryList() {
    std::string list;
    for (int i = 0; i < kGeometryCount; ++i)
        list += std::string(i == 0                   ? ""
                            : i + 1 < kGeometryCount ? ", "
                                                     : " ou ") +
                kGeometries[i].name;
    return list;
}

DesignOutcome evaluate(const DesignInput& in) {
    DesignOutcome out;
    out.error = checkInputs(in);
    if (out.error) return out;
    out.error = solveGrating(in, out.grating);
    if (out.error) return out;
    DesignResult r;
    fillGeometry(in, out.grating, r);
    if (!(r.lambda_min_a < r.lambda_max_a)) {  // the whole sensor beyond silicon or the air's cut
        out.error = KeyError{KeyError::Cause::NoLight,
                             {},
                             {},
                             wavelengthAtPixel(in, out.grating, 0),
                             wavelengthAtPixel(in, out.grating, in.pixels)};
        return out;
    }
    fillResolution(in, out.grating, r);
    fillPhotometry(in, out.grating, r);
    if (!std::isfinite(r.snr) || !std::isfinite(r.signal_e_s_a)) {
        out.error = KeyError{KeyError::Cause::NoSignal, "lambda_a", {}, in.lambda_a};
        return out;
    }
    out.result = r;
    return out;
}

}  // namespace kelvora::design
