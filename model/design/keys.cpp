#include "model/design/keys.h"

#include <algorithm>

#include <cmath>

#include "model/design/keytable.h"
#include "model/design/labels.h"
#include "model/design/sun.h"
#include "model/floatconv.h"
#include "model/numbertext.h"

namespace kelvora::design {

namespace {

using Cause = KeyError::Cause;

std::optional<KeyError> setNumber(DesignInput& in, const KeyRow& row, const KeyValue& v,
                                  std::string_view separator) {
    const auto number = v.number ? v.number : strictNumber(periodText(v.text, separator));
    if (!number) return KeyError{Cause::NotANumber, row.key, v.text};
    if (row.kind == KeyKind::Whole && *number != std::floor(*number))
        return KeyError{Cause::NotWhole, row.key, v.text, *number};
    in.*(row.number) = *number;
    return std::nullopt;
}

std::optional<KeyError> setWord(DesignInput& in, const KeyRow& row, const std::string& text,
                                const DetectorCatalogue& catalogue) {
    KeyError unknown{Cause::UnknownWord, row.key, text};
    if (row.flag) {
        unknown.need = std::string(row.words[0]) + " ou " + row.words[1];
        if (text != row.words[0] && text != row.words[1]) return unknown;
        in.*(row.flag) = text == row.words[1];
    } else if (std::string_view(row.key) == "geometrie") {
        const auto g = geometryByName(text);
        unknown.need = geometryList();
        if (!g) return unknown;
        in.geometrie = *g;
    } else if (row.valid) {
        unknown.need = "une date AAAA-MM-JJ entre 1900 et 2100";
        if (!row.valid(text)) return unknown;
        in.*(row.word) = text;
    } else if (row.word) {
        const WordList list = row.choices();
        for (const auto& [w, caption] : list)
            unknown.need += (unknown.need.empty() ? "" : ", ") + w;
        if (std::none_of(list.begin(), list.end(), [&](const auto& c) { return c.first == text; }))
            return unknown;
        in.*(row.word) = text;
    } else {
        const DetectorModel* d = catalogue.find(text);
        unknown.need = catalogue.captionList();
        if (!d) return unknown;
        applyDetector(in, *d);
    }
    return std::nullopt;
}

}  // namespace

std::vector<std::string> inputKeys() {
    std::vector<std::string> keys;
    for (const KeyRow& row : keyRows()) keys.emplace_back(row.key);
    return keys;
}

bool isInputKey(std::string_view key) {
    return findKey(key) != nullptr;
}

bool isTextKey(std::string_view key) {
    const KeyRow* row = findKey(key);
    return row && (row->kind == KeyKind::Choice || row->kind == KeyKind::Word);
}

namespace {

// The spaces people and French settings put between thousands: the space,
// the no-break space, the narrow no-break space and the thin space.
std::size_t groupSpace(std::string_view t, std::size_t at) {
    for (std::string_view s : {" ", "\u00a0", "\u202f", "\u2009"})
        if (t.substr(at, s.size()) == s) return s.size();
    return 0;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// "2 000" is 2000, as the calculator reads it: a space between two digits
// groups them; anywhere else it stays, and the number is refused.
std::string ungrouped(std::string_view t) {
    std::string out;
    for (std::size_t i = 0; i < t.size();) {
        const std::size_t n = groupSpace(t, i);
        if (n > 0 && !out.empty() && isDigit(out.back()) && i + n < t.size() && isDigit(t[i + n])) {
            i += n;
            continue;
        }
        out += t[i++];
    }
    return out;
}

}  // namespace

std::string periodText(std::string_view text, std::string_view separator) {
    const auto first = text.find_first_not_of(" \t"), last = text.find_last_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const std::string grouped = ungrouped(text.substr(first, last - first + 1));
    const std::string_view t = grouped;
    const auto at = separator == "." || separator.empty() ? t.npos : t.find(separator);
    if (at == t.npos) return std::string(t);
    return std::string(t.substr(0, at)) + "." + std::string(t.substr(at + separator.size()));
}

std::optional<double> strictNumber(std::string_view text) {
    const floatconv::Read r = floatconv::readDecimal(text);
    if (r.status != floatconv::ReadStatus::Ok || r.length != text.size() || !std::isfinite(r.value))
        return std::nullopt;
    return r.value;
}

std::optional<KeyError> setKey(DesignInput& in, const KeyValue& value,
                               const DetectorCatalogue& catalogue, std::string_view separator) {
    const KeyRow* row = findKey(value.key);
    if (!row) return KeyError{Cause::UnknownKey, value.key, value.text};
    if (row->number) return setNumber(in, *row, value, separator);
    if (value.number) return KeyError{Cause::UnknownWord, row->key, keyValueText(value)};
    return setWord(in, *row, value.text, catalogue);
}

KeyedDesign designFromKeys(std::span<const KeyValue> keys, const DetectorCatalogue& catalogue,
                           DesignInput base, std::string_view separator) {
    KeyedDesign out{std::move(base), {}};
    for (bool sensor : {true, false})
        for (const KeyValue& v : keys)
            if ((v.key == "detecteur") == sensor)
                if (auto e = setKey(out.input, v, catalogue, separator))
                    out.errors.push_back(std::move(*e));
    // A solar line chosen is a design of the Sun's wavelength, whatever was typed.
    if (const SolarLine* line = findSolarLine(out.input.raie); line && out.input.soleil)
        out.input.lambda_a = line->lambdaA;
    return out;
}

std::string keyValueText(const KeyValue& v) {
    return v.number ? shortestNumberText(*v.number) : v.text;
}

std::string keyText(const DesignInput& in, std::string_view key) {
    const KeyRow* row = findKey(key);
    if (!row) return {};
    if (row->number) return shortestNumberText(in.*(row->number));
    if (row->flag) return row->words[in.*(row->flag) ? 1 : 0];
    if (row->word) return in.*(row->word);
    return key == "geometrie" ? geometryName(in.geometrie) : in.detecteur;
}

double resultNumber(const DesignResult& r, std::string_view name) {
    for (const NamedResult& n : namedResults(r, true, true))
        if (name == n.name) return n.cell.number;
    return NAN;
}

std::vector<const char*> resultNames(bool withTarget, bool withSun) {
    std::vector<const char*> names;
    for (const NamedResult& n : namedResults(DesignResult{}, withTarget, withSun))
        names.push_back(n.name);
    return names;
}

bool isSunResult(std::string_view name) {
    // Listed once: the window asks for every row at every keystroke.
    static const std::vector<const char*> sunOnly = [] {
        const std::vector<const char*> star = resultNames(true, false);
        std::vector<const char*> names;
        for (const char* n : resultNames(true, true))
            if (std::none_of(star.begin(), star.end(),
                             [&](const char* s) { return std::string_view(s) == n; }))
                names.push_back(n);
        return names;
    }();
    return std::any_of(sunOnly.begin(), sunOnly.end(), [&](const char* n) { return name == n; });
}

bool resultShownFor(std::string_view name, bool sun) {
    return sun ? !isStarOnlyResult(name) : !isSunResult(name);
}

std::vector<NamedResult> namedResults(const DesignResult& r, bool withTarget) {
    return namedResults(r, withTarget, r.soleil);
}

std::vector<NamedResult> namedResults(const DesignResult& r, bool withTarget, bool withSun) {
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
        num("adu_pic", r.adu_pic),
        num("saturation_e", r.saturation_e),
        num("bruit_reglage_e", r.bruit_reglage_e),
        num("obscurite_pose_e_s", r.obscurite_pose_e_s),
        num("snr_element", r.snr_element),
        num("signal_e_s_a", r.signal_e_s_a),
        num("rendement", r.rendement),
        num("transmission_fente", r.transmission_fente),
        num("recouvrement_ordre2_a", r.recouvrement_ordre2_a),
        num("rangees_extraites", r.rangees_extraites),
        num("fraction_extraite", r.fraction_extraite),
    };
    if (withSun) {
        for (const auto& [name, v] : {std::pair{"soleil_rayon_arcsec", r.soleil_rayon_arcsec},
                                      {"soleil_declinaison_deg", r.soleil_declinaison_deg},
                                      {"soleil_diametre_mm", r.soleil_diametre_mm},
                                      {"soleil_diametre_px", r.soleil_diametre_px},
                                      {"couverture_fente", r.couverture_fente},
                                      {"couverture_capteur", r.couverture_capteur},
                                      {"echelle_arcsec_px", r.echelle_arcsec_px},
                                      {"cadence_ips", r.cadence_ips},
                                      {"duree_balayage_s", r.duree_balayage_s},
                                      {"images_balayage", r.images_balayage},
                                      {"volume_mo", r.volume_mo},
                                      {"bande_passante_a", r.bande_passante_a},
                                      {"coeur_a", r.coeur_a},
                                      {"pose_max_ms", r.pose_max_ms},
                                      {"pose_continuum_ms", r.pose_continuum_ms},
                                      {"snr_continuum", r.snr_continuum},
                                      {"snr_coeur", r.snr_coeur}})
            out.push_back(num(name, v));
        out.push_back({"isole_coeur", {K::Flag, 0, "", r.isole_coeur}});
    }
    if (withTarget) {
        out.push_back(num("pose_cible_s", r.pose_cible_s));
        out.push_back(num("magnitude_limite", r.magnitude_limite));
        out.push_back({"saturation_cible", {K::Flag, 0, "", r.saturation_cible}});
        out.push_back(num("poses_min_cible", r.poses_min_cible));
    }
    return out;
}

}  // namespace kelvora::design
