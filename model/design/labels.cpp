#include "model/design/labels.h"

#include <array>
#include <cctype>
#include <utility>

#include "model/design/keys.h"

namespace kelvora::design {

namespace {

constexpr auto kInputs = std::to_array<InputRow>({
    {"Télescope", "diametre_mm", "Diamètre (mm)"},
    {nullptr, "focale_mm", "Focale (mm)"},
    {nullptr, "obstruction_pct", "Obstruction (%)"},
    {nullptr, "miroirs", "Miroirs aluminés"},
    {nullptr, "seeing_arcsec", "Seeing (\")"},
    {"Atmosphère", "masse_air", "Masse d'air"},
    {nullptr, "altitude_m", "Altitude (m)"},
    {nullptr, "aerosols", "Aérosols (mag)"},
    {"Réseau", "geometrie", "&Géométrie", true},
    {nullptr, "traits_mm", "Traits par mm"},
    {nullptr, "ordre", "Ordre"},
    {nullptr, "blaze_a", "Blaze (Å)"},
    {nullptr, "efficacite_reseau", "Efficacité au blaze"},
    {nullptr, "incidence_deg", "Incidence α (°)"},
    {nullptr, "deviation_deg", "Déviation δ (°)"},
    {nullptr, "distance_capteur_mm", "Réseau/capteur (mm)"},
    {nullptr, "ordre0_px", "Ordre 0 au pixel"},
    {"Spectrographe", "collimateur_mm", "Collimateur (mm)", true},
    {nullptr, "objectif_mm", "Objectif (mm)"},
    {nullptr, "distance_objectif_mm", "Réseau/objectif (mm)"},
    {nullptr, "lambda_a", "Longueur d'onde (Å)"},
    {nullptr, "fente_um", "Fente (µm, 0 : sans)"},
    {nullptr, "transmission", "Transmission optique"},
    {"Prise de vue", "mag_etoile", "Magnitude de l'étoile"},
    {nullptr, "temperature_k", "Température (K)"},
    {nullptr, "mag_ciel", "Magnitude du ciel"},
    {nullptr, "pose_s", "Pose totale (s)"},
    {nullptr, "poses", "Nombre de poses"},
    {nullptr, "cible_snr", "S/N cible (0 : sans)"},
    {nullptr, "snr_par", "S/N &visé"},
    {"Capteur", "detecteur", "&Capteur", true},
    {nullptr, "courbe_qe", "Courbe de &QE"},
    {nullptr, "pixel_um", "Pixel (µm)"},
    {nullptr, "pixels", "Pixels"},
    {nullptr, "bruit_e", "Bruit lecture (e⁻)"},
    {nullptr, "obscurite_e_s", "Obscurité (e⁻/s)"},
    {nullptr, "puits_e", "Puits (e⁻)"},
    {nullptr, "qe", "QE au pic"},
    {nullptr, "bin_x", "Bin X"},
    {nullptr, "bin_y", "Bin Y"},
});

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
    {"signal_e_s_a", "Signal de l'étoile (e⁻/s/Å)"},
    {"rendement", "Rendement total"},
    {"transmission_fente", "Transmission de la fente"},
    {"snr", "S/N par pixel"},
    {"snr_element", "S/N par élément"},
    {"electrons_pic", "Électrons au pixel max."},
    {"poses_min", "Poses min. sans saturation"},
    {"recouvrement_ordre2_a", "2ᵉ ordre mêlé dès (Å)"},
    {"pose_cible_s", "Pose pour le S/N cible (s)"},
    {"magnitude_limite", "Magnitude limite"},
    {"poses_min_cible", "Poses min. à cette pose"},
});

constexpr ResultRow kVerdicts[] = {
    {"echantillonnage", "Échantillonnage"},
    {"saturation", "Saturation"},
    {"saturation_cible", "Saturation à la pose cible"},
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
    {"largeur_reseau_mm", "Largeur gravée du réseau (mm)"},
};

