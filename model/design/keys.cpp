#include "model/design/keys.h"

#include <array>
#include <cmath>

#include "model/floatconv.h"
#include "model/numbertext.h"

namespace kelvora::design {

namespace {

using D = DesignInput;
constexpr auto kNumeric = std::to_array<NumericKey>({
    {"diametre_mm", &D::diametre_mm},
    {"focale_mm", &D::focale_mm},
    {"seeing_arcsec", &D::seeing_arcsec},
    {"traits_mm", &D::traits_mm},
    {"ordre", &D::ordre},
    {"incidence_deg", &D::incidence_deg},
    {"deviation_deg", &D::deviation_deg},
    {"distance_capteur_mm", &D::distance_capteur_mm},
    {"ordre0_px", &D::ordre0_px},
    {"collimateur_mm", &D::collimateur_mm},
    {"objectif_mm", &D::objectif_mm},
    {"distance_objectif_mm", &D::distance_objectif_mm},
    {"lambda_a", &D::lambda_a},
    {"fente_um", &D::fente_um},
    {"pixel_um", &D::pixel_um},
    {"pixels", &D::pixels},
    {"bruit_e", &D::bruit_e},
    {"obscurite_e_s", &D::obscurite_e_s},
    {"puits_e", &D::puits_e},
    {"qe", &D::qe},
    {"bin_x", &D::bin_x},
    {"bin_y", &D::bin_y},
    {"mag_etoile", &D::mag_etoile},
    {"mag_ciel", &D::mag_ciel},
    {"pose_s", &D::pose_s},
    {"poses", &D::poses},
    {"transmission", &D::transmission},
    {"cible_snr", &D::cible_snr},
    {"masse_air", &D::masse_air},
    {"altitude_m", &D::altitude_m},
    {"aerosols", &D::aerosols},
    {"obstruction_pct", &D::obstruction_pct},
    {"miroirs", &D::miroirs},
    {"blaze_a", &D::blaze_a},
    {"efficacite_reseau", &D::efficacite_reseau},
    {"temperature_k", &D::temperature_k},
});

// Keys whose value is one of two words.
struct ChoiceKey {
    const char* name;
    bool DesignInput::*field;
    const char* no;     // false
    const char* yes;    // true
    const char* after;  // its place in the documented order
};
constexpr ChoiceKey kChoices[] = {
    {"courbe_qe", &D::qe_plate, "capteur", "plate", "qe"},
    {"snr_par", &D::snr_par_element, "pixel", "element", "cible_snr"},
};

const ChoiceKey* findChoice(std::string_view key) {
    for (const ChoiceKey& k : kChoices)
        if (key == k.name) return &k;
    return nullptr;
}

const NumericKey* findNumeric(std::string_view key) {
    for (const NumericKey& k : kNumeric)
        if (key == k.name) return &k;
    return nullptr;
}

}  // namespace

std::span<const NumericKey> numericKeys() {
    return kNumeric;
}

std::vector<std::string> inputKeys() {
    std::vector<std::string> keys;
    for (const NumericKey& k : numericKeys()) {
        keys.emplace_back(k.name);
        if (keys.back() == "ordre") keys.emplace_back("geometrie");
        if (keys.back() == "fente_um") keys.emplace_back("detecteur");
        for (const ChoiceKey& c : kChoices)
            if (keys.back() == c.after) keys.emplace_back(c.name);
    }
    return keys;
}

bool isInputKey(std::string_view key) {
    return isTextKey(key) || findNumeric(key);
}

bool isTextKey(std::string_view key) {
    return key == "geometrie" || key == "detecteur" || findChoice(key);
}

std::optional<double> strictNumber(std::string_view text) {
    const floatconv::Read r = floatconv::readDecimal(text);
    if (r.status != floatconv::ReadStatus::Ok || r.length != text.size() || !std::isfinite(r.value))
        return std::nullopt;
    return r.value;
}

std::string setKey(DesignInput& in, std::string_view key, std::string_view text,
                   const DetectorCatalogue& catalogue) {
    const std::string k(key), t(text);
    if (key == "geometrie") {
        const auto g = geometryByName(text);
        if (!g)
            return "geometrie : « " + t +
                   " » inconnue (normale, incidence, littrow, deviation ou convergent)";
        in.geometrie = *g;
        return {};
    }
    if (key == "detecteur") {
        const DetectorModel* d = catalogue.find(text);
        if (!d) return "detecteur : « " + t + " » inconnu (" + catalogue.captionList() + ")";
        applyDetector(in, *d);
        return {};
    }
    if (const ChoiceKey* c = findChoice(key)) {
        if (text != c->no && text != c->yes)
            return k + " : « " + t + " » inconnu (" + c->no + " ou " + c->yes + ")";
        in.*(c->field) = text == c->yes;
        return {};
    }
    const NumericKey* nk = findNumeric(key);
    if (!nk) return "clé inconnue « " + k + " »";
    const auto v = strictNumber(text);
    if (!v) return k + " : « " + t + " » n'est pas un nombre (le séparateur décimal est le point)";
    in.*(nk->field) = *v;
    return {};
}

std::string keyText(const DesignInput& in, std::string_view key) {
    if (key == "geometrie") return geometryName(in.geometrie);
    if (key == "detecteur") return in.detecteur;
    if (const ChoiceKey* c = findChoice(key)) return in.*(c->field) ? c->yes : c->no;
    const NumericKey* nk = findNumeric(key);
    return nk ? shortestNumberText(in.*(nk->field)) : std::string();
}

std::vector<const char*> resultNames(bool withTarget) {
    std::vector<const char*> names;
    for (const NamedResult& n : namedResults(DesignResult{}, withTarget)) names.push_back(n.name);
    return names;
}

std::vector<NamedResult> namedResults(const DesignResult& r, bool withTarget) {
    using K = ResultCell::Kind;
    auto num = [](const char* name, double v) { return NamedResult{name, {K::Number, v}}; };
    std::vector<NamedResult> out{
        num("alpha_deg", r.alpha_deg),
        num("beta_deg", r.beta_deg),
        num("anamorphose", r.anamorphose),
        num("dispersion_a_px", r.dispersion_a_px),
        num("lambda_min_a", r.lambda_min_a),
        num("lambda_max_a", r.lambda_max_a),
        num("image_entree_px", r.image_entree_px),
        num("element_resolution_a", r.element_resolution_a),
        num("resolution", r.resolution),
        num("echantillonnage_px", r.echantillonnage_px),
        {"echantillonnage", {K::Text, 0, samplingVerdict(r.echantillonnage)}},
        num("faisceau_mm", r.faisceau_mm),
        num("longueur_reseau_mm", r.longueur_reseau_mm),
        num("diametre_objectif_mm", r.diametre_objectif_mm),
        num("ouverture_objectif", r.ouverture_objectif),
        num("snr", r.snr),
        num("electrons_pic", r.electrons_pic),
        {"saturation", {K::Flag, 0, "", r.saturation}},
        num("poses_min", r.poses_min),
        num("snr_element", r.snr_element),
        num("signal_e_s_a", r.signal_e_s_a),
        num("rendement", r.rendement),
        num("transmission_fente", r.transmission_fente),
        num("recouvrement_ordre2_a", r.recouvrement_ordre2_a),
    };
    if (withTarget) {
        out.push_back(num("pose_cible_s", r.pose_cible_s));
        out.push_back(num("magnitude_limite", r.magnitude_limite));
        out.push_back({"saturation_cible", {K::Flag, 0, "", r.saturation_cible}});
        out.push_back(num("poses_min_cible", r.poses_min_cible));
    }
    return out;
}

}  // namespace kelvora::design
