#include "ui/designform.h"

#include <QRegularExpression>
#include <array>
#include <cmath>

#include "model/design/keys.h"
#include "model/floatconv.h"
#include "model/numbertext.h"

namespace kelvora::ui::designform {

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

// Keys written as one of two words: each word's caption.
struct WordChoice {
    const char* key;
    const char* words[2];
    const char* captions[2];
};
constexpr WordChoice kWordChoices[] = {
    {"courbe_qe", {"capteur", "plate"}, {"du capteur", "plate"}},
    {"snr_par", {"pixel", "element"}, {"par pixel", "par élément"}},
};

constexpr const char* kGeometryCaptions[] = {"normale", "incidence donnée", "Littrow",
                                             "déviation fixe", "faisceau convergent (sans fente)"};

}  // namespace

std::span<const InputRow> inputRows() {
    return kInputs;
}

std::span<const ResultRow> resultRows() {
    return kResults;
}

std::vector<std::pair<QString, QString>> wordChoices(std::string_view key) {
    std::vector<std::pair<QString, QString>> out;
    for (const WordChoice& c : kWordChoices)
        if (key == c.key)
            for (int i = 0; i < 2; ++i)
                out.emplace_back(QString::fromLatin1(c.words[i]), QString::fromUtf8(c.captions[i]));
    return out;
}

QString geometryCaption(design::Geometry g) {
    return QString::fromUtf8(kGeometryCaptions[static_cast<int>(g)]);
}

std::optional<double> readDecimal(const QString& text, const QLocale& locale) {
    QString t = text.trimmed();
    if (locale.decimalPoint() != QStringLiteral("."))
        t.replace(locale.decimalPoint(), QStringLiteral("."));
    return design::strictNumber(t.toStdString());
}

// Plain decimals where they stay readable, the shortest exact text elsewhere.
QString fieldText(const design::DesignInput& in, const std::string& key, const QLocale& locale) {
    const std::string text = design::keyText(in, key);
    const auto v = design::strictNumber(text);
    if (!v) return QString::fromStdString(text);
    QString shown = QString::fromStdString(text);
    if (*v != 0 && std::fabs(*v) >= 1e-6 && std::fabs(*v) < 1e15)
        shown = QString::fromStdString(floatconv::shortestFixed(*v));
    return shown.replace(QLatin1Char('.'), locale.decimalPoint());
}

QString resultText(double v, const QLocale& locale) {
    QLocale l = locale;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return std::isfinite(v) ? l.toString(v, 'g', 5) : QStringLiteral("—");
}

design::DesignInput designFromForm(const RunInput& form, design::DesignInput in) {
    auto value = [&](Control c) { return kelvora::readNumber(form.texts[indexOf(c)]).value; };
    if (!form.detector.caption.empty()) design::applyDetector(in, form.detector);
    in.diametre_mm = value(Control::txtDiametre);
    in.focale_mm = value(Control::txtFocale);
    in.seeing_arcsec = value(Control::txtSeeing);
    in.traits_mm = value(Control::txtTraits);
    in.ordre = value(Control::txtOrdre);
    in.collimateur_mm = value(Control::txtCollimateur);
    in.objectif_mm = value(Control::txtChambre);
    in.distance_objectif_mm = value(Control::txtDistance);
    in.lambda_a = value(Control::txtWavelength);
    in.mag_etoile = value(Control::txtMagEtoile);
    in.mag_ciel = value(Control::txtMagCiel);
    in.pose_s = value(Control::txtTi);
    in.poses = value(Control::txtNexposure);
    in.bruit_e = value(Control::txtBruit);
    in.bin_x = value(Control::txtBin1);
    in.bin_y = value(Control::txtBin2);
    in.fente_um = form.barlowSelected ? 0 : value(Control::txtSlitWide) * 1000;
    return in;
}

QString hintOf(std::string_view key) {
    for (const auto& [k, hint] : kHints)
        if (key == k) return QString::fromUtf8(hint);
    return {};
}

QString labelOf(std::string_view key) {
    for (const InputRow& row : kInputs)
        if (key == row.key) return QString::fromUtf8(row.label).remove(QLatin1Char('&'));
    return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

// Keys appear in the model's messages as « KEY = value » or « KEY : … ».
QString labelled(const std::string& error) {
    QString text = QString::fromStdString(error);
    static const QRegularExpression key(QStringLiteral("\\b([a-z][a-z0-9_]*)\\b(?= [=:] )"));
    for (auto it = key.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const std::string k = m.captured(1).toStdString();
        if (!design::isInputKey(k)) continue;
        return text.replace(m.capturedStart(1), m.capturedLength(1),
                            QStringLiteral("« %1 »").arg(labelOf(k)));
    }
    return text;
}

}  // namespace kelvora::ui::designform
