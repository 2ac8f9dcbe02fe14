#include "model/design/labels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "model/design/keytable.h"
#include "model/design/shown.h"

namespace kelvora::design {

namespace {

constexpr auto kResults = std::to_array<ResultRow>({
    {"alpha_deg", "Incidence α (°)"},
    {"beta_deg", "Diffraction β (°)"},
    {"anamorphose", "Anamorphose"},
    {"dispersion_a_px", "Dispersion (Å/pixel)"},
    {"lambda_min_a", "Lambda min. (Å)"},
    {"lambda_max_a", "Lambda max. (Å)"},
    {"image_entree_px", "Image d'entrée (pixels)"},
    {"element_resolution_a", "Élément de résolution (Å)"},
    {"resolution", "Résolution R"},
    {"echantillonnage_px", "Échantillonnage (pixels)"},
    {"faisceau_mm", "Faisceau (mm)"},
    {"longueur_reseau_mm", "Réseau éclairé (mm)"},
    {"diametre_objectif_mm", "Diamètre objectif (mm)"},
    {"ouverture_objectif", "Ouverture objectif F/"},
    {"signal_e_s_a", "Signal de l'étoile (e⁻/s/Å)", true},
    {"rendement", "Rendement total"},
    {"transmission_fente", "Transmission de la fente", true},
    {"snr", "S/N par pixel", true},
    {"snr_element", "S/N par élément", true},
    {"electrons_pic", "Électrons au pixel max.", true},
    {"poses_min", "Poses min. sans saturation", true},
    {"adu_pic", "ADU au pixel max.", true},
    {"saturation_e", "Saturation (e⁻)"},
    {"bruit_reglage_e", "Bruit au réglage (e⁻)"},
    {"obscurite_pose_e_s", "Obscurité en pose (e⁻/s)"},
    {"recouvrement_ordre2_a", "2ᵉ ordre mêlé dès (Å)"},
    {"rangees_extraites", "Rangées extraites", true},
    {"fraction_extraite", "Part de l'étoile extraite", true},
    {"soleil_rayon_arcsec", "Rayon du Soleil (\")"},
    {"soleil_declinaison_deg", "Déclinaison du Soleil (°)"},
    {"soleil_diametre_mm", "Disque au foyer (mm)"},
    {"soleil_diametre_px", "Disque sur le capteur (px)"},
    {"couverture_fente", "Fente / disque"},
    {"couverture_capteur", "Capteur / disque"},
    {"echelle_arcsec_px", "Échelle le long de la fente (\"/px)"},
    {"cadence_ips", "Cadence (images/s)"},
    {"duree_balayage_s", "Durée du balayage (s)"},
    {"images_balayage", "Images du balayage"},
    {"volume_mo", "Volume (Mo)"},
    {"bande_passante_a", "Bande passante (Å)"},
    {"coeur_a", "Cœur de la raie (Å)"},
    {"pose_max_ms", "Pose max. (ms)"},
    {"pose_continuum_ms", "Pose du remplissage (ms)"},
    {"snr_continuum", "S/N du continu"},
    {"snr_coeur", "S/N au cœur de la raie"},
    {"pose_cible_s", "Pose pour le S/N cible (s)", true},
    {"magnitude_limite", "Magnitude limite", true},
    {"poses_min_cible", "Poses min. à cette pose", true},
});

constexpr ResultRow kVerdicts[] = {
    {"echantillonnage", "Échantillonnage"},
    {"saturation", "Saturation", true},
    {"saturation_cible", "Saturation à la pose cible", true},
    {"isole_coeur", "La fente isole le cœur"},
};

constexpr ResultRow kProposerFields[] = {
    {"resolution_cible", "&Résolution visée R"},
    {"lambda_min_a", "Domaine couvert : de (Å)"},
    {"lambda_max_a", "à (Å)"},
    {"reseaux", "Ré&seaux (traits/mm)"},
    {"focales", "&Focales (mm)"},
    {"fentes", "Fen&tes (µm, 0 : sans)"},
    {"geometries", "&Géométries"},
    {"binnings", "&Binnings"},
    {"distances", "&Distances réseau/capteur (mm, sans fente)"},
    {"largeur_reseau_mm", "Largeur gravée du réseau (mm)"},
};

// The design keys a candidate's row shows, then its results: a star's, or
// what decides a spectroheliograph.
constexpr ResultRow kCandidateDesign[] = {
    {"geometrie", "Géométrie"},
    {"traits_mm", "Traits/mm"},
    {"collimateur_mm", "Collimateur (mm)"},
    {"objectif_mm", "Objectif (mm)"},
    {"fente_um", "Fente (µm)"},
    {"distance_capteur_mm", "Réseau/capteur (mm)"},
    {"bin_x", "Bin X"},
};
constexpr ResultRow kStarCandidate[] = {
    {"resolution", "R"},
    {"echantillonnage_px", "Pixels/élément"},
    {"lambda_min_a", "λ min (Å)"},
    {"lambda_max_a", "λ max (Å)"},
    {"snr", "S/N"},
    {"pose_cible_s", "Pose (s)"},
};
constexpr ResultRow kSunCandidate[] = {
    {"bande_passante_a", "Bande passante (Å)"},
    {"dispersion_a_px", "Å/pixel"},
    {"couverture_fente", "Fente / disque"},
    {"couverture_capteur", "Capteur / disque"},
    {"cadence_ips", "Images/s"},
    {"pose_continuum_ms", "Pose (ms)"},
    {"snr_coeur", "S/N au cœur"},
};

std::vector<ResultRow> joined(std::span<const ResultRow> a, std::span<const ResultRow> b) {
    std::vector<ResultRow> rows(a.begin(), a.end());
    rows.insert(rows.end(), b.begin(), b.end());
    return rows;
}

using Cause = KeyError::Cause;

std::string quoted(const std::string& text) {
    return "« " + text + " »";
}

// What the user typed, quoted: at most 40 characters of it, so that a
// 100,000-character link or value never makes a message that long.
std::string typed(const std::string& text) {
    constexpr std::size_t kShown = 40;
    std::size_t characters = 0, end = 0;
    for (; end < text.size(); ++end)
        if ((static_cast<unsigned char>(text[end]) & 0xC0) != 0x80 && characters++ == kShown) break;
    return quoted(end < text.size() ? text.substr(0, end) + "…" : text);
}

std::string refused(const KeyError& e, std::string_view separator) {
    const std::string field = quoted(labelOf(e.key)) + " : " + typed(e.text);
    switch (e.cause) {
        case Cause::NotANumber:
            return field + " n'est pas un nombre" +
                   (separator == "." ? " (le séparateur décimal est le point)" : "");
        case Cause::NotWhole:
            return field + " n'est pas un nombre entier";
        default:
            return field + " n'est pas un choix possible (" + e.need + ")";
    }
}

}  // namespace

std::span<const ResultRow> resultRows() {
    return kResults;
}

bool isStarOnlyResult(std::string_view key) {
    for (const auto& rows : {resultRows(), verdictRows()})
        for (const ResultRow& r : rows)
            if (key == r.key) return r.starOnly;
    return false;
}

std::span<const ResultRow> verdictRows() {
    return kVerdicts;
}

std::span<const ResultRow> proposerRows() {
    return kProposerFields;
}

std::span<const ResultRow> candidateColumns(bool sun) {
    static const std::vector<ResultRow> star = joined(kCandidateDesign, kStarCandidate),
                                        forSun = joined(kCandidateDesign, kSunCandidate);
    return sun ? forSun : star;
}

std::string withoutMnemonic(const char* label) {
    std::string text = label;
    std::erase(text, '&');
    return text;
}

std::string labelOf(std::string_view key) {
    if (const KeyRow* row = findKey(key)) return fullLabel(*row);
    for (const ResultRow& field : kProposerFields)
        if (key == field.key) return withoutMnemonic(field.label);
    return std::string(key);
}

namespace {

std::string resultLabel(std::string_view key) {
    for (const ResultRow& r : resultRows())
        if (key == r.key) return r.label;
    return std::string(key);
}

}  // namespace

std::string describe(const KeyError& e, std::string_view separator) {
    const std::string value = e.text.empty() ? shownNumber(e.value, 6, separator) : e.text;
    switch (e.cause) {
        case Cause::UnknownKey:
            return "clé inconnue " + typed(e.key);
        case Cause::NotANumber:  // an empty field is quoted empty, never as a number
            return refused(e, separator);
        case Cause::NotWhole:
        case Cause::UnknownWord:
            return refused({e.cause, e.key, value, e.value, e.limit, e.need}, separator);
        case Cause::NotFinite:
            return "valeur impossible : " + quoted(labelOf(e.key)) + " = " + value +
                   " (nombre fini)";
        case Cause::OutOfRange:
            return "valeur impossible : " + quoted(labelOf(e.key)) + " = " + value + " (" + e.need +
                   ")";
        case Cause::NoLight:
            return "aucune lumière sur le capteur : il couvre " +
                   (std::isfinite(e.value) && std::isfinite(e.limit)
                        ? "de " +
                              shownNumber(std::round(std::min(e.value, e.limit)), 15, separator) +
                              " à " +
                              shownNumber(std::round(std::max(e.value, e.limit)), 15, separator) +
                              " Å"
                        : std::string("des longueurs d'onde hors de toute mesure")) +
                   ", hors de ce que le silicium détecte (jusqu'à 11000 Å) et de ce que "
                   "l'atmosphère laisse passer (dès 3000 Å)";
        case Cause::NoSignal:
            return "aucun signal de l'étoile à " + shownNumber(e.value, 6, separator) +
                   " Å : le capteur n'y détecte pas de lumière";
        case Cause::OffSensor:
            return "la longueur d'onde " + shownNumber(e.value, 6, separator) +
                   " Å ne tombe pas sur le capteur, qui couvre de " +
                   shownNumber(std::round(e.limit), 15, separator) + " à " +
                   shownNumber(std::round(e.limit2), 15, separator) + " Å";
        case Cause::Overflow:
            return "dépassement de capacité : " +
                   (e.need.empty() ? std::string("le signal ou le S/N")
                                   : quoted(resultLabel(e.need))) +
                   " sort de tout nombre représentable (une entrée hors de toute mesure ?)";
        case Cause::MoonGeometry:
            return "valeur impossible : " + quoted(labelOf(e.key)) + " = " + value +
                   " (la Lune et l'étoile, à ces hauteurs, sont séparées de " +
                   shownNumber(e.limit, 3, separator) + " à " +
                   shownNumber(e.limit2, 3, separator) + "°)";
        case Cause::Grazing:
            return "angle impossible : " +
                   std::string(e.need == "incidence" ? "l'incidence" : "la diffraction") +
                   " vaudrait " + shownNumber(e.value, 4, separator) +
                   "°, à 90° ou au-delà, à l'ordre " + shownNumber(e.limit, 15, separator) + ", " +
                   shownNumber(e.limit2, 6, separator) + " traits/mm et " +
                   shownNumber(e.limit3, 6, separator) +
                   " Å : réduire l'ordre, les traits par mm ou la longueur d'onde";
        case Cause::Unsolvable:
            return "conception impossible : " + quoted(resultLabel(e.need)) +
                   (std::isfinite(e.value)
                        ? " vaudrait " + shownNumber(e.value, 6, separator)
                        : std::string(" sort de tout nombre (une entrée hors de toute mesure ?)"));
        case Cause::NoDiffraction:
            break;
    }
    if (!std::isfinite(e.value) || !(e.limit >= 1))
        return "pas de diffraction : " + e.need +
               " dépasse 1 à toute longueur d'onde (des traits par mm ou un ordre démesurés ?)";
    return "pas de diffraction : " + e.need + " = " + shownNumber(e.value, 3, separator) +
           " > 1 ; longueur d'onde maximale " + shownNumber(e.limit, 15, separator) + " Å";
}

}  // namespace kelvora::design