constexpr ResultRow kCandidateColumns[] = {
    {"geometrie", "Géométrie"},
    {"traits_mm", "Traits/mm"},
    {"collimateur_mm", "Collimateur (mm)"},
    {"objectif_mm", "Objectif (mm)"},
    {"fente_um", "Fente (µm)"},
    {"bin_x", "Bin X"},
    {"resolution", "R"},
    {"echantillonnage_px", "Pixels/élément"},
    {"lambda_min_a", "λ min (Å)"},
    {"lambda_max_a", "λ max (Å)"},
    {"snr", "S/N"},
    {"pose_cible_s", "Pose (s)"},
};

// What a short label leaves out, said as a tooltip and to screen readers.
constexpr std::pair<const char*, const char*> kHints[] = {
    {"obstruction_pct", "Obstruction centrale, en % du diamètre"},
    {"miroirs", "Nombre de réflexions sur de l'aluminium nu (0 : lunette)"},
    {"masse_air", "0 : hors atmosphère ; sinon au moins 1"},
    {"aerosols", "Extinction des aérosols à 5500 Å, en magnitudes par masse d'air"},
    {"blaze_a", "Longueur d'onde de blaze en Littrow ; 0 : efficacité plate"},
    {"efficacite_reseau", "Efficacité du réseau au blaze (ou partout sans blaze)"},
    {"temperature_k", "Corps noir de l'étoile ; 0 : spectre plat en photons"},
    {"transmission", "Transmission des optiques hors miroirs et réseau"},
    {"collimateur_mm", "Focale du collimateur"},
    {"objectif_mm", "Focale de l'objectif de chambre"},
    {"qe", "Rendement quantique au pic de la courbe du capteur"},
};

constexpr WordChoice kWordChoices[] = {
    {"courbe_qe", {"capteur", "plate"}, {"du capteur", "plate"}},
    {"snr_par", {"pixel", "element"}, {"par pixel", "par élément"}},
};

constexpr const char* kGeometryCaptions[] = {"normale", "incidence donnée", "Littrow",
                                             "déviation fixe", "faisceau convergent (sans fente)"};

bool isKeyChar(char c) {
    return std::islower(static_cast<unsigned char>(c)) ||
           std::isdigit(static_cast<unsigned char>(c)) || c == '_';
}

bool isWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

}  // namespace

std::span<const InputRow> inputRows() {
    return kInputs;
}

std::span<const ResultRow> resultRows() {
    return kResults;
}

std::span<const ResultRow> verdictRows() {
    return kVerdicts;
}

std::span<const ResultRow> proposerRows() {
    return kProposerFields;
}

std::span<const ResultRow> candidateColumns() {
    return kCandidateColumns;
}

std::span<const WordChoice> wordChoices() {
    return kWordChoices;
}

const char* geometryCaption(Geometry g) {
    return kGeometryCaptions[static_cast<int>(g)];
}

const char* hintOf(std::string_view key) {
    for (const auto& [k, hint] : kHints)
        if (key == k) return hint;
    return "";
}

std::string withoutMnemonic(const char* label) {
    std::string text = label;
    std::erase(text, '&');
    return text;
}

std::string labelOf(std::string_view key) {
    for (const InputRow& row : kInputs)
        if (key == row.key) return withoutMnemonic(row.label);
    return std::string(key);
}

std::string labelled(const std::string& error) {
    for (std::size_t i = 0; i < error.size();) {
        std::size_t end = i;
        while (end < error.size() && isKeyChar(error[end])) ++end;
        const bool word = end > i && (i == 0 || !isWordChar(error[i - 1])) &&
                          std::islower(static_cast<unsigned char>(error[i]));
        const std::string_view after = std::string_view(error).substr(end);
        const std::string key = error.substr(i, end - i);
        if (word && (after.starts_with(" = ") || after.starts_with(" : ")) && isInputKey(key))
            return error.substr(0, i) + "« " + labelOf(key) + " »" + error.substr(end);
        i = end > i ? end : i + 1;
    }
    return error;
}

}  // namespace kelvora::design
