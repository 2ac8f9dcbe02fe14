#pragma once

// What any evaluated design must satisfy, whatever its inputs: an answer or
// a French refusal, never both; every result a finite number within the
// bounds physics gives it, or "not applicable". Shared by the property
// tests and the fuzz target, which report the first broken rule.

#include <cmath>
#include <limits>
#include <string>
#include <string_view>

#include "model/design/design.h"
#include "model/design/keys.h"
#include "model/design/labels.h"

namespace kelvora::invariants {

struct Bound {
    const char* name;
    double low;
    bool lowOpen;  // the result must exceed `low`, not merely reach it
    double high;
    bool mayBeNan;  // not applicable in some designs
};

inline constexpr double kInf = std::numeric_limits<double>::infinity();

// Each bound with its reason.
inline constexpr Bound kBounds[] = {
    // Light arrives and leaves strictly inside ±90° of the grating's normal.
    {"alpha_deg", -90, true, 90, false},
    {"beta_deg", -90, true, 90, false},
    // cos α / cos β, Å per pixel, sizes and widths: positive by construction.
    {"anamorphose", 0, true, kInf, false},
    {"dispersion_a_px", 0, true, kInf, false},
    {"image_entree_px", 0, false, kInf, false},
    {"element_resolution_a", 0, true, kInf, false},
    {"resolution", 0, true, kInf, false},
    {"echantillonnage_px", 0, true, kInf, false},
    {"faisceau_mm", 0, true, kInf, false},
    {"longueur_reseau_mm", 0, true, kInf, false},
    // No camera objective in the converging beam.
    {"diametre_objectif_mm", 0, true, kInf, true},
    {"ouverture_objectif", 0, true, kInf, true},
    // Light reaches silicon between the air's cut (or 0 in space) and 11000 Å.
    {"lambda_min_a", 0, false, 11000, false},
    {"lambda_max_a", 0, true, 11000, false},
    {"snr", 0, true, kInf, false},
    {"snr_element", 0, false, kInf, false},  // a per-pixel S/N near 0 may round to it
    {"electrons_pic", 0, false, kInf, false},
    {"poses_min", 1, false, kInf, false},
    {"signal_e_s_a", 0, true, kInf, false},
    // Shares of the light: between none and all of it.
    {"rendement", 0, false, 1, false},
    {"transmission_fente", 0, false, 1, false},
    {"fraction_extraite", 0, true, 1, false},
    {"rangees_extraites", 0, true, kInf, false},
    {"saturation_e", 0, true, kInf, false},
    {"bruit_reglage_e", 0, false, kInf, false},
    {"obscurite_pose_e_s", 0, false, kInf, false},
    {"adu_pic", 0, false, kInf, true},
    {"recouvrement_ordre2_a", 6000, false, 6000, true},
    // Without a target these are not applicable.
    {"pose_cible_s", 0, false, kInf, true},  // a target S/N near 0 needs next to no time
    {"magnitude_limite", -kInf, true, kInf, true},
    {"poses_min_cible", 1, false, kInf, true},
    // The Sun's: its disc, scale, scan and light are positive.
    {"soleil_rayon_arcsec", 940, false, 980, false},
    {"soleil_declinaison_deg", -23.5, false, 23.5, false},
    {"soleil_diametre_mm", 0, true, kInf, false},
    {"soleil_diametre_px", 0, true, kInf, false},
    {"couverture_fente", 0, true, kInf, false},
    {"couverture_capteur", 0, true, kInf, false},
    {"echelle_arcsec_px", 0, true, kInf, false},
    {"cadence_ips", 0, true, kInf, false},
    {"duree_balayage_s", 0, true, kInf, false},
    {"images_balayage", 1, false, kInf, false},
    {"volume_mo", 0, true, kInf, false},
    {"bande_passante_a", 0, true, kInf, false},
    // Without a line (« aucune »), no core.
    {"coeur_a", 0, true, kInf, true},
    {"pose_max_ms", 0, true, kInf, false},
    {"pose_continuum_ms", 0, true, kInf, false},
    {"snr_continuum", 0, false, kInf, false},
    {"snr_coeur", 0, false, kInf, true},
};

inline const Bound* boundOf(std::string_view name) {
    for (const Bound& b : kBounds)
        if (name == b.name) return &b;
    return nullptr;
}

inline std::string outside(const char* name, double v) {
    return std::string(name) + " = " + std::to_string(v) + " hors de ses bornes";
}

// The sentence without what it quotes (« … »): the user's own text may say
// « nan », the sentence itself may not.
inline std::string unquoted(const std::string& s) {
    std::string out;
    int depth = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s.compare(i, 2, "«") == 0) ++depth;
        if (depth == 0) out += s[i];
        if (s.compare(i, 2, "»") == 0 && depth > 0) --depth;
    }
    return out;
}

inline bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A French sentence that says nothing of a number it could not show: no
// word « inf » or « nan » of its own.
inline std::string badSentence(const std::string& s) {
    if (s.empty()) return "une erreur sans phrase";
    const std::string own = unquoted(s);
    for (std::size_t i = 0; i + 3 <= own.size(); ++i) {
        std::string word = own.substr(i, 3);
        for (char& c : word) c = static_cast<char>(c | 0x20);
        const bool alone =
            (i == 0 || !isLetter(own[i - 1])) && (i + 3 == own.size() || !isLetter(own[i + 3]));
        if (alone && (word == "inf" || word == "nan")) return "une phrase qui montre « " + s + " »";
    }
    return {};
}

// A refusal of what the user typed quotes it, whatever it holds (« nan »,
// « » » included): only the sentences the model composes are checked.
inline std::string badRefusal(const design::KeyError& e, std::string_view separator) {
    using C = design::KeyError::Cause;
    const bool quotesUser = e.cause == C::UnknownKey || e.cause == C::NotANumber ||
                            e.cause == C::NotWhole || e.cause == C::UnknownWord;
    const std::string sentence = design::describe(e, separator);
    if (sentence.empty()) return "une erreur sans phrase";
    return quotesUser ? std::string() : badSentence(sentence);
}

// "" when the outcome keeps every rule; otherwise the first broken one.
inline std::string broken(const design::DesignInput& in, const design::DesignOutcome& o) {
    if (o.result.has_value() == o.error.has_value()) return "ni réponse ni erreur, ou les deux";
    if (o.error) return badRefusal(*o.error, ".");
    const design::DesignResult& r = *o.result;
    for (const design::NamedResult& n : design::namedResults(r, true, r.soleil)) {
        if (n.cell.kind != design::ResultCell::Kind::Number) continue;
        const double v = n.cell.number;
        if (std::isinf(v)) return outside(n.name, v);
        const Bound* b = boundOf(n.name);
        if (!b) return std::string("résultat sans borne : ") + n.name;
        if (std::isnan(v)) {
            if (b->mayBeNan) continue;
            return std::string(n.name) + " n'est pas un nombre";
        }
        const bool aboveLow = b->lowOpen ? v > b->low : v >= b->low;
        if (!aboveLow || v > b->high) return outside(n.name, v);
    }
    if (!(r.lambda_min_a < r.lambda_max_a)) return "domaine vide";
    if (r.soleil != in.soleil) return "le Soleil de la réponse n'est pas celui de la conception";
    return {};
}

}  // namespace kelvora::invariants
