#include "model/design/keytable.h"

#include <cmath>

#include "model/design/calibration.h"
#include "model/design/passbands.h"
#include "model/design/sun.h"
#include "model/design/templates.h"

namespace kelvora::design {

namespace {

using D = DesignInput;
using K = KeyKind;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr Limit kPositive{0, true, kInf, false, false, "doit être > 0"};
constexpr Limit kNotNegative{0, false, kInf, false, false, "doit être ≥ 0"};
constexpr Limit kAtLeastOne{1, false, kInf, false, false, "au moins 1"};
constexpr Limit kFraction{0, true, 1, false, false, "entre 0 et 1"};
constexpr Limit kAny{};

constexpr KeyRow number(const char* key, const char* group, const char* label, const char* unit,
                        double D::*field, Limit limit, const char* hint = "") {
    return {key, group, label, unit, "", hint, K::Number, field, nullptr, {}, {}, limit};
}

constexpr KeyRow whole(const char* key, const char* group, const char* label, double D::*field,
                       Limit limit, const char* hint = "") {
    return {key, group, label, "", "", hint, K::Whole, field, nullptr, {}, {}, limit};
}

constexpr KeyRow withNote(KeyRow row, const char* note) {
    row.note = note;
    return row;
}

constexpr KeyRow inGeometries(KeyRow row, GeometrySet set) {
    row.geometries = set;
    return row;
}

constexpr KeyRow ofSensor(KeyRow row) {
    row.fromSensor = true;
    return row;
}

constexpr KeyRow instrumentKey(KeyRow row) {
    row.instrument = true;
    return row;
}

constexpr KeyRow startingColumn(KeyRow row) {
    row.newColumn = true;
    return row;
}

constexpr KeyRow choice(const char* key, const char* label, bool D::*flag,
                        std::array<const char*, 2> words, std::array<const char*, 2> captions) {
    return {key, nullptr, label, "", "", "", K::Choice, nullptr, flag, words, captions};
}

constexpr KeyRow word(const char* key, const char* group, const char* label) {
    return startingColumn({key, group, label, "", "", "", K::Word});
}

WordList geometryChoices() {
    WordList list;
    for (int g = 0; g < kGeometryCount; ++g)
        list.emplace_back(geometryName(Geometry(g)), geometryCaption(Geometry(g)));
    return list;
}

WordList typeChoices() {
    WordList list{{"aucun", "aucun"}};
    for (const std::string& name : templateNames()) list.emplace_back(name, name);
    return list;
}

KeyRow withChoices(KeyRow row, WordList (*choices)()) {
    row.choices = choices;
    return row;
}

WordList bandChoices() {
    WordList list;
    for (const std::string& name : bandNames())
        list.emplace_back(name, name == "G" ? "G (Gaia)" : name + " (Bessell)");
    return list;
}

KeyRow band() {
    KeyRow row{
        "bande",  nullptr,
        "&Bande", "",
        "",       "Bande de la magnitude de l'étoile : V, B, R (Bessell 1990) ou G (Gaia DR3)",
        K::Word};
    row.word = &D::bande;
    return withChoices(row, bandChoices);
}

KeyRow spectralType() {
    KeyRow row{"type_spectral",
               nullptr,
               "&Type spectral",
               "",
               "",
               "Spectre de l'étoile selon son type (Pickles 1998) ; « aucun » : corps noir de la "
               "température donnée, ou spectre plat sans température",
               K::Word};
    row.word = &D::type_spectral;
    return withChoices(row, typeChoices);
}

KeyRow sunOnlyKey(KeyRow row) {
    row.sunOnly = true;
    return row;
}

KeyRow starOnlyKey(KeyRow row) {
    row.starOnly = true;
    return row;
}

KeyRow inGroup(KeyRow row, const char* group) {
    row.group = group;
    return row;
}

// AAAA-MM-JJ, a date the solar coordinates hold for.
bool isDate(std::string_view text) {
    return sunOn(text).has_value();
}

KeyRow dateKey() {
    KeyRow row{"date",
               nullptr,
               "&Date",
               "",
               "",
               "Date de l'observation, AAAA-MM-JJ (1900 à 2100) : le diamètre et la "
               "déclinaison du Soleil",
               K::Word};
    row.word = &D::date;
    row.valid = isDate;
    return row;
}

WordList lineChoices() {
    WordList list{{"aucune", "aucune"}};
    for (const SolarLine& l : solarLines()) list.emplace_back(l.key, l.name);
    return list;
}

KeyRow solarLine() {
    KeyRow row{"raie",  nullptr,
               "&Raie", "",
               "",      "Raie observée : fixe la longueur d'onde ; « aucune » la laisse libre",
               K::Word};
    row.word = &D::raie;
    return withChoices(row, lineChoices);
}

// Built on first use: other files' static tables may ask for it before main.
const auto& rows() {
    static const auto kRows = std::to_array<KeyRow>({
        instrumentKey(
            number("diametre_mm", "Télescope", "Diamètre", "mm", &D::diametre_mm, kPositive)),
        number("focale_mm", nullptr, "Focale", "mm", &D::focale_mm, kPositive),
        instrumentKey(number("obstruction_pct", nullptr, "Obstruction", "%", &D::obstruction_pct,
                             {0, false, 100, true, false, "entre 0 et 100"},
                             "Obstruction centrale, en % du diamètre")),
        instrumentKey(
            whole("miroirs", nullptr, "Miroirs aluminés", &D::miroirs,
                  {0, false, 10, false, false, "entre 0 et 10 : un télescope en compte de 0 à 4"},
                  "Nombre de réflexions sur de l'aluminium nu (0 : lunette)")),
        number("seeing_arcsec", nullptr, "Seeing", "\"", &D::seeing_arcsec,
               {0, true, 30, false, false, "> 0 et au plus 30 : au-delà, aucune nuit n'observe"}),
        number("masse_air", "Atmosphère", "Masse d'air", "", &D::masse_air,
               {1, false, 38, false, true, "0 hors atmosphère, sinon entre 1 et 38"},
               "0 : hors atmosphère ; sinon de 1 (zénith) à 38 (horizon)"),
        number("altitude_m", nullptr, "Altitude", "m", &D::altitude_m,
               {-500, false, 6000, false, false, "entre -500 et 6000"}),
        number("aerosols", nullptr, "Aérosols", "mag", &D::aerosols,
               {0, false, 2, false, false, "entre 0 et 2"},
               "Extinction des aérosols à 5500 Å, en magnitudes par masse d'air"),
        starOnlyKey(number("lune_hauteur_deg", nullptr, "Hauteur Lune", "°", &D::lune_hauteur_deg,
                           {-90, false, 90, false, false, "entre -90 et 90"},
                           "Hauteur de la Lune au-dessus de l'horizon ; 0 ou moins : pas de Lune")),
        starOnlyKey(number("lune_phase_deg", nullptr, "Phase Lune", "°", &D::lune_phase_deg,
                           {0, false, 180, false, false, "entre 0 et 180"},
                           "Angle de phase : 0 pleine Lune, 90 quartier, 180 nouvelle Lune")),
        starOnlyKey(number("lune_distance_deg", nullptr, "Écart Lune", "°", &D::lune_distance_deg,
                           {0, false, 180, false, false, "entre 0 et 180"},
                           "Écart angulaire entre la Lune et l'étoile")),
        withChoices(word("geometrie", "Réseau", "&Géométrie"), geometryChoices),
        instrumentKey(number("traits_mm", nullptr, "Traits par mm", "", &D::traits_mm, kPositive)),
        instrumentKey(whole("ordre", nullptr, "Ordre", &D::ordre, kPositive)),
        instrumentKey(
            number("blaze_a", nullptr, "Blaze", "Å", &D::blaze_a,
                   {0, false, kInf, false, false, "0 sans blaze, sinon > 0 et N·λ_B/2 ≤ 1"},
                   "Longueur d'onde de blaze en Littrow ; 0 : efficacité plate")),
        instrumentKey(number("efficacite_reseau", nullptr, "Efficacité au blaze", "",
                             &D::efficacite_reseau, kFraction,
                             "Efficacité du réseau au blaze (ou partout sans blaze)")),
        withNote(number("efficacite_ordre0", nullptr, "Part en ordre 0", "", &D::efficacite_ordre0,
                        {0, true, 1, false, true, "0 (le modèle de blaze), sinon entre 0 et 1"},
                        "Part de la lumière que le réseau laisse dans l'ordre 0 : sans fente, le "
                        "ciel de l'ordre 0 couvre chaque pixel ; 0 : celle du modèle de blaze "
                        "(aucune sans blaze)"),
                 "0 : modèle"),
        inGeometries(number("incidence_deg", nullptr, "Incidence α", "°", &D::incidence_deg,
                            {-80, false, 80, false, false,
                             "entre -80 et 80 : plus rasante, elle étale le faisceau sur un "
                             "réseau démesuré"}),
                     only(Geometry::Incidence)),
        inGeometries(number("deviation_deg", nullptr, "Déviation δ", "°", &D::deviation_deg,
                            {0, false, 180, true, false, "entre 0 et 180"}),
                     only(Geometry::Deviation)),
        inGeometries(number("distance_capteur_mm", nullptr, "Réseau/capteur", "mm",
                            &D::distance_capteur_mm, kPositive),
                     only(Geometry::Convergent)),
        inGeometries(number("ordre0_px", nullptr, "Ordre 0 au pixel", "", &D::ordre0_px, kAny),
                     only(Geometry::Convergent)),
        inGroup(choice("source", "&Source", &D::soleil, {"etoile", "soleil"}, {"étoile", "Soleil"}),
                "Source"),
        startingColumn(inGeometries(number("collimateur_mm", "Spectrographe", "Collimateur", "mm",
                                           &D::collimateur_mm, kPositive, "Focale du collimateur"),
                                    kCollimated)),
        inGeometries(number("objectif_mm", nullptr, "Objectif", "mm", &D::objectif_mm, kPositive,
                            "Focale de l'objectif de chambre"),
                     kCollimated),
        inGeometries(number("distance_objectif_mm", nullptr, "Réseau/objectif", "mm",
                            &D::distance_objectif_mm, kNotNegative),
                     kCollimated),
        number("lambda_a", nullptr, "Longueur d'onde", "Å", &D::lambda_a, kPositive),
        inGeometries(withNote(number("fente_um", nullptr, "Fente", "µm", &D::fente_um,
                                     {0, false, kInf, false, false, "0 sans fente, sinon > 0"},
                                     "Largeur de la fente en micromètres (le calculateur la "
                                     "demande en millimètres)"),
                              "0 : sans"),
                     kCollimated),
        instrumentKey(number("transmission", nullptr, "Transmission optique", "", &D::transmission,
                             kFraction, "Transmission des optiques hors miroirs et réseau")),
        starOnlyKey(
            number("mag_etoile", "Prise de vue", "Magnitude de l'étoile", "", &D::mag_etoile,
                   {-30, false, 30, false, false, "entre -30 et 30 : au-delà, aucun astre"})),
        starOnlyKey(band()),
        starOnlyKey(spectralType()),
        starOnlyKey(
            number("temperature_k", nullptr, "Température", "K", &D::temperature_k,
                   {1000, false, 100000, false, true, "0 spectre plat, sinon entre 1000 et 100000"},
                   "Corps noir de l'étoile ; 0 : spectre plat en photons")),
        starOnlyKey(number("mag_ciel", nullptr, "Magnitude du ciel", "", &D::mag_ciel,
                           {0, false, 30, false, false, "entre 0 et 30 : au-delà, aucun ciel"})),
        starOnlyKey(withNote(
            whole("classe_bortle", nullptr, "Classe de Bortle", &D::classe_bortle,
                  {0, false, 9, false, false, "0 (la magnitude du ciel), sinon de 1 à 9"},
                  "Ciel typique de la classe (1 : site noir ; 9 : centre-ville) à la place "
                  "de la magnitude du ciel ; 0 : la magnitude du ciel"),
            "0 : sans")),
        starOnlyKey(number("pose_s", nullptr, "Pose totale", "s", &D::pose_s, kPositive)),
        starOnlyKey(whole("poses", nullptr, "Nombre de poses", &D::poses, kAtLeastOne)),
        starOnlyKey(withNote(number("cible_snr", nullptr, "S/N cible", "", &D::cible_snr,
                                    {0, false, kInf, false, false, "0 sans cible, sinon > 0"}),
                             "0 : sans")),
        starOnlyKey(choice("snr_par", "S/N &visé", &D::snr_par_element, {"pixel", "element"},
                           {"par pixel", "par élément"})),
        sunOnlyKey(inGroup(dateKey(), "Spectrohéliographe")),
        sunOnlyKey(solarLine()),
        sunOnlyKey(
            ofSensor(whole("pixels_fente", nullptr, "Pixels le long de la fente", &D::pixels_fente,
                           {1, false, kInf, false, false, "au moins 1"},
                           "Pixels du capteur le long de la fente (un spectrohéliographe tourne "
                           "souvent la caméra : son grand côté)"))),
        sunOnlyKey(number("fente_longueur_mm", nullptr, "Longueur de fente", "mm",
                          &D::fente_longueur_mm, kPositive)),
        sunOnlyKey(
            number("vitesse_balayage", nullptr, "Vitesse de balayage", "", &D::vitesse_balayage,
                   {0, true, 100, false, false, "> 0 et au plus 100"},
                   "Vitesse de la dérive en multiples de la dérive solaire ; 1 : monture arrêtée")),
        sunOnlyKey(number("marge_pct", nullptr, "Marge du balayage", "%", &D::marge_pct,
                          {0, false, 200, false, false, "entre 0 et 200"})),
        sunOnlyKey(whole("roi_rangees", nullptr, "Rangées lues", &D::roi_rangees,
                         {1, false, 100000, false, false, "entre 1 et 100000"},
                         "Rangées de la région d'intérêt autour de la raie")),
        sunOnlyKey(number("cadence_max_ips", nullptr, "Cadence max.", "images/s",
                          &D::cadence_max_ips,
                          {0, false, 100000, false, false, "entre 0 et 100000"},
                          "Images par seconde que la caméra tient sur ces rangées (le proposeur "
                          "écarte une cadence plus haute) ; 0 : non vérifiée")),
        sunOnlyKey(number("filtre_transmission", nullptr, "Filtre", "", &D::filtre_transmission,
                          kFraction,
                          "Transmission du filtre de réjection d'énergie ou de densité")),
        sunOnlyKey(number("remplissage_pct", nullptr, "Remplissage du puits", "%",
                          &D::remplissage_pct, {0, true, 100, false, false, "> 0 et au plus 100"},
                          "Part du puits que le continu remplit à la pose conseillée")),
        instrumentKey(word("detecteur", "Capteur", "&Capteur")),
        instrumentKey(choice("courbe_qe", "Courbe de &QE", &D::qe_plate, {"capteur", "plate"},
                             {"du capteur", "plate"})),
        ofSensor(number("pixel_um", nullptr, "Pixel", "µm", &D::pixel_um,
                        {0, true, kInf, false, false, "aucun pixel : doit être > 0"})),
        ofSensor(whole("pixels", nullptr, "Pixels", &D::pixels,
                       {1, false, kInf, false, false, "aucun pixel : au moins 1"})),
        ofSensor(number("bruit_e", nullptr, "Bruit lecture", "e⁻", &D::bruit_e, kNotNegative)),
        ofSensor(number("obscurite_e_s", nullptr, "Obscurité", "e⁻/s", &D::obscurite_e_s,
                        kNotNegative,
                        "Courant d'obscurité par pixel à la température de référence (sans loi "
                        "de doublement : tel quel)")),
        number(
            "temperature_capteur_c", nullptr, "Température capteur", "°C",
            &D::temperature_capteur_c,
            {-100, false, 60, false, false, "entre -100 et 60 : au-delà, aucune caméra ne tient"},
            "Température du capteur pendant la pose"),
        ofSensor(number("temperature_reference_c", nullptr, "Température réf.", "°C",
                        &D::temperature_reference_c,
                        {-100, false, 60, false, false, "entre -100 et 60"},
                        "Température à laquelle l'obscurité est donnée")),
        ofSensor(withNote(
            number("doublement_obscurite_c", nullptr, "Doublement", "°C",
                   &D::doublement_obscurite_c,
                   {1, false, 20, false, true, "0 (obscurité telle quelle), sinon entre 1 et 20"},
                   "L'obscurité double à chaque hausse de cette valeur ; 0 : "
                   "l'obscurité telle quelle, à toute température"),
            "0 : sans")),
        ofSensor(number("puits_e", nullptr, "Puits", "e⁻", &D::puits_e, kPositive)),
        ofSensor(number("qe", nullptr, "QE au pic", "", &D::qe, kFraction,
                        "Rendement quantique au pic de la courbe du capteur")),
        withNote(number("gain_e_adu", nullptr, "Gain", "e⁻/ADU", &D::gain_e_adu,
                        {0, true, kLargestGain, false, true, "0 inconnu, sinon entre 0 et 20"},
                        "Électrons par ADU de la caméra telle que réglée ; 0 : celui que dit le "
                        "fichier étalonné (EGAIN)"),
                 "0 : inconnu"),
        whole("gain_reglage", nullptr, "Réglage de gain", &D::gain_reglage,
              {0, false, 1000, false, false, "entre 0 et 1000"},
              "Réglage de gain de la caméra, en pas de 0,1 dB : la courbe du capteur donne son "
              "bruit de lecture et son gain ; 0 : le plus bas (les champs du capteur)"),
        ofSensor(withNote(whole("bits_adc", nullptr, "Convertisseur", &D::bits_adc,
                                {8, false, 24, false, true, "0 (inconnu), sinon de 8 à 24 bits"},
                                "Profondeur du convertisseur : la saturation est le plus bas du "
                                "puits et du haut du convertisseur ; 0 : inconnue"),
                          "bits")),
        instrumentKey(whole("bin_x", nullptr, "Bin X", &D::bin_x, kAtLeastOne)),
        instrumentKey(whole("bin_y", nullptr, "Bin Y", &D::bin_y, kAtLeastOne)),
    });
    return kRows;
}

}  // namespace

bool within(const Limit& l, double v) {
    if (l.zeroMeansWithout && v == 0) return true;
    const bool aboveLow = l.lowOpen ? v > l.low : v >= l.low;
    const bool belowHigh = l.highOpen ? v < l.high : v <= l.high;
    return aboveLow && belowHigh;
}

std::span<const KeyRow> keyRows() {
    return rows();
}

const KeyRow* findKey(std::string_view key) {
    for (const KeyRow& row : rows())
        if (key == row.key) return &row;
    return nullptr;
}

bool shownFor(const KeyRow& row, bool sun) {
    return sun ? !row.starOnly : !row.sunOnly;
}

bool appliesTo(const KeyRow& row, Geometry g) {
    return (row.geometries & only(g)) != 0;
}

std::string fullLabel(const KeyRow& row, bool mnemonic) {
    std::string label = row.label;
    if (!mnemonic) std::erase(label, '&');
    const std::string unit = row.unit, note = row.note;
    if (unit.empty() && note.empty()) return label;
    return label + " (" + unit + (unit.empty() || note.empty() ? "" : ", ") + note + ")";
}

double keyNumber(const DesignInput& in, const KeyRow& row) {
    if (row.number) return in.*(row.number);
    if (row.flag) return in.*(row.flag) ? 1 : 0;
    return NAN;
}

}  // namespace kelvora::design
