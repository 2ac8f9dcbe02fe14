#include "model/design/design.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/design/design_internal.h"
#include "model/design/keys.h"
#include "model/design/sun.h"
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
    in.obscurite_e_s = photometry::kDark;
    in.doublement_obscurite_c = 0;
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
    in.bits_adc = d.bits;
    in.bruit_courbe = d.readNoiseCurve;
    in.temperature_reference_c = d.darkReferenceC;
    in.doublement_obscurite_c = std::isnan(d.dark) ? 0 : d.darkDoublingC;
    in.pixels_fente = d.ny > 0 ? d.ny : d.nx;
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

namespace {

// The design's wavelength beyond either edge of the sensor: its S/N and
// exposure would describe light that never reaches it.
std::optional<KeyError> offSensor(const DesignInput& in, const SolvedGrating& g) {
    const double a = wavelengthAtPixel(in, g, 0), b = wavelengthAtPixel(in, g, in.pixels);
    const double lo = std::min(a, b), hi = std::max(a, b);
    if (in.lambda_a >= lo && in.lambda_a <= hi) return std::nullopt;
    return KeyError{KeyError::Cause::OffSensor, "lambda_a", {}, in.lambda_a, lo, {}, hi};
}

// A result that must be a positive finite number; NaN where `none` allows
// it (not applicable in that design).
struct Derived {
    const char* name;
    double value;
    bool none = false;
};

std::optional<KeyError> firstNotPositive(std::initializer_list<Derived> list) {
    for (const Derived& d : list) {
        if ((d.none && std::isnan(d.value)) || (std::isfinite(d.value) && d.value > 0)) continue;
        return KeyError{KeyError::Cause::Unsolvable, "", {}, d.value, 0, d.name};
    }
    return std::nullopt;
}

// Every size, factor and width the geometry derives is checked where it is
// derived: anything else is refused, never shown nor used to size the
// profile or the plots.
std::optional<KeyError> unsolvable(const DesignResult& r) {
    return firstNotPositive({{"anamorphose", r.anamorphose},
                             {"dispersion_a_px", r.dispersion_a_px},
                             {"faisceau_mm", r.faisceau_mm},
                             {"longueur_reseau_mm", r.longueur_reseau_mm},
                             {"diametre_objectif_mm", r.diametre_objectif_mm, true},
                             {"ouverture_objectif", r.ouverture_objectif, true},
                             {"element_resolution_a", r.element_resolution_a},
                             {"resolution", r.resolution},
                             {"echantillonnage_px", r.echantillonnage_px}});
}

// The Sun's disc, scale, scan and light, likewise: an input beyond any
// measure (a slit of 10³⁰⁰ µm) must not leave an exposure of 0 ms. Its
// declination has a sign, and a design without a line has no core.
std::optional<KeyError> sunUnsolvable(const DesignResult& r) {
    for (const NamedResult& n : namedResults(r, false, true)) {
        const std::string_view name = n.name;
        if (n.cell.kind != ResultCell::Kind::Number || !isSunResult(name) ||
            name == "soleil_declinaison_deg" || name == "coeur_a" || name.starts_with("snr_"))
            continue;
        if (!(std::isfinite(n.cell.number) && n.cell.number > 0))
            return KeyError{KeyError::Cause::Unsolvable, "", {}, n.cell.number, 0, n.name};
    }
    return std::nullopt;
}

}  // namespace

namespace {

// No answer is ±∞: a result beyond every number comes from an input beyond
// every measure, and is said as such.
std::optional<KeyError> beyondNumbers(const DesignResult& r) {
    for (const NamedResult& n : namedResults(r, true, r.soleil))
        if (std::isinf(n.cell.number))
            return KeyError{KeyError::Cause::Overflow, {}, {}, 0, 0, n.name};
    return std::nullopt;
}

// The star's light through a solved design. Light that is not detected, or
// a figure beyond any number, is said: never an S/N of 0 or ∞ as if it were
// an answer.
std::optional<KeyError> fillLight(const DesignInput& in, const SolvedGrating& g, DesignResult& r) {
    fillPhotometry(in, g, r);
    if (std::isinf(r.signal_e_s_a) || std::isinf(r.snr) || std::isinf(r.electrons_pic))
        return KeyError{KeyError::Cause::Overflow};
    if (!(r.signal_e_s_a > 0) || !(r.snr > 0))
        return KeyError{KeyError::Cause::NoSignal, "lambda_a", {}, in.lambda_a};
    // Per element: the per-pixel S/N over a sampling no number holds.
    if (std::isnan(r.snr_element))
        return KeyError{KeyError::Cause::Overflow, {}, {}, 0, 0, "snr_element"};
    return std::nullopt;
}

DesignOutcome evaluateChecked(const DesignInput& in) {
    DesignOutcome out;
    out.error = checkInputs(in);
    if (out.error) return out;
    out.error = solveGrating(in, out.grating);
    if (out.error) return out;
    if (!out.grating.slit) out.grating.slitlessSky = slitlessSky(in, out.grating);
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
    if (const auto off = offSensor(in, out.grating)) return out.error = off, out;
    fillResolution(in, out.grating, r);
    if (const auto bad = unsolvable(r)) return out.error = bad, out;
    if (const auto dark = fillLight(in, out.grating, r)) return out.error = dark, out;
    if (in.soleil) fillSun(in, out.grating, r);
    if (const auto bad = in.soleil ? sunUnsolvable(r) : std::nullopt) return out.error = bad, out;
    if (const auto huge = beyondNumbers(r)) return out.error = huge, out;
    out.result = r;
    return out;
}

}  // namespace

DesignOutcome evaluate(const DesignInput& in) {
    // The Sun's answers never read the star's hidden keys, but the chain
    // beneath them does: there an out-of-limit hidden key takes its default.
    if (in.soleil && hiddenOutOfLimits(in)) return evaluateChecked(withHiddenDefaults(in));
    return evaluateChecked(in);
}

DesignOutcome relight(const DesignInput& in, const DesignOutcome& solved) {
    // The Sun's hidden star keys may take their defaults: its whole answer.
    if (in.soleil || !solved.result) return evaluate(in);
    DesignOutcome out{std::nullopt, solved.grating, checkInputs(in)};
    if (out.error) return out;
    DesignResult r = *solved.result;
    if (const auto dark = fillLight(in, out.grating, r)) return out.error = dark, out;
    if (const auto huge = beyondNumbers(r)) return out.error = huge, out;
    out.result = r;
    return out;
}

}  // namespace kelvora::design
